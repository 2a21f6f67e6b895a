#include "ink.h"

#include <algorithm>
#include <cstdint>

bool isInk(Colour colour)
{
    // Split as red + 256 green + 65536 blue with floor division, so that any
    // value, even one with bits above the 24 colour bits, splits the same way.
    const auto floorDiv = [](std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
    };
    const std::int64_t value = colour;
    const std::int64_t blue = floorDiv(value, 65536);
    const std::int64_t green = floorDiv(value, 256) - 256 * blue;
    const std::int64_t red = value - 65536 * blue - 256 * green;
    return !(red >= kLightLevel && green >= kLightLevel && blue >= kLightLevel);
}

double brightnessOf(Colour colour)
{
    const Rgb8 c = channelsOf(colour);
    return (299.0 * c.red + 587.0 * c.green + 114.0 * c.blue) / 1000.0;
}

Colour mostFrequentInk(std::vector<Colour> &inks)
{
    std::sort(inks.begin(), inks.end());
    Colour best = inks.front();
    std::size_t bestCount = 0;
    for (std::size_t run = 0; run < inks.size();) {
        std::size_t end = run;
        while (end < inks.size() && inks[end] == inks[run])
            ++end;
        const std::size_t count = end - run;
        // Runs come in rising value: a later one wins a tie only by being darker.
        if (count > bestCount
            || (count == bestCount && brightnessOf(inks[run]) < brightnessOf(best))) {
            best = inks[run];
            bestCount = count;
        }
        run = end;
    }
    return best;
}
