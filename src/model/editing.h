#pragma once

#include "model.h"

// A rectangle dragged over the front view: the horizontal corners as the
// pointer gave them, the vertical ones rounded to 16-bit integers.
struct Stroke {
    float startX = 0;
    std::int16_t startY = 0;
    float endX = 0;
    std::int16_t endY = 0;
};

// The same rectangle with start <= end on both axes.
Stroke orderedStroke(Stroke stroke);

// Whether a point's front-view position lies strictly inside an ordered
// stroke. The vertical differences are 16-bit, as the corners are.
bool insideStroke(const Stroke &ordered, ViewCentre centre, const Coords &point);

// Replaces the depth of every point inside an ordered stroke.
void applyDepth(Model &model, const Stroke &ordered, ViewCentre centre, double depth);

// A quarter turn counter-clockwise on the screen: (x, y) becomes (-y, x).
void turnQuarter(Model &model);

// Mirrors left to right about the view centre: x becomes -x.
void mirrorLeftRight(Model &model);

// Moves every point along one screen axis.
void shiftModel(Model &model, Coordinate axis, double delta);
