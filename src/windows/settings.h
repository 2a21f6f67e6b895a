#pragma once

#include "export.h"
#include "renderer.h"
#include "turntable.h"

#include <QByteArray>
#include <QString>

// What the user chose last, remembered between runs in
// ~/.config/zuvorak/zuvorak.conf. Values from an edited or foreign settings
// file come back within their ranges.

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
