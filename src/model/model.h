#pragma once

#include "surface.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr std::int32_t kMaxPoints = 100000;

// Coordinate 0 is depth, 1 horizontal (right positive), 2 vertical (up positive),
// in pixels relative to the view centre.
using Coords = std::array<double, 3>;
enum Coordinate : int { Depth = 0, Horizontal = 1, Vertical = 2 };

// The point model: one colour per point, at most kMaxPoints points.
struct Model {
    std::vector<Coords> points;
    std::vector<Colour> colours;

    std::int32_t count() const { return std::int32_t(points.size()); }
    bool operator==(const Model &) const = default;
};
