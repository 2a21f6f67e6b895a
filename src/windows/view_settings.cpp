#include "view_settings.h"

#include <QSettings>

#include <algorithm>

namespace {

// ~/.config/zuvorak/zuvorak.conf
class Settings : public QSettings {
public:
    Settings()
        : QSettings(QStringLiteral("zuvorak"), QStringLiteral("zuvorak"))
    {
    }
};

PointStyle loadStyle(const QSettings &settings, const QString &group, PointStyle fallback)
{
    return {std::clamp(settings.value(group + QStringLiteral("/pointSize"), fallback.size).toInt(),
                       1, kMaxPointSize),
            settings.value(group + QStringLiteral("/shading"), fallback.shading).toBool()};
}

void saveStyle(QSettings &settings, const QString &group, const PointStyle &style)
{
    settings.setValue(group + QStringLiteral("/pointSize"), style.size);
    settings.setValue(group + QStringLiteral("/shading"), style.shading);
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
    options.frames = settings.value(QStringLiteral("turntable/frames"), defaults.frames).toInt();
    options.size = settings.value(QStringLiteral("turntable/size"), defaults.size).toInt();
    options.delayMs = settings.value(QStringLiteral("turntable/delay"), defaults.delayMs).toInt();
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
