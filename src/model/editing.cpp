#include "editing.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace {

std::int16_t integerDifference(int a, int b)
{
    return static_cast<std::int16_t>(std::clamp(a - b,
                                                int(std::numeric_limits<std::int16_t>::min()),
                                                int(std::numeric_limits<std::int16_t>::max())));
}

} // namespace

void orderStrokeCorners(ProgramState &state)
{
    if (state.strokeStartX.value() > state.strokeEndX.value()) {
        const double start = state.strokeStartX.value();
        state.strokeStartX.set(state.strokeEndX.value());
        state.strokeEndX.set(start);
    }
    if (state.strokeStartY > state.strokeEndY)
        std::swap(state.strokeStartY, state.strokeEndY);
}

bool insideStroke(const ProgramState &state, const Coords &point)
{
    const double x = point[Horizontal];
    const double y = point[Vertical];
    return x > state.strokeStartX.value() - state.viewCenterX
           && x < state.strokeEndX.value() - state.viewCenterX
           && y < integerDifference(state.viewCenterY, state.strokeStartY)
           && y > integerDifference(state.viewCenterY, state.strokeEndY);
}

void applyDepth(ProgramState &state, double depth)
{
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        if (insideStroke(state, state.modelPoints[i]))
            state.modelPoints[i][Depth] = depth;
    }
}

void turnQuarter(ProgramState &state)
{
    std::vector<Coords> turned(static_cast<std::size_t>(state.pointCount));
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        const Coords &p = state.modelPoints[i];
        turned[i] = {p[Depth], -p[Vertical], p[Horizontal]};
    }
    std::copy(turned.begin(), turned.end(), state.modelPoints.begin());
}

void mirrorLeftRight(ProgramState &state)
{
    for (std::int32_t i = 0; i < state.pointCount; ++i)
        state.modelPoints[i][Horizontal] = -state.modelPoints[i][Horizontal];
}

void shiftModel(ProgramState &state, Coordinate axis, double delta)
{
    for (std::int32_t i = 0; i < state.pointCount; ++i)
        state.modelPoints[i][axis] += delta;
}
