#include "colour.h"
#include "image_surface.h"
#include "picture_file.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

class TestSurface : public QObject
{
    Q_OBJECT

private slots:
    void colourConversion_data();
    void colourConversion();
    void psetRounding_data();
    void psetRounding();
    void psetIgnoresOutside_data();
    void psetIgnoresOutside();
    void pointOutsideIsWhite();
    void clsShowsBackground();
    void boxLine_data();
    void boxLine();
    void saveWritesReadable24BitBmp();
    void loadFailures_data();
    void loadFailures();
    void loadShowsPictureFromTopLeft();
};

void TestSurface::colourConversion_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<uint>("rgb");
    QTest::newRow("pure red sits in the low byte") << 0x0000FF << 0xFFFF0000u;
    QTest::newRow("pure blue sits in the high byte") << 0xFF0000 << 0xFF0000FFu;
    QTest::newRow("mixed, red and blue differ") << 0x123456 << 0xFF563412u;
    QTest::newRow("white") << 0xFFFFFF << 0xFFFFFFFFu;
}

void TestSurface::colourConversion()
{
    QFETCH(int, colour);
    QFETCH(uint, rgb);
    QCOMPARE(toQRgb(colour), rgb);
    QCOMPARE(fromQRgb(rgb), colour);

    ImageSurface surface(4, 4, kWhite);
    surface.PSet(1, 2, colour);
    QCOMPARE(surface.image().pixel(1, 2), rgb);
    QCOMPARE(surface.Point(1, 2), colour);
}

void TestSurface::psetRounding_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("pixel");
    QTest::newRow("below half rounds down") << 2.4f << 2;
    QTest::newRow("above half rounds up") << 2.6f << 3;
    QTest::newRow("half rounds to even, down") << 2.5f << 2;
    QTest::newRow("half rounds to even, up") << 3.5f << 4;
    QTest::newRow("just left of the edge lands on 0") << -0.4f << 0;
    QTest::newRow("just inside the right edge") << 9.4f << 9;
}

void TestSurface::psetRounding()
{
    QFETCH(float, x);
    QFETCH(int, pixel);
    ImageSurface surface(10, 10, kWhite);
    surface.PSet(x, 5.0f, 0);
    for (int px = 0; px < 10; ++px)
        QCOMPARE(surface.Point(float(px), 5.0f), px == pixel ? 0 : kWhite);
}

void TestSurface::psetIgnoresOutside_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("left of the area") << -0.6f << 5.0f;
    QTest::newRow("past the right edge") << 9.6f << 5.0f;
    QTest::newRow("below the bottom") << 5.0f << 10.0f;
    QTest::newRow("NaN x") << std::numeric_limits<float>::quiet_NaN() << 5.0f;
    QTest::newRow("NaN y") << 5.0f << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("infinity") << inf << 5.0f;
    QTest::newRow("minus infinity") << 5.0f << -inf;
    QTest::newRow("far beyond int") << 1e30f << -1e30f;
}

void TestSurface::psetIgnoresOutside()
{
    QFETCH(float, x);
    QFETCH(float, y);
    ImageSurface surface(10, 10, kWhite);
    const QImage before = surface.image();
    surface.PSet(x, y, 0);
    QCOMPARE(surface.image(), before);
    QCOMPARE(surface.Point(x, y), kWhite);
}

void TestSurface::pointOutsideIsWhite()
{
    ImageSurface surface(5, 5, 0x00C0C0C0);
    QCOMPARE(surface.Point(2, 2), 0x00C0C0C0);
    QCOMPARE(surface.Point(-1, 2), kWhite);
    QCOMPARE(surface.Point(2, 5), kWhite);
}

void TestSurface::clsShowsBackground()
{
    ImageSurface surface(6, 3, 0x00E0E0E0);
    surface.PSet(1, 1, 0);
    surface.Line(0, 0, 5, 2, kBlue);
    surface.Cls();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(surface.Point(float(x), float(y)), 0x00E0E0E0);
}

void TestSurface::boxLine_data()
{
    QTest::addColumn<QRectF>("corners"); // x1, y1 as topLeft, x2, y2 as bottomRight
    QTest::addColumn<QRect>("box");      // expected outline, before clipping
    QTest::newRow("ordered corners") << QRectF(QPointF(2, 3), QPointF(6, 7)) << QRect(QPoint(2, 3), QPoint(6, 7));
    QTest::newRow("corners reversed") << QRectF(QPointF(6, 7), QPointF(2, 3)) << QRect(QPoint(2, 3), QPoint(6, 7));
    QTest::newRow("mixed corners") << QRectF(QPointF(6, 3), QPointF(2, 7)) << QRect(QPoint(2, 3), QPoint(6, 7));
    QTest::newRow("clipped at the edges") << QRectF(QPointF(-5, -5), QPointF(4, 20)) << QRect(QPoint(-5, -5), QPoint(4, 20));
    QTest::newRow("zero size is one pixel") << QRectF(QPointF(4, 4), QPointF(4, 4)) << QRect(QPoint(4, 4), QPoint(4, 4));
}

void TestSurface::boxLine()
{
    QFETCH(QRectF, corners);
    QFETCH(QRect, box);
    ImageSurface surface(10, 10, kWhite);
    surface.Line(float(corners.left()), float(corners.top()), float(corners.right()),
                 float(corners.bottom()), kBlue);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool onOutline = box.contains(x, y)
                                   && (x == box.left() || x == box.right() || y == box.top()
                                       || y == box.bottom());
            QVERIFY2(surface.Point(float(x), float(y)) == (onOutline ? kBlue : kWhite),
                     qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void TestSurface::saveWritesReadable24BitBmp()
{
    QTemporaryDir dir;
    ImageSurface surface(7, 5, kWhite);
    surface.PSet(0, 0, 0x000000FF); // red
    surface.PSet(6, 4, 0x00FF0000); // blue
    const QString path = dir.filePath(QStringLiteral("view.bmp"));
    QVERIFY(surface.SavePicture(path.toStdString()).ok());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    QCOMPARE(header.left(2), QByteArray("BM"));
    QCOMPARE(int(uchar(header[28])) | int(uchar(header[29])) << 8, 24);

    // An independent reader must see the same pixels.
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        QSKIP("Debian's python3 is not installed");
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import sys; from PIL import Image; im = Image.open(sys.argv[1]);"
                                         "print(im.size, im.getpixel((0, 0)), im.getpixel((6, 4)), im.getpixel((3, 2)))"),
                          path});
    QVERIFY(reader.waitForFinished(30000));
    if (reader.exitCode() != 0 && reader.readAllStandardError().contains("PIL"))
        QSKIP("python3-pil is not installed");
    QCOMPARE(reader.readAllStandardOutput().trimmed(),
             QByteArray("(7, 5) (255, 0, 0) (0, 0, 255) (255, 255, 255)"));
}

void TestSurface::loadFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: make a folder instead of a file
    QTest::addColumn<int>("error");
    QTest::newRow("not a bitmap") << QByteArray("hello, not a picture") << int(PictureError::Unreadable);
    QTest::newRow("truncated bitmap") << QByteArray("BM\x36\x00\x00\x00", 6) << int(PictureError::Unreadable);
    QTest::newRow("a folder") << QByteArray() << int(PictureError::NotRegularFile);
}

void TestSurface::loadFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    if (content.isEmpty()) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("x.bmp")));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ImageSurface surface(8, 8, 0x00D0D0D0);
    surface.PSet(3, 3, 0);
    const PictureResult result = surface.LoadPicture(path.toStdString());
    QCOMPARE(int(result.error), error);
    QCOMPARE(surface.Point(3, 3), 0x00D0D0D0); // background again
    QCOMPARE(int(surface.LoadPicture(dir.filePath(QStringLiteral("missing.bmp")).toStdString()).error),
             int(PictureError::NotFound));
}

void TestSurface::loadShowsPictureFromTopLeft()
{
    QTemporaryDir dir;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    const QString path = dir.filePath(QStringLiteral("p.bmp"));
    QVERIFY(picture.save(path));
    ImageSurface surface(5, 5, kWhite);
    QVERIFY(surface.LoadPicture(path.toStdString()).ok());
    QCOMPARE(surface.Point(2, 1), 0x001E140A);
    QCOMPARE(surface.Point(3, 1), kWhite); // beyond the picture: background
    QCOMPARE(surface.Point(2, 2), kWhite);
}

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
