#pragma once

#include "export.h"
#include "renderer.h"
#include "turntable.h"

#include <QByteArray>
#include <QString>

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

PointStyle loadLargeViewStyle();
void saveLargeViewStyle(const PointStyle &style);
QByteArray loadLargeViewGeometry();
void saveLargeViewGeometry(const QByteArray &geometry);

// The point style defaults to the large view's.
TurntableOptions loadTurntableOptions();
void saveTurntableOptions(const TurntableOptions &options);
// The last turntable written, where the next one is offered.
QString loadTurntablePath();
void saveTurntablePath(const QString &path);

// The export options, within the dialogs' ranges.
PlyOptions loadPlyOptions();
void savePlyOptions(const PlyOptions &options);
SolidOptions loadSolidOptions();
void saveSolidOptions(const SolidOptions &options);
