#include "export_options.h"

#include "command.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

struct LengthOption {
    const char *name;
    const char *description;
    double SolidOptions::*value;
    LengthLimits limits;
};

const LengthOption kLengthOptions[] = {
    {"pixel-mm", "the side of one pixel", &SolidOptions::pixelSize, kPixelSizeLimits},
    {"depth-mm", "the height per unit of depth", &SolidOptions::depthScale, kDepthScaleLimits},
    {"ink-mm", "the height of the farthest points above the plate", &SolidOptions::inkHeight,
     kInkHeightLimits},
    {"base-mm", "the thickness of the base plate", &SolidOptions::baseThickness,
     kBaseThicknessLimits},
};

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

void addExportOptions(QCommandLineParser &parser)
{
    const SolidOptions defaults;
    parser.addOption({QStringLiteral("ascii"), QStringLiteral("PLY as text instead of binary.")});
    for (const LengthOption &option : kLengthOptions)
        parser.addOption({QString::fromLatin1(option.name),
                          QStringLiteral("STL, 3MF: %1 in millimetres, %2 to %3 (%4).")
                              .arg(QString::fromLatin1(option.description))
                              .arg(option.limits.low)
                              .arg(option.limits.high)
                              .arg(defaults.*option.value),
                          QStringLiteral("MM")});
    parser.addOptions({
        {QStringLiteral("reverse"),
         QStringLiteral("STL, 3MF: the farthest points stand tallest instead of the nearest.")},
        {QStringLiteral("colours"),
         QStringLiteral("3MF: at most N colour groups, 1 to %1 (%2).")
             .arg(kMaxColourGroups)
             .arg(defaults.colourGroups),
         QStringLiteral("N")},
    });
}

ExportOptions readExportOptions(const QCommandLineParser &parser, const QString &kind)
{
    const ExportKindInfo *info = infoOf(kind);
    const bool takesSolid = info && info->solid;
    const auto refuseUnless = [&](bool fits, const QString &option, const char *kinds) {
        if (parser.isSet(option) && !fits)
            throw UsageError(QStringLiteral("--%1 is for %2, not .%3").arg(option, kinds, kind));
    };
    refuseUnless(info && info->kind == ExportKind::Ply, QStringLiteral("ascii"), ".ply");
    for (const LengthOption &option : kLengthOptions)
        refuseUnless(takesSolid, QString::fromLatin1(option.name), ".stl and .3mf");
    refuseUnless(takesSolid, QStringLiteral("reverse"), ".stl and .3mf");
    refuseUnless(info && info->colourGroups, QStringLiteral("colours"), ".3mf");

    ExportOptions options;
    options.ply.ascii = parser.isSet(QStringLiteral("ascii"));
    SolidOptions &solid = options.solid;
    for (const LengthOption &option : kLengthOptions)
        if (const QString name = QString::fromLatin1(option.name); parser.isSet(name))
            solid.*option.value = numberOption(parser, name, option.limits.low, option.limits.high);
    solid.reverse = parser.isSet(QStringLiteral("reverse"));
    if (parser.isSet(QStringLiteral("colours")))
        solid.colourGroups = integerOption(parser, QStringLiteral("colours"), 1, kMaxColourGroups);
    return options;
}

ExportResult exportModel(const Model &model, const QString &kind, const ExportOptions &options)
{
    return infoOf(kind)->write(model.points, model.colours, options);
}

} // namespace CommandLine
