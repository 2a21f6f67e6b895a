#pragma once

#include "picture_file.h"

#include <QByteArray>

// A real progressive picture has about 10 scans; a file of a million empty ones kept the
// decoder busy for minutes. The limit is the one libjpeg-turbo's own fuzzers set.
inline constexpr int kMaxJpegScans = 500;

bool isJpegFile(const QByteArray &bytes);

// A JPEG decoded by libjpeg into an opaque RGB32 picture. Refused: a file that never reaches
// its end marker or whose data stops early (libjpeg would fill in grey), more than
// kMaxJpegScans scans, and a picture of more than `limit` bytes.
DecodedPicture decodeJpeg(const QByteArray &bytes, qint64 limit);
