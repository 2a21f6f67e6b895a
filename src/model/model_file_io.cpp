#include "model_file_io.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace ModelFile {

namespace {

FileResult failure(FileError error, const QString &detail = {})
{
    FileResult result;
    result.error = error;
    result.detail = detail.toStdString();
    return result;
}

} // namespace

FileResult save(const Model &model, const std::string &path)
{
    const std::vector<std::uint8_t> bytes = encode(model);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return failure(FileError::WriteFailed, file.errorString());
    // A large write may stop short (full disk, file size limit) without an
    // error that commit() would notice, so the count itself is checked.
    const qint64 written
        = file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    if (written != qint64(bytes.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(FileError::WriteFailed, reason);
    }
    if (!file.commit())
        return failure(FileError::WriteFailed, file.errorString());
    return {};
}

FileResult load(const std::string &path, ParsedModel &parsed)
{
    // Opening a named pipe would block until a writer comes, so only regular
    // files are opened at all.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return failure(FileError::NotFound);
    if (!std::filesystem::is_regular_file(status))
        return failure(FileError::NotRegularFile);

    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return failure(FileError::CannotOpen, file.errorString());
    const QByteArray bytes = file.read(qint64(kMaxMeaningfulBytes));
    if (file.error() != QFileDevice::NoError)
        return failure(FileError::ReadFailed, file.errorString());

    const DecodeResult decoded = decode(
        {reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())});
    if (!decoded.ok()) {
        FileResult result = failure(FileError::Invalid);
        result.decodeError = decoded.error;
        result.count = decoded.count;
        return result;
    }
    parsed = decoded.model;
    return {};
}

} // namespace ModelFile
