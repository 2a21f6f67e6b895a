#pragma once

#include "capture.h"
#include "picture_result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <span>

// Pictures larger than this are refused before they are decoded.
inline constexpr int kPictureAllocationLimitMB = 256;
static_assert(kMaxReducedSelectionPixels * 4 == std::int64_t(kPictureAllocationLimitMB) << 20,
              "a selection to reduce holds no more than a picture may");

struct DecodedPicture {
    QImage image; // Format_RGB32, null on failure
    PictureResult result;
};

// Reads a picture file once, through one descriptor: anything but a regular
// file (a folder, a named pipe, a device) is refused before it is read.
DecodedPicture readPicture(const QString &path);

// The program's checks, then Qt's decoder, on the bytes of a picture file; of
// an animation, the first frame. Pixels the file leaves unset are white,
// whatever memory held before, and transparent pixels are white too.
DecodedPicture decodePicture(const QByteArray &bytes,
                             int allocationLimitMB = kPictureAllocationLimitMB);

// A picture's file bytes, "bmp" (24 bits a pixel) or "png", at 96 dpi whatever the screen, so
// that the windows and the command line write the same bytes. Empty when it cannot be encoded.
QByteArray encodePicture(const QImage &image, const char *format);

// Writes a 24-bit BMP through a temporary file renamed over the target, so a
// failed write leaves an existing file as it was and no new file behind.
PictureResult writePicture(const QImage &image, const QString &path);

// Any file's bytes, written as atomically as a picture, its failure in a picture's terms.
PictureResult writeBytesAtomically(const QString &path, std::span<const std::uint8_t> bytes);
