#include "bench_support.h"
#include "capture_window.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// A full-size capture picture, dark almost everywhere, so that an import
// turns nearly every pixel of the selection into a point.
struct CapturePicture {
    CapturePicture()
    {
        QImage image(581, 413, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb((x * 7) % 160, (y * 5) % 160, (x + y) % 160));
        image.save(path, "BMP");
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("capture.bmp"));
};

} // namespace

// One mouse move of a drag: restore the picture, draw the outline, repaint.
static void BM_CaptureDragMove(benchmark::State &state)
{
    CapturePicture picture;
    CaptureWindow capture(picture.path);
    capture.show();
    QApplication::processEvents();
    QWidget *box = capture.findChild<QWidget *>(QStringLiteral("picture"));
    sendMouse(box, QEvent::MouseButtonPress, {20, 20});
    int step = 0;
    for (auto _ : state) {
        const double offset = step++ % 100;
        sendMouse(box, QEvent::MouseMove, {200 + offset, 180 + offset});
        box->repaint();
    }
    sendMouse(box, QEvent::MouseButtonRelease, {200, 180});
}
BENCHMARK(BM_CaptureDragMove)->Unit(benchmark::kMillisecond);

// A whole import of a 190 x 188 selection: timed from the import command to
// the repainted main window, without the opening of the capture window.
static void BM_CaptureImport190x188(benchmark::State &state)
{
    CapturePicture picture;
    Document document;
    MainWindow main(document, picture.path);
    main.show();
    QApplication::processEvents();
    QAction *capture = main.findChild<QAction *>(QStringLiteral("captureAction"));

    for (auto _ : state) {
        std::chrono::steady_clock::time_point start;
        QTimer::singleShot(0, &main, [&] {
            QWidget *window = QApplication::activeModalWidget();
            QWidget *box
                = window ? window->findChild<QWidget *>(QStringLiteral("picture")) : nullptr;
            if (!box) {
                QApplication::closeAllWindows();
                return;
            }
            sendMouse(box, QEvent::MouseButtonPress, {300, 210});
            sendMouse(box, QEvent::MouseMove, {110, 20});
            sendMouse(box, QEvent::MouseButtonRelease, {110, 20});
            start = std::chrono::steady_clock::now();
            window->findChild<QAction *>(QStringLiteral("importAction"))->trigger();
        });
        capture->trigger();
        main.repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (document.model().count() == 0)
            state.SkipWithError("the selection was not imported");
    }
    state.counters["points"] = double(document.model().count());
}
BENCHMARK(BM_CaptureImport190x188)->UseManualTime()->Unit(benchmark::kMillisecond);
