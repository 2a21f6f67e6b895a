#include "export_kinds.h"

#include "command.h"
#include "relief.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

const QStringList kSolidOptions
    = {QStringLiteral("pixel-mm"), QStringLiteral("depth-mm"), QStringLiteral("ink-mm"),
       QStringLiteral("base-mm"),  QStringLiteral("reverse"),  QStringLiteral("colours")};

bool isSolid(const QString &kind)
{
    return kind == QLatin1String("stl") || kind == QLatin1String("3mf");
}

} // namespace

QStringList exportKinds()
{
    return {QStringLiteral("ply"), QStringLiteral("xyz"), QStringLiteral("glb"),
            QStringLiteral("stl"), QStringLiteral("3mf")};
}

void addExportOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("ascii"), QStringLiteral("PLY as text instead of binary.")},
        {QStringLiteral("pixel-mm"),
         QStringLiteral("STL, 3MF: the side of one pixel in millimetres (0.25)."),
         QStringLiteral("MM")},
        {QStringLiteral("depth-mm"),
         QStringLiteral("STL, 3MF: millimetres of height per unit of depth (0.25)."),
         QStringLiteral("MM")},
        {QStringLiteral("ink-mm"),
         QStringLiteral("STL, 3MF: the height of the farthest points above the plate (0.6)."),
         QStringLiteral("MM")},
        {QStringLiteral("base-mm"),
         QStringLiteral("STL, 3MF: the thickness of the base plate (1.0)."), QStringLiteral("MM")},
        {QStringLiteral("reverse"),
         QStringLiteral("STL, 3MF: the farthest points stand tallest instead of the nearest.")},
        {QStringLiteral("colours"), QStringLiteral("3MF: at most N colour groups, 1 to 16 (4)."),
         QStringLiteral("N")},
    });
}

ExportOptions readExportOptions(const QCommandLineParser &parser, const QString &kind)
{
    ExportOptions settings;
    if (parser.isSet(QStringLiteral("ascii")) && kind != QLatin1String("ply"))
        throw UsageError(QStringLiteral("--ascii is for .ply, not .%1").arg(kind));
    for (const QString &option : kSolidOptions)
        if (parser.isSet(option) && !isSolid(kind))
            throw UsageError(
                QStringLiteral("--%1 is for .stl and .3mf, not .%2").arg(option, kind));
    if (parser.isSet(QStringLiteral("colours")) && kind != QLatin1String("3mf"))
        throw UsageError(QStringLiteral("--colours is for .3mf, not .%1").arg(kind));

    settings.ply.ascii = parser.isSet(QStringLiteral("ascii"));
    SolidOptions &solid = settings.solid;
    const struct {
        const char *option;
        double *value;
    } millimetres[] = {{"pixel-mm", &solid.pixelSize},
                       {"depth-mm", &solid.depthScale},
                       {"ink-mm", &solid.inkHeight},
                       {"base-mm", &solid.baseThickness}};
    for (const auto &mm : millimetres)
        if (parser.isSet(QString(mm.option)))
            *mm.value = numberOption(parser, QString(mm.option), 0, 1000);
    solid.reverse = parser.isSet(QStringLiteral("reverse"));
    if (parser.isSet(QStringLiteral("colours")))
        solid.colourGroups = integerOption(parser, QStringLiteral("colours"), 1, kMaxColourGroups);
    const std::string refused = solidOptionsError(solid);
    if (!refused.empty())
        throw UsageError(QString::fromStdString(refused));
    return settings;
}

ExportResult exportModel(const Model &model, const QString &kind, const ExportOptions &settings)
{
    const ExportKind known = kind == QLatin1String("ply")   ? ExportKind::Ply
                             : kind == QLatin1String("xyz") ? ExportKind::Xyz
                             : kind == QLatin1String("glb") ? ExportKind::Glb
                             : kind == QLatin1String("stl") ? ExportKind::Stl
                                                            : ExportKind::ThreeMf;
    return exportFile(known, model.points, model.colours, settings);
}

} // namespace CommandLine
