#include "commands.h"

#include "conversions.h"
#include "file_access.h"
#include "export_options.h"
#include "model_file.h"
#include "relief.h"
#include "reasons.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace CommandLine {

namespace {

struct Bounds {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    bool empty() const { return low > high; }
};

struct Facts {
    std::size_t points = 0;
    std::array<Bounds, 3> bounds; // finite values only
    QString colours; // "valid", "invalid" or "none"
    std::size_t notFinite = 0; // coordinates
    std::optional<Printability> printability; // none where the points make no relief
};

const char *const kCoordinateNames[] = {"depth", "horizontal", "vertical"};

// Whether the colour block's tag follows the records, complete or not.
bool colourTagFollows(const QString &path, std::size_t points)
{
    const std::size_t tagAt = ModelFile::kCountBytes + ModelFile::kRecordBytes * points;
    const ReadResult read = readRegularFile(path.toStdString(), tagAt + 4, LongFile::ReadStart);
    return read.result.ok() && read.bytes.size() == tagAt + 4
           && std::equal(read.bytes.begin() + std::ptrdiff_t(tagAt), read.bytes.end(),
                         std::begin(ModelFile::kColourTag));
}

QString text(const QString &path, const Facts &facts)
{
    QString out = path + QLatin1Char('\n');
    out += QStringLiteral("points: %1\n").arg(facts.points);
    for (int axis = 0; axis < 3; ++axis) {
        const Bounds &bounds = facts.bounds[std::size_t(axis)];
        out += QString(kCoordinateNames[axis]) + QStringLiteral(": ");
        out += bounds.empty()
                   ? QStringLiteral("none")
                   : QString::fromStdString(shortestDecimal(bounds.low)) + QStringLiteral(" to ")
                         + QString::fromStdString(shortestDecimal(bounds.high));
        out += QLatin1Char('\n');
    }
    out += QStringLiteral("colour block: %1\n").arg(facts.colours);
    out += QStringLiteral("coordinates not finite: %1\n").arg(facts.notFinite);
    const std::optional<Printability> &print = facts.printability;
    out += QStringLiteral("columns thinner than the nozzle: %1\n")
               .arg(print ? QString::number(print->thinColumns) : QStringLiteral("none"));
    out += QStringLiteral("tallest column to its line's width: %1\n")
               .arg(print ? QString::number(print->tallestRatio, 'f', 2) : QStringLiteral("none"));
    return out;
}

QString json(const QString &path, const Facts &facts)
{
    QJsonObject object {{QStringLiteral("file"), path},
                        {QStringLiteral("points"), qint64(facts.points)},
                        {QStringLiteral("colourBlock"), facts.colours},
                        {QStringLiteral("notFinite"), qint64(facts.notFinite)}};
    if (facts.printability) {
        object.insert(QStringLiteral("thinColumns"), qint64(facts.printability->thinColumns));
        object.insert(QStringLiteral("tallestRatio"), facts.printability->tallestRatio);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const Bounds &bounds = facts.bounds[std::size_t(axis)];
        object.insert(QString(kCoordinateNames[axis]),
                      bounds.empty() ? QJsonValue()
                                     : QJsonObject {{QStringLiteral("min"), bounds.low},
                                                    {QStringLiteral("max"), bounds.high}});
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact))
           + QLatin1Char('\n');
}

class InfoCommand : public Command {
public:
    InfoCommand()
        : Command({QStringLiteral("info"), QStringLiteral("MODEL..."),
                   QStringLiteral(
                       "Prints what a model file holds: the number of points, the bounds of "
                       "each\ncoordinate (the depth range first; coordinates that are not finite "
                       "left out),\nwhether a colour block is there and valid (valid, invalid or "
                       "none), how many\ncoordinates are not finite, and how the relief will print "
                       "with the solids' options:\nhow many columns belong to lines thinner than "
                       "the nozzle, and the largest ratio of a\ncolumn's height above the plate to "
                       "its line's width.")})
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        parser.addOption({QStringLiteral("json"),
                          QStringLiteral("One JSON object a line for each model instead.")});
        addSolidOptions(parser);
    }

    void readOptions(const QCommandLineParser &parser, const QString &) override
    {
        json_ = parser.isSet(QStringLiteral("json"));
        solid_ = readExportOptions(parser, QStringLiteral("stl")).solid;
    }

    Outcome run(const Job &job) const override
    {
        ModelFile::ParsedModel parsed;
        const ModelFile::FileResult result = ModelFile::load(job.input.toStdString(), parsed);
        if (!result.ok())
            return Outcome::failed(InputRefused, job.input, modelFailureReason(result));
        Facts facts;
        facts.points = parsed.points.size();
        for (const Coords &point : parsed.points) {
            for (std::size_t axis = 0; axis < 3; ++axis) {
                if (!std::isfinite(point[axis])) {
                    ++facts.notFinite;
                    continue;
                }
                Bounds &bounds = facts.bounds[axis];
                bounds.low = std::min(bounds.low, point[axis]);
                bounds.high = std::max(bounds.high, point[axis]);
            }
        }
        facts.colours = parsed.colours                              ? QStringLiteral("valid")
                        : colourTagFollows(job.input, facts.points) ? QStringLiteral("invalid")
                                                                    : QStringLiteral("none");
        const Model model = ModelFile::toModel(parsed, {});
        if (const Relief relief = buildRelief(model.points, model.colours, solid_); relief.ok())
            facts.printability = printability(relief, solid_.nozzle);
        Outcome outcome;
        outcome.printed = json_ ? json(job.input, facts) : text(job.input, facts);
        return outcome;
    }

private:
    bool json_ = false;
    SolidOptions solid_;
};

} // namespace

std::unique_ptr<Command> infoCommand()
{
    return std::make_unique<InfoCommand>();
}

} // namespace CommandLine
