#pragma once

#include "colour.h"

#include <vector>

// Pixels with red, green and blue all at or above this are background; the others are ink.
inline constexpr int kLightLevel = 192;

bool isInk(Colour colour);

// How light a colour looks, 0 (black) to 255 (white): (299 R + 587 G + 114 B) / 1000.
double brightnessOf(Colour colour);

// The colour that most of `inks` have; of two as frequent, the darker, then the smaller value.
// Sorts `inks`.
Colour mostFrequentInk(std::vector<Colour> &inks);
