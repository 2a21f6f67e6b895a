#pragma once

#include "export.h"
#include "readers.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

inline constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlueColour = 0xFF0000;

// A model and the relief it must give; cells count from the bounding box's bottom left.
struct ReliefCase {
    std::string name;
    int across = 0, up = 0;
    SolidOptions options {};
    int nonFinite = 0, snapped = 0, dropped = 0;
    std::vector<Coords> points {}; // {depth, horizontal, vertical}
    std::vector<Colour> colours {};
    std::map<std::pair<int, int>, std::pair<double, Colour>> columns {}; // cell: top in mm, colour

    ReliefCase &point(Coords point, Colour colour)
    {
        points.push_back(point);
        colours.push_back(colour);
        return *this;
    }
    ReliefCase &column(int i, int j, double top, Colour colour)
    {
        columns[{i, j}] = {top, colour};
        return *this;
    }
    // The top of each cell a reader must see; with plateCells the plate's where there is no column.
    std::map<std::pair<int, int>, double> tops(bool plateCells) const
    {
        std::map<std::pair<int, int>, double> result;
        for (int j = 0; j < up; ++j)
            for (int i = 0; i < across; ++i)
                if (columns.contains({i, j}))
                    result[{i, j}] = storedAsFloat(columns.at({i, j}).first);
                else if (plateCells)
                    result[{i, j}] = storedAsFloat(options.baseThickness);
        return result;
    }
    double plateVolume() const
    {
        return across * up * options.pixelSize * options.pixelSize * options.baseThickness;
    }
    double volume() const
    {
        double sum = plateVolume();
        for (const auto &[cell, column] : columns)
            sum += (column.first - options.baseThickness) * options.pixelSize * options.pixelSize;
        return sum;
    }
};

// With default options a top is 1 + 0.6 + (largest depth - depth) * 0.25.
inline std::vector<ReliefCase> reliefCases()
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    const SolidOptions other {
        .pixelSize = 0.5, .depthScale = 1, .inkHeight = 0.3, .baseThickness = 2};
    std::vector<ReliefCase> cases = {
        ReliefCase {"single point", 1, 1}.point({0, 5, 7}, kRed).column(0, 0, 1.6, kRed),
        ReliefCase {"columns touching diagonally, one pair of equal height", 3, 2}
            .point({0, 0, 0}, kRed)
            .point({2, 1, 1}, kBlueColour)
            .point({2, 2, 0}, kBlueColour)
            .column(0, 0, 2.1, kRed)
            .column(1, 1, 1.6, kBlueColour)
            .column(2, 0, 1.6, kBlueColour),
        ReliefCase {"equal neighbours, other sizes", 3, 1, other}
            .point({0, 0, 0}, kRed)
            .point({0, 1, 0}, kRed)
            .point({2, 2, 0}, kGreen)
            .column(0, 0, 4.3, kRed)
            .column(1, 0, 4.3, kRed)
            .column(2, 0, 2.3, kGreen),
        // Halves go to even: (0.5, 0) to the first pixel.
        ReliefCase {"off the lattice, two on one pixel", 3, 1, {}, 0, 3, 2}
            .point({5, 2.0, 0.0}, kRed)
            .point({3, 2.2, 0.1}, kGreen)
            .point({0, 0.4, -0.3}, kBlueColour)
            .point({4, 0.5, 0}, kRed)
            .column(0, 0, 2.85, kBlueColour)
            .column(2, 0, 2.1, kGreen),
        ReliefCase {"NaN and infinite points", 1, 1, {}, 3}
            .point({nan, 0, 0}, kRed)
            .point({0, inf, 0}, kRed)
            .point({1, 1, 1}, kGreen)
            .point({-inf, 3, 3}, kRed)
            .column(0, 0, 1.6, kGreen),
        ReliefCase {"reverse", 2, 1, {.reverse = true}}
            .point({0, 0, 0}, kRed)
            .point({4, 1, 0}, kGreen)
            .column(0, 0, 1.6, kRed)
            .column(1, 0, 2.6, kGreen),
        // The mean of three red and one blue.
        ReliefCase {"one colour group", 4, 1, {.colourGroups = 1}}
            .point({0, 0, 0}, kRed)
            .point({0, 1, 0}, kRed)
            .point({0, 2, 0}, kRed)
            .point({0, 3, 0}, kBlueColour)
            .column(0, 0, 1.6, 0x4000BF)
            .column(1, 0, 1.6, 0x4000BF)
            .column(2, 0, 1.6, 0x4000BF)
            .column(3, 0, 1.6, 0x4000BF),
    };
    ReliefCase &sixteen
        = cases.emplace_back(ReliefCase {"16 colour groups", 16, 1, {.colourGroups = 16}});
    for (int i = 0; i < 16; ++i) {
        const Colour colour = Colour(i * 0x0F0F0F) ^ 0x00F000;
        sixteen.point({double(i % 3), double(i), 0}, colour)
            .column(i, 0, 2.1 - 0.25 * (i % 3), colour);
    }

    // Three depths over 40 x 30 pixels with holes, four colours, never two points on a pixel.
    ReliefCase &random = cases.emplace_back(ReliefCase {"random relief", 40, 30});
    std::mt19937 generator(12);
    const double depths[] = {0, 3, 7};
    const Colour palette[] = {kRed, kGreen, kBlueColour, 0x000000};
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 40; ++i) {
            const bool corner = (i == 0 && j == 0) || (i == 39 && j == 29); // fixes the box
            if (!corner && generator() % 4 == 0)
                continue;
            const double depth = depths[generator() % 3];
            const Colour colour = palette[generator() % 4];
            random.point({depth, double(i - 20), double(j - 15)}, colour)
                .column(i, j, 1.0 + 0.6 + (7 - depth) * 0.25, colour);
        }
    return cases;
}

// One row per case, labelled with its name, for a test's _data function.
inline void addCaseRows()
{
    QTest::addColumn<int>("index");
    const auto cases = reliefCases();
    for (std::size_t i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name.c_str()) << int(i);
}

using Vertex = std::array<double, 3>;
using Triangle = std::array<Vertex, 3>;

inline Vertex cross(const Vertex &a, const Vertex &b, const Vertex &c)
{
    const Vertex u = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vertex v = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// The height of the upward, level faces over each cell's centre.
inline std::map<std::pair<int, int>, double> topsSeen(const std::vector<Triangle> &triangles,
                                                      double pixelSize)
{
    std::map<std::pair<int, int>, double> tops;
    for (const Triangle &t : triangles) {
        if (t[0][2] != t[1][2] || t[1][2] != t[2][2] || cross(t[0], t[1], t[2])[2] <= 0)
            continue;
        const auto [left, right] = std::minmax({t[0][0], t[1][0], t[2][0]});
        const auto [bottom, top] = std::minmax({t[0][1], t[1][1], t[2][1]});
        for (int j = int(std::floor(bottom / pixelSize)); j <= int(top / pixelSize); ++j)
            for (int i = int(std::floor(left / pixelSize)); i <= int(right / pixelSize); ++i) {
                const Vertex centre = {(i + 0.5) * pixelSize, (j + 0.5) * pixelSize, t[0][2]};
                bool inside = true;
                for (int k = 0; k < 3; ++k)
                    inside = inside && cross(t[k], t[(k + 1) % 3], centre)[2] >= -1e-12;
                if (inside)
                    tops[{i, j}] = t[0][2];
            }
    }
    return tops;
}

// The volume a closed, outward-wound mesh encloses.
inline double enclosedVolume(const std::vector<Triangle> &triangles)
{
    double sum = 0;
    for (const Triangle &t : triangles) {
        const Vertex n = cross({0, 0, 0}, t[1], t[2]);
        sum += (t[0][0] * n[0] + t[0][1] * n[1] + t[0][2] * n[2]) / 6;
    }
    return sum;
}
