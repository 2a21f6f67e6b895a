#include "reasons.h"

#include "capture.h"
#include "jpeg.h"
#include "picture_file.h"

#include <utility>

namespace CommandLine {

namespace {

template<typename Kind> using ReasonTable = std::initializer_list<std::pair<Kind, QString>>;

template<typename Kind> QString lookUp(ReasonTable<Kind> table, Kind kind)
{
    for (const auto &[known, reason] : table)
        if (known == kind)
            return reason;
    return {};
}

// The system's words for the error, after the step that failed.
QString withSystemError(const QString &step, int error)
{
    return step + (error ? qt_error_string(error) : QStringLiteral("failed"));
}

} // namespace

QString modelFailureReason(const ModelFile::FileResult &result)
{
    using ModelFile::DecodeError;
    using ModelFile::FileError;
    if (result.error == FileError::Invalid)
        return lookUp<DecodeError>(
                   {
                       {DecodeError::MissingCount,
                        QStringLiteral("not a model file: shorter than its 4-byte point count")},
                       {DecodeError::NegativeCount,
                        QStringLiteral("not a model file: a negative point count (%1)")},
                       {DecodeError::CountAboveCapacity,
                        QStringLiteral("not a model file: %1 points, more than %2")},
                       {DecodeError::MissingRecords,
                        QStringLiteral("not a model file: too short for its %1 points")},
                   },
                   result.decodeError)
            .replace(QStringLiteral("%1"), QString::number(result.count))
            .replace(QStringLiteral("%2"), QString::number(kMaxPoints));
    return lookUp<FileError>(
        {
            {FileError::NotFound, QStringLiteral("no such file")},
            {FileError::NotRegularFile, QStringLiteral("not a regular file")},
            {FileError::CannotOpen, withSystemError("cannot be opened: ", result.systemError)},
            {FileError::ReadFailed, withSystemError("cannot be read: ", result.systemError)},
            {FileError::WriteFailed, withSystemError("cannot be written: ", result.systemError)},
        },
        result.error);
}

QString pictureFailureReason(const PictureResult &result)
{
    return lookUp<PictureError>(
        {
            {PictureError::NotFound, QStringLiteral("no such file")},
            {PictureError::NotRegularFile, QStringLiteral("not a regular file")},
            {PictureError::TooLarge,
             QStringLiteral("the picture is too large: over %1 pixels across or down, or more "
                            "than %2 MB")
                 .arg(kCaptureLargestSide)
                 .arg(kPictureAllocationLimitMB)},
            {PictureError::Truncated, QStringLiteral("the file stops early (truncated)")},
            {PictureError::TooManyScans,
             QStringLiteral("the JPEG has more than %1 scans").arg(kMaxJpegScans)},
            {PictureError::Unreadable, QStringLiteral("not a picture that can be read: ")
                                           + QString::fromStdString(result.detail)},
            {PictureError::ReadFailed, withSystemError("cannot be read: ", result.systemError)},
            {PictureError::WriteFailed, withSystemError("cannot be written: ", result.systemError)},
        },
        result.error);
}

QString exportFailureReason(ExportError error)
{
    return lookUp<ExportError>(
        {
            {ExportError::NoPoints, QStringLiteral("the model has no points")},
            {ExportError::NoFinitePoint, QStringLiteral("no point has finite coordinates")},
            {ExportError::TooLargeForFloats,
             QStringLiteral("every coordinate is too large for the format's floats")},
            {ExportError::TooWide,
             QStringLiteral("the points spread over more than %1 pixels").arg(kMaxReliefPixels)},
            {ExportError::TooThick,
             QStringLiteral("the depths are too far apart: the relief would be over %1 km thick")
                 .arg(kMaxReliefThickness / 1e6)},
            {ExportError::Options, QStringLiteral("an option is outside its limits")},
            {ExportError::Writer, QStringLiteral("the format's library failed")},
        },
        error);
}

QString writeFailureReason(const FileResult &result)
{
    return lookUp<FileProblem>(
        {
            {FileProblem::NotRegularFile, QStringLiteral("not a regular file")},
            {FileProblem::NameTooLong, QStringLiteral("the name is too long")},
            {FileProblem::Create,
             withSystemError("cannot create a file beside it: ", result.error)},
            {FileProblem::Write, withSystemError("cannot write: ", result.error)},
            {FileProblem::Replace, withSystemError("cannot replace it: ", result.error)},
        },
        result.problem);
}

} // namespace CommandLine
