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
