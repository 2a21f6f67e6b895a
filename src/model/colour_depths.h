#pragma once

#include "model.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Depths given by the points' colours rather than by rectangles: per colour group, or by
// brightness.

// The colour groups that 色ごとの奥行き and --depth-colour start with.
inline constexpr int kStartDepthGroups = 4;

// The depths of black and of white; between them a depth follows brightness in proportion.
struct BrightnessDepths {
    double black = 0;
    double white = 30;
};

// black + (white - black) * Y / 255 with Y = brightnessOf(colour), in double, not rounded.
double depthByBrightness(Colour colour, const BrightnessDepths &depths);

// Every point's depth by its colour's brightness.
std::vector<double> depthsByBrightness(const Model &model, const BrightnessDepths &depths);

// Every point's depth: its group's where that has one, its own otherwise. `groupOf` holds each
// point's group, an index into `depths`.
std::vector<double> depthsByGroup(const Model &model, std::span<const int> groupOf,
                                  std::span<const std::optional<double>> depths);

// For each of `groups` groups, the depth that all its points share; none where they differ or
// the group has no point.
std::vector<std::optional<double>> sharedDepths(const Model &model, std::span<const int> groupOf,
                                                std::size_t groups);
