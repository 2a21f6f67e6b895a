#pragma once

#include "picture_file.h"

#include <QByteArray>

bool isPngFile(const QByteArray &bytes);

// A PNG decoded by libpng straight into an opaque RGB32 picture, 16-bit channels rounded to
// 8, transparency over white. Refused: a file that stops early, a damaged one (with libpng's
// words), and a picture of more than `limit` bytes. libpng's own lines never reach standard
// error.
DecodedPicture decodePng(const QByteArray &bytes, qint64 limit);
