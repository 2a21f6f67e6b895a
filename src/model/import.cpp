#include "import.h"

#include "ink.h"

#include <algorithm>

namespace {

constexpr int kLastGridIndex = ImportGrid::kSize - 1;

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

ImportGrid ImportGrid::wholePicture(const ReducedPicture &picture)
{
    // The outline's columns hold background, as the surface's pixels beside a picture do.
    ImportGrid grid;
    grid.cells_.assign(grid.cells_.size(), kWhite);
    const int width = std::min(picture.width, kLastGridIndex - 1);
    const int height = std::min(picture.height, kLastGridIndex);
    for (int i = 0; i < height; ++i)
        for (int j = 1; j <= width; ++j)
            grid.cells_[std::size_t(j * kSize + i)]
                = picture.pixels[std::size_t(i) * std::size_t(picture.width) + std::size_t(j - 1)];
    grid.lastColumn_ = picture.width + 1;
    grid.lastRow_ = picture.height - 1;
    return grid;
}

ImportGrid takeSelection(const Surface &capture, const Selection &ordered, bool reduce)
{
    if (!reduce)
        return ImportGrid::read(capture, ordered);
    return ImportGrid::wholePicture(reduceSelection(capture, ordered, reductionFactor(ordered)));
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
            if (!isInk(c))
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
