#pragma once

#include "program_state.h"

// Clears the surface and plots points 0 .. pointCount - 1 of `points` in index
// order, each at (viewCenterX + horizontal, viewCenterY - vertical) in its colour.
// A later point overwrites an earlier one; depth plays no part.
void drawPoints(Surface &surface, const ProgramState &state,
                const std::array<Coords, kMaxPoints> &points);

// The model unturned, as the editing tools show it.
void DrawFrontView(Surface &surface, const ProgramState &state);
