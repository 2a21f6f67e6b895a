#pragma once

#include "corners.h"
#include "model.h"
#include "surface.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

// A selection's size with its outline, as the user sees it: 191 x 191 at the most.
struct SelectionSize {
    int width;
    int height;
};
constexpr SelectionSize withOutline(const Selection &ordered)
{
    return {ordered.endX - ordered.startX + 1, ordered.endY - ordered.startY + 1};
}

// The most pixels a selection to reduce may hold inside its outline: 64 Mi, what the
// picture allocation limit of 256 MB allows a picture of 4-byte pixels.
inline constexpr std::int64_t kMaxReducedSelectionPixels = std::int64_t(64) << 20;

// What a reduced selection gives: pixels row by row from the top, each a whole block's ink.
struct ReducedPicture {
    int width = 0;
    int height = 0;
    int factor = 1;
    std::vector<Colour> pixels;
};

// The smallest whole factor that brings both sides of the inside of the selection's outline
// within the whole-picture size (kStagingSize): ceil(larger side / kStagingSize).
int reductionFactor(const Selection &ordered);

// The inside of the selection's outline reduced by `factor`: each pixel stands for a block of
// factor x factor pixels (fewer at the right and bottom edges) and is ink when any pixel of
// the block is, in the block's most frequent ink colour (of two as frequent, the darker);
// background otherwise. So a line one pixel wide stays a line, and no colour appears that the
// picture lacks. A factor of 1 gives the inside as it is.
ReducedPicture reduceSelection(const Surface &capture, const Selection &ordered, int factor);
