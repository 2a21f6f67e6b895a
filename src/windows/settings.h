#pragma once

#include "colour_depths.h"
#include "export.h"
#include "renderer.h"
#include "turntable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;

// What the user chose last, remembered between runs in settingsPath(). Values
// from an edited or foreign settings file come back within their ranges. The
// file is read and written only while it is a regular file or absent: anything
// else (a device, a named pipe, a folder, or a link to one) is never opened, and
// the program runs on its defaults.
QString settingsPath();
bool settingsKept();
// Tells the user once, in a message box, when settings are not kept and why.
void tellIfSettingsNotKept(QWidget *parent);

// The groups of remembered values, each a table of keys and ranges in settings.cpp:
// load<Remembered::Turntable>() gives the turntable's options.
namespace Remembered {
// Each group names the type its table fills.
template<typename T> struct Group {
    using Value = T;
};
struct LargeViewStyle : Group<PointStyle> { };
struct LargeViewGeometry : Group<QByteArray> { };
// The point style defaults to the large view's.
struct Turntable : Group<TurntableOptions> { };
// The last turntable written, where the next one is offered.
struct TurntablePath : Group<QString> { };
// The model files opened or saved last, the latest first, at most kMaxRecentFiles.
struct RecentFiles : Group<QStringList> { };
struct Ply : Group<PlyOptions> { };
struct Solid : Group<SolidOptions> { };
// 色ごとの奥行き's number of colour groups.
struct DepthByColour : Group<int> { };
struct DepthByBrightness : Group<BrightnessDepths> { };
} // namespace Remembered

inline constexpr int kMaxRecentFiles = 8;

template<typename Group> typename Group::Value load();
template<typename Group> void save(const typename Group::Value &value);
