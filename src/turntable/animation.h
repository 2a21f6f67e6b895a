#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Animated pictures from rendered frames, for showing a relief without the program.
namespace Animation {

// width x height pixels of 4 bytes in the order red, green, blue, alpha; rows
// from the top, without padding.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Told after each frame how many of the total are encoded; returning false
// cancels the encode.
using Progress = std::function<bool(int done, int total)>;

// Every frame as given, bit for bit, shown delayMs each, looping forever.
// Nothing (and *error says why) for no frames, frames of different sizes, a
// buffer that does not match its size, a delay outside 1 to 65535 ms, a
// frame over 16383 pixels a side, or a cancel.
std::optional<std::vector<std::uint8_t>> encodeAnimatedWebP(std::span<const Frame> frames,
                                                            int delayMs, std::string *error,
                                                            const Progress &progress = {});

// Looping forever, each frame with its own palette from libimagequant, so a
// frame of at most 256 colours is kept exactly. Alpha is ignored: GIF frames
// are opaque. GIF counts time in hundredths of a second, so the delay is
// rounded to the nearest 10 ms, at least 10. Refuses what the WebP encoder
// refuses, with 65535 pixels a side as the limit.
std::optional<std::vector<std::uint8_t>> encodeAnimatedGif(std::span<const Frame> frames,
                                                           int delayMs, std::string *error,
                                                           const Progress &progress = {});

} // namespace Animation
