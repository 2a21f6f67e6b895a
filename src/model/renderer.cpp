#include "renderer.h"

#include "conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A model whose turned depths lie closer together than this, in pixels, is drawn in one shade.
constexpr double kLeastShadedDepthRange = 1;

// Positions beyond float's range are far off any surface; clamping them keeps
// the conversion defined. NaN passes through and is skipped by the surface.
float toSingle(double value)
{
    return static_cast<float>(std::min(std::max(value, -1e30), 1e30));
}

// Towards white by `farness` (0 nearest, 1 farthest) of the way, less a little,
// so the farthest points still show on a white view.
Colour shade(Colour colour, double farness)
{
    // NaN, from a point that is never drawn, counts as nearest.
    const double lighten = (farness > 0 ? std::min(farness, 1.0) : 0.0) * 0.7;
    Colour result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int channel = (colour >> shift) & 0xFF;
        // Half up, as lround gives for these non-negative values, without a call per channel.
        result |= int(channel + (255 - channel) * lighten + 0.5) << shift;
    }
    return result;
}

// About the vertical axis first, then about the horizontal one.
Coords turnPoint(const PairTurn &turn, const PairTurn &tilt, const Coords &point)
{
    double depth;
    double horizontal;
    turn.apply(point[Depth], point[Horizontal], depth, horizontal);
    double vertical;
    tilt.apply(point[Vertical], depth, vertical, depth);
    return {depth, horizontal, vertical};
}

} // namespace

PairTurn::PairTurn(double degrees, double substitute)
    : substitute_(substitute)
{
    // The same degree sums as the quadrant cases form, converted the same way,
    // so a point with a = 0 comes out bit for bit as the case formula gives it.
    for (int group = 0; group < 3; ++group) {
        const double radians = (180.0 * group + degrees) * kRendererPi / 180.0;
        sin_[group] = std::sin(radians);
        cos_[group] = std::cos(radians);
    }
}

void PairTurn::substituted(double a, double &along, double &across) const
{
    const double slope = a / substitute_;
    along = std::fabs(a) / std::sqrt(1.0 + slope * slope);
    across = along * slope;
}

void turnPoints(std::span<const Coords> points, double turnDegrees, double tiltDegrees,
                std::span<Coords> turned)
{
    const PairTurn turn(turnDegrees, kFirstTurnSubstitute);
    const PairTurn tilt(tiltDegrees, kSecondTurnSubstitute);
    for (std::size_t i = 0; i < points.size(); ++i)
        turned[i] = turnPoint(turn, tilt, points[i]);
}

Projection Projection::fitting(int width, int height)
{
    return {double(saturatingInt16(width / 2.0)), double(saturatingInt16(height / 2.0)),
            std::min(width, height) / double(kViewSize)};
}

int pointSize(const Projection &projection, const PointStyle &style)
{
    // Neighbouring pixels land at most ceil(scale) pixels apart once rounded, so a square of
    // that side leaves no gap between them. The bound only keeps the int defined: a surface
    // is never that large.
    const double covering = std::ceil(std::min(projection.scale, 65536.0));
    return covering > style.size ? int(covering) : style.size;
}

template<typename Place>
void ViewRenderer::drawPlaced(Surface &surface, const Model &model, const Projection &projection,
                              const PointStyle &style, const Place &place)
{
    // Shading needs the depth range first; the placed points are kept for the drawing.
    double nearest = std::numeric_limits<double>::infinity();
    double farthest = -nearest;
    if (style.shading) {
        placed_.resize(model.points.size());
        for (std::size_t i = 0; i < model.points.size(); ++i) {
            placed_[i] = place(model.points[i]);
            const double depth = placed_[i][Depth];
            if (std::isfinite(depth)) {
                nearest = std::min(nearest, depth);
                farthest = std::max(farthest, depth);
            }
        }
    }
    // The turn formula's rounding (its pi of 3.14159 and the substitutes for 0) leaves the
    // depths of a flat model up to a thousandth of a pixel apart, by side and by row: stretched
    // over the full range, that noise lightened the left half and the centre row to near white.
    const bool flat = !(farthest - nearest >= kLeastShadedDepthRange);
    const double depthSpan = flat ? 1.0 : farthest - nearest;

    const double originX = projection.originX, originY = projection.originY;
    const double scale = projection.scale;
    const int size = pointSize(projection, style);
    const auto onSurface = [=](const Coords &placed) {
        return SurfacePoint {toSingle(originX + scale * placed[Horizontal]),
                             toSingle(originY - scale * placed[Vertical])};
    };
    surface.clear();
    for (std::size_t first = 0; first < model.points.size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, model.points.size() - first);
        // Two loops, so that the unshaded one, every redraw's, carries nothing of the other.
        if (style.shading) {
            for (std::size_t i = 0; i < count; ++i) {
                const Coords &placed = placed_[first + i];
                positions_[i] = onSurface(placed);
                shaded_[i]
                    = flat ? model.colours[first + i]
                           : shade(model.colours[first + i], (placed[Depth] - nearest) / depthSpan);
            }
        } else if (scale == 1) { // the main view's; without the multiply it takes a third less
            for (std::size_t i = 0; i < count; ++i) {
                const Coords &placed = place(model.points[first + i]);
                positions_[i] = {toSingle(originX + placed[Horizontal]),
                                 toSingle(originY - placed[Vertical])};
            }
        } else {
            for (std::size_t i = 0; i < count; ++i)
                positions_[i] = onSurface(place(model.points[first + i]));
        }
        const Colour *colours = style.shading ? shaded_.data() : model.colours.data() + first;
        surface.plotAll({positions_.data(), count}, {colours, count}, size);
    }
}

void ViewRenderer::drawView(Surface &surface, const Model &model, double turnDegrees,
                            double tiltDegrees, const Projection &projection,
                            const PointStyle &style)
{
    const PairTurn turn(turnDegrees, kFirstTurnSubstitute);
    const PairTurn tilt(tiltDegrees, kSecondTurnSubstitute);
    drawPlaced(surface, model, projection, style,
               [&](const Coords &point) { return turnPoint(turn, tilt, point); });
}

void ViewRenderer::drawUnturnedView(Surface &surface, const Model &model,
                                    const Projection &projection, const PointStyle &style)
{
    drawPlaced(surface, model, projection, style,
               [](const Coords &point) -> const Coords & { return point; });
}
