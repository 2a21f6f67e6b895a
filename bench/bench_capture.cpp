#include "bench_support.h"
#include "capture_window.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

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

// A shown main window whose capture window opens `picture`, and its capture command.
struct ShownMain {
    explicit ShownMain(const QString &picture)
        : main(document, picture)
    {
        main.show();
        QApplication::processEvents();
    }
    Document document;
    MainWindow main;
    QAction *capture = main.findChild<QAction *>(QStringLiteral("captureAction"));
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
    ShownMain shown(picture.path);
    auto &[document, main, capture] = shown;

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

// A 4000 x 3000 scan of a drawing: coloured lines, boxes and discs on white, as PNG.
struct ScannedDrawing {
    ScannedDrawing()
    {
        QImage scan(4000, 3000, QImage::Format_RGB32);
        scan.fill(Qt::white);
        QPainter painter(&scan);
        std::mt19937 random(3);
        std::uniform_int_distribution<int> x(0, 3999), y(0, 2999), size(5, 300), shade(0, 180);
        for (int i = 0; i < 3000; ++i) {
            const QColor ink(shade(random), shade(random), shade(random));
            painter.setPen(QPen(ink, size(random) % 6 + 1));
            const QRect box(x(random), y(random), size(random), size(random));
            switch (i % 3) {
            case 0:
                painter.drawLine(box.topLeft(), box.bottomRight());
                break;
            case 1:
                painter.drawRect(box);
                break;
            default:
                painter.setBrush(ink);
                painter.drawEllipse(box);
                painter.setBrush(Qt::NoBrush);
            }
        }
        painter.end();
        scan.save(path, "PNG");
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("scan.png"));
};

// Opening the scan in the capture window: reading and decoding the file, the capture
// surface and the first paint of the scrolled view.
static void BM_CaptureOpenPng4000x3000(benchmark::State &state)
{
    const ScannedDrawing scan;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CaptureWindow capture(scan.path);
        capture.show();
        capture.findChild<QWidget *>(QStringLiteral("picture"))->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["MB"] = double(QFileInfo(scan.path).size()) / 1e6;
}
BENCHMARK(BM_CaptureOpenPng4000x3000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Qt's PNG reader alone on the same scan, for comparison: most of the opening is this.
static void BM_QtReadsPng4000x3000(benchmark::State &state)
{
    const ScannedDrawing scan;
    for (auto _ : state) {
        QImage image(scan.path);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QtReadsPng4000x3000)->Unit(benchmark::kMillisecond);

// 縮小して取りこむ of the whole scan: from the command, through the reduction, the staging and
// the model, to the repainted main window; the picture is already open.
static void BM_CaptureReduceWhole4000x3000(benchmark::State &state)
{
    const ScannedDrawing scan;
    ShownMain shown(scan.path);
    auto &[document, main, capture] = shown;
    for (auto _ : state) {
        std::chrono::steady_clock::time_point start;
        QTimer::singleShot(0, &main, [&] {
            QWidget *window = QApplication::activeModalWidget();
            if (!window) {
                QApplication::closeAllWindows();
                return;
            }
            window->findChild<QAction *>(QStringLiteral("selectAllAction"))->trigger();
            start = std::chrono::steady_clock::now();
            window->findChild<QAction *>(QStringLiteral("reduceAction"))->trigger();
        });
        capture->trigger();
        main.repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["points"] = double(document.model().count());
}
BENCHMARK(BM_CaptureReduceWhole4000x3000)->UseManualTime()->Unit(benchmark::kMillisecond);
