#pragma once

#include "picture_result.h"

#include <QByteArray>

// Qt's GIF reader shows a picture whose data stops early or is damaged, with
// made-up pixels where the data is missing. This refuses such a file before it
// is decoded: Truncated when it stops early, Unreadable with giflib's words when
// its first frame is damaged, TooLarge when its first frame would take more than
// `limit` bytes (its canvas may be far smaller). Other formats pass.
PictureResult incompletePicture(const QByteArray &bytes, qint64 limit);
