#pragma once

#include "surface.h"

#include <QImage>
#include <QString>

// Pictures larger than this are refused before they are decoded.
inline constexpr int kPictureAllocationLimitMB = 256;

struct DecodedPicture {
    QImage image; // Format_RGB32, null on failure
    PictureResult result;
};

// Reads a bitmap safely: anything but a regular file (a folder, a named pipe)
// is refused before it is opened, and oversized headers are refused.
DecodedPicture readPicture(const QString &path);

// Writes a 24-bit BMP through a temporary file renamed over the target, so a
// failed write leaves an existing file as it was and no new file behind.
PictureResult writePicture(const QImage &image, const QString &path);
