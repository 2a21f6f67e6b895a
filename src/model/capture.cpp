#include "capture.h"

bool exceedsSelectionLimit(const Selection &ordered)
{
    // Differences in int: corners far outside the surface would overflow 16 bits.
    return int(ordered.endX) - ordered.startX > kSelectionLimit
           || int(ordered.endY) - ordered.startY > kSelectionLimit;
}
