#include "drawing.h"

void drawPoints(Surface &surface, const ProgramState &state,
                const std::array<Coords, kMaxPoints> &points)
{
    surface.Cls();
    const double centreX = state.viewCenterX;
    const double centreY = state.viewCenterY;
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        surface.PSet(static_cast<float>(centreX + points[i][Horizontal]),
                     static_cast<float>(centreY - points[i][Vertical]), state.pointColors[i]);
    }
}

void DrawFrontView(Surface &surface, const ProgramState &state)
{
    drawPoints(surface, state, state.modelPoints);
}
