#include "import.h"

#include <algorithm>

namespace {

constexpr int kLastGridIndex = ImportGrid::kSize - 1;

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

ImportGrid ImportGrid::read(const Surface &capture, const Selection &ordered)
{
    ImportGrid grid;
    // The bounds only guard the grid; a selection within the limit stays inside it.
    const int lastY = std::min(int(ordered.endY) - 1, ordered.startY + 1 + kLastGridIndex);
    const int lastX = std::min(int(ordered.endX), ordered.startX + kLastGridIndex);
    for (int y = ordered.startY + 1, i = 0; y <= lastY; ++y, ++i) {
        for (int x = ordered.startX, j = 0; x <= lastX; ++x, ++j)
            grid.cells_[std::size_t(j * kSize + i)] = capture.pixel(float(x), float(y));
    }
    grid.lastColumn_ = int(ordered.endX) - ordered.startX;
    grid.lastRow_ = std::int16_t((ordered.endY - 1) - (ordered.startY + 1));
    return grid;
}

void stageImport(const ImportGrid &grid, Surface &staging)
{
    staging.clear();
    const int lastRow = std::min(grid.lastRow(), kLastGridIndex);
    const int lastColumn = std::min(grid.lastColumn() - 1, kLastGridIndex);
    for (int i = 0; i <= lastRow; ++i) {
        for (int j = 1; j <= lastColumn; ++j)
            staging.plot(float(j), float(i), grid.at(j, i));
    }
}

Model buildModelFromPicture(const Surface &staging, int viewWidth, int viewHeight,
                            ViewCentre centre)
{
    // Single precision on purpose: the offsets and sums are those of the view's Single scale.
    const float s = float(viewWidth) / 3.0f;
    const float t = float(viewHeight) / 3.0f;
    Model model;
    for (int x = 0; x < staging.width(); ++x) {
        for (int y = 0; y < staging.height(); ++y) {
            const Colour c = staging.pixel(float(x), float(y));
            if (isLight(c))
                continue;
            if (model.count() == kMaxPoints)
                return model;
            model.colours.push_back(c);
            model.points.push_back(
                {0.0, double(float(x - centre.x) + s), double(float(centre.y - y) - t)});
        }
    }
    return model;
}
