#include "export.h"
#include "relief.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

struct Points {
    std::vector<Coords> points;
    std::vector<Colour> colours;
};

// The full 100000 points of a relief in the size of a capture, depths in quarter units.
Points fullModel()
{
    Points model;
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-95, 95), depth(0, 400);
    for (int i = 0; i < kMaxPoints; ++i) {
        model.points.push_back(
            {depth(random) * 0.25, double(coordinate(random)), double(coordinate(random))});
        model.colours.push_back(Colour(random() & 0x00FFFFFF));
    }
    return model;
}

// A full 190 x 190 import: every pixel a point, three depth regions, four inks with
// the slight variations of a scanned drawing.
Points fullImport()
{
    Points model;
    std::mt19937 random(9);
    const Colour inks[] = {0x000000, 0x2020C0, 0xC02020, 0x20A020};
    for (int y = 0; y < 190; ++y)
        for (int x = 0; x < 190; ++x) {
            const bool first = x >= 20 && x < 90 && y >= 20 && y < 170;
            const bool second = x >= 100 && x < 170 && y >= 40 && y < 120;
            model.points.push_back({first ? 30.0 : second ? 60.0 : 0.0, x - 95.0, 95.0 - y});
            const Colour noise = Colour(random() & 0x070707);
            model.colours.push_back(inks[(x / 50 + y / 50) % 4] + noise);
        }
    return model;
}

template<typename Export> void run(benchmark::State &bench, const Points &model, Export exporter)
{
    std::size_t triangles = 0;
    for (auto _ : bench) {
        const ExportResult result = exporter(model.points, model.colours);
        if (!result.ok())
            bench.SkipWithError("not exported");
        triangles = result.triangles;
        benchmark::DoNotOptimize(result.bytes.data());
    }
    if (triangles > 0)
        bench.counters["triangles"] = double(triangles);
}

} // namespace

static void BM_ExportPlyBinary100000(benchmark::State &bench)
{
    run(bench, fullModel(), [](auto p, auto c) { return exportPly(p, c, {}); });
}
BENCHMARK(BM_ExportPlyBinary100000)->Unit(benchmark::kMillisecond);

static void BM_ExportXyz100000(benchmark::State &bench)
{
    run(bench, fullModel(), [](auto p, auto c) { return exportXyz(p, c, {}); });
}
BENCHMARK(BM_ExportXyz100000)->Unit(benchmark::kMillisecond);

static void BM_ExportGlb100000(benchmark::State &bench)
{
    run(bench, fullModel(), [](auto p, auto c) { return exportGlb(p, c, {}); });
}
BENCHMARK(BM_ExportGlb100000)->Unit(benchmark::kMillisecond);

static void BM_ExportStlFullImport(benchmark::State &bench)
{
    run(bench, fullImport(), [](auto p, auto c) { return exportStl(p, c, {}); });
}
BENCHMARK(BM_ExportStlFullImport)->Unit(benchmark::kMillisecond);

// Each slicer's layout, in the order of Slicer; the target is 300 ms.
static void BM_Export3mfFullImport(benchmark::State &bench)
{
    const Slicer slicer = Slicer(bench.range(0));
    bench.SetLabel(kSlicerNames[bench.range(0)]);
    run(bench, fullImport(),
        [&](auto p, auto c) { return export3mf(p, c, {.solid = {.slicer = slicer}}); });
}
BENCHMARK(BM_Export3mfFullImport)->DenseRange(0, int(std::size(kSlicerNames)) - 1)
    ->Unit(benchmark::kMillisecond);

// The findings as an option changes: the relief built afresh, then its lines measured; the
// target is 20 ms.
static void BM_PrintFindings100000(benchmark::State &bench)
{
    const Points model = fullModel();
    for (auto _ : bench)
        benchmark::DoNotOptimize(printability(buildRelief(model.points, model.colours, {}), 0.4));
}
BENCHMARK(BM_PrintFindings100000)->Unit(benchmark::kMillisecond);

// All the options dialog shows, the colour groups of 36000 distinct colours among them.
static void BM_SolidSummary100000(benchmark::State &bench)
{
    const Points model = fullModel();
    for (auto _ : bench)
        benchmark::DoNotOptimize(summarizeSolid(model.points, model.colours, {}));
}
BENCHMARK(BM_SolidSummary100000)->Unit(benchmark::kMillisecond);

static void BM_Thicken4FullImport(benchmark::State &bench)
{
    run(bench, fullImport(), [](auto p, auto c) { return exportStl(p, c, {.solid = {.thicken = 4}}); });
}
BENCHMARK(BM_Thicken4FullImport)->Unit(benchmark::kMillisecond);
