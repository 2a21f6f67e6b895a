#include "colour_depths.h"

#include "ink.h"

double depthByBrightness(Colour colour, const BrightnessDepths &depths)
{
    return depths.black + (depths.white - depths.black) * brightnessOf(colour) / 255;
}

std::vector<double> depthsByBrightness(const Model &model, const BrightnessDepths &depths)
{
    std::vector<double> result;
    result.reserve(model.colours.size());
    for (Colour colour : model.colours)
        result.push_back(depthByBrightness(colour, depths));
    return result;
}

std::vector<double> depthsByGroup(const Model &model, std::span<const int> groupOf,
                                  std::span<const std::optional<double>> depths)
{
    std::vector<double> result;
    result.reserve(model.points.size());
    for (std::size_t i = 0; i < model.points.size(); ++i) {
        const std::optional<double> &given = depths[std::size_t(groupOf[i])];
        result.push_back(given ? *given : model.points[i][Depth]);
    }
    return result;
}

std::vector<std::optional<double>> sharedDepths(const Model &model, std::span<const int> groupOf,
                                                std::size_t groups)
{
    std::vector<std::optional<double>> shared(groups);
    std::vector<bool> seen(groups, false);
    for (std::size_t i = 0; i < model.points.size(); ++i) {
        const auto group = std::size_t(groupOf[i]);
        const double depth = model.points[i][Depth];
        if (!seen[group])
            seen[group] = true, shared[group] = depth;
        else if (shared[group] && *shared[group] != depth) // NaN differs from everything
            shared[group].reset();
    }
    for (std::size_t g = 0; g < groups; ++g)
        if (shared[g] && *shared[g] != *shared[g])
            shared[g].reset();
    return shared;
}
