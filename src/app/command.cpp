#include "command.h"

#include "document.h"
#include "output.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cmath>

namespace CommandLine {

QString modelFailureReason(const ModelFile::FileResult &result)
{
    using ModelFile::DecodeError;
    using ModelFile::FileError;
    const QString detail = qt_error_string(result.systemError);
    switch (result.error) {
    case FileError::None:
        break;
    case FileError::NotFound:
        return QStringLiteral("no such file");
    case FileError::NotRegularFile:
        return QStringLiteral("not a regular file");
    case FileError::CannotOpen:
        return QStringLiteral("cannot be opened: ") + detail;
    case FileError::ReadFailed:
        return QStringLiteral("cannot be read: ") + detail;
    case FileError::WriteFailed:
        return QStringLiteral("cannot be written: ") + detail;
    case FileError::Invalid:
        switch (result.decodeError) {
        case DecodeError::None:
        case DecodeError::MissingCount:
            return QStringLiteral("not a model file: shorter than its 4-byte point count");
        case DecodeError::NegativeCount:
            return QStringLiteral("not a model file: a negative point count (%1)")
                .arg(result.count);
        case DecodeError::CountAboveCapacity:
            return QStringLiteral("not a model file: %1 points, more than %2")
                .arg(result.count)
                .arg(kMaxPoints);
        case DecodeError::MissingRecords:
            return QStringLiteral("not a model file: too short for its %1 points")
                .arg(result.count);
        }
    }
    return {};
}

Outcome Outcome::failed(Status status, const QString &file, const QString &reason)
{
    return {status, {file + QStringLiteral(": ") + reason}, {}};
}

double numberOption(const QCommandLineParser &parser, const QString &option, double low,
                    double high)
{
    const QString text = parser.value(option);
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        throw UsageError(QStringLiteral("--%1: '%2' is not a number").arg(option, text));
    if (value < low || value > high)
        throw UsageError(QStringLiteral("--%1: %2 is outside %3 to %4")
                             .arg(option, text, QString::number(low), QString::number(high)));
    return value;
}

int integerOption(const QCommandLineParser &parser, const QString &option, int low, int high)
{
    const QString text = parser.value(option);
    bool ok = false;
    const int value = QLocale::c().toInt(text, &ok);
    if (!ok)
        throw UsageError(QStringLiteral("--%1: '%2' is not a whole number").arg(option, text));
    if (value < low || value > high)
        throw UsageError(
            QStringLiteral("--%1: %2 is outside %3 to %4").arg(option, text).arg(low).arg(high));
    return value;
}

QList<double> numberList(const QString &option, const QString &text, int count, double limit)
{
    const QStringList parts = text.split(QLatin1Char(','));
    QList<double> values;
    for (const QString &part : parts) {
        bool ok = false;
        const double value = QLocale::c().toDouble(part.trimmed(), &ok);
        if (!ok || !std::isfinite(value))
            break;
        values << value;
    }
    if (parts.size() != count || values.size() != count)
        throw UsageError(QStringLiteral("--%1: '%2' is not %3 numbers separated by commas")
                             .arg(option, text)
                             .arg(count));
    for (double value : std::as_const(values))
        if (std::fabs(value) > limit)
            throw UsageError(
                QStringLiteral("--%1: '%2' has a number beyond %3").arg(option, text).arg(limit));
    return values;
}

bool openModel(Document &document, const QString &path, Outcome &outcome)
{
    const ModelFile::FileResult result = document.open(path);
    if (!result.ok())
        outcome = Outcome::failed(InputRefused, path, modelFailureReason(result));
    return result.ok();
}

Outcome writeResult(const QString &path, std::span<const std::uint8_t> bytes)
{
    const QString reason = writeOutput(path, bytes);
    if (!reason.isEmpty())
        return Outcome::failed(OutputFailed, path, QStringLiteral("not written: ") + reason);
    return {};
}

Outcome writeResult(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return Outcome::failed(OutputFailed, path, QStringLiteral("not written: cannot encode"));
    return writeResult(path, {reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                              std::size_t(bytes.size())});
}

} // namespace CommandLine
