#pragma once

#include "model.h"
#include "surface.h"

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

// Degrees to radians and back use this rounded value, not full-precision pi:
// it is part of how every view of a model looks.
inline constexpr double kRendererPi = 3.14159;

// Replaces a coordinate of exactly 0 on the axis a turn moves away from.
inline constexpr double kFirstTurnSubstitute = -0.01;
inline constexpr double kSecondTurnSubstitute = -0.001;

// Turns coordinate pairs (a, d) by a fixed angle in degrees, measured from the
// positive d axis towards the positive a axis. Equivalent to taking the
// point's angle with atan in four quadrant cases, adding the turn and going
// back with sin and cos, but without trigonometry per point.
class PairTurn {
public:
    PairTurn(double degrees, double substitute);

    void apply(double a, double d, double &newA, double &newD) const
    {
        // r cos(angle) and r sin(angle), with the angle relative to the start
        // of the quadrant group; r comes from d itself, never the substitute.
        double along;
        double across;
        int group;
        if (d == 0) [[unlikely]] {
            substituted(a, along, across);
            group = 1;
        } else {
            // Without branches: the signs of random points would defeat prediction.
            // A NaN stays NaN whichever group it takes, so it is never drawn.
            const int back = d < 0;
            const std::uint64_t flip = std::uint64_t(back) << 63;
            along = std::bit_cast<double>(std::bit_cast<std::uint64_t>(d) ^ flip);
            across = std::bit_cast<double>(std::bit_cast<std::uint64_t>(a) ^ flip);
            group = back + 2 * int(a < 0) * (1 - back);
        }
        newA = sin_[group] * along + cos_[group] * across;
        newD = cos_[group] * along - sin_[group] * across;
    }

private:
    void substituted(double a, double &along, double &across) const;

    // Sine and cosine of the turn plus 0, 180 and 360 degrees of the groups
    // (d > 0 with a >= 0; d < 0; d > 0 with a < 0), in the rounded radians.
    double sin_[3];
    double cos_[3];
    double substitute_;
};

// Turns every point about the vertical axis by `turnDegrees`, then about the
// horizontal axis by `tiltDegrees`; `turned` holds at least as many points.
void turnPoints(std::span<const Coords> points, double turnDegrees, double tiltDegrees,
                std::span<Coords> turned);

// The view's angles in degrees: about the vertical axis, then the horizontal one.
struct ViewAngles {
    double turn = 0;
    double tilt = 0;
};

// Where a model point shows on a surface:
// (originX + scale * horizontal, originY - scale * vertical).
struct Projection {
    double originX = 0;
    double originY = 0;
    double scale = 1;

    // The main view's mapping scaled to fit a surface of this size; at the
    // main view's size it is the main view's own.
    static Projection fitting(int width, int height);
    // The main view's: its centre, one pixel a pixel.
    static Projection mainView() { return {double(kViewCentre.x), double(kViewCentre.y), 1}; }
};

// How a point is drawn where a view is larger than the main one.
struct PointStyle {
    int size = 1; // pixels a side, at least: see pointSize()
    bool shading = false; // nearer points darker, farther ones lighter
};

// The largest point the views and the turntable offer.
inline constexpr int kMaxPointSize = 4;

// The side of the square a point fills: the style's size, or more where one model pixel
// covers more at the projection's scale, so that a filled drawing stays filled when enlarged.
int pointSize(const Projection &projection, const PointStyle &style);

// Draws a model into a surface, clearing it first: a later point overwrites an
// earlier one, and depth plays no part but for the shading.
class ViewRenderer {
public:
    // The turned model through any projection, in any point style.
    void drawView(Surface &surface, const Model &model, double turnDegrees, double tiltDegrees,
                  const Projection &projection, const PointStyle &style);

    // The model as it stands, as the editing tools show it, through any projection.
    void drawUnturnedView(Surface &surface, const Model &model, const Projection &projection,
                          const PointStyle &style);

private:
    // Draws each point where `place` puts it in model coordinates.
    template<typename Place>
    void drawPlaced(Surface &surface, const Model &model, const Projection &projection,
                    const PointStyle &style, const Place &place);

    // Positions go to the surface a block at a time, so they never leave the cache.
    static constexpr std::size_t kBlock = 1024;
    std::array<SurfacePoint, kBlock> positions_;
    std::array<Colour, kBlock> shaded_;
    std::vector<Coords> placed_;
};
