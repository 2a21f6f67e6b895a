#include "../tests/model/literal_turn.h"

#include "bench_support.h"
#include "image_surface.h"
#include "renderer.h"

#include <benchmark/benchmark.h>

// Baseline: the turn written case by case, then the points plotted one call each.
static void BM_ViewLiteralTurnAndDraw(benchmark::State &bench)
{
    const Model model = fullModel();
    ImageSurface surface(kViewSize, kViewSize, kWhite);
    for (auto _ : bench) {
        const std::vector<Coords> turned = literal::turnModel(model.points, 15, -10);
        surface.clear();
        for (std::size_t i = 0; i < turned.size(); ++i)
            surface.plot(float(130 + turned[i][Horizontal]), float(130 - turned[i][Vertical]),
                         model.colours[i]);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewLiteralTurnAndDraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// What every redraw of a turned view runs: both turns of every point and the drawing.
static void BM_ViewTurnedView(benchmark::State &bench)
{
    const Model model = fullModel();
    ImageSurface surface(kViewSize, kViewSize, kWhite);
    ViewRenderer renderer;
    for (auto _ : bench) {
        renderer.drawView(surface, model, 15, -10, Projection::mainView(), {});
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewTurnedView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The unturned view the editing tools draw.
static void BM_ViewFrontView(benchmark::State &bench)
{
    const Model model = fullModel();
    ImageSurface surface(kViewSize, kViewSize, kWhite);
    ViewRenderer renderer;
    for (auto _ : bench) {
        renderer.drawUnturnedView(surface, model, Projection::mainView(), {});
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewFrontView)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click on a turn button of the real window, until the view has been painted.
static void BM_ViewTurnButtonClick(benchmark::State &bench)
{
    FullModelWindow window;
    bool left = true;
    for (auto _ : bench) {
        window.click(left ? "turnLeft1" : "turnRight1");
        left = !left;
    }
}
BENCHMARK(BM_ViewTurnButtonClick)->Unit(benchmark::kMillisecond)->UseRealTime();
