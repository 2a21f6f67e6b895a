#include "drawing.h"

#include <algorithm>

namespace {

// Positions beyond float's range are far off any surface; clamping them keeps
// the conversion defined. NaN passes through and is skipped by the surface.
float toSingle(double value)
{
    return static_cast<float>(std::clamp(value, -1e30, 1e30));
}

} // namespace

void drawPoints(Surface &surface, const ProgramState &state,
                const std::array<Coords, kMaxPoints> &points)
{
    surface.Cls();
    const double centreX = state.viewCenterX;
    const double centreY = state.viewCenterY;
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        surface.PSet(toSingle(centreX + points[i][Horizontal]),
                     toSingle(centreY - points[i][Vertical]), state.pointColors[i]);
    }
}

void DrawFrontView(Surface &surface, const ProgramState &state)
{
    drawPoints(surface, state, state.modelPoints);
}
