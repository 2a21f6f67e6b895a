#pragma once

#include "corners.h"
#include "surface.h"

#include <algorithm>
#include <cstdint>

// The capture surface: the picture on a light grey that the import takes for
// background, at least as large as the capture window's drawing area.
inline constexpr int kCaptureWidth = 581;
inline constexpr int kCaptureHeight = 413;
inline constexpr Colour kCaptureBackground = 0x00EFEFEF;
// Selections hold 16-bit corners: a picture may be this many pixels a side.
inline constexpr int kCaptureLargestSide = 32767;

struct CaptureSize {
    int width = 0;
    int height = 0;
};

// The capture surface for a picture of this size: the picture at the top-left,
// the background beyond it, scrolled when it is larger than the drawing area.
constexpr CaptureSize captureSurfaceSize(int pictureWidth, int pictureHeight)
{
    return {std::max(pictureWidth, kCaptureWidth), std::max(pictureHeight, kCaptureHeight)};
}

// Largest corner difference a selection may have on either axis:
// 191 pixels a side counting the outline, 189 inside it.
inline constexpr int kSelectionLimit = 190;

// Two corners of a rubber-band selection on the capture surface.
struct Selection {
    std::int16_t startX = 0;
    std::int16_t startY = 0;
    std::int16_t endX = 0;
    std::int16_t endY = 0;
};

// Whether an ordered selection spans more than the limit on either axis.
bool exceedsSelectionLimit(const Selection &ordered);
