#include "colour_groups.h"

#include "export_input.h"
#include "relief.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace ExportDetail;

namespace {

using Rgb = std::array<double, 3>;

Rgb channels(Colour colour)
{
    const auto [red, green, blue] = channelsOf(colour);
    return {double(red), double(green), double(blue)};
}

double distance2(const Rgb &a, const Rgb &b)
{
    return (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1])
           + (a[2] - b[2]) * (a[2] - b[2]);
}

std::size_t nearestCentre(const Rgb &colour, const std::vector<Rgb> &centres)
{
    std::size_t best = 0;
    for (std::size_t c = 1; c < centres.size(); ++c)
        if (distance2(colour, centres[c]) < distance2(colour, centres[best]))
            best = c;
    return best;
}

// Seeds far from each other and much used, then Lloyd's steps until nothing moves.
std::vector<std::size_t> kMeans(const std::vector<Rgb> &colours,
                                const std::vector<std::size_t> &counts, std::size_t groups)
{
    const std::size_t first
        = std::size_t(std::max_element(counts.begin(), counts.end()) - counts.begin());
    std::vector<Rgb> centres = {colours[first]};
    while (centres.size() < groups) {
        std::size_t best = 0;
        double bestScore = -1;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const double score
                = double(counts[i])
                  * distance2(colours[i], centres[nearestCentre(colours[i], centres)]);
            if (score > bestScore)
                best = i, bestScore = score;
        }
        centres.push_back(colours[best]);
    }
    std::vector<std::size_t> assigned(colours.size(), groups);
    for (int step = 0; step < 50; ++step) {
        bool moved = false;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const std::size_t centre = nearestCentre(colours[i], centres);
            moved |= centre != assigned[i];
            assigned[i] = centre;
        }
        if (!moved)
            break;
        std::vector<Rgb> sums(groups, Rgb {});
        std::vector<double> weights(groups, 0);
        for (std::size_t i = 0; i < colours.size(); ++i) {
            for (int k = 0; k < 3; ++k)
                sums[assigned[i]][k] += colours[i][k] * double(counts[i]);
            weights[assigned[i]] += double(counts[i]);
        }
        for (std::size_t c = 0; c < groups; ++c)
            if (weights[c] > 0)
                for (int k = 0; k < 3; ++k)
                    centres[c][k] = sums[c][k] / weights[c];
    }
    return assigned;
}

} // namespace

ColourGrouping groupColours(std::span<const Colour> colours, int maxGroups)
{
    // The colours used, in value order so that the grouping never depends on the points' order.
    std::vector<Colour> sorted;
    for (Colour colour : colours)
        sorted.push_back(colour & 0x00FFFFFF);
    std::sort(sorted.begin(), sorted.end());
    std::vector<Colour> used;
    std::vector<Rgb> distinct;
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted[i] != sorted[i - 1]) {
            used.push_back(sorted[i]);
            distinct.push_back(channels(sorted[i]));
            counts.push_back(0);
        }
        ++counts.back();
    }
    const std::size_t groups = std::min(distinct.size(), std::size_t(std::max(maxGroups, 1)));
    std::vector<std::size_t> assigned(distinct.size());
    for (std::size_t i = 0; i < distinct.size(); ++i)
        assigned[i] = i;
    if (distinct.size() > groups)
        assigned = kMeans(distinct, counts, groups);

    // Each group's swatch is the mean of its colours, weighted by use.
    std::vector<Rgb> sums(distinct.size(), Rgb {});
    std::vector<ColourGroup> found(distinct.size());
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        for (int k = 0; k < 3; ++k)
            sums[assigned[i]][k] += distinct[i][k] * double(counts[i]);
        found[assigned[i]].points += counts[i];
    }
    std::vector<std::size_t> order; // of the groups that kept colours
    for (std::size_t g = 0; g < found.size(); ++g) {
        if (found[g].points == 0)
            continue;
        for (int k = 0; k < 3; ++k)
            found[g].swatch |= Colour(std::lround(sums[g][k] / double(found[g].points))) << (8 * k);
        order.push_back(g);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return found[a].points > found[b].points;
    });
    ColourGrouping result;
    std::vector<int> rank(found.size(), -1);
    for (std::size_t r = 0; r < order.size(); ++r) {
        result.groups.push_back(found[order[r]]);
        rank[order[r]] = int(r);
    }
    for (Colour colour : colours) {
        const auto at = std::lower_bound(used.begin(), used.end(), colour & 0x00FFFFFF);
        result.groupOf.push_back(rank[assigned[std::size_t(at - used.begin())]]);
    }
    return result;
}

std::vector<Colour> columnColours(const Relief &relief)
{
    std::vector<Colour> colours;
    colours.reserve(relief.columns);
    for (std::size_t cell = 0; cell < relief.tops.size(); ++cell)
        if (relief.hasColumn(cell))
            colours.push_back(relief.colours[cell]);
    return colours;
}

std::vector<int> groupOfCells(const Relief &relief, const ColourGrouping &grouping)
{
    std::vector<int> groups(relief.tops.size(), -1);
    for (std::size_t cell = 0, column = 0; cell < groups.size(); ++cell)
        if (relief.hasColumn(cell))
            groups[cell] = grouping.groupOf[column++];
    return groups;
}
