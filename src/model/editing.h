#pragma once

#include "model.h"

#include <vector>

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

// Consecutive points whose depths a step replaced, and the depth they all had.
struct DepthRun {
    std::int32_t first;
    std::int32_t count;
    double depth;
};

// Replaces the depth of every point inside an ordered stroke; what it replaced.
std::vector<DepthRun> applyDepth(Model &model, const Stroke &ordered, ViewCentre centre,
                                 double depth);

// Gives the points of the runs their depths back, bit for bit.
void restoreDepths(Model &model, const std::vector<DepthRun> &runs);

// Sets every point of the runs to one depth, as applyDepth() did.
void setDepths(Model &model, const std::vector<DepthRun> &runs, double depth);

// A quarter turn counter-clockwise on the screen: (x, y) becomes (-y, x).
void turnQuarter(Model &model);

// The exact inverse: (x, y) becomes (y, -x).
void turnQuarterBack(Model &model);

// Mirrors left to right about the view centre: x becomes -x.
void mirrorLeftRight(Model &model);

// Moves every point along one screen axis.
void shiftModel(Model &model, Coordinate axis, double delta);

// Whether shifting by -delta after delta gives every coordinate back bit for
// bit: true for whole numbers, not for every fraction or huge value.
bool shiftIsReversible(const Model &model, Coordinate axis, double delta);
