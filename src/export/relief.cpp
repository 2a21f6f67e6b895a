#include "relief.h"

#include "colour_groups.h"
#include "export_input.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ExportDetail;

namespace {

// The nearest pixel; halves go to even, as the program rounds everywhere else.
double snap(double coordinate)
{
    return std::nearbyint(coordinate);
}

} // namespace

ExportError solidOptionsError(const SolidOptions &options)
{
    const bool fit = kPixelSizeLimits.contain(options.pixelSize)
                     && kDepthScaleLimits.contain(options.depthScale)
                     && kInkHeightLimits.contain(options.inkHeight)
                     && kBaseThicknessLimits.contain(options.baseThickness)
                     && options.colourGroups >= 1 && options.colourGroups <= kMaxColourGroups;
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
    return summary;
}
