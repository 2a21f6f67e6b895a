#include "capture.h"

#include "ink.h"

bool exceedsSelectionLimit(const Selection &ordered)
{
    // Differences in int: corners far outside the surface would overflow 16 bits.
    return int(ordered.endX) - ordered.startX > kSelectionLimit
           || int(ordered.endY) - ordered.startY > kSelectionLimit;
}

int reductionFactor(const Selection &ordered)
{
    const int larger = std::max(ordered.endX - ordered.startX, ordered.endY - ordered.startY) - 1;
    return std::max(1, (larger + kStagingSize - 1) / kStagingSize);
}

ReducedPicture reduceSelection(const Surface &capture, const Selection &ordered, int factor)
{
    ReducedPicture reduced;
    const int left = ordered.startX + 1, top = ordered.startY + 1;
    const int width = std::max(0, ordered.endX - left), height = std::max(0, ordered.endY - top);
    reduced.factor = factor;
    reduced.width = (width + factor - 1) / factor;
    reduced.height = (height + factor - 1) / factor;
    reduced.pixels.assign(std::size_t(reduced.width) * std::size_t(reduced.height), kWhite);
    // A band of `factor` rows at a time, each block's ink gathered from it.
    std::vector<Colour> band(std::size_t(width) * std::size_t(factor)), inks;
    for (int row = 0; row < reduced.height; ++row) {
        const int rows = std::min(factor, height - row * factor);
        for (int y = 0; y < rows; ++y)
            capture.readRow(
                left, top + row * factor + y,
                std::span(band).subspan(std::size_t(y) * std::size_t(width), std::size_t(width)));
        for (int column = 0; column < reduced.width; ++column) {
            inks.clear();
            const int from = column * factor, to = std::min(width, from + factor);
            for (int y = 0; y < rows; ++y)
                for (int x = from; x < to; ++x)
                    if (const Colour colour
                        = band[std::size_t(y) * std::size_t(width) + std::size_t(x)];
                        isInk(colour))
                        inks.push_back(colour);
            if (!inks.empty())
                reduced.pixels[std::size_t(row) * std::size_t(reduced.width) + std::size_t(column)]
                    = mostFrequentInk(inks);
        }
    }
    return reduced;
}
