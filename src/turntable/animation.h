#pragma once

#include <cstdint>
#include <functional>
#include <span>
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

enum class Error {
    None,
    NoFrames,
    Delay, // outside 1 to 65535 ms, or the frames together last too long
    FrameSize, // a side of 0, or over the format's largest
    FramesDiffer, // in size from the first, or a buffer that does not match its size
    OutOfMemory,
    Library, // the encoding library refused
    Cancelled,
};

struct Encoded {
    std::vector<std::uint8_t> bytes;
    Error error = Error::None;
    int frame = 0; // the frame at fault, from 1; 0 for none

    bool ok() const { return error == Error::None; }
};

// Every frame as given, bit for bit, shown delayMs each, looping forever; 16383
// pixels a side at most.
Encoded encodeAnimatedWebP(std::span<const Frame> frames, int delayMs,
                           const Progress &progress = {});

// Looping forever, with one palette from libimagequant for the whole animation
// (each frame's copy refined to it), so an animation of at most 256 colours in all
// is kept exactly; frames are remapped on every core. Alpha is ignored: GIF frames
// are opaque. GIF counts time in hundredths of a second, so the delay is
// rounded to the nearest 10 ms, at least 10. 65535 pixels a side at most.
Encoded encodeAnimatedGif(std::span<const Frame> frames, int delayMs,
                          const Progress &progress = {});

} // namespace Animation
