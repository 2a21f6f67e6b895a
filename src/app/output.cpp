#include "output.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

QString writeOutput(const QString &path, std::span<const std::uint8_t> bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // A write may stop short (a full disk) without an error that commit() notices.
    if (file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()))
        != qint64(bytes.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString writeOutput(const QString &path, const QByteArray &bytes)
{
    return writeOutput(path, {reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                              std::size_t(bytes.size())});
}

QByteArray encodePicture(const QImage &image, const char *format)
{
    // An image takes its resolution from the screen, 96 dpi in the windows
    // as a rule; without a screen Qt would write 100 dpi into the header.
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
