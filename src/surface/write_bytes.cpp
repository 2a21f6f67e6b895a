#include "write_bytes.h"

#include <QSaveFile>

namespace {

PictureResult failed(const QString &reason)
{
    return {PictureError::WriteFailed, reason.toStdString()};
}

} // namespace

PictureResult writeBytesAtomically(const QString &path, std::span<const std::uint8_t> bytes)
{
    QSaveFile file(path);
    // Unbuffered: commit() does not notice a buffered tail that failed to go out.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    // A short write says nothing of why; the next attempt fails with the reason.
    const auto *data = reinterpret_cast<const char *>(bytes.data());
    for (qint64 done = 0, size = qint64(bytes.size()); done < size;) {
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return failed(reason);
        }
        done += written;
    }
    if (!file.commit())
        return failed(file.errorString());
    return {};
}
