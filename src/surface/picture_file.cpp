#include "picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

PictureResult failure(PictureError error, const QString &detail = {})
{
    return {error, detail.toStdString()};
}

qint64 littleEndian(const QByteArray &bytes, int offset, int size)
{
    qint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes[offset + i]);
    return value;
}

// Qt accepts an uncompressed bitmap whose pixel rows stop early and leaves the
// missing rows uninitialised, so the length is checked here first.
bool bitmapRowsMissing(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(34);
    if (header.size() < 26 || !header.startsWith("BM"))
        return false;
    const qint64 pixelOffset = littleEndian(header, 10, 4);
    const qint64 headerSize = littleEndian(header, 14, 4);
    qint64 width = 0, height = 0, bitsPerPixel = 0, compression = 0;
    if (headerSize == 12) { // the old core header: 16-bit sizes, never compressed
        width = littleEndian(header, 18, 2);
        height = littleEndian(header, 20, 2);
        bitsPerPixel = littleEndian(header, 24, 2);
    } else if (headerSize >= 40 && header.size() >= 34) {
        width = qint32(littleEndian(header, 18, 4));
        height = qint32(littleEndian(header, 22, 4));
        bitsPerPixel = littleEndian(header, 28, 2);
        compression = littleEndian(header, 30, 4);
    } else {
        return false;
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (!uncompressed || width <= 0 || bitsPerPixel <= 0)
        return false;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = file.size() - pixelOffset;
    return pixelBytes < 0 || std::abs(height) > pixelBytes / rowBytes;
}

} // namespace

DecodedPicture readPicture(const QString &path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path.toStdString(), ec);
    if (ec || !std::filesystem::exists(status))
        return {{}, failure(PictureError::NotFound)};
    if (!std::filesystem::is_regular_file(status))
        return {{}, failure(PictureError::NotRegularFile)};

    QImageReader::setAllocationLimit(kPictureAllocationLimitMB);
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid()
        && qint64(size.width()) * size.height() * 4 > qint64(kPictureAllocationLimitMB) << 20)
        return {{}, failure(PictureError::TooLarge)};

    if (bitmapRowsMissing(path))
        return {{}, failure(PictureError::Truncated)};

    QImage image;
    if (!reader.read(&image))
        return {{}, failure(PictureError::Unreadable, reader.errorString())};
    return {image.convertToFormat(QImage::Format_RGB32), {}};
}

PictureResult writePicture(const QImage &image, const QString &path)
{
    // Encode in memory first: a full disk then shows up as a short write below.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter encoder(&buffer, "bmp");
    if (!encoder.write(image.convertToFormat(QImage::Format_RGB888)))
        return failure(PictureError::WriteFailed, encoder.errorString());

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(PictureError::WriteFailed, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(PictureError::WriteFailed, reason);
    }
    if (!file.commit())
        return failure(PictureError::WriteFailed, file.errorString());
    return {};
}
