#include "relief.h"

#include "colour_groups.h"
#include "export_input.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

using namespace ExportDetail;

namespace {

// The nearest pixel; halves go to even, as the program rounds everywhere else.
double snap(double coordinate)
{
    return std::nearbyint(coordinate);
}

// Every column grows into the empty pixels within `reach` of it (a square about it), each such
// pixel taking the height and colour of its nearest column, of two as near the taller (then
// the first in row order): a line one pixel wide becomes 1 + 2 reach wide. The grid grows by
// `reach` on every side.
void thicken(Relief &relief, int reach)
{
    const int across = relief.across + 2 * reach, up = relief.up + 2 * reach;
    std::vector<float> tops(std::size_t(across) * std::size_t(up), relief.plateTop);
    std::vector<Colour> colours(tops.size(), kWhite);
    const auto old = [&](int i, int j) {
        return std::size_t(j) * std::size_t(relief.across) + std::size_t(i);
    };
    for (int j = 0; j < up; ++j)
        for (int i = 0; i < across; ++i) {
            const std::size_t cell = std::size_t(j) * std::size_t(across) + std::size_t(i);
            const int ownI = i - reach, ownJ = j - reach;
            if (ownI >= 0 && ownJ >= 0 && ownI < relief.across && ownJ < relief.up
                && relief.hasColumn(old(ownI, ownJ))) { // a column keeps its own
                tops[cell] = relief.tops[old(ownI, ownJ)];
                colours[cell] = relief.colours[old(ownI, ownJ)];
                continue;
            }
            int bestDistance = INT_MAX;
            for (int dj = -reach; dj <= reach; ++dj)
                for (int di = -reach; di <= reach; ++di) {
                    const int oi = i - reach + di, oj = j - reach + dj;
                    if (oi < 0 || oj < 0 || oi >= relief.across || oj >= relief.up
                        || !relief.hasColumn(old(oi, oj)))
                        continue;
                    const int distance = di * di + dj * dj;
                    const float top = relief.tops[old(oi, oj)];
                    if (distance < bestDistance || (distance == bestDistance && top > tops[cell])) {
                        bestDistance = distance;
                        tops[cell] = top;
                        colours[cell] = relief.colours[old(oi, oj)];
                    }
                }
        }
    relief.columns = std::size_t(std::count_if(tops.begin(), tops.end(),
                                               [&](float top) { return top > relief.plateTop; }));
    relief.across = across;
    relief.up = up;
    relief.tops = std::move(tops);
    relief.colours = std::move(colours);
}

} // namespace

Printability printability(const Relief &relief, double nozzle)
{
    // Each column's run of columns along its row, then along its column of cells.
    const std::size_t across = std::size_t(relief.across), up = std::size_t(relief.up);
    std::vector<int> rowRun(relief.tops.size(), 0), columnRun(relief.tops.size(), 0);
    const auto runs = [&](std::vector<int> &run, std::size_t lines, std::size_t length,
                          std::size_t lineStep, std::size_t step) {
        for (std::size_t line = 0; line < lines; ++line)
            for (std::size_t at = 0; at < length;) {
                std::size_t end = at;
                while (end < length && relief.hasColumn(line * lineStep + end * step))
                    ++end;
                for (std::size_t k = at; k < end; ++k)
                    run[line * lineStep + k * step] = int(end - at);
                at = end + 1;
            }
    };
    runs(rowRun, up, across, across, 1);
    runs(columnRun, across, up, 1, across);
    Printability found;
    for (std::size_t cell = 0; cell < relief.tops.size(); ++cell) {
        if (!relief.hasColumn(cell))
            continue;
        const double width = std::min(rowRun[cell], columnRun[cell]) * relief.pixelSize;
        found.thinColumns += width < nozzle;
        found.tallestRatio = std::max(found.tallestRatio, (relief.tops[cell] - relief.plateTop) / width);
    }
    return found;
}

ExportError solidOptionsError(const SolidOptions &options)
{
    const bool fit = kPixelSizeLimits.contain(options.pixelSize)
                     && kDepthScaleLimits.contain(options.depthScale)
                     && kInkHeightLimits.contain(options.inkHeight)
                     && kBaseThicknessLimits.contain(options.baseThickness)
                     && kNozzleLimits.contain(options.nozzle) && options.colourGroups >= 1
                     && options.colourGroups <= kMaxColourGroups && options.thicken >= 0
                     && options.thicken <= kMaxThicken;
    return fit ? ExportError::None : ExportError::Options;
}

Relief buildRelief(std::span<const Coords> points, std::span<const Colour> colours,
                   const SolidOptions &options)
{
    Relief relief;
    relief.error = refusal(points, colours);
    if (relief.ok())
        relief.error = solidOptionsError(options);
    if (!relief.ok())
        return relief;

    constexpr double kInf = std::numeric_limits<double>::infinity();
    double minX = kInf, maxX = -kInf, minY = kInf, maxY = -kInf, minDepth = kInf, maxDepth = -kInf;
    for (const Coords &point : points) {
        if (!isFinite(point)) {
            ++relief.nonFinite;
            continue;
        }
        const double x = snap(point[Horizontal]), y = snap(point[Vertical]);
        relief.snapped += x != point[Horizontal] || y != point[Vertical];
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        minDepth = std::min(minDepth, point[Depth]), maxDepth = std::max(maxDepth, point[Depth]);
    }
    if (relief.nonFinite == int(points.size()))
        relief.error = ExportError::NoFinitePoint;
    else if (maxX - minX >= kMaxReliefPixels || maxY - minY >= kMaxReliefPixels)
        relief.error = ExportError::TooWide;
    if (!relief.ok())
        return relief;

    relief.across = int(maxX - minX) + 1;
    relief.up = int(maxY - minY) + 1;
    relief.pixelSize = options.pixelSize;
    relief.plateTop = float(options.baseThickness);
    const std::size_t cells = std::size_t(relief.across) * std::size_t(relief.up);
    std::vector<int> nearest(cells, -1); // the point each cell keeps
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Coords &point = points[i];
        if (!isFinite(point))
            continue;
        const std::size_t cell = std::size_t(snap(point[Vertical]) - minY) * relief.across
                                 + std::size_t(snap(point[Horizontal]) - minX);
        int &kept = nearest[cell];
        if (kept >= 0) {
            ++relief.dropped;
            if (points[kept][Depth] <= point[Depth])
                continue;
        }
        kept = int(i);
    }

    relief.tops.assign(cells, relief.plateTop);
    relief.colours.assign(cells, kWhite);
    for (std::size_t cell = 0; cell < cells; ++cell) {
        if (nearest[cell] < 0)
            continue;
        const double depth = points[nearest[cell]][Depth];
        const double rise = options.reverse ? depth - minDepth : maxDepth - depth;
        const double top = options.baseThickness + options.inkHeight + rise * options.depthScale;
        if (!(top <= kMaxReliefThickness)) {
            relief.error = ExportError::TooThick;
            return relief;
        }
        relief.tops[cell] = float(top);
        relief.colours[cell] = colours[nearest[cell]];
        ++relief.columns;
    }
    if (options.thicken > 0)
        thicken(relief, options.thicken);
    return relief;
}

ExportResult solidResult(const Relief &relief)
{
    ExportResult result;
    result.error = relief.error;
    result.nonFinite = relief.nonFinite;
    result.snapped = relief.snapped;
    result.dropped = relief.dropped;
    return result;
}

SolidSummary summarizeSolid(std::span<const Coords> points, std::span<const Colour> colours,
                            const SolidOptions &options)
{
    const Relief relief = buildRelief(points, colours, options);
    SolidSummary summary;
    summary.error = relief.error;
    summary.nonFinite = relief.nonFinite;
    summary.snapped = relief.snapped;
    summary.dropped = relief.dropped;
    if (!relief.ok())
        return summary;
    summary.width = relief.across * relief.pixelSize;
    summary.height = relief.up * relief.pixelSize;
    summary.thickness = *std::max_element(relief.tops.begin(), relief.tops.end());
    summary.columns = relief.columns;
    summary.groups = groupColours(columnColours(relief), options.colourGroups).groups;
    summary.printability = printability(relief, options.nozzle);
    return summary;
}
