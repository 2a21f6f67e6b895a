#pragma once

#include "surface.h"

#include <QRgb>

// The only place where the program's 0x00BBGGRR meets Qt's 0xAARRGGBB.
constexpr QRgb toQRgb(Colour colour)
{
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

constexpr Colour fromQRgb(QRgb rgb)
{
    return static_cast<Colour>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}
