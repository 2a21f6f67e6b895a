#include "bench_support.h"

#include "colour_groups.h"
#include "depth_dialogs.h"

#include <QSpinBox>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

// The full model with its points in 16 colours.
Model sixteenColours()
{
    Model model = fullModel();
    for (std::size_t i = 0; i < model.colours.size(); ++i) {
        const int c = int(i % 16);
        model.colours[i] = Colour((c * 53 % 256) | (c * 97 % 256) << 8 | (c * 29 % 256) << 16);
    }
    return model;
}

// A shown main window over a full model of 16 colours.
struct SixteenColoursWindow : FullModelWindow {
    SixteenColoursWindow() { document.importModel(sixteenColours()); }
};

std::vector<std::optional<double>> groupDepths(double first)
{
    std::vector<std::optional<double>> depths(16);
    for (int g = 0; g < 16; g += 2)
        depths[std::size_t(g)] = first + g;
    return depths;
}

} // namespace

// 色ごとの奥行き opened on 100000 points of 16 colours: the grouping and the rows, painted.
static void BM_OpenColourDepthsDialog(benchmark::State &bench)
{
    const Model model = sixteenColours();
    for (auto _ : bench) {
        ColourDepthsDialog dialog(model, 16);
        dialog.show();
        dialog.repaint();
    }
}
BENCHMARK(BM_OpenColourDepthsDialog)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The rows following the number of groups, alternately 16 and 8, to the painted dialog.
static void BM_ColourDepthsDialogRows(benchmark::State &bench)
{
    const Model model = sixteenColours();
    ColourDepthsDialog dialog(model, 16);
    dialog.show();
    auto *groups = dialog.findChild<QSpinBox *>(QStringLiteral("colourGroups"));
    bool sixteen = false;
    for (auto _ : bench) {
        groups->setValue(sixteen ? 16 : 8);
        dialog.repaint();
        sixteen = !sixteen;
    }
}
BENCHMARK(BM_ColourDepthsDialogRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The step that OK gives, to the repainted view; every other group a depth, alternately two sets.
static void BM_ApplyDepthsByColour(benchmark::State &bench)
{
    SixteenColoursWindow window;
    const ColourGrouping grouping = groupColours(window.document.model().colours, 16);
    bool first = true;
    for (auto _ : bench) {
        window.document.setDepthsByColour(grouping.groupOf, groupDepths(first ? 10 : 20));
        window.view->repaint();
        first = !first;
    }
}
BENCHMARK(BM_ApplyDepthsByColour)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_ApplyDepthsByBrightness(benchmark::State &bench)
{
    SixteenColoursWindow window;
    bool first = true;
    for (auto _ : bench) {
        window.document.setDepthsByBrightness({first ? 0.0 : 10.0, 30});
        window.view->repaint();
        first = !first;
    }
}
BENCHMARK(BM_ApplyDepthsByBrightness)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Undo, then redo, of either step on the full model, each to the repainted view.
static void BM_UndoRedoDepthsByColour(benchmark::State &bench)
{
    SixteenColoursWindow window;
    window.document.setDepthsByColour(groupColours(window.document.model().colours, 16).groupOf,
                                      groupDepths(10));
    bool undo = true;
    for (auto _ : bench) {
        undo ? window.document.history()->undo() : window.document.history()->redo();
        window.view->repaint();
        undo = !undo;
    }
}
BENCHMARK(BM_UndoRedoDepthsByColour)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_UndoRedoDepthsByBrightness(benchmark::State &bench)
{
    SixteenColoursWindow window;
    window.document.setDepthsByBrightness({0, 30});
    bool undo = true;
    for (auto _ : bench) {
        undo ? window.document.history()->undo() : window.document.history()->redo();
        window.view->repaint();
        undo = !undo;
    }
}
BENCHMARK(BM_UndoRedoDepthsByBrightness)->Unit(benchmark::kMillisecond)->MinTime(1.0);
