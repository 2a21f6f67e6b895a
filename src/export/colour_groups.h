#pragma once

#include "export.h"

#include <span>
#include <vector>

struct Relief;

struct ColourGrouping {
    std::vector<ColourGroup> groups; // most points first
    std::vector<int> groupOf; // for each colour given, its group
};

// Nearest-colour grouping of the colours given into at most maxGroups groups:
// every colour when there are few enough, otherwise a weighted k-means seeded
// from the most used colour. The same colours always give the same groups.
ColourGrouping groupColours(std::span<const Colour> colours, int maxGroups);

// The colours of the relief's columns, cell by cell.
std::vector<Colour> columnColours(const Relief &relief);

// Each cell's group, -1 where there is no column, from a grouping of columnColours().
std::vector<int> groupOfCells(const Relief &relief, const ColourGrouping &grouping);
