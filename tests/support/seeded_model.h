#pragma once

#include "model.h"

#include <cmath>
#include <random>

// A model of `count` points drawn from `seed`: coordinates from -reach to reach, one in eight
// exactly 0 (the turn's substitutes), three in eight whole; with a step, all multiples of it, so
// that sums and differences stay exact; colours from `colours` random ones, or each its own at 0.
inline Model seededModel(int count, unsigned seed, double reach = 150, double step = 0,
                         int colours = 0)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> pick(-reach, reach);
    std::vector<Colour> palette(static_cast<std::size_t>(colours));
    for (Colour &colour : palette)
        colour = Colour(random() & 0xFFFFFF);
    Model model;
    for (int i = 0; i < count; ++i) {
        Coords &point = model.points.emplace_back();
        for (double &c : point) {
            const unsigned kind = random() % 8;
            c = kind == 0 ? 0.0 : kind < 4 ? std::round(pick(random)) : pick(random);
            c = step > 0 ? std::round(c / step) * step : c;
        }
        model.colours.push_back(colours ? palette[random() % palette.size()]
                                        : Colour(random() & 0xFFFFFF));
    }
    return model;
}
