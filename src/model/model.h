#pragma once

#include "colour.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr std::int32_t kMaxPoints = 100000;

// The main view's drawing area and the staging picture of imports, in pixels.
// Imports and saved views depend on them, so the windows and the command line
// build their surfaces from these.
inline constexpr int kViewSize = 261;
inline constexpr int kStagingSize = 189;

// Coordinate 0 is depth, 1 horizontal (right positive), 2 vertical (up positive),
// in pixels relative to the view centre.
using Coords = std::array<double, 3>;
enum Coordinate : int { Depth = 0, Horizontal = 1, Vertical = 2 };

// Where the model's origin shows on the view: a point is drawn at
// (x + horizontal, y - vertical).
struct ViewCentre {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

// The main view's middle pixel: half its size, rounded half to even as every
// position is (130.5 gives 130).
inline constexpr ViewCentre kViewCentre {kViewSize / 2, kViewSize / 2};
static_assert(kViewSize % 4 == 1, "half the view's size rounds down to an even number");

// The point model: one colour per point, at most kMaxPoints points.
struct Model {
    std::vector<Coords> points;
    std::vector<Colour> colours;

    std::int32_t count() const { return std::int32_t(points.size()); }
};
