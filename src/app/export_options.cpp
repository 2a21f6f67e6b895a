#include "export_options.h"

#include "command.h"

#include <QCommandLineParser>

#include <algorithm>

namespace CommandLine {

namespace {

struct LengthOption {
    QStringList names;
    const char *kinds; // the kinds that take it, for the help and the refusal
    ExportTakes takes;
    const char *description;
    double SolidOptions::*value;
    LengthLimits limits;
};

const LengthOption kLengthOptions[] = {
    {{QStringLiteral("pixel-mm"), QStringLiteral("pixel-size")},
     ".glb, .stl and .3mf",
     kTakesPixelSize,
     "the side of one pixel",
     &SolidOptions::pixelSize,
     kPixelSizeLimits},
    {{QStringLiteral("depth-mm")},
     ".stl and .3mf",
     kTakesHeights,
     "the height per unit of depth",
     &SolidOptions::depthScale,
     kDepthScaleLimits},
    {{QStringLiteral("ink-mm")},
     ".stl and .3mf",
     kTakesHeights,
     "the height of the farthest points above the plate",
     &SolidOptions::inkHeight,
     kInkHeightLimits},
    {{QStringLiteral("base-mm")},
     ".stl and .3mf",
     kTakesHeights,
     "the thickness of the base plate",
     &SolidOptions::baseThickness,
     kBaseThicknessLimits},
    {{QStringLiteral("nozzle")},
     ".stl and .3mf",
     kTakesHeights,
     "the nozzle's width, for the warnings and the slicer's settings",
     &SolidOptions::nozzle,
     kNozzleLimits},
};

QString slicerNames()
{
    QStringList names;
    for (const char *name : kSlicerNames)
        names << QString::fromLatin1(name);
    return names.join(QLatin1Char('|'));
}

// The export kind of that name; null for the other kinds a command writes.
const ExportKindInfo *infoOf(const QString &kind)
{
    return exportKindOfSuffix(kind.toStdString());
}

} // namespace

QStringList exportKinds()
{
    QStringList kinds;
    for (const ExportKindInfo &info : kExportKinds)
        kinds << QString::fromLatin1(info.suffix);
    return kinds;
}

void addExportOptions(QCommandLineParser &parser, bool depthColours)
{
    const SolidOptions defaults;
    parser.addOption({QStringLiteral("ascii"), QStringLiteral("PLY as text instead of binary.")});
    addSolidOptions(parser);
    parser.addOptions({
        {QStringLiteral("colours"),
         (depthColours ? QStringLiteral("At most N colour groups, 1 to %1 (%2): the groups that "
                                        "--depth-colour names, and a 3MF's colours.")
                       : QStringLiteral("3MF: at most N colour groups, 1 to %1 (%2)."))
             .arg(kMaxColourGroups)
             .arg(defaults.colourGroups),
         QStringLiteral("N")},
        {QStringLiteral("slicer"),
         QStringLiteral("3MF: the slicer it opens in as one object with a part and an extruder a "
                        "colour: prusa (PrusaSlicer, SuperSlicer), bambu (Bambu Studio, "
                        "OrcaSlicer), cura or plain, the standard 3MF (%1).")
             .arg(QString::fromLatin1(kSlicerNames[int(defaults.slicer)])),
         QStringLiteral("NAME")},
    });
}

void addSolidOptions(QCommandLineParser &parser)
{
    const SolidOptions defaults;
    for (const LengthOption &option : kLengthOptions)
        parser.addOption(
            {option.names,
             QStringLiteral("%1: %2 in millimetres, %3 to %4 (%5).")
                 .arg(QString::fromLatin1(option.kinds), QString::fromLatin1(option.description))
                 .arg(option.limits.low)
                 .arg(option.limits.high)
                 .arg(defaults.*option.value),
             QStringLiteral("MM")});
    parser.addOptions({
        {QStringLiteral("reverse"),
         QStringLiteral("STL, 3MF: the farthest points stand tallest instead of the nearest.")},
        {QStringLiteral("thicken"),
         QStringLiteral(".stl and .3mf: grows every column into empty pixels within N of it, 0 to "
                        "%1 (%2), so that thin lines reach the nozzle's width.")
             .arg(kMaxThicken)
             .arg(defaults.thicken),
         QStringLiteral("N")},
    });
}

ExportOptions readExportOptions(const QCommandLineParser &parser, const QString &kind,
                                bool depthColours)
{
    const ExportKindInfo *info = infoOf(kind);
    const unsigned takes = info ? info->takes : 0;
    const auto refuseUnless = [&](ExportTakes option, const QString &name, const char *kinds) {
        if (parser.isSet(name) && !(takes & option))
            throw UsageError(QStringLiteral("--%1 is for %2, not .%3").arg(name, kinds, kind));
    };
    refuseUnless(kTakesPlyText, QStringLiteral("ascii"), ".ply");
    for (const LengthOption &option : kLengthOptions)
        refuseUnless(option.takes, option.names.first(), option.kinds);
    refuseUnless(kTakesHeights, QStringLiteral("reverse"), ".stl and .3mf");
    refuseUnless(kTakesHeights, QStringLiteral("thicken"), ".stl and .3mf");
    refuseUnless(kTakesColourGroups, QStringLiteral("slicer"), ".3mf");
    if (!depthColours)
        refuseUnless(kTakesColourGroups, QStringLiteral("colours"), ".3mf");
    else if (!parser.isSet(QStringLiteral("depth-colour")))
        refuseUnless(kTakesColourGroups, QStringLiteral("colours"), "--depth-colour and .3mf");

    ExportOptions options;
    options.ply.ascii = parser.isSet(QStringLiteral("ascii"));
    SolidOptions &solid = options.solid;
    for (const LengthOption &option : kLengthOptions)
        if (const QString &name = option.names.first(); parser.isSet(name))
            solid.*option.value = numberOption(parser, name, option.limits.low, option.limits.high);
    solid.reverse = parser.isSet(QStringLiteral("reverse"));
    if (parser.isSet(QStringLiteral("colours")))
        solid.colourGroups = integerOption(parser, QStringLiteral("colours"), 1, kMaxColourGroups);
    if (parser.isSet(QStringLiteral("thicken")))
        solid.thicken = integerOption(parser, QStringLiteral("thicken"), 0, kMaxThicken);
    if (parser.isSet(QStringLiteral("slicer"))) {
        const QString name = parser.value(QStringLiteral("slicer"));
        const auto known
            = std::find_if(std::begin(kSlicerNames), std::end(kSlicerNames),
                           [&](const char *slicer) { return name == QLatin1String(slicer); });
        if (known == std::end(kSlicerNames))
            throw UsageError(
                QStringLiteral("--slicer: '%1' is none of %2").arg(name, slicerNames()));
        solid.slicer = Slicer(known - std::begin(kSlicerNames));
    }
    return options;
}

ExportResult exportModel(const Model &model, const QString &kind, const ExportOptions &options)
{
    return infoOf(kind)->write(model.points, model.colours, options);
}

} // namespace CommandLine
