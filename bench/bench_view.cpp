#include "../tests/model/literal_turn.h"

#include "drawing.h"
#include "form1.h"
#include "image_surface.h"
#include "picture_box.h"
#include "renderer.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

// The full 100000 points of the view: a relief in the size of a capture,
// depths 0 to 100, a few coordinates exactly 0.
namespace {

void fillFullModel(ProgramState &state)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-95, 95);
    std::uniform_int_distribution<int> depth(0, 100);
    for (std::int32_t i = 0; i < kMaxPoints; ++i) {
        state.modelPoints[i]
            = {double(depth(random)), double(coordinate(random)), double(coordinate(random))};
        state.pointColors[i] = Colour(random() & 0x00FFFFFF);
    }
    state.pointCount = kMaxPoints;
}

std::unique_ptr<ProgramState> fullModel()
{
    auto state = std::make_unique<ProgramState>();
    state->viewCenterX = 130;
    state->viewCenterY = 130;
    fillFullModel(*state);
    return state;
}

} // namespace

// Baseline: the turn written case by case, then the same drawing step.
static void BM_ViewLiteralTurnAndDraw(benchmark::State &bench)
{
    auto state = fullModel();
    ImageSurface surface(261, 261, kWhite);
    for (auto _ : bench) {
        literal::turnModel(*state, 15, -10);
        drawPoints(surface, *state, state->viewPoints);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewLiteralTurnAndDraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// What RedrawModel runs: both turns of every point and the drawing.
static void BM_ViewRenderView(benchmark::State &bench)
{
    auto state = fullModel();
    ImageSurface surface(261, 261, kWhite);
    for (auto _ : bench) {
        renderView(*state, surface, 15, -10);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewRenderView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The unturned view the editing tools draw.
static void BM_ViewFrontViewDraw(benchmark::State &bench)
{
    auto state = fullModel();
    ImageSurface surface(261, 261, kWhite);
    for (auto _ : bench) {
        DrawFrontView(surface, *state);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_ViewFrontViewDraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click on a turn button of the real window, until the view has been painted.
static void BM_ViewTurnButtonClick(benchmark::State &bench)
{
    auto state = std::make_unique<ProgramState>();
    Form1 form(*state);
    fillFullModel(*state); // after the window's start-up, which empties the model
    form.enableModelCommands();
    form.show();
    QApplication::processEvents();
    bool left = true;
    for (auto _ : bench) {
        if (left)
            form.Cokl_Click();
        else
            form.Cokr_Click();
        left = !left;
        form.picture1()->repaint();
    }
}
BENCHMARK(BM_ViewTurnButtonClick)->Unit(benchmark::kMillisecond)->UseRealTime();
