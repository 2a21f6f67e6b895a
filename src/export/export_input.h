#pragma once

#include "export.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <span>

namespace ExportDetail {

// Whether there are points to export, each with its colour.
inline ExportError refusal(std::span<const Coords> points, std::span<const Colour> colours)
{
    return points.empty() || points.size() != colours.size() ? ExportError::NoPoints
                                                             : ExportError::None;
}

inline bool isFinite(const Coords &point)
{
    return std::isfinite(point[0]) && std::isfinite(point[1]) && std::isfinite(point[2]);
}

inline bool fitsFloat(const Coords &point)
{
    for (double value : point)
        if (!(std::fabs(value) <= FLT_MAX))
            return false;
    return true;
}

// Formats that store floats leave out what float cannot hold, as they leave out NaN.
inline bool exported(const Coords &point, bool asFloat)
{
    return isFinite(point) && (!asFloat || fitsFloat(point));
}

// A result holding the refusal, or the count of points that will be left out.
inline ExportResult startExport(std::span<const Coords> points, std::span<const Colour> colours,
                                bool asFloat)
{
    ExportResult result;
    result.error = refusal(points, colours);
    if (!result.ok())
        return result;
    bool anyFinite = false;
    for (const Coords &point : points) {
        result.nonFinite += !exported(point, asFloat);
        anyFinite = anyFinite || isFinite(point);
    }
    if (result.nonFinite == int(points.size()))
        result.error = anyFinite ? ExportError::TooLargeForFloats : ExportError::NoFinitePoint;
    return result;
}

// Adding zero turns -0 into 0, which a text file would otherwise show as "-0".
inline std::array<double, 3> frontAxes(const Coords &point)
{
    return {point[Horizontal] + 0.0, point[Vertical] + 0.0, 0.0 - point[Depth]};
}

} // namespace ExportDetail
