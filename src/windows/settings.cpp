#include "settings.h"

#include "platform.h"
#include "texts.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>

namespace {

// Reads each value a group's table names into the options; a value missing from the file,
// or not of its kind (a hand-edited "0,5" or a word), leaves the default.
class Loader {
public:
    explicit Loader(const QSettings &settings)
        : settings_(settings)
    {
    }

    void operator()(const QString &key, int &value, int low, int high) const
    {
        bool ok = false;
        const int read = settings_.value(key).toInt(&ok);
        value = std::clamp(ok ? read : value, low, high);
    }
    void operator()(const QString &key, double &value, LengthLimits limits) const
    {
        bool ok = false;
        const double read = settings_.value(key).toDouble(&ok);
        value = std::clamp(ok && std::isfinite(read) ? read : value, limits.low, limits.high);
    }
    void operator()(const QString &key, bool &value) const
    {
        value = settings_.value(key, value).toBool();
    }
    void operator()(const QString &key, TurntableMotion &motion) const
    {
        bool swing = motion == TurntableMotion::Swing;
        (*this)(key, swing);
        motion = swing ? TurntableMotion::Swing : TurntableMotion::FullTurn;
    }
    void operator()(const QString &key, QString &value) const
    {
        value = settings_.value(key, value).toString();
    }
    void operator()(const QString &key, QByteArray &value) const
    {
        value = settings_.value(key, value).toByteArray();
    }

private:
    const QSettings &settings_;
};

class Saver {
public:
    explicit Saver(QSettings &settings)
        : settings_(settings)
    {
    }

    template<typename Value, typename... Range>
    void operator()(const QString &key, const Value &value, const Range &...) const
    {
        settings_.setValue(key, value);
    }
    void operator()(const QString &key, const TurntableMotion &motion) const
    {
        settings_.setValue(key, motion == TurntableMotion::Swing);
    }

private:
    QSettings &settings_;
};

// The tables: each remembered value's key and range, once for loading and saving.
template<typename Style, typename Visit> void visitStyle(const QString &group, Style &style,
                                                         const Visit &visit)
{
    visit(group + QStringLiteral("/pointSize"), style.size, 1, kMaxPointSize);
    visit(group + QStringLiteral("/shading"), style.shading);
}

struct LargeViewStyle {
    template<typename Style, typename Visit> static void visit(Style &style, const Visit &visit)
    {
        visitStyle(QStringLiteral("largeView"), style, visit);
    }
};

struct LargeViewGeometry {
    template<typename Bytes, typename Visit> static void visit(Bytes &geometry, const Visit &visit)
    {
        visit(QStringLiteral("largeView/geometry"), geometry);
    }
};

struct Turntable {
    template<typename Options, typename Visit> static void visit(Options &options,
                                                                 const Visit &visit)
    {
        visit(QStringLiteral("turntable/swing"), options.motion);
        visit(QStringLiteral("turntable/frames"), options.frames, kMinTurntableFrames,
              kMaxTurntableFrames);
        visit(QStringLiteral("turntable/size"), options.size, kMinTurntableSize,
              kMaxTurntableSize);
        visit(QStringLiteral("turntable/delay"), options.delayMs, kMinTurntableDelay,
              kMaxTurntableDelay);
        visitStyle(QStringLiteral("turntable"), options.style, visit);
    }
};

struct TurntablePath {
    template<typename Path, typename Visit> static void visit(Path &path, const Visit &visit)
    {
        visit(QStringLiteral("turntable/path"), path);
    }
};

struct Ply {
    template<typename Options, typename Visit> static void visit(Options &options,
                                                                 const Visit &visit)
    {
        visit(QStringLiteral("export/plyAscii"), options.ascii);
    }
};

struct Solid {
    template<typename Options, typename Visit> static void visit(Options &options,
                                                                 const Visit &visit)
    {
        visit(QStringLiteral("export/pixelSize"), options.pixelSize, kPixelSizeLimits);
        visit(QStringLiteral("export/depthScale"), options.depthScale, kDepthScaleLimits);
        visit(QStringLiteral("export/inkHeight"), options.inkHeight, kInkHeightLimits);
        visit(QStringLiteral("export/baseThickness"), options.baseThickness,
              kBaseThicknessLimits);
        visit(QStringLiteral("export/reverse"), options.reverse);
        visit(QStringLiteral("export/colourGroups"), options.colourGroups, 1, kMaxColourGroups);
    }
};

// A table's values read from the file over `value`, which holds the defaults.
template<typename Table, typename Value> Value loaded(Value value)
{
    if (settingsKept()) {
        const QSettings settings(settingsPath(), QSettings::IniFormat);
        Table::visit(value, Loader(settings));
    }
    return value;
}

template<typename Table, typename Value> void saved(const Value &value)
{
    if (!settingsKept())
        return;
    QSettings settings(settingsPath(), QSettings::IniFormat);
    Table::visit(value, Saver(settings));
}

} // namespace

QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/zuvorak/zuvorak.conf");
}

bool settingsKept()
{
    // By path and following links, never opened: opening a named pipe would block.
    struct stat status { };
    if (::stat(QFile::encodeName(settingsPath()).constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

void tellIfSettingsNotKept(QWidget *parent)
{
    static bool told = false; // until the file is usable again
    if (settingsKept())
        told = false;
    if (told || settingsKept())
        return;
    told = true;
    showError(parent,
              QString(Texts::kSettingsNotKept).arg(QDir::toNativeSeparators(settingsPath())));
}

PointStyle loadLargeViewStyle()
{
    return loaded<LargeViewStyle>(PointStyle {});
}

void saveLargeViewStyle(const PointStyle &style)
{
    saved<LargeViewStyle>(style);
}

QByteArray loadLargeViewGeometry()
{
    return loaded<LargeViewGeometry>(QByteArray());
}

void saveLargeViewGeometry(const QByteArray &geometry)
{
    saved<LargeViewGeometry>(geometry);
}

TurntableOptions loadTurntableOptions()
{
    TurntableOptions defaults;
    defaults.style = loadLargeViewStyle();
    return loaded<Turntable>(defaults);
}

void saveTurntableOptions(const TurntableOptions &options)
{
    saved<Turntable>(options);
}

QString loadTurntablePath()
{
    return loaded<TurntablePath>(QString());
}

void saveTurntablePath(const QString &path)
{
    saved<TurntablePath>(path);
}

PlyOptions loadPlyOptions()
{
    return loaded<Ply>(PlyOptions {});
}

void savePlyOptions(const PlyOptions &options)
{
    saved<Ply>(options);
}

SolidOptions loadSolidOptions()
{
    return loaded<Solid>(SolidOptions {});
}

void saveSolidOptions(const SolidOptions &options)
{
    saved<Solid>(options);
}
