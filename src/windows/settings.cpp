#include "settings.h"

#include "editing.h"
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
    // A choice from a list: one past its end is no nearer choice, so it leaves the default.
    void operator()(const QString &key, Slicer &slicer) const
    {
        bool ok = false;
        const int read = settings_.value(key).toInt(&ok);
        if (ok && read >= 0 && read < int(std::size(kSlicerNames)))
            slicer = Slicer(read);
    }
    void operator()(const QString &key, QString &value) const
    {
        value = settings_.value(key, value).toString();
    }
    void operator()(const QString &key, QByteArray &value) const
    {
        value = settings_.value(key, value).toByteArray();
    }
    void operator()(const QString &key, QStringList &value, int most) const
    {
        value = settings_.value(key, value).toStringList().mid(0, most);
        value.removeAll(QString());
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
    void operator()(const QString &key, const Slicer &slicer) const
    {
        settings_.setValue(key, int(slicer));
    }

private:
    QSettings &settings_;
};

// The tables: each remembered value's key and range, once for loading and saving.
template<typename Style, typename Visit>
void visitStyle(const QString &group, Style &style, const Visit &visit)
{
    visit(group + QStringLiteral("/pointSize"), style.size, 1, kMaxPointSize);
    visit(group + QStringLiteral("/shading"), style.shading);
}

template<typename Group> struct Table;

template<> struct Table<Remembered::LargeViewStyle> {
    template<typename Style, typename Visit> static void visit(Style &style, const Visit &visit)
    {
        visitStyle(QStringLiteral("largeView"), style, visit);
    }
};

template<> struct Table<Remembered::LargeViewGeometry> {
    template<typename Bytes, typename Visit> static void visit(Bytes &geometry, const Visit &visit)
    {
        visit(QStringLiteral("largeView/geometry"), geometry);
    }
};

template<> struct Table<Remembered::Turntable> {
    template<typename Options, typename Visit>
    static void visit(Options &options, const Visit &visit)
    {
        visit(QStringLiteral("turntable/swing"), options.motion);
        visit(QStringLiteral("turntable/frames"), options.frames, kMinTurntableFrames,
              kMaxTurntableFrames);
        visit(QStringLiteral("turntable/size"), options.size, kMinTurntableSize, kMaxTurntableSize);
        visit(QStringLiteral("turntable/delay"), options.delayMs, kMinTurntableDelay,
              kMaxTurntableDelay);
        visitStyle(QStringLiteral("turntable"), options.style, visit);
        visit(QStringLiteral("turntable/aboutCentre"), options.aboutCentre);
    }
};

template<> struct Table<Remembered::TurntablePath> {
    template<typename Path, typename Visit> static void visit(Path &path, const Visit &visit)
    {
        visit(QStringLiteral("turntable/path"), path);
    }
};

template<> struct Table<Remembered::RecentFiles> {
    template<typename Paths, typename Visit> static void visit(Paths &paths, const Visit &visit)
    {
        visit(QStringLiteral("recentFiles/paths"), paths, kMaxRecentFiles);
    }
};

template<> struct Table<Remembered::Ply> {
    template<typename Options, typename Visit>
    static void visit(Options &options, const Visit &visit)
    {
        visit(QStringLiteral("export/plyAscii"), options.ascii);
    }
};

template<> struct Table<Remembered::Solid> {
    template<typename Options, typename Visit>
    static void visit(Options &options, const Visit &visit)
    {
        visit(QStringLiteral("export/pixelSize"), options.pixelSize, kPixelSizeLimits);
        visit(QStringLiteral("export/depthScale"), options.depthScale, kDepthScaleLimits);
        visit(QStringLiteral("export/inkHeight"), options.inkHeight, kInkHeightLimits);
        visit(QStringLiteral("export/baseThickness"), options.baseThickness, kBaseThicknessLimits);
        visit(QStringLiteral("export/reverse"), options.reverse);
        visit(QStringLiteral("export/colourGroups"), options.colourGroups, 1, kMaxColourGroups);
        visit(QStringLiteral("export/nozzle"), options.nozzle, kNozzleLimits);
        visit(QStringLiteral("export/thicken"), options.thicken, 0, kMaxThicken);
        visit(QStringLiteral("export/slicer"), options.slicer);
    }
};

template<> struct Table<Remembered::DepthByColour> {
    template<typename Groups, typename Visit> static void visit(Groups &groups, const Visit &visit)
    {
        visit(QStringLiteral("depth/colourGroups"), groups, 1, kMaxColourGroups);
    }
};

template<> struct Table<Remembered::DepthByBrightness> {
    template<typename Depths, typename Visit> static void visit(Depths &depths, const Visit &visit)
    {
        constexpr LengthLimits range {kDepthLow, kDepthHigh, 1};
        visit(QStringLiteral("depth/black"), depths.black, range);
        visit(QStringLiteral("depth/white"), depths.white, range);
    }
};

// Each group's values before the file is read.
template<typename Group> typename Group::Value defaults()
{
    return {};
}

template<> int defaults<Remembered::DepthByColour>()
{
    return kStartDepthGroups;
}

template<> TurntableOptions defaults<Remembered::Turntable>()
{
    TurntableOptions options;
    options.style = load<Remembered::LargeViewStyle>();
    return options;
}

} // namespace

template<typename Group> typename Group::Value load()
{
    typename Group::Value value = defaults<Group>();
    if (settingsKept()) {
        const QSettings settings(settingsPath(), QSettings::IniFormat);
        Table<Group>::visit(value, Loader(settings));
    }
    return value;
}

template<typename Group> void save(const typename Group::Value &value)
{
    if (!settingsKept())
        return;
    QSettings settings(settingsPath(), QSettings::IniFormat);
    Table<Group>::visit(value, Saver(settings));
}

// Every group, once for loading and once for saving.
#define ZUVORAK_REMEMBERED(Group)                                                                  \
    template Remembered::Group::Value load<Remembered::Group>();                                   \
    template void save<Remembered::Group>(const Remembered::Group::Value &);
ZUVORAK_REMEMBERED(LargeViewStyle)
ZUVORAK_REMEMBERED(LargeViewGeometry)
ZUVORAK_REMEMBERED(Turntable)
ZUVORAK_REMEMBERED(TurntablePath)
ZUVORAK_REMEMBERED(RecentFiles)
ZUVORAK_REMEMBERED(Ply)
ZUVORAK_REMEMBERED(Solid)
ZUVORAK_REMEMBERED(DepthByColour)
ZUVORAK_REMEMBERED(DepthByBrightness)
#undef ZUVORAK_REMEMBERED

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
