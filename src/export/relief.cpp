#include "relief.h"

#include "colour_groups.h"
#include "export_input.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ExportDetail;

namespace {

constexpr double kMaxThickness = 1e6; // mm

// The nearest pixel; halves go to even, as the program rounds everywhere else.
double snap(double coordinate)
{
    return std::nearbyint(coordinate);
}

bool within(double value, double low, double high)
{
    return value >= low && value <= high; // false for NaN
}

} // namespace

std::string solidOptionsError(const SolidOptions &options)
{
    if (!within(options.pixelSize, 0.001, 1000))
        return "the pixel size must be between 0.001 and 1000 mm";
    if (!within(options.depthScale, 0, 1000))
        return "the depth scale must be between 0 and 1000 mm";
    if (!within(options.inkHeight, 0.001, 1000))
        return "the ink height must be between 0.001 and 1000 mm";
    if (!within(options.baseThickness, 0.001, 1000))
        return "the base thickness must be between 0.001 and 1000 mm";
    if (options.colourGroups < 1 || options.colourGroups > kMaxColourGroups)
        return "the number of colours must be between 1 and 16";
    return {};
}

Relief buildRelief(std::span<const Coords> points, std::span<const Colour> colours,
                   const SolidOptions &options)
{
    Relief relief;
    relief.error = refusal(points, colours);
    relief.refusal = relief.ok() ? SolidRefusal::None : SolidRefusal::Unusable;
    if (relief.ok()) {
        relief.error = solidOptionsError(options);
        relief.refusal = relief.ok() ? SolidRefusal::None : SolidRefusal::Options;
    }
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
    if (relief.nonFinite == int(points.size())) {
        relief.error = "no point has finite coordinates";
        relief.refusal = SolidRefusal::NoFinitePoint;
    } else if (maxX - minX >= kMaxReliefPixels || maxY - minY >= kMaxReliefPixels) {
        relief.error = "the points spread over more than 2000 pixels";
        relief.refusal = SolidRefusal::TooWide;
    }
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
        if (!(top <= kMaxThickness)) {
            relief.error = "the depths are too far apart: the relief would be over 1 km thick";
            relief.refusal = SolidRefusal::TooThick;
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
    summary.refusal = relief.refusal;
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
