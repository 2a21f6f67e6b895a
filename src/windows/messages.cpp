#include "messages.h"

#include "capture.h"
#include "jpeg.h"
#include "texts.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

template<typename Kind> using TextTable = std::initializer_list<std::pair<Kind, const char *>>;

template<typename Kind> const char *lookUp(TextTable<Kind> table, Kind kind)
{
    for (const auto &[known, text] : table)
        if (known == kind)
            return text;
    return nullptr;
}

const TextTable<int> kSystemErrors = {
    {ENOSPC, Texts::kSystemNoSpace},
    {EDQUOT, Texts::kSystemQuotaExceeded},
    {EFBIG, Texts::kSystemFileTooLarge},
    {EACCES, Texts::kSystemAccessDenied},
    {EPERM, Texts::kSystemNotPermitted},
    {EROFS, Texts::kSystemReadOnly},
    {ENAMETOOLONG, Texts::kSystemNameTooLong},
    {ENOENT, Texts::kSystemNoSuchEntry},
    {ENOTDIR, Texts::kSystemNotFolder},
    {EISDIR, Texts::kSystemIsFolder},
    {EIO, Texts::kSystemInputOutput},
    {EMFILE, Texts::kSystemTooManyOpen},
    {ENFILE, Texts::kSystemTooManyOpen},
    {ENOMEM, Texts::kSystemNoMemory},
    {EBUSY, Texts::kSystemBusy},
    {ETXTBSY, Texts::kSystemBusy},
    {ELOOP, Texts::kSystemLinkLoop},
};

const TextTable<PictureError> kPictureErrors = {
    {PictureError::NotFound, Texts::kReasonNotFound},
    {PictureError::NotRegularFile, Texts::kReasonNotRegularFile},
    {PictureError::TooLarge, Texts::kReasonTooLarge},
    {PictureError::Truncated, Texts::kReasonTruncated},
    {PictureError::TooManyScans, Texts::kReasonTooManyScans},
    {PictureError::Unreadable, Texts::kReasonUnreadable},
    {PictureError::ReadFailed, Texts::kReasonReadFailed},
    {PictureError::WriteFailed, Texts::kReasonWriteFailed},
};

const TextTable<ModelFile::FileError> kModelFileErrors = {
    {ModelFile::FileError::NotFound, Texts::kReasonNotFound},
    {ModelFile::FileError::NotRegularFile, Texts::kReasonNotRegularFile},
    {ModelFile::FileError::CannotOpen, Texts::kReasonCannotOpen},
    {ModelFile::FileError::ReadFailed, Texts::kReasonReadFailed},
    {ModelFile::FileError::WriteFailed, Texts::kReasonWriteFailed},
};

// "%1" is the count the file states, "%2" the limit.
const TextTable<ModelFile::DecodeError> kDecodeErrors = {
    {ModelFile::DecodeError::MissingCount, Texts::kReasonNoPointCount},
    {ModelFile::DecodeError::NegativeCount, Texts::kReasonNegativePointCount},
    {ModelFile::DecodeError::CountAboveCapacity, Texts::kReasonTooManyPoints},
    {ModelFile::DecodeError::MissingRecords, Texts::kReasonPointsMissing},
};

// The points' own faults are the model's; Options the settings can mend.
const TextTable<ExportError> kExportErrors = {
    {ExportError::NoPoints, Texts::kReasonCannotExport},
    {ExportError::Writer, Texts::kReasonCannotExport},
    {ExportError::NoFinitePoint, Texts::kSolidNoFinitePoint},
    {ExportError::TooLargeForFloats, Texts::kTooLargeForFloats},
    {ExportError::TooWide, Texts::kSolidTooWide},
    {ExportError::TooThick, Texts::kSolidTooThick},
    {ExportError::Options, Texts::kSolidRefused},
};

} // namespace

QString systemErrorText(int error)
{
    if (const char *text = lookUp(kSystemErrors, error))
        return QString(text);
    return QString::fromLocal8Bit(std::strerror(error));
}

QString cannotReadText(const QString &path, const QString &reason)
{
    return QString(Texts::kCannotReadFile).arg(QDir::toNativeSeparators(path), reason);
}

QString cannotWriteText(const QString &path, const QString &reason)
{
    return QString(Texts::kCannotWriteFile).arg(QDir::toNativeSeparators(path), reason);
}

QString writeFailureText(const FileResult &result)
{
    if (result.problem == FileProblem::NotRegularFile)
        return QString(Texts::kReasonNotRegularFile);
    return result.error != 0 ? systemErrorText(result.error) : QString(Texts::kReasonWriteFailed);
}

QString pictureFailureText(const QString &path, const PictureResult &result, bool writing)
{
    if (result.ok())
        return {};
    QString reason = result.systemError != 0 ? systemErrorText(result.systemError)
                                             : QString(lookUp(kPictureErrors, result.error));
    if (result.error == PictureError::TooManyScans)
        reason = reason.arg(kMaxJpegScans);
    else if (result.error == PictureError::TooLarge)
        reason = reason.arg(kCaptureLargestSide).arg(kPictureAllocationLimitMB);
    if (!result.detail.empty())
        reason += QStringLiteral(" (%1)").arg(QString::fromStdString(result.detail));
    return writing ? cannotWriteText(path, reason) : cannotReadText(path, reason);
}

QString modelFileFailureText(const QString &path, const ModelFile::FileResult &result, bool writing)
{
    if (result.ok())
        return {};
    QString reason;
    if (result.systemError != 0)
        reason = systemErrorText(result.systemError);
    else if (result.error == ModelFile::FileError::Invalid)
        reason
            = QString(lookUp(kDecodeErrors, result.decodeError)).arg(result.count).arg(kMaxPoints);
    else
        reason = QString(lookUp(kModelFileErrors, result.error));
    return writing ? cannotWriteText(path, reason) : cannotReadText(path, reason);
}

QString exportFailureText(ExportError error)
{
    const QString text(lookUp(kExportErrors, error));
    if (error == ExportError::TooWide)
        return text.arg(kMaxReliefPixels);
    if (error == ExportError::TooThick)
        return text.arg(kMaxReliefThickness / 1e6);
    return text;
}
