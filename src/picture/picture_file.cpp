#include "picture_file.h"

#include "file_access.h"
#include "jpeg.h"
#include "on_white.h"
#include "picture_formats.h"
#include "png_file.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <tiffio.h>

namespace {

PictureResult failure(PictureError error, const QString &detail = {}, int systemError = 0)
{
    return {error, detail.toStdString(), systemError};
}

qint64 littleEndian(const QByteArray &bytes, int offset, int size)
{
    qint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes[offset + i]);
    return value;
}

struct BitmapHeader {
    bool bitmap = false;
    qint64 pixelOffset = 0, width = 0, height = 0, bitsPerPixel = 0, compression = 0;

    bool uncompressed() const { return compression == 0 || compression == 3 || compression == 6; }
};

BitmapHeader bitmapHeader(const QByteArray &bytes)
{
    BitmapHeader header;
    if (bytes.size() < 26 || !bytes.startsWith("BM"))
        return header;
    header.pixelOffset = littleEndian(bytes, 10, 4);
    const qint64 headerSize = littleEndian(bytes, 14, 4);
    if (headerSize == 12) { // the old core header: 16-bit sizes, never compressed
        header.width = littleEndian(bytes, 18, 2);
        header.height = littleEndian(bytes, 20, 2);
        header.bitsPerPixel = littleEndian(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        header.width = qint32(littleEndian(bytes, 18, 4));
        header.height = qint32(littleEndian(bytes, 22, 4));
        header.bitsPerPixel = littleEndian(bytes, 28, 2);
        header.compression = littleEndian(bytes, 30, 4);
    } else {
        return header;
    }
    header.bitmap = true;
    return header;
}

// Qt accepts an uncompressed bitmap whose pixel rows stop early and leaves the
// missing rows uninitialised, so the length is checked here first.
bool rowsMissing(const BitmapHeader &header, qint64 fileSize)
{
    if (!header.bitmap || !header.uncompressed() || header.width <= 0 || header.bitsPerPixel <= 0)
        return false;
    const qint64 rowBytes = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = fileSize - header.pixelOffset;
    return pixelBytes < 0 || std::abs(header.height) > pixelBytes / rowBytes;
}

// What a decode of this picture needs at its peak: the reader's image (two of them for a
// run-length bitmap, see decodeUnsetWhite()) and, unless that is already 32 bits a pixel, the
// opaque picture it becomes.
qint64 peakBytes(QSize size, QImage::Format format, int decodes)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    return pixels * depth / 8 * decodes + (depth == 32 ? 0 : pixels * 4);
}

// Decodes into an image of the reader's size and format whose bytes are all `fill`, where
// the reader tells them; peakBytes() has been checked.
bool decodeOver(const QByteArray &bytes, char fill, QImage *image, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    *image = {};
    if (size.isValid() && format != QImage::Format_Invalid) {
        *image = QImage(size, format);
        if (!image->isNull())
            std::memset(image->bits(), fill, std::size_t(image->sizeInBytes()));
    }
    if (reader.read(image))
        return true;
    *error = reader.errorString();
    return false;
}

// Qt's BMP reader decodes into the image it is given when size and format fit,
// and an RLE stream that stops early or skips leaves those pixels as they were:
// decoded over two different fills, the pixels that differ are the unset ones.
bool decodeUnsetWhite(const QByteArray &bytes, QImage *picture, QString *error)
{
    QImage zeros;
    QImage ones;
    if (!decodeOver(bytes, '\0', &zeros, error) || !decodeOver(bytes, '\xff', &ones, error)
        || zeros.size() != ones.size() || zeros.format() != ones.format())
        return false;
    *picture = zeros.convertToFormat(QImage::Format_RGB32);
    const int width = zeros.width();
    const int pixelBytes = zeros.depth() / 8; // 0: several pixels a byte
    const qsizetype stride = zeros.bytesPerLine();
    const uchar *zero = zeros.constBits();
    const uchar *one = ones.constBits();
    auto *out = reinterpret_cast<QRgb *>(picture->bits());
    for (int y = 0; y < zeros.height(); ++y, zero += stride, one += stride, out += width) {
        if (std::equal(zero, zero + stride, one))
            continue;
        for (int i = 0; pixelBytes > 0 && i < width * pixelBytes; ++i)
            if (zero[i] != one[i])
                out[i / pixelBytes] = qRgb(255, 255, 255);
        for (int x = 0; pixelBytes == 0 && x < width; ++x)
            if (zeros.pixelIndex(x, y) != ones.pixelIndex(x, y))
                out[x] = qRgb(255, 255, 255);
    }
    return true;
}

// Many writers of 32-bit bitmaps declare an alpha mask and leave every alpha byte 0:
// such a bitmap is opaque, as browsers show it.
bool everyPixelTransparent(const QImage &image)
{
    const bool argb = image.format() == QImage::Format_ARGB32
                      || image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage pixels = argb ? image : image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        if (std::any_of(row, row + pixels.width(), [](QRgb pixel) { return qAlpha(pixel) != 0; }))
            return false;
    }
    return true;
}

// Opaque, transparent pixels white; in place where the picture is of 32 bits a pixel.
QImage opaque(QImage image, bool bitmap)
{
    if (!image.hasAlphaChannel() || (bitmap && everyPixelTransparent(image)))
        image.convertTo(QImage::Format_RGB32);
    else
        putOnWhite(image);
    return image;
}

} // namespace

DecodedPicture readPicture(const QString &path)
{
    // No picture within the allocation limit comes from a larger file.
    const ReadResult read
        = readRegularFile(path.toStdString(), std::size_t(kPictureAllocationLimitMB) << 20);
    switch (read.result.problem) {
    case FileProblem::None:
        break;
    case FileProblem::NotFound:
        return {{}, failure(PictureError::NotFound, {}, read.result.error)};
    case FileProblem::NotRegularFile:
        return {{}, failure(PictureError::NotRegularFile)};
    case FileProblem::TooLarge:
        return {{}, failure(PictureError::TooLarge)};
    default:
        return {{}, failure(PictureError::ReadFailed, {}, read.result.error)};
    }
    return decodePicture(QByteArray::fromRawData(reinterpret_cast<const char *>(read.bytes.data()),
                                                 qsizetype(read.bytes.size())));
}

DecodedPicture decodePicture(const QByteArray &bytes, int allocationLimitMB)
{
    {
        // The limit is process-wide and the command line decodes on several threads:
        // only a change is written, so decoders already running never see a write.
        static std::mutex guard;
        const std::lock_guard lock(guard);
        if (QImageReader::allocationLimit() != allocationLimitMB)
            QImageReader::setAllocationLimit(allocationLimitMB);
        // libtiff's own lines name a file "foo" and no input: a failure is told once instead.
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    }
    const qint64 limit = qint64(allocationLimitMB) << 20;
    if (isJpegFile(bytes))
        return decodeJpeg(bytes, limit);
    if (isPngFile(bytes))
        return decodePng(bytes, limit);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > limit)
        return {{}, failure(PictureError::TooLarge)};

    const BitmapHeader header = bitmapHeader(bytes);
    if (rowsMissing(header, bytes.size()))
        return {{}, failure(PictureError::Truncated)};
    if (PictureResult incomplete = incompletePicture(bytes, limit); !incomplete.ok())
        return {{}, incomplete};
    const bool runLength = header.bitmap && !header.uncompressed();
    if (size.isValid() && peakBytes(size, reader.imageFormat(), runLength ? 2 : 1) > limit)
        return {{}, failure(PictureError::TooLarge)};

    QString error;
    QImage image;
    const bool decoded = runLength ? decodeUnsetWhite(bytes, &image, &error)
                                   : decodeOver(bytes, '\0', &image, &error);
    // Qt's MNG reader reports success with no image for some broken files.
    if (!decoded || image.isNull())
        return {{}, failure(PictureError::Unreadable, error)};
    return {opaque(std::move(image), header.bitmap), {}};
}

QByteArray encodePicture(const QImage &image, const char *format)
{
    // An image takes its resolution from the screen, and without one Qt would
    // write 100 dpi: the file says 96, the common screen's, in every case.
    constexpr int kDotsPerMetre = 3780;
    QImage picture = image;
    picture.setDotsPerMeterX(kDotsPerMetre);
    picture.setDotsPerMeterY(kDotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    const bool bitmap = qstrcmp(format, "bmp") == 0;
    if (!writer.write(bitmap ? picture.convertToFormat(QImage::Format_RGB888) : picture))
        return {};
    return bytes;
}

PictureResult writePicture(const QImage &image, const QString &path)
{
    const QByteArray bytes = encodePicture(image, "bmp");
    if (bytes.isEmpty())
        return failure(PictureError::WriteFailed);
    return writeBytesAtomically(path, {reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                       std::size_t(bytes.size())});
}

PictureResult writeBytesAtomically(const QString &path, std::span<const std::uint8_t> bytes)
{
    const FileResult written = writeFileAtomically(path.toStdString(), bytes);
    if (written.problem == FileProblem::NotRegularFile)
        return failure(PictureError::NotRegularFile);
    if (!written.ok())
        return failure(PictureError::WriteFailed, {}, written.error);
    return {};
}
