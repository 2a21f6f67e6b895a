#pragma once

#include "colour.h"

#include <span>

// A position on a surface in pixels: origin at the top-left, y downwards.
struct SurfacePoint {
    float x;
    float y;
};

// A pixel-scaled drawing area. Coordinates come as single-precision floats
// and may be fractional or lie outside the area.
class Surface {
public:
    virtual ~Surface() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Erases everything drawn; the surface shows its background colour.
    virtual void clear() = 0;

    // Rounds (x, y) to the nearest pixel, halves to even. Positions outside the
    // area, NaN and infinities are ignored silently.
    virtual void plot(float x, float y, Colour colour) = 0;

    // plot() for every point in order, a later point over an earlier one. A
    // size above 1 fills a square of that many pixels a side around each.
    virtual void plotAll(std::span<const SurfacePoint> points, std::span<const Colour> colours,
                         int size)
        = 0;

    // The colour at (x, y), rounded as plot() does; white outside the area.
    virtual Colour pixel(float x, float y) const = 0;

    // pixel() of `out.size()` pixels of row y from column x on: a surface may do it faster.
    virtual void readRow(int x, int y, std::span<Colour> out) const
    {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = pixel(float(x + int(i)), float(y));
    }

    // The one-pixel outline of the box with corners (x1, y1) and (x2, y2),
    // corners in any order, clipped at the edges.
    virtual void drawBox(float x1, float y1, float x2, float y2, Colour colour) = 0;
};
