#include "file_lists.h"
#include "picture_file.h"
#include "window_test.h"

#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <optional>

namespace {

// What an import of the rectangle dragged from `from` to `to` gives through the capture
// window, `scroll` done first there; nothing when the import was refused.
std::optional<Model> importFrom(const QString &picture, QPoint from, QPoint to,
                                const std::function<void(QDialog *)> &scroll = {})
{
    Program program(picture);
    withModal<QDialog>([&] { trigger(&program.window, "captureAction"); },
                       [&](QDialog *capture) {
                           if (scroll)
                               scroll(capture);
                           dragOver(child(capture, "picture"), from, to);
                           trigger(capture, "importAction");
                       });
    if (!program.document.hasModel())
        return std::nullopt;
    return program.document.model();
}

bool sameModel(const std::optional<Model> &a, const std::optional<Model> &b)
{
    return a.has_value() == b.has_value()
           && (!a || (a->points == b->points && a->colours == b->colours));
}

// 1000 x 800 pixels of many colours, dark and light.
QImage largePicture()
{
    QImage picture(1000, 800, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             (x * 7 + y * 3) % 11 < 4
                                 ? qRgb(x * 13 % 190, y * 7 % 190, (x + y) % 190)
                                 : qRgb(255, 250, 230));
    return picture;
}

} // namespace

// The capture window's pictures in every format it opens, and pictures larger than its view.
class TestCapturePictures : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString path(const QString &name) const { return dir_.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(dir_.path())); // where the open dialog starts
        QVERIFY(writePicture(largePicture(), path("large.bmp")).ok());
        QVERIFY(QFile(path("notes.txt")).open(QIODevice::WriteOnly));
        QProcess writer;
        writer.start("/usr/bin/python3",
                     {ZUVORAK_SOURCE_DIR "/tests/windows/write_pictures.py", dir_.path()});
        QVERIFY(writer.waitForFinished(60000));
        const QByteArray errors = writer.readAllStandardError();
        if (writer.exitCode() != 0 && errors.contains("No module named"))
            QSKIP("Python's PIL is not installed");
        QVERIFY2(writer.exitCode() == 0, errors.constData());
    }

    // Each format gives the points that the same drawing gives as a bitmap.
    void sameAsBitmap_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("bitmap");
        QTest::newRow("PNG") << "drawing.png"
                             << "drawing.bmp";
        QTest::newRow("JPEG, in greys it keeps exactly") << "grey.jpg"
                                                         << "grey.bmp";
        QTest::newRow("GIF") << "drawing.gif"
                             << "drawing.bmp";
        QTest::newRow("animated GIF: the first frame") << "animated.gif"
                                                       << "drawing.bmp";
        QTest::newRow("TIFF") << "drawing.tif"
                              << "drawing.bmp";
        QTest::newRow("WebP, lossless") << "drawing.webp"
                                        << "drawing.bmp";
    }
    void sameAsBitmap()
    {
        QFETCH(QString, file);
        QFETCH(QString, bitmap);
        const std::optional<Model> expected = importFrom(path(bitmap), {0, 0}, {85, 55});
        QVERIFY(expected && expected->count() > 300);
        QVERIFY(sameModel(importFrom(path(file), {0, 0}, {85, 55}), expected));
    }

    // Transparent pixels are background: only the opaque ink becomes points.
    void transparentIsBackground()
    {
        const std::optional<Model> model = importFrom(path("transparent.png"), {0, 0}, {75, 55});
        QVERIFY(model);
        QCOMPARE(model->count(), 100); // the 10 x 10 square
        QCOMPARE(model->colours, std::vector<Colour>(100, 10 | 30 << 8 | 160 << 16));
    }

    // The open dialog lists every picture format; a file cut short is refused with a
    // message and the picture shown stays.
    void brokenRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("PNG") << "broken.png"
                             << "画像として読み込めません。";
        QTest::newRow("JPEG") << "broken.jpeg"
                              << "ファイルが途中で切れています。";
        QTest::newRow("GIF") << "broken.gif"
                             << "ファイルが途中で切れています。";
        QTest::newRow("TIFF") << "broken.tiff"
                              << "画像として読み込めません。";
        QTest::newRow("WebP") << "broken.webp"
                              << "画像として読み込めません。";
    }
    void brokenRefused()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        Program program(path("drawing.bmp"));
        MessageBoxes boxes;
        withModal<QDialog>([&] { trigger(&program.window, "captureAction"); },
                           [&](QDialog *capture) {
                               const QImage before = shown(capture, "picture");
                               withModal<QDialog>(
                                   [&] { trigger(capture, "openAction"); },
                                   [&](QDialog *dialog) {
                                       auto *files = child<FileList>(dialog, "files");
                                       QStringList listed;
                                       for (int row = 0; row < files->count(); ++row)
                                           listed << files->item(row)->text();
                                       // every file but notes.txt
                                       QCOMPARE(listed.size(),
                                                QDir().entryList(QDir::Files).size() - 1);
                                       files->setCurrentRow(int(listed.indexOf(file)));
                                   });
                               QCOMPARE(shown(capture, "picture"), before);
                           });
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, "エラーメッセージ");
        QVERIFY2(boxes.shown[0].text.startsWith(
                     QString("ファイル %1 を読み込めません。\n%2").arg(path(file), reason)),
                 qPrintable(boxes.shown[0].text));
    }

    // Scrolled to its far corner, a large picture imports there as the same corner cut
    // out does at the top-left, and a selection too large there is refused as there.
    void scrolledCorner_data()
    {
        QTest::addColumn<QRect>("corner");
        QTest::addColumn<bool>("refused");
        QTest::newRow("140 x 110 in the far corner") << QRect(860, 690, 140, 110) << false;
        QTest::newRow("192 across: too large") << QRect(808, 690, 192, 110) << true;
    }
    void scrolledCorner()
    {
        QFETCH(QRect, corner);
        QFETCH(bool, refused);
        const QString cut = path("corner.bmp");
        QVERIFY(writePicture(largePicture().copy(corner), cut).ok());
        MessageBoxes boxes;
        const std::optional<Model> there = importFrom(
            path("large.bmp"), corner.topLeft(), corner.bottomRight(), [&](QDialog *capture) {
                auto *scroll = child<QScrollArea>(capture, "pictureScroll");
                for (QScrollBar *bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()})
                    bar->triggerAction(QAbstractSlider::SliderToMaximum);
                const QRegion seen = child(capture, "picture")->visibleRegion();
                QVERIFY(seen.contains(inBox(corner.topLeft()))
                        && seen.contains(inBox(corner.bottomRight())));
            });
        QCOMPARE(!there, refused);
        QVERIFY(sameModel(there, importFrom(cut, {0, 0}, corner.bottomRight() - corner.topLeft())));
        QCOMPARE(boxes.shown.size(), refused ? 2 : 0);
    }

    // A drag past the edge of the view scrolls the picture, and goes on scrolling while
    // the pointer rests there.
    void dragPastEdgeScrolls()
    {
        Program program(path("large.bmp"));
        withModal<QDialog>(
            [&] { trigger(&program.window, "captureAction"); },
            [&](QDialog *capture) {
                QScrollBar *bar
                    = child<QScrollArea>(capture, "pictureScroll")->horizontalScrollBar();
                QWidget *box = child(capture, "picture");
                QTest::mousePress(box, Qt::LeftButton, {}, inBox({100, 100}));
                QTest::mouseMove(box, inBox({620, 100}));
                const int first = bar->value();
                QVERIFY(first > 0);
                QTRY_VERIFY(bar->value() > first + 20);
                QTest::mouseRelease(box, Qt::LeftButton, {}, inBox({620, 100}));
                const int released = bar->value();
                QTest::qWait(100);
                QCOMPARE(bar->value(), released);
            });
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestCapturePictures)
#include "tst_capture_pictures.moc"
