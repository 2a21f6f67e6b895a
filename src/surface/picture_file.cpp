#include "picture_file.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace {

PictureResult failure(PictureError error, const QString &detail = {})
{
    return {error, detail.toStdString()};
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
