#pragma once

#include "colour.h"

#include <QRgb>

#include <cstdint>

// The only place where the program's 0x00BBGGRR meets Qt's 0xAARRGGBB.
// 0x00BBGGRR byte-swapped is 0xRRGGBB00: one instruction, on the hot path of every redraw.
constexpr QRgb toQRgb(Colour colour)
{
    return 0xFF000000u | (__builtin_bswap32(std::uint32_t(colour)) >> 8);
}

constexpr Colour fromQRgb(QRgb rgb)
{
    return static_cast<Colour>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

static_assert(toQRgb(0x00FF0000) == 0xFF0000FF, "blue stays blue");
static_assert(fromQRgb(0xFF102030) == 0x00302010, "red moves to the low byte");
