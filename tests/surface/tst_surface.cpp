#include "image_surface.h"
#include "messages.h"
#include "picture_file.h"
#include "platform.h"
#include "readers.h"
#include "same_picture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

constexpr Colour kGrey = 0x00C0C0C0;
constexpr Colour kRed = 0x000000FF;

// A bitmap of `rows` rows with its pixel data cut short by `missingRows` rows.
static QByteArray cutShortBitmap(int width, int rows, int missingRows, bool topDown)
{
    QBuffer bitmap;
    QImage(width, rows, QImage::Format_RGB888).save(&bitmap, "BMP");
    QByteArray bytes = bitmap.data();
    const qint32 height = topDown ? -rows : rows; // negative: the rows run from the top
    bytes.replace(22, 4, reinterpret_cast<const char *>(&height), 4);
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    return bytes.left(bytes.size() - missingRows * rowBytes);
}

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    // The pixels a point covers, by its centre's pixel rounded half to even; size 1 is plot().
    // Halves, edges, NaN and infinities of size 1: tst_renderer's frontView and drawing.
    void points_data()
    {
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<int>("size");
        QTest::addColumn<QRect>("covered"); // before clipping to the 10 x 10 surface
        QTest::newRow("1: just below a half") << QPointF(3.4999998, 5) << 1 << QRect(3, 5, 1, 1);
        QTest::newRow("1: far beyond int") << QPointF(1e30, 5) << 1 << QRect();
        QTest::newRow("3: half to even, down") << QPointF(2.5, 4) << 3 << QRect(1, 3, 3, 3);
        QTest::newRow("2: one pixel before the centre") << QPointF(5, 5) << 2 << QRect(5, 5, 2, 2);
        QTest::newRow("4: just off the left edge") << QPointF(-1.4, 0) << 4 << QRect(-2, -1, 4, 4);
        QTest::newRow("4: just off the bottom right") << QPointF(10.4, 9) << 4 << QRect(9, 8, 4, 4);
        QTest::newRow("3: too far off to show") << QPointF(11.6, 5) << 3 << QRect();
    }
    void points()
    {
        QFETCH(QPointF, centre);
        QFETCH(int, size);
        QFETCH(QRect, covered);
        ImageSurface surface(10, 10, kGrey); // off the surface reads white
        const SurfacePoint point {float(centre.x()), float(centre.y())};
        const Colour red = kRed;
        if (size == 1)
            surface.plot(point.x, point.y, kRed);
        else
            surface.plotAll({&point, 1}, {&red, 1}, size);
        QImage expected = ImageSurface(10, 10, kGrey).image();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (covered.contains(x, y))
                    expected.setPixel(x, y, qRgb(255, 0, 0));
        QVERIFY(samePicture(surface.image(), expected, "surface"));
        if (size == 1)
            QCOMPARE(surface.pixel(point.x, point.y), covered.isEmpty() ? kWhite : kRed);
    }

    void box_data()
    {
        QTest::addColumn<QLineF>("corners");
        QTest::addColumn<QRect>("box"); // the outline before clipping
        QTest::newRow("mixed corners") << QLineF(6, 3, 2, 7) << QRect(2, 3, 5, 5);
        QTest::newRow("reversed, clipped") << QLineF(4, 20, -5, -5) << QRect(-5, -5, 10, 26);
    }
    void box()
    {
        QFETCH(QLineF, corners);
        QFETCH(QRect, box);
        ImageSurface surface(10, 10, kWhite);
        surface.drawBox(corners.x1(), corners.y1(), corners.x2(), corners.y2(), kBlue);
        QImage expected = ImageSurface(10, 10, kWhite).image();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (box.contains(x, y) && !box.adjusted(1, 1, -1, -1).contains(x, y))
                    expected.setPixel(x, y, qRgb(0, 0, 255));
        QVERIFY(samePicture(surface.image(), expected, "surface"));
    }

    // Another reader sees 24 bits a pixel and every pixel; the header says 96 dpi whatever
    // the screen (a 120-dpi one here), as the command line writes it.
    void savedPictureReadByPil()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("view.bmp");
        ImageSurface surface(7, 5, kWhite);
        surface.plot(0, 0, kRed);
        surface.plot(6, 4, kBlue);
        QImage onScreen = surface.image();
        onScreen.setDotsPerMeterX(4724);
        QVERIFY(writePicture(onScreen, path).ok());
        QCOMPARE(contents(path).mid(38, 8), QByteArray::fromHex("c40e0000c40e0000")); // 3780
        const ReadBack read = readBack("frames", path);
        REQUIRE_READ(read);
        QCOMPARE(read.seen["bits"].toInt(), 24);
        QVERIFY(samePicture(read.frame(0, 7, 5), surface.image(), "read by PIL"));
    }

    void readFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // "folder" and "missing" make no file
        QTest::addColumn<PictureError>("error");
        QTest::newRow("signature only") << QByteArray("BM") << PictureError::Unreadable;
        // Qt would show the missing rows as whatever memory held.
        QTest::newRow("rows cut short")
            << cutShortBitmap(100, 100, 98, false) << PictureError::Truncated;
        QTest::newRow("top-down, rows cut short")
            << cutShortBitmap(40, 30, 3, true) << PictureError::Truncated;
        QTest::newRow("narrow: padded rows cut short")
            << cutShortBitmap(3, 10, 2, false) << PictureError::Truncated;
        QTest::newRow("complete narrow bitmap")
            << cutShortBitmap(3, 10, 0, true) << PictureError::None;
        QTest::newRow("MNG the decoder reads as no picture")
            << QByteArray::fromHex("8a4d4e470d0a1a0a0000000000000000ffffff0055000000aa000000")
            << PictureError::Unreadable;
        const qint32 huge[2] = {16000, 16000}; // within Qt's own check
        QTest::newRow("header of 16000 x 16000: over the allocation limit")
            << cutShortBitmap(4, 4, 0, false)
                   .replace(18, 8, reinterpret_cast<const char *>(huge), 8)
            << PictureError::TooLarge;
        QTest::newRow("a folder") << QByteArray("folder") << PictureError::NotRegularFile;
        QTest::newRow("missing") << QByteArray("missing") << PictureError::NotFound;
    }
    void readFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(PictureError, error);
        QTemporaryDir dir;
        const QString path = content == "folder" ? dir.path() : dir.filePath("x.bmp");
        if (content != "folder" && content != "missing")
            QVERIFY(write(path, content));
        QCOMPARE(readPicture(path).result.error, error);
    }

    // Every picture of the BMP corpus beside the repository is shown or refused with a
    // message naming the file; none may crash, and no good one is refused.
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        const QDir suite(QStringLiteral(ZUVORAK_TESTDATA "/bmpsuite"));
        if (!suite.exists())
            QSKIP("the BMP corpus is not present beside the repository");
        for (const QString folder : {"g", "q", "b", "x"})
            for (const QFileInfo &file : QDir(suite.filePath(folder)).entryInfoList({"*.bmp"}))
                QTest::newRow(qPrintable(folder + '/' + file.fileName())) << file.filePath();
    }
    void corpus()
    {
        QFETCH(QString, path);
        const DecodedPicture decoded = readPicture(path);
        if (decoded.result.ok()) {
            ImageSurface surface(581, 413, 0x00F0F0F0);
            surface.showPicture(decoded.image);
            QCOMPARE(surface.image().pixel(0, 0), decoded.image.pixel(0, 0));
            return;
        }
        QVERIFY2(QTest::currentDataTag()[0] != 'g', decoded.result.detail.c_str());
        QVERIFY(pictureFailureText(path, decoded.result, false).contains(path));
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
