#include "colour.h"

#include <cstdio>

std::string colourName(Colour colour)
{
    const Rgb8 c = channelsOf(colour);
    char name[8];
    std::snprintf(name, sizeof name, "#%02X%02X%02X", c.red, c.green, c.blue);
    return name;
}
