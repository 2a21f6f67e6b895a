#pragma once

#include <QImage>

// A transparent pixel counts as background: only visible ink may become a point. The picture,
// of 32 bits a pixel with alpha, is put over white in place, as painting it on white would:
// the premultiplied colour plus what the alpha leaves clear. A large picture is never held twice.
inline void putOnWhite(QImage &picture)
{
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int clear = 255 - qAlpha(row[x]);
            row[x] = qRgb(qRed(row[x]) + clear, qGreen(row[x]) + clear, qBlue(row[x]) + clear);
        }
    }
    picture.reinterpretAsFormat(QImage::Format_RGB32);
}
