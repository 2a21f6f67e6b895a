#pragma once

#include "program_state.h"

// Orders the stroke's corners so that start <= end on both axes.
void orderStrokeCorners(ProgramState &state);

// Whether a point's front-view position lies strictly inside the stroke's
// rectangle. The vertical differences are 16-bit, as the corners are.
bool insideStroke(const ProgramState &state, const Coords &point);

// Replaces the depth of every point inside the stroke's rectangle.
void applyDepth(ProgramState &state, double depth);

// A quarter turn counter-clockwise on the screen: (x, y) becomes (-y, x).
void turnQuarter(ProgramState &state);

// Mirrors left to right about the view centre: x becomes -x.
void mirrorLeftRight(ProgramState &state);

// Moves every point along one screen axis.
void shiftModel(ProgramState &state, Coordinate axis, double delta);
