#include "editing.h"

#include "conversions.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <limits>
#include <utility>

namespace {

std::int16_t integerDifference(int a, int b)
{
    return static_cast<std::int16_t>(std::clamp(a - b,
                                                int(std::numeric_limits<std::int16_t>::min()),
                                                int(std::numeric_limits<std::int16_t>::max())));
}

} // namespace

Stroke strokeBetween(float x1, float y1, float x2, float y2)
{
    return orderedCorners(Stroke {x1, saturatingInt16(y1), x2, saturatingInt16(y2)});
}

bool insideStroke(const Stroke &ordered, ViewCentre centre, const Coords &point)
{
    const double x = point[Horizontal];
    const double y = point[Vertical];
    return x > double(ordered.startX) - centre.x && x < double(ordered.endX) - centre.x
           && y < integerDifference(centre.y, ordered.startY)
           && y > integerDifference(centre.y, ordered.endY);
}

std::vector<DepthRun> replaceDepthsInside(Model &model, const Stroke &ordered, ViewCentre centre,
                                          double depth)
{
    std::vector<DepthRun> runs;
    for (std::int32_t i = 0; i < model.count(); ++i) {
        Coords &point = model.points[std::size_t(i)];
        if (!insideStroke(ordered, centre, point))
            continue;
        const bool extends = !runs.empty() && runs.back().first + runs.back().count == i
                             && std::bit_cast<std::uint64_t>(runs.back().depth)
                                    == std::bit_cast<std::uint64_t>(point[Depth]);
        if (extends)
            ++runs.back().count;
        else
            runs.push_back({i, 1, point[Depth]});
        point[Depth] = depth;
    }
    return runs;
}

void restoreDepths(Model &model, const std::vector<DepthRun> &runs)
{
    for (const DepthRun &run : runs)
        for (std::int32_t i = run.first; i < run.first + run.count; ++i)
            model.points[std::size_t(i)][Depth] = run.depth;
}

void setDepths(Model &model, const std::vector<DepthRun> &runs, double depth)
{
    for (const DepthRun &run : runs)
        for (std::int32_t i = run.first; i < run.first + run.count; ++i)
            model.points[std::size_t(i)][Depth] = depth;
}

void turnQuarter(Model &model)
{
    for (Coords &point : model.points)
        point = {point[Depth], -point[Vertical], point[Horizontal]};
}

void turnQuarterBack(Model &model)
{
    for (Coords &point : model.points)
        point = {point[Depth], point[Vertical], -point[Horizontal]};
}

void mirrorLeftRight(Model &model)
{
    for (Coords &point : model.points)
        point[Horizontal] = -point[Horizontal];
}

void shiftModel(Model &model, double dx, double dy)
{
    // An axis that does not move is not touched: adding 0 would turn -0 into 0.
    for (Coords &point : model.points) {
        if (dx != 0)
            point[Horizontal] += dx;
        if (dy != 0)
            point[Vertical] += dy;
    }
}

bool shiftIsReversible(const Model &model, double dx, double dy)
{
    const auto reversible = [](double value, double delta) {
        return delta == 0
               || std::bit_cast<std::uint64_t>((value + delta) - delta)
                      == std::bit_cast<std::uint64_t>(value);
    };
    return std::all_of(model.points.begin(), model.points.end(), [=](const Coords &point) {
        return reversible(point[Horizontal], dx) && reversible(point[Vertical], dy);
    });
}

PixelMove centringMove(const Model &model)
{
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Coords &point : model.points) {
        if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2]))
            continue;
        for (int axis : {Horizontal, Vertical}) {
            low[axis] = std::min(low[axis], point[axis]);
            high[axis] = std::max(high[axis], point[axis]);
        }
    }
    if (low[Horizontal] > high[Horizontal])
        return {};
    // Whole pixels, halves to even as every position is; a hand-made model far out stops at
    // the furthest whole move an int holds.
    const auto move = [&](int axis) {
        const double centre = low[axis] / 2 + high[axis] / 2;
        return int(std::clamp(std::nearbyint(-centre), double(INT_MIN), double(INT_MAX)));
    };
    return {move(Horizontal), move(Vertical)};
}
