#include "model_file_messages.h"

#include "platform.h"
#include "texts.h"

#include <QDir>

using ModelFile::DecodeError;
using ModelFile::FileError;

namespace {

QString invalidReason(const ModelFile::FileResult &result)
{
    switch (result.decodeError) {
    case DecodeError::None:
    case DecodeError::MissingCount:
        return QString(Texts::kReasonNoPointCount);
    case DecodeError::NegativeCount:
        return QString(Texts::kReasonNegativePointCount).arg(result.count);
    case DecodeError::CountAboveCapacity:
        return QString(Texts::kReasonTooManyPoints).arg(result.count).arg(kMaxPoints);
    case DecodeError::MissingRecords:
        return QString(Texts::kReasonPointsMissing).arg(result.count);
    }
    return {};
}

QString reasonFor(const ModelFile::FileResult &result)
{
    switch (result.error) {
    case FileError::None:
        return {};
    case FileError::NotFound:
        return QString(Texts::kReasonNotFound);
    case FileError::NotRegularFile:
        return QString(Texts::kReasonNotRegularFile);
    case FileError::CannotOpen:
        return QString(Texts::kReasonCannotOpen);
    case FileError::ReadFailed:
        return QString(Texts::kReasonReadFailed);
    case FileError::WriteFailed:
        return QString(Texts::kReasonWriteFailed);
    case FileError::Invalid:
        return invalidReason(result);
    }
    return {};
}

} // namespace

QString modelFileFailureText(const QString &path, const ModelFile::FileResult &result, bool writing)
{
    if (result.ok())
        return {};
    const QString reason
        = result.systemError != 0 ? systemErrorText(result.systemError) : reasonFor(result);
    return QString(writing ? Texts::kCannotWriteFile : Texts::kCannotReadFile)
        .arg(QDir::toNativeSeparators(path), reason);
}
