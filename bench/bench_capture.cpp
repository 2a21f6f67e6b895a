#include "form1.h"
#include "form4.h"
#include "picture_box.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

// A full-size capture picture, dark almost everywhere, so that an import
// turns nearly every pixel of the selection into a point.
class CapturePicture {
public:
    CapturePicture()
    {
        QImage image(581, 413, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb((x * 7) % 160, (y * 5) % 160, (x + y) % 160));
        path_ = dir_.filePath(QStringLiteral("capture.bmp"));
        image.save(path_, "BMP");
        Form4::setStartPicture(path_);
    }
    ~CapturePicture() { Form4::setStartPicture({}); }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace

// One mouse move of a drag: restore the picture, draw the outline, repaint.
static void BM_CaptureDragMove(benchmark::State &state)
{
    CapturePicture picture;
    auto program = std::make_unique<ProgramState>();
    Form1 main(*program);
    Form4 capture(*program, main);
    capture.show();
    QApplication::processEvents();

    capture.Picture1_MouseDown(1, 0, 20, 20);
    int step = 0;
    for (auto _ : state) {
        const float offset = float(step++ % 100);
        capture.Picture1_MouseMove(1, 0, 200 + offset, 180 + offset);
        capture.picture1()->repaint();
    }
    capture.Picture1_MouseUp(1, 0, 200, 180);
}
BENCHMARK(BM_CaptureDragMove)->Unit(benchmark::kMillisecond);

// A whole import of a 190 x 188 selection: timed from the import command to
// the repainted main window, without the opening of the capture window.
static void BM_CaptureImport190x188(benchmark::State &state)
{
    CapturePicture picture;
    auto program = std::make_unique<ProgramState>();
    Form1 main(*program);
    main.show();
    QApplication::processEvents();

    for (auto _ : state) {
        std::chrono::steady_clock::time_point start;
        QTimer::singleShot(0, &main, [&] {
            auto *capture = qobject_cast<Form4 *>(QApplication::activeModalWidget());
            if (!capture) {
                QApplication::closeAllWindows();
                return;
            }
            capture->Picture1_MouseDown(1, 0, 300, 210);
            capture->Picture1_MouseMove(1, 0, 110, 20);
            capture->Picture1_MouseUp(1, 0, 110, 20);
            start = std::chrono::steady_clock::now();
            capture->mnuTorikomi_Click();
        });
        main.mnuBuhin_Click();
        main.picture1()->repaint();
        main.picture2()->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (program->importHeight != 188 || program->pointCount == 0)
            state.SkipWithError("the selection was not imported");
    }
    state.counters["points"] = double(program->pointCount);
}
BENCHMARK(BM_CaptureImport190x188)->UseManualTime()->Unit(benchmark::kMillisecond);
