#include "bench_support.h"
#include "large_view.h"
#include "turntable_file.h"
#include "view_state.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

LargeView *openLargeView(QWidget *mainWindow, int size)
{
    mainWindow->findChild<QAction *>(QStringLiteral("largeViewAction"))->trigger();
    LargeView *view = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *large = qobject_cast<LargeView *>(top))
            view = large;
    view->resize(size, size);
    QApplication::processEvents();
    return view;
}

void setStyle(LargeView *view, const benchmark::State &bench)
{
    view->findChild<QAction *>(QStringLiteral("pointSize%1").arg(bench.range(0)))->trigger();
    view->findChild<QAction *>(QStringLiteral("shadingAction"))->setChecked(bench.range(1) != 0);
}

} // namespace

// One redraw of the large view at 1000 x 1000, until it is painted; at this size points grow
// to 4 x 4 pixels whatever the size chosen.
static void BM_LargeViewRedraw(benchmark::State &bench)
{
    Document document;
    ViewState viewState(document);
    document.importModel(fullModel());
    LargeView view(viewState);
    view.resize(1000, 1000);
    view.show();
    QApplication::processEvents();
    setStyle(&view, bench);
    double step = 1;
    for (auto _ : bench) {
        viewState.turnBy(step, 0.5);
        view.repaint();
        step = -step;
    }
}
BENCHMARK(BM_LargeViewRedraw)
    ->ArgNames({"size", "shading"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One mouse move of a drag in the large view, until it and the main view are painted.
static void BM_LargeViewDragStep(benchmark::State &bench)
{
    FullModelWindow window;
    LargeView *view = openLargeView(&window.window, 1000);
    setStyle(view, bench);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(500, 500),
                      view->mapToGlobal(QPointF(500, 500)), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &press);
    double x = 500;
    for (auto _ : bench) {
        x = x < 700 ? x + 1 : 500;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 500), view->mapToGlobal(QPointF(x, 500)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view, &move);
        view->repaint();
        window.view->repaint();
    }
}
BENCHMARK(BM_LargeViewDragStep)
    ->ArgNames({"size", "shading"})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole turntable file: 36 frames of 512 x 512 drawn, encoded and written.
static void BM_TurntableFile(benchmark::State &bench)
{
    const Model model = fullModel();
    QTemporaryDir dir;
    const QString path
        = dir.filePath(bench.range(0) ? QStringLiteral("spin.gif") : QStringLiteral("spin.webp"));
    const TurntableFormat format = bench.range(0) ? TurntableFormat::Gif : TurntableFormat::WebP;
    for (auto _ : bench) {
        const TurntableResult result = writeTurntable(model, TurntableOptions {}, path, format);
        if (!result.ok())
            bench.SkipWithError(result.written.detail.c_str());
    }
    bench.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_TurntableFile)
    ->ArgName("gif")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
