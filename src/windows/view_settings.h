#pragma once

#include "renderer.h"
#include "turntable.h"

#include <QByteArray>
#include <QString>

// What the user chose for the large view and the turntable file, remembered
// between runs. Values from an edited or foreign settings file come back
// within their ranges.
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
