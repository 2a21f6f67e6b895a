#include "colour.h"
#include "image_surface.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(PictureError)

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
        QTest::newRow("just left of the edge lands on 0") << -0.4f << 0;
        QTest::newRow("just inside the right edge") << 9.4f << 9;
        QTest::newRow("left of the area") << -0.6f << -1;
        QTest::newRow("past the right edge") << 9.6f << -1;
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << -1;
        QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity() << -1;
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
        QTest::newRow("corners reversed") << QLineF(6, 7, 2, 3) << QRect(2, 3, 5, 5);
        QTest::newRow("mixed corners") << QLineF(6, 3, 2, 7) << QRect(2, 3, 5, 5);
        QTest::newRow("clipped at the edges") << QLineF(-5, -5, 4, 20) << QRect(-5, -5, 10, 26);
    }
    void boxLine()
    {
        QFETCH(QLineF, corners);
        QFETCH(QRect, box);
        ImageSurface surface(10, 10, kWhite);
        surface.Line(corners.x1(), corners.y1(), corners.x2(), corners.y2(), kBlue);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool outline
                    = box.contains(x, y) && !box.adjusted(1, 1, -1, -1).contains(x, y);
                QVERIFY2(surface.Point(x, y) == (outline ? kBlue : kWhite),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void saveThenLoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("view.bmp"));
        ImageSurface surface(7, 5, kWhite);
        surface.PSet(0, 0, kRed);
        surface.PSet(6, 4, kBlue);
        QVERIFY(surface.SavePicture(path.toStdString()).ok());

        ImageSurface larger(9, 9, kGrey);
        QVERIFY(larger.LoadPicture(path.toStdString()).ok());
        QCOMPARE(larger.Point(6, 4), kBlue);

        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral(
                          "import sys; from PIL import Image; im = Image.open(sys.argv[1]);"
                          "print(open(sys.argv[1], 'rb').read()[28], im.size, im.getpixel((0, 0)),"
                          "im.getpixel((6, 4)))"),
                      path});
        if (!reader.waitForFinished(30000) || reader.readAllStandardError().contains("No module"))
            QSKIP("python3 with PIL is not available");
        QCOMPARE(reader.readAllStandardOutput().trimmed(),
                 QByteArray("24 (7, 5) (255, 0, 0) (0, 0, 255)"));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // "folder" and "missing" make no file
        QTest::addColumn<PictureError>("error");
        QTest::newRow("not a bitmap") << QByteArray("hello") << PictureError::Unreadable;
        QTest::newRow("header cut short")
            << QByteArray("BM\x36\x00\x00\x00", 6) << PictureError::Unreadable;
        // Qt would show the missing rows as whatever memory held.
        QByteArray bitmap;
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        QImage picture(100, 100, QImage::Format_RGB888);
        picture.fill(Qt::green);
        picture.save(&buffer, "BMP");
        QTest::newRow("pixel rows cut short") << bitmap.left(60) << PictureError::Truncated;
        QTest::newRow("a folder") << QByteArray("folder") << PictureError::NotRegularFile;
        QTest::newRow("missing") << QByteArray("missing") << PictureError::NotFound;
    }
    void loadFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(PictureError, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.bmp"));
        QFile file(path);
        if (content == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (content != "missing")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        ImageSurface surface(8, 8, kGrey);
        surface.PSet(3, 3, 0);
        QCOMPARE(surface.LoadPicture(path.toStdString()).error, error);
        QCOMPARE(surface.Point(3, 3), kGrey);
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
