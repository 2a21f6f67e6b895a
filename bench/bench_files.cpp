#include "model_file_io.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<ProgramState> fullModel()
{
    auto state = std::make_unique<ProgramState>();
    for (int i = 0; i < kMaxPoints; ++i) {
        state->modelPoints[i]
            = {double(i % 100) * 0.25, std::sin(i * 0.01) * 90.0, std::cos(i * 0.013) * 90.0};
        state->pointColors[i] = Colour(i & 0x00FFFFFF);
    }
    state->pointCount = kMaxPoints;
    return state;
}

} // namespace

// Save of a full model: encoding, the temporary file and its rename over the target.
static void BM_FileSaveModel100000(benchmark::State &bench)
{
    const auto state = fullModel();
    QTemporaryDir dir;
    const std::string path = dir.filePath("full.chs").toStdString();
    for (auto _ : bench) {
        if (!ModelFile::save(*state, path).ok())
            bench.SkipWithError("save failed");
    }
}
BENCHMARK(BM_FileSaveModel100000)->Unit(benchmark::kMillisecond);

// Open of a full model: the file check, the read, decoding and the commit.
static void BM_FileOpenModel100000(benchmark::State &bench)
{
    const auto written = fullModel();
    QTemporaryDir dir;
    const std::string path = dir.filePath("full.chs").toStdString();
    if (!ModelFile::save(*written, path).ok())
        bench.SkipWithError("save failed");
    auto state = std::make_unique<ProgramState>();
    for (auto _ : bench) {
        if (!ModelFile::load(path, *state).ok())
            bench.SkipWithError("open failed");
        benchmark::DoNotOptimize(state->modelPoints.data());
    }
}
BENCHMARK(BM_FileOpenModel100000)->Unit(benchmark::kMillisecond);
