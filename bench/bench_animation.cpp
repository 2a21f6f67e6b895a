#include "animation.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr int kSide = 512;
constexpr int kFrames = 36;

// A turntable of 100000 points, 10 degrees a frame about the vertical axis,
// as 1-pixel points on white. colours = 0 gives every point a random colour.
std::vector<Animation::Frame> turntable(int colours)
{
    struct Point {
        double depth, horizontal, vertical;
        std::uint32_t rgb;
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-95, 95);
    std::uniform_int_distribution<int> depth(0, 100);
    std::vector<std::uint32_t> palette(std::size_t(std::max(colours, 1)));
    for (std::uint32_t &rgb : palette)
        rgb = random() & 0xFFFFFF;
    std::vector<Point> points(100000);
    for (Point &p : points)
        p = {double(depth(random)), double(coordinate(random)), double(coordinate(random)),
             colours ? palette[random() % palette.size()] : std::uint32_t(random() & 0xFFFFFF)};

    std::vector<Animation::Frame> frames;
    const double scale = kSide / 200.0;
    for (int f = 0; f < kFrames; ++f) {
        Animation::Frame frame {kSide, kSide, std::vector<std::uint8_t>(kSide * kSide * 4, 255)};
        const double angle = f * std::numbers::pi / 18;
        for (const Point &p : points) {
            const double x = p.horizontal * std::cos(angle) + (p.depth - 50) * std::sin(angle);
            const int column = int(std::lround(kSide / 2 + scale * x));
            const int row = int(std::lround(kSide / 2 - scale * p.vertical));
            std::uint8_t *pixel = &frame.rgba[std::size_t(row * kSide + column) * 4];
            pixel[0] = std::uint8_t(p.rgb >> 16);
            pixel[1] = std::uint8_t(p.rgb >> 8);
            pixel[2] = std::uint8_t(p.rgb);
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

template<auto encode> void encodeTurntable(benchmark::State &bench)
{
    const std::vector<Animation::Frame> frames = turntable(int(bench.range(0)));
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const Animation::Encoded encoded = encode(frames, 100, {});
        if (!encoded.ok())
            bench.SkipWithError("not encoded");
        else
            bytes = encoded.bytes.size();
    }
    bench.counters["bytes"] = double(bytes);
}

} // namespace

// The encode alone of a 36-frame turntable at 512 x 512: 8 point colours, and
// every point its own colour.
BENCHMARK(encodeTurntable<Animation::encodeAnimatedWebP>)
    ->Name("BM_TurntableWebP")
    ->Arg(8)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(encodeTurntable<Animation::encodeAnimatedGif>)
    ->Name("BM_TurntableGif")
    ->Arg(8)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
