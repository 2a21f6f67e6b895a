#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct Relief;

// An indexed triangle mesh in millimetres, counter-clockwise seen from outside.
struct Mesh {
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;
};

// The whole relief, plate and columns, as one closed solid standing on z = 0.
Mesh reliefSolid(const Relief &relief);

// The columns of the cells whose entry in groupOfCell is group, standing on the
// plate's top: a closed solid of its own.
Mesh columnSolid(const Relief &relief, std::span<const int> groupOfCell, int group);

// The base plate alone: a box under the whole relief.
Mesh plateSolid(const Relief &relief);
