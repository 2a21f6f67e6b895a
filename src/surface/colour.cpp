#include "colour.h"

static_assert(toQRgb(0x00FF0000) == 0xFF0000FF, "blue stays blue");
static_assert(fromQRgb(0xFF102030) == 0x00302010, "red moves to the low byte");
