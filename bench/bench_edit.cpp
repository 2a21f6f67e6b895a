#include "form1.h"
#include "picture_box.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// A shown main window holding a full model with varied depths.
struct FullModelWindow {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    std::unique_ptr<Form1> form = std::make_unique<Form1>(*state);

    FullModelWindow()
    {
        state->pointCount = kMaxPoints;
        for (int i = 0; i < kMaxPoints; ++i) {
            state->modelPoints[i]
                = {double(i % 40), 120.0 * std::sin(i * 0.37), 120.0 * std::cos(i * 0.11)};
            state->pointColors[i] = i * 2654435761u & 0x00FFFFFF;
        }
        form->enableModelCommands();
        form->show();
        QApplication::processEvents();
    }

    void repaint() { form->picture1()->repaint(); }
};

} // namespace

static void BM_DepthDragMouseMove(benchmark::State &bench)
{
    FullModelWindow window;
    window.form->Picture1_MouseDown(1, 0, 60, 60);
    float x = 100;
    for (auto _ : bench) {
        window.form->Picture1_MouseMove(1, 0, x, 180);
        window.repaint();
        x = x < 200 ? x + 1 : 100;
    }
}
BENCHMARK(BM_DepthDragMouseMove)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_ApplyDepth(benchmark::State &bench)
{
    FullModelWindow window;
    window.form->Picture1_MouseDown(1, 0, 60, 60);
    window.form->Picture1_MouseMove(1, 0, 200, 180);
    window.form->Picture1_MouseUp(1, 0, 200, 180);
    for (auto _ : bench) {
        window.form->Command27_Click();
        window.repaint();
    }
}
BENCHMARK(BM_ApplyDepth)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_QuarterTurn(benchmark::State &bench)
{
    FullModelWindow window;
    for (auto _ : bench) {
        window.form->mnuKaiten_Click();
        window.repaint();
    }
}
BENCHMARK(BM_QuarterTurn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_PositionMove(benchmark::State &bench)
{
    FullModelWindow window;
    bool left = true;
    for (auto _ : bench) {
        left ? window.form->Copl_Click() : window.form->Copr_Click();
        window.repaint();
        left = !left;
    }
}
BENCHMARK(BM_PositionMove)->Unit(benchmark::kMillisecond)->MinTime(1.0);
