#include "image_surface.h"

#include <benchmark/benchmark.h>

#include <cmath>

// The cost of the drawing step alone: 100000 PSet calls on the view's surface.
static void BM_SurfacePSet100000(benchmark::State &state)
{
    ImageSurface surface(261, 261, kWhite);
    for (auto _ : state) {
        surface.Cls();
        for (int i = 0; i < 100000; ++i)
            surface.PSet(float(130.0 + 120.0 * std::sin(i * 0.001)),
                         float(130.0 + 120.0 * std::cos(i * 0.0013)), Colour(i));
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_SurfacePSet100000)->Unit(benchmark::kMillisecond);
