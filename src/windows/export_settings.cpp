#include "export_settings.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

// ~/.config/zuvorak/zuvorak.conf, shared with the other remembered choices.
class Settings : public QSettings {
public:
    Settings()
        : QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"))
    {
    }
};

double loadLength(const QSettings &settings, const char *key, double fallback, SolidRange range)
{
    const double value
        = settings.value(QStringLiteral("export/") + QLatin1String(key), fallback).toDouble();
    return std::isfinite(value) ? std::clamp(value, range.low, range.high) : fallback;
}

} // namespace

PlyOptions loadPlyOptions()
{
    const Settings settings;
    PlyOptions options;
    options.ascii = settings.value(QStringLiteral("export/plyAscii"), options.ascii).toBool();
    return options;
}

void savePlyOptions(const PlyOptions &options)
{
    Settings settings;
    settings.setValue(QStringLiteral("export/plyAscii"), options.ascii);
}

SolidOptions loadSolidOptions()
{
    const Settings settings;
    SolidOptions options;
    options.pixelSize = loadLength(settings, "pixelSize", options.pixelSize, kPixelSizeRange);
    options.depthScale = loadLength(settings, "depthScale", options.depthScale, kDepthScaleRange);
    options.inkHeight = loadLength(settings, "inkHeight", options.inkHeight, kInkHeightRange);
    options.baseThickness
        = loadLength(settings, "baseThickness", options.baseThickness, kBaseThicknessRange);
    options.reverse = settings.value(QStringLiteral("export/reverse"), options.reverse).toBool();
    options.colourGroups = std::clamp(
        settings.value(QStringLiteral("export/colourGroups"), options.colourGroups).toInt(), 1,
        kMaxColourGroups);
    return options;
}

void saveSolidOptions(const SolidOptions &options)
{
    Settings settings;
    settings.setValue(QStringLiteral("export/pixelSize"), options.pixelSize);
    settings.setValue(QStringLiteral("export/depthScale"), options.depthScale);
    settings.setValue(QStringLiteral("export/inkHeight"), options.inkHeight);
    settings.setValue(QStringLiteral("export/baseThickness"), options.baseThickness);
    settings.setValue(QStringLiteral("export/reverse"), options.reverse);
    settings.setValue(QStringLiteral("export/colourGroups"), options.colourGroups);
}
