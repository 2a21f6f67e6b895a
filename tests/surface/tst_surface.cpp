#include "image_surface.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

constexpr Colour kGrey = 0x00C0C0C0;
constexpr Colour kRed = 0x000000FF;

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    // Which pixel of row 5 PSet(x, 5) sets in red; -1: none, and Point(x, 5) reads white.
    void pset_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("pixel");
        QTest::newRow("half rounds to even, down") << 2.5f << 2;
        QTest::newRow("half rounds to even, up") << 3.5f << 4;
        QTest::newRow("past the right edge") << 9.6f << -1;
        QTest::newRow("NaN") << std::nanf("") << -1;
        QTest::newRow("minus infinity") << -HUGE_VALF << -1;
        QTest::newRow("far beyond int") << 1e30f << -1;
    }
    void pset()
    {
        QFETCH(float, x);
        QFETCH(int, pixel);
        ImageSurface surface(10, 10, kGrey);
        QImage expected = surface.image();
        surface.PSet(x, 5, kRed);
        if (pixel >= 0)
            expected.setPixel(pixel, 5, qRgb(255, 0, 0));
        QCOMPARE(surface.image(), expected);
        QCOMPARE(surface.Point(x, 5), pixel >= 0 ? kRed : kWhite);
    }

    void boxLine_data()
    {
        QTest::addColumn<QLineF>("corners");
        QTest::addColumn<QRect>("box"); // the outline before clipping
        QTest::newRow("mixed corners") << QLineF(6, 3, 2, 7) << QRect(2, 3, 5, 5);
        QTest::newRow("reversed, clipped") << QLineF(4, 20, -5, -5) << QRect(-5, -5, 10, 26);
    }
    void boxLine()
    {
        QFETCH(QLineF, corners);
        QFETCH(QRect, box);
        ImageSurface surface(10, 10, kWhite);
        surface.Line(corners.x1(), corners.y1(), corners.x2(), corners.y2(), kBlue);
        QImage expected = ImageSurface(10, 10, kWhite).image();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (box.contains(x, y) && !box.adjusted(1, 1, -1, -1).contains(x, y))
                    expected.setPixel(x, y, qRgb(0, 0, 255));
        QCOMPARE(surface.image(), expected);
    }

    // Another reader sees 24 bits a pixel, the size, red at the top left and blue bottom right.
    void savedPictureReadByPil()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("view.bmp");
        ImageSurface surface(7, 5, kWhite);
        surface.PSet(0, 0, kRed);
        surface.PSet(6, 4, kBlue);
        QVERIFY(surface.SavePicture(path.toStdString()).ok());
        const char *script
            = "import sys; from PIL import Image; f = sys.argv[1]; im = Image.open(f);"
              "print(open(f, 'rb').read()[28], im.size, im.getpixel((0, 0)), im.getpixel((6, 4)))";
        QProcess reader;
        reader.start("/usr/bin/python3", {"-c", script, path});
        if (!reader.waitForFinished(30000) || reader.readAllStandardError().contains("No module"))
            QSKIP("python3 with PIL is not available");
        QCOMPARE(reader.readAllStandardOutput(), QByteArray("24 (7, 5) (255, 0, 0) (0, 0, 255)\n"));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // "folder" and "missing" make no file
        QTest::addColumn<PictureError>("error");
        QTest::newRow("signature only") << QByteArray("BM") << PictureError::Unreadable;
        QBuffer bitmap; // Qt would show the missing rows as whatever memory held
        ImageSurface(100, 100, kWhite).image().save(&bitmap, "BMP");
        QTest::newRow("pixel rows cut short") << bitmap.data().left(60) << PictureError::Truncated;
        QTest::newRow("MNG the decoder reads as no picture")
            << QByteArray::fromHex("8a4d4e470d0a1a0a0000000000000000ffffff0055000000aa000000")
            << PictureError::Unreadable;
        QTest::newRow("a folder") << QByteArray("folder") << PictureError::NotRegularFile;
        QTest::newRow("missing") << QByteArray("missing") << PictureError::NotFound;
    }
    void loadFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(PictureError, error);
        QTemporaryDir dir;
        const QString path = content == "folder" ? dir.path() : dir.filePath("x.bmp");
        QFile file(path);
        if (content != "folder" && content != "missing")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QCOMPARE(ImageSurface(8, 8, kGrey).LoadPicture(path.toStdString()).error, error);
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
