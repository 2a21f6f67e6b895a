#pragma once

#include <cstdint>
#include <string>

// A colour as the program holds it everywhere: 0x00BBGGRR, red in the low byte.
using Colour = std::int32_t;

inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlue = 0x00FF0000;

struct Rgb8 {
    std::uint8_t red, green, blue;
};

constexpr Rgb8 channelsOf(Colour colour)
{
    return {std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16)};
}

// "#RRGGBB", as the colour lists and the 3MF name a colour.
std::string colourName(Colour colour);
