#include "file_lists.h"
#include "picture_file.h"
#include "window_test.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <optional>

namespace {

// Pictures written by scripts/make_capture_pictures.py and make_fuzz_pictures.py.
const QString kPictures = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/pictures/");

using Points = std::optional<std::pair<std::vector<Coords>, std::vector<Colour>>>;

// Drives the capture window of a program started with `picture`; gives what it imported.
Points inCapture(const QString &picture, const std::function<void(QDialog *)> &drive)
{
    Program program(picture);
    withModal<QDialog>([&] { trigger(&program.window, "captureAction"); }, drive);
    if (!program.document.hasModel())
        return std::nullopt;
    return std::pair {program.document.model().points, program.document.model().colours};
}

// What an import of the rectangle dragged from `from` to `to` gives, `scroll` done first.
Points importFrom(
    const QString &picture, QPoint from, QPoint to,
    const std::function<void(QDialog *)> &scroll = [](QDialog *) {})
{
    return inCapture(picture, [&](QDialog *capture) {
        scroll(capture);
        dragOver(child(capture, "picture"), from, to);
        trigger(capture, "importAction");
    });
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
    }

    // Each format gives the points that the same drawing gives as a bitmap.
    void sameAsBitmap_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("PNG") << "png-drawing.png";
        QTest::newRow("JPEG, in greys it keeps exactly") << "jpeg-grey-blocks-exact.jpg";
        QTest::newRow("GIF") << "gif-drawing.gif";
        QTest::newRow("animated GIF: the first frame") << "gif-drawing-animated.gif";
        QTest::newRow("TIFF") << "tiff-drawing-lzw.tif";
        QTest::newRow("WebP, lossless") << "webp-drawing-lossless.webp";
    }
    void sameAsBitmap()
    {
        QFETCH(QString, file);
        const auto expected = importFrom(
            kPictures + (file.contains("grey") ? "bmp-grey-blocks.bmp" : "bmp-drawing.bmp"), {},
            {85, 55});
        QVERIFY(expected && expected->first.size() > 300);
        QCOMPARE(importFrom(kPictures + file, {}, {85, 55}), expected);
    }

    // Transparent pixels are background: only the opaque ink, a 10 x 10 square, becomes points.
    void transparentIsBackground()
    {
        const auto model = importFrom(kPictures + "png-ink-on-transparent.png", {}, {75, 55});
        QVERIFY(model);
        QCOMPARE(model->second, std::vector<Colour>(100, 10 | 30 << 8 | 160 << 16));
    }

    // The open dialog lists every picture format; a file cut short is refused with a
    // message and the picture shown stays.
    void brokenRefused_data()
    {
        const QString unreadable = "画像として読み込めません。",
                      cut = "ファイルが途中で切れています。";
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("file"); // as listed: every extension the list takes
        QTest::addColumn<QString>("reason");
        QTest::newRow("PNG") << "png-rgb-cut-short.png"
                             << "broken.png" << cut;
        QTest::newRow("JPEG") << "jpeg-baseline-cut-short.jpg"
                              << "broken.jpeg" << cut;
        QTest::newRow("GIF") << "gif-still-cut-short.gif"
                             << "broken.gif" << cut;
        QTest::newRow("TIFF") << "tiff-lzw-cut-short.tif"
                              << "broken.tiff" << unreadable;
        QTest::newRow("WebP") << "webp-lossy-cut-short.webp"
                              << "broken.webp" << unreadable;
    }
    void brokenRefused()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QVERIFY(QFile::copy(kPictures + fixture, path(file)));
        MessageBoxes boxes;
        inCapture(kPictures + "bmp-drawing.bmp", [&](QDialog *capture) {
            const QImage before = shown(capture, "picture");
            withModal<QDialog>(
                [&] { trigger(capture, "openAction"); },
                [&](QDialog *dialog) {
                    auto *files = child<FileList>(dialog, "files");
                    // every file but notes.txt
                    QCOMPARE(files->count(), QDir().entryList(QDir::Files).size() - 1);
                    files->setCurrentItem(files->findItems(file, Qt::MatchExactly)[0]);
                });
            QVERIFY(samePicture(shown(capture, "picture"), before, "kept"));
        });
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].text.startsWith(
                     QString("ファイル %1 を読み込めません。\n%2").arg(path(file), reason)),
                 qPrintable(boxes.shown[0].text));
    }

    // Scrolled to its far corner, a large picture imports there as the same corner cut
    // out does at the top-left, and a selection too large there is refused as there.
    void scrolledCorner_data()
    {
        QTest::addColumn<QRect>("corner");
        QTest::newRow("140 x 110 in the far corner") << QRect(860, 690, 140, 110);
        QTest::newRow("192 across: too large") << QRect(808, 690, 192, 110);
    }
    void scrolledCorner()
    {
        QFETCH(QRect, corner);
        QVERIFY(writePicture(largePicture().copy(corner), path("corner.bmp")).ok());
        MessageBoxes boxes;
        const auto there = importFrom(
            path("large.bmp"), corner.topLeft(), corner.bottomRight(), [&](QDialog *capture) {
                auto *scroll = child<QScrollArea>(capture, "pictureScroll");
                for (QScrollBar *bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()})
                    bar->triggerAction(QAbstractSlider::SliderToMaximum);
                const QRegion seen = child(capture, "picture")->visibleRegion();
                QVERIFY(seen.contains(inBox(corner.topLeft()))
                        && seen.contains(inBox(corner.bottomRight())));
            });
        QCOMPARE(there,
                 importFrom(path("corner.bmp"), {}, corner.bottomRight() - corner.topLeft()));
        QCOMPARE(boxes.shown.size(), there ? 0 : 2);
        QCOMPARE(!there, corner.width() > 191);
    }

    // A drag past the edge of the view scrolls the picture, and goes on scrolling while
    // the pointer rests there.
    void dragPastEdgeScrolls()
    {
        inCapture(path("large.bmp"), [](QDialog *capture) {
            QScrollBar *bar = child<QScrollArea>(capture, "pictureScroll")->horizontalScrollBar();
            QWidget *box = child(capture, "picture");
            QTest::mousePress(box, Qt::LeftButton, {}, inBox({100, 100}));
            QTest::mouseMove(box, inBox({620, 100}));
            const int first = bar->value();
            QVERIFY(first > 0);
            QTRY_VERIFY(bar->value() > first + 20);
            QTest::mouseRelease(box, Qt::LeftButton, {}, inBox({620, 100}));
            const int released = bar->value();
            for (QTimer *timer : capture->findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
                if (QSignalSpy tick(timer, &QTimer::timeout); timer->isActive())
                    QVERIFY(tick.wait()); // the next step of a scroll still going
            QCOMPARE(bar->value(), released);
        });
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestCapturePictures)
#include "tst_capture_pictures.moc"
