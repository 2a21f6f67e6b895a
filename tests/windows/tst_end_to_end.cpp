#include "window_test.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>

#include <zlib.h>

namespace {

// The sample picture the walk starts from: dark shapes in three colours on white.
QImage samplePicture()
{
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 40; y < 60; ++y)
        for (int x = 50; x < 80; ++x)
            picture.setPixel(x, y, qRgb(200, 20, 20));
    for (int y = 62; y < 80; ++y)
        for (int x = 90; x < 100; ++x)
            picture.setPixel(x, y, qRgb(10, 30, 160));
    for (int x = 45; x < 110; ++x)
        picture.setPixel(x, 85, qRgb(0, 0, 0));
    picture.setPixel(60, 70, qRgb(191, 255, 255)); // just dark enough
    picture.setPixel(61, 70, qRgb(192, 192, 192)); // light grey: background
    return picture;
}

void append(QByteArray &bytes, const void *data, int size)
{
    bytes.append(static_cast<const char *>(data), size);
}

// The model file that capturing (left, top)-(right, bottom) of the picture, raising the red
// block to 40 and then turning, mirroring and moving it right and up must give, worked out
// from the picture's pixels: the inside of the outline taken column by column, each point
// shifted by a third of the view, then (x, y) becomes (y + 10, x + 10).
QByteArray expectedFile(const QImage &picture, int left, int top, int right, int bottom)
{
    QByteArray records;
    QByteArray colours;
    qint32 count = 0;
    for (int j = 1; j < right - left; ++j) {
        for (int i = 0; i <= bottom - top - 2; ++i) {
            const QRgb rgb = picture.pixel(left + j, top + 1 + i);
            if (qRed(rgb) >= 192 && qGreen(rgb) >= 192 && qBlue(rgb) >= 192)
                continue;
            const double x = j - 130 + 87;
            const double y = 130 - i - 87;
            const double point[3] = {rgb == qRgb(200, 20, 20) ? 40.0 : 0.0, y + 10, x + 10};
            append(records, point, sizeof point);
            const qint32 colour = qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
            append(colours, &colour, 4);
            ++count;
        }
    }
    QByteArray file;
    append(file, &count, 4);
    file += records;
    QByteArray block = "ZCOL";
    append(block, &count, 4);
    block += colours;
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size())));
    append(block, &crc, 4);
    return file + block;
}

} // namespace

// The typical use from the first click to the saved files, through real clicks and actions.
class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void typicalUse()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path())); // where the dialogs start
        const QImage picture = samplePicture();
        QVERIFY(picture.save(dir.filePath("drawing.bmp")));
        Program program(dir.filePath("drawing.bmp"));
        QWidget *window = &program.window;

        // Capture: drag a rectangle from lower right to upper left and import it.
        withModal<QDialog>([&] { trigger(window, "captureAction"); },
                           [](QDialog *capture) {
                               dragOver(child(capture, "picture"), {120, 90}, {40, 30});
                               trigger(capture, "importAction");
                           });
        QVERIFY(child(window, "moveUp")->isEnabled());
        QVERIFY(program.document.model().count() > 500);
        QCOMPARE(shown(window, "staging").pixel(20, 10), picture.pixel(60, 41));

        // Raise the red block, drawn at (97, 96) .. (126, 115), with the depth tool.
        child<QScrollBar>(window, "depthSlider")->setValue(40);
        dragOver(child(window, "view"), {96, 95}, {127, 116});
        click(window, "applyDepth");

        // Turn with the buttons and let the animation run a few frames.
        for (const char *button : {"turnLeft5", "turnLeft5", "turnUp1"})
            click(window, button);
        QCOMPARE(text(window, "turnAngle") + ' ' + text(window, "tiltAngle"), "10 1");
        click(window, "animation");
        QTRY_COMPARE_WITH_TIMEOUT(program.document.animationPhase(), 3, 5000);
        click(window, "animation");

        // Turn 90 degrees, mirror and move right and up.
        trigger(window, "quarterTurnAction");
        trigger(window, "mirrorAction");
        click(window, "moveRight");
        click(window, "moveUp");
        const QImage shownView = shown(window, "view");

        // Save the model and the view, typing the names into the save dialog.
        for (const auto &[action, name] :
             {std::pair("saveAsAction", "relief"), std::pair("saveBitmapAction", "view")})
            withModal<QDialog>([&] { trigger(window, action); },
                               [name = name](QDialog *dialog) {
                                   child<QLineEdit>(dialog, "name")->setText(name);
                                   click(dialog, "saveButton");
                               });
        QFile model(dir.filePath("relief.chs"));
        QVERIFY(model.open(QIODevice::ReadOnly));
        QCOMPARE(model.readAll(), expectedFile(picture, 40, 30, 120, 90));
        QCOMPARE(shownTitle(window), "relief.chs - ZUVORAK");
        QVERIFY(samePicture(QImage(dir.filePath("view.bmp")), shownView, "saved-view"));

        // Open the model again in a fresh program: the same view.
        Program fresh;
        withModal<QDialog>([&] { trigger(&fresh.window, "openAction"); },
                           [](QDialog *dialog) {
                               auto *files = child<QListWidget>(dialog, "files");
                               files->setCurrentItem(
                                   files->findItems("relief.chs", Qt::MatchExactly)[0]);
                           });
        QCOMPARE(shownTitle(&fresh.window), "relief.chs- ZUVORAK");
        QVERIFY(samePicture(shown(&fresh.window, "view"), shownView, "reopened"));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestEndToEnd)
#include "tst_end_to_end.moc"
