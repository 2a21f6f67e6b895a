#include "settings.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

// ~/.config/zuvorak/zuvorak.conf, one file for every remembered choice.
class Settings : public QSettings {
public:
    Settings()
        : QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"))
    {
    }
};

// A number the settings file holds, or `fallback` where it holds something else
// (a hand-edited "0,5" or a word); callers clamp it to their range.
int loadInt(const QSettings &settings, const QString &key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? value : fallback;
}

double loadDouble(const QSettings &settings, const QString &key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

PointStyle loadStyle(const QSettings &settings, const QString &group, PointStyle fallback)
{
    return {std::clamp(loadInt(settings, group + QStringLiteral("/pointSize"), fallback.size), 1,
                       kMaxPointSize),
            settings.value(group + QStringLiteral("/shading"), fallback.shading).toBool()};
}

void saveStyle(QSettings &settings, const QString &group, const PointStyle &style)
{
    settings.setValue(group + QStringLiteral("/pointSize"), style.size);
    settings.setValue(group + QStringLiteral("/shading"), style.shading);
}

double loadLength(const QSettings &settings, const char *key, double fallback, LengthLimits range)
{
    return std::clamp(
        loadDouble(settings, QStringLiteral("export/") + QLatin1String(key), fallback), range.low,
        range.high);
}

} // namespace

PointStyle loadLargeViewStyle()
{
    Settings settings;
    return loadStyle(settings, QStringLiteral("largeView"), {});
}

void saveLargeViewStyle(const PointStyle &style)
{
    Settings settings;
    saveStyle(settings, QStringLiteral("largeView"), style);
}

QByteArray loadLargeViewGeometry()
{
    Settings settings;
    return settings.value(QStringLiteral("largeView/geometry")).toByteArray();
}

void saveLargeViewGeometry(const QByteArray &geometry)
{
    Settings settings;
    settings.setValue(QStringLiteral("largeView/geometry"), geometry);
}

TurntableOptions loadTurntableOptions()
{
    Settings settings;
    const TurntableOptions defaults;
    TurntableOptions options;
    options.motion = settings.value(QStringLiteral("turntable/swing")).toBool()
                         ? TurntableMotion::Swing
                         : TurntableMotion::FullTurn;
    options.frames = loadInt(settings, QStringLiteral("turntable/frames"), defaults.frames);
    options.size = loadInt(settings, QStringLiteral("turntable/size"), defaults.size);
    options.delayMs = loadInt(settings, QStringLiteral("turntable/delay"), defaults.delayMs);
    options.style = loadStyle(settings, QStringLiteral("turntable"),
                              loadStyle(settings, QStringLiteral("largeView"), {}));
    return withinLimits(options);
}

void saveTurntableOptions(const TurntableOptions &options)
{
    Settings settings;
    settings.setValue(QStringLiteral("turntable/swing"), options.motion == TurntableMotion::Swing);
    settings.setValue(QStringLiteral("turntable/frames"), options.frames);
    settings.setValue(QStringLiteral("turntable/size"), options.size);
    settings.setValue(QStringLiteral("turntable/delay"), options.delayMs);
    saveStyle(settings, QStringLiteral("turntable"), options.style);
}

QString loadTurntablePath()
{
    Settings settings;
    return settings.value(QStringLiteral("turntable/path")).toString();
}

void saveTurntablePath(const QString &path)
{
    Settings settings;
    settings.setValue(QStringLiteral("turntable/path"), path);
}

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
    options.pixelSize = loadLength(settings, "pixelSize", options.pixelSize, kPixelSizeLimits);
    options.depthScale = loadLength(settings, "depthScale", options.depthScale, kDepthScaleLimits);
    options.inkHeight = loadLength(settings, "inkHeight", options.inkHeight, kInkHeightLimits);
    options.baseThickness
        = loadLength(settings, "baseThickness", options.baseThickness, kBaseThicknessLimits);
    options.reverse = settings.value(QStringLiteral("export/reverse"), options.reverse).toBool();
    options.colourGroups
        = std::clamp(loadInt(settings, QStringLiteral("export/colourGroups"), options.colourGroups),
                     1, kMaxColourGroups);
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
