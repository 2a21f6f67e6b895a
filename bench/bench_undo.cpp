#include "bench_support.h"

#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

// A line of /proc/self/status, in megabytes.
double statusMegabytes(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) / 1024.0;
    return 0;
}

void depthStroke(Document &document, int offset, int depth)
{
    document.setDepthInside(strokeBetween(20 + offset, 20 + offset, 240 - offset, 240 - offset),
                            depth);
}

} // namespace

// Undo, then redo, of a depth step over most of a full model, each to the repainted view.
static void BM_UndoRedoDepth(benchmark::State &bench)
{
    FullModelWindow window;
    depthStroke(window.document, 0, 55);
    bool undo = true;
    for (auto _ : bench) {
        undo ? window.document.history()->undo() : window.document.history()->redo();
        window.view->repaint();
        undo = !undo;
    }
}
BENCHMARK(BM_UndoRedoDepth)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_UndoRedoQuarterTurn(benchmark::State &bench)
{
    FullModelWindow window;
    window.trigger("quarterTurnAction");
    bool undo = true;
    for (auto _ : bench) {
        undo ? window.document.history()->undo() : window.document.history()->redo();
        window.view->repaint();
        undo = !undo;
    }
}
BENCHMARK(BM_UndoRedoQuarterTurn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// 100 steps of depth and turns on a full model: what the history holds, by the
// resident memory it adds, and the process's peak.
static void BM_HistoryOf100Steps(benchmark::State &bench)
{
    for (auto _ : bench) {
        Document document;
        document.importModel(fullModel());
        const double before = statusMegabytes("VmRSS");
        for (int step = 0; step < 100; ++step) {
            if (step % 2 == 0)
                depthStroke(document, step % 60, step);
            else
                document.turnQuarter();
        }
        bench.counters["history_MB"] = statusMegabytes("VmRSS") - before;
        bench.counters["peak_RSS_MB"] = statusMegabytes("VmHWM");
        benchmark::DoNotOptimize(document.history()->count());
    }
}
BENCHMARK(BM_HistoryOf100Steps)->Unit(benchmark::kMillisecond)->Iterations(1);
