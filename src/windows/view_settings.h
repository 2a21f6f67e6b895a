#pragma once

#include "renderer.h"

#include <QByteArray>
#include <QString>

// What the user chose for the large view, remembered between runs. Values
// from an edited or foreign settings file come back within their ranges.
PointStyle loadLargeViewStyle();
void saveLargeViewStyle(const PointStyle &style);
QByteArray loadLargeViewGeometry();
void saveLargeViewGeometry(const QByteArray &geometry);
