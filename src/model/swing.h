#pragma once

#include <algorithm>
#include <array>

// How far the swing animation turns the view each way, in degrees.
inline constexpr int kSwingDegrees = 20;

// One view of the swing animation, in degrees.
struct SwingFrame {
    int turn;
    int tilt;
};

// Around the edge of the square of kSwingDegrees on each axis: right
// edge, up, across the top, down the left edge, along the bottom, then
// diagonally back to the front view.
inline constexpr std::array<SwingFrame, 36> kSwingFrames = {{
    {0, 0},     {5, 0},     {10, 0},    {15, 0},   {20, 0},  {20, 5},   {20, 10},   {20, 15},
    {20, 20},   {15, 20},   {10, 20},   {5, 20},   {0, 20},  {-5, 20},  {-10, 20},  {-15, 20},
    {-20, 20},  {-20, 15},  {-20, 10},  {-20, 5},  {-20, 0}, {-20, -5}, {-20, -10}, {-20, -15},
    {-20, -20}, {-15, -20}, {-10, -20}, {-5, -20}, {0, -20}, {5, -20},  {10, -20},  {15, -20},
    {20, -20},  {15, -15},  {10, -10},  {5, -5},
}};

static_assert(std::ranges::max_element(kSwingFrames, {}, &SwingFrame::turn)->turn == kSwingDegrees,
              "the swing reaches kSwingDegrees");
