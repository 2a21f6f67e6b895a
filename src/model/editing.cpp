#include "editing.h"

#include <algorithm>
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

Stroke orderedStroke(Stroke stroke)
{
    if (stroke.startX > stroke.endX)
        std::swap(stroke.startX, stroke.endX);
    if (stroke.startY > stroke.endY)
        std::swap(stroke.startY, stroke.endY);
    return stroke;
}

bool insideStroke(const Stroke &ordered, ViewCentre centre, const Coords &point)
{
    const double x = point[Horizontal];
    const double y = point[Vertical];
    return x > double(ordered.startX) - centre.x && x < double(ordered.endX) - centre.x
           && y < integerDifference(centre.y, ordered.startY)
           && y > integerDifference(centre.y, ordered.endY);
}

void applyDepth(Model &model, const Stroke &ordered, ViewCentre centre, double depth)
{
    for (Coords &point : model.points) {
        if (insideStroke(ordered, centre, point))
            point[Depth] = depth;
    }
}

void turnQuarter(Model &model)
{
    for (Coords &point : model.points)
        point = {point[Depth], -point[Vertical], point[Horizontal]};
}

void mirrorLeftRight(Model &model)
{
    for (Coords &point : model.points)
        point[Horizontal] = -point[Horizontal];
}

void shiftModel(Model &model, Coordinate axis, double delta)
{
    for (Coords &point : model.points)
        point[axis] += delta;
}
