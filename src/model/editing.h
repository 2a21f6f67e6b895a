#pragma once

#include "corners.h"
#include "model.h"

#include <vector>

// The depth slider's range and where it starts; every depth a tool sets lies in it.
inline constexpr int kDepthLow = 0;
inline constexpr int kDepthHigh = 100;
inline constexpr int kStartDepth = 15;

// A rectangle dragged over the front view: the horizontal corners as the
// pointer gave them, the vertical ones rounded to 16-bit integers.
struct Stroke {
    float startX = 0;
    std::int16_t startY = 0;
    float endX = 0;
    std::int16_t endY = 0;
};

// The stroke of a drag from (x1, y1) to (x2, y2), its corners ordered.
Stroke strokeBetween(float x1, float y1, float x2, float y2);

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
std::vector<DepthRun> replaceDepthsInside(Model &model, const Stroke &ordered, ViewCentre centre,
                                          double depth);

// Gives the points of the runs their depths back, bit for bit.
void restoreDepths(Model &model, const std::vector<DepthRun> &runs);

// Sets every point of the runs to one depth, as replaceDepthsInside() did.
void setDepths(Model &model, const std::vector<DepthRun> &runs, double depth);

// A quarter turn counter-clockwise on the screen: (x, y) becomes (-y, x).
void turnQuarter(Model &model);

// The exact inverse: (x, y) becomes (y, -x).
void turnQuarterBack(Model &model);

// Mirrors left to right about the view centre: x becomes -x.
void mirrorLeftRight(Model &model);

// Moves every point right by dx and up by dy.
void shiftModel(Model &model, double dx, double dy);

// The move, in whole pixels, that brings the centre of the bounding box of the points whose
// coordinates are finite to the view centre; none without such a point.
struct PixelMove {
    int dx = 0;
    int dy = 0;
};
PixelMove centringMove(const Model &model);

// Whether shifting back after shifting gives every coordinate back bit for
// bit: true for whole numbers, not for every fraction or huge value.
bool shiftIsReversible(const Model &model, double dx, double dy);
