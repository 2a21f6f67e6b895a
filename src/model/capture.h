#pragma once

#include "surface.h"

#include <cstdint>

// The capture surface: the picture on a light grey that the import takes for
// background, at least as large as the capture window's drawing area.
inline constexpr int kCaptureWidth = 581;
inline constexpr int kCaptureHeight = 413;
inline constexpr Colour kCaptureBackground = 0x00EFEFEF;

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

// The same rectangle with start at the left and top edges, end at the right
// and bottom edges; the press point may have been any corner.
Selection orderedCorners(Selection selection);

// Whether an ordered selection spans more than the limit on either axis.
bool exceedsSelectionLimit(const Selection &ordered);
