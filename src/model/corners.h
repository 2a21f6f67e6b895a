#pragma once

#include <utility>

// A rectangle given by two corners in the order they were dragged, with start
// <= end on both axes afterwards: the press point may have been any corner.
template<typename Rectangle> constexpr Rectangle orderedCorners(Rectangle rectangle)
{
    if (rectangle.startX > rectangle.endX)
        std::swap(rectangle.startX, rectangle.endX);
    if (rectangle.startY > rectangle.endY)
        std::swap(rectangle.startY, rectangle.endY);
    return rectangle;
}
