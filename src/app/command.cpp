#include "command.h"

#include "reasons.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cmath>

namespace CommandLine {

Outcome Outcome::failed(Status status, const QString &file, const QString &reason)
{
    return {status, {file + QStringLiteral(": ") + reason}, {}};
}

void addPointStyleOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("point-size"),
         QStringLiteral("Points of at least P x P pixels, 1 to %1 (1); larger where one pixel of "
                        "the model covers more.")
             .arg(kMaxPointSize),
         QStringLiteral("P")},
        {QStringLiteral("shading"),
         QStringLiteral("Nearer points darker, farther points lighter.")},
    });
}

void readPointStyle(const QCommandLineParser &parser, PointStyle &style)
{
    if (parser.isSet(QStringLiteral("point-size")))
        style.size = integerOption(parser, QStringLiteral("point-size"), 1, kMaxPointSize);
    style.shading = parser.isSet(QStringLiteral("shading"));
}

void readAngles(const QCommandLineParser &parser, double &turn, double &tilt)
{
    constexpr double kAngleLimit = 1e6;
    if (parser.isSet(QStringLiteral("turn")))
        turn = numberOption(parser, QStringLiteral("turn"), -kAngleLimit, kAngleLimit);
    if (parser.isSet(QStringLiteral("tilt")))
        tilt = numberOption(parser, QStringLiteral("tilt"), -kAngleLimit, kAngleLimit);
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
    // Read wider than an int, so that a number beyond one is told its range.
    const qlonglong value = QLocale::c().toLongLong(text, &ok);
    if (!ok)
        throw UsageError(QStringLiteral("--%1: '%2' is not a whole number").arg(option, text));
    if (value < low || value > high)
        throw UsageError(
            QStringLiteral("--%1: %2 is outside %3 to %4").arg(option, text).arg(low).arg(high));
    return int(value);
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

bool openModel(const QString &path, Model &model, Outcome &outcome)
{
    ModelFile::ParsedModel parsed;
    const ModelFile::FileResult result = ModelFile::load(path.toStdString(), parsed);
    if (!result.ok()) {
        outcome = Outcome::failed(InputRefused, path, modelFailureReason(result));
        return false;
    }
    // A file without colours takes those of fresh slots, as in a fresh program.
    model = ModelFile::toModel(parsed, {});
    return true;
}

// Every file the command line writes goes through here: written beside the
// target and renamed over it only when complete, so a failure leaves an older
// file as it was and nothing new behind.
Outcome writeResult(const QString &path, std::span<const std::uint8_t> bytes)
{
    const FileResult result = writeFileAtomically(path.toStdString(), bytes);
    if (!result.ok())
        return Outcome::failed(OutputFailed, path,
                               QStringLiteral("not written: ") + writeFailureReason(result));
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
