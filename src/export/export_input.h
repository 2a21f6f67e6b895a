#pragma once

#include "export.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>

namespace ExportDetail {

// Why the points cannot be exported at all; empty when they can.
inline std::string refusal(std::span<const Coords> points, std::span<const Colour> colours)
{
    if (points.size() != colours.size())
        return "the model has a different number of points and colours";
    if (points.empty())
        return "the model has no points";
    return {};
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
    for (const Coords &point : points)
        result.nonFinite += !exported(point, asFloat);
    if (result.nonFinite == int(points.size()))
        result.error = "no point has finite coordinates";
    return result;
}

// Adding zero turns -0 into 0, which a text file would otherwise show as "-0".
inline std::array<double, 3> frontAxes(const Coords &point)
{
    return {point[Horizontal] + 0.0, point[Vertical] + 0.0, 0.0 - point[Depth]};
}

inline std::array<std::uint8_t, 3> rgb(Colour colour)
{
    return {std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16)};
}

} // namespace ExportDetail
