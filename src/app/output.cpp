#include "output.h"

#include "file_access.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

QString writeOutput(const QString &path, std::span<const std::uint8_t> bytes)
{
    const FileResult result = writeFileAtomically(path.toStdString(), bytes);
    if (result.ok())
        return {};
    const QString reason = result.error ? qt_error_string(result.error) : QStringLiteral("failed");
    switch (result.problem) {
    case FileProblem::Create:
        return QStringLiteral("cannot create a file beside it: ") + reason;
    case FileProblem::Write:
        return QStringLiteral("cannot write: ") + reason;
    case FileProblem::Replace:
        return QStringLiteral("cannot replace it: ") + reason;
    default:
        return reason;
    }
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
