#include "bench_support.h"

#include <benchmark/benchmark.h>

static void BM_DepthDragMouseMove(benchmark::State &bench)
{
    FullModelWindow window;
    sendMouse(window.view, QEvent::MouseButtonPress, {60, 60});
    double x = 100;
    for (auto _ : bench) {
        sendMouse(window.view, QEvent::MouseMove, {x, 180});
        window.view->repaint();
        x = x < 200 ? x + 1 : 100;
    }
}
BENCHMARK(BM_DepthDragMouseMove)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_ApplyDepth(benchmark::State &bench)
{
    FullModelWindow window;
    for (auto _ : bench) {
        bench.PauseTiming();
        sendMouse(window.view, QEvent::MouseButtonPress, {60, 60});
        sendMouse(window.view, QEvent::MouseButtonRelease, {200, 180});
        bench.ResumeTiming();
        window.click("applyDepth");
    }
}
BENCHMARK(BM_ApplyDepth)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_QuarterTurn(benchmark::State &bench)
{
    FullModelWindow window;
    for (auto _ : bench)
        window.trigger("quarterTurnAction");
}
BENCHMARK(BM_QuarterTurn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_PositionMove(benchmark::State &bench)
{
    FullModelWindow window;
    bool left = true;
    for (auto _ : bench) {
        window.click(left ? "moveLeft" : "moveRight");
        left = !left;
    }
}
BENCHMARK(BM_PositionMove)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// 中央に置く on a full model: alternately off the middle by a move and back.
static void BM_Centre(benchmark::State &bench)
{
    FullModelWindow window;
    for (auto _ : bench) {
        bench.PauseTiming();
        window.click("moveRight");
        bench.ResumeTiming();
        window.trigger("centreAction");
    }
}
BENCHMARK(BM_Centre)->Unit(benchmark::kMillisecond)->MinTime(1.0);
