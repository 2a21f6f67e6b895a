#include "capture.h"

#include <utility>

Selection orderedCorners(Selection selection)
{
    if (selection.startX > selection.endX)
        std::swap(selection.startX, selection.endX);
    if (selection.startY > selection.endY)
        std::swap(selection.startY, selection.endY);
    return selection;
}

bool exceedsSelectionLimit(const Selection &ordered)
{
    // Differences in int: corners far outside the surface would overflow 16 bits.
    return int(ordered.endX) - ordered.startX > kSelectionLimit
           || int(ordered.endY) - ordered.startY > kSelectionLimit;
}
