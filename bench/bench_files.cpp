#include "bench_support.h"
#include "model_file_io.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

// Save of a full model: encoding, the temporary file and its rename over the target.
static void BM_FileSaveModel100000(benchmark::State &bench)
{
    const Model model = fullModel();
    QTemporaryDir dir;
    const std::string path = dir.filePath("full.chs").toStdString();
    for (auto _ : bench) {
        if (!ModelFile::save(model, path).ok())
            bench.SkipWithError("save failed");
    }
}
BENCHMARK(BM_FileSaveModel100000)->Unit(benchmark::kMillisecond);

// Open of a full model: the file check, the read and decoding.
static void BM_FileOpenModel100000(benchmark::State &bench)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("full.chs").toStdString();
    if (!ModelFile::save(fullModel(), path).ok())
        bench.SkipWithError("save failed");
    for (auto _ : bench) {
        ModelFile::ParsedModel parsed;
        if (!ModelFile::load(path, parsed).ok())
            bench.SkipWithError("open failed");
        benchmark::DoNotOptimize(parsed.points.data());
    }
}
BENCHMARK(BM_FileOpenModel100000)->Unit(benchmark::kMillisecond);
