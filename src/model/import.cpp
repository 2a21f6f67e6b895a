#include "import.h"

#include "conversions.h"

#include <algorithm>

namespace {

constexpr int kLastGridIndex = kImportGridSize - 1;

// Split as red + 256 green + 65536 blue with floor division, so that any
// value, even one with bits above the 24 colour bits, splits the same way.
bool isLight(Colour c)
{
    const auto floorDiv = [](std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
    };
    const std::int64_t value = c;
    const std::int64_t blue = floorDiv(value, 65536);
    const std::int64_t green = floorDiv(value, 256) - 256 * blue;
    const std::int64_t red = value - 65536 * blue - 256 * green;
    return red >= kLightLevel && green >= kLightLevel && blue >= kLightLevel;
}

} // namespace

void handOverSelection(ProgramState &state, const Surface &capture, const Selection &ordered)
{
    // The bounds only guard the grid; a selection within the limit stays inside it.
    const int lastRow = std::min(int(ordered.endY) - 1, ordered.startY + 1 + kLastGridIndex);
    const int lastColumn = std::min(int(ordered.endX), ordered.startX + kLastGridIndex);
    for (int y = ordered.startY + 1, i = 0; y <= lastRow; ++y, ++i) {
        for (int x = ordered.startX, j = 0; x <= lastColumn; ++x, ++j)
            state.importGrid[j][i] = capture.Point(float(x), float(y));
    }
    state.importWidth.set(int(ordered.endX) - ordered.startX);
    state.importHeight = static_cast<std::int16_t>((ordered.endY - 1) - (ordered.startY + 1));
    state.importReady = 1;
}

void stageImport(const ProgramState &state, Surface &staging)
{
    staging.Cls();
    const int lastRow = std::min<int>(state.importHeight, kLastGridIndex);
    const int lastColumn = std::min<int>(toInteger(state.importWidth.value()) - 1, kLastGridIndex);
    for (int i = 0; i <= lastRow; ++i) {
        for (int j = 1; j <= lastColumn; ++j)
            staging.PSet(float(j), float(i), state.importGrid[j][i]);
    }
}

void buildModelFromPicture(ProgramState &state, const Surface &staging, const Surface &view)
{
    // Single precision on purpose: the offsets and sums are those of the view's Single scale.
    const float s = view.ScaleWidth() / 3.0f;
    const float t = view.ScaleHeight() / 3.0f;
    const int width = int(staging.ScaleWidth());
    const int height = int(staging.ScaleHeight());

    state.pointCount = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const Colour c = staging.Point(float(x), float(y));
            if (isLight(c))
                continue;
            if (state.pointCount == kMaxPoints)
                return;
            const std::int32_t n = state.pointCount;
            state.pointColors[n] = c;
            state.modelPoints[n] = {0.0, double(float(x - state.viewCenterX) + s),
                                    double(float(state.viewCenterY - y) - t)};
            state.pointCount = n + 1;
        }
    }
}
