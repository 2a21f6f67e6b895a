#include "picture_file.h"
#include "readers.h"
#include "same_picture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A 4 x 4 red bitmap of 32 bits a pixel whose alpha mask is declared and every alpha byte 0.
QByteArray zeroAlphaBitmap()
{
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << 122 + 64 << 0 << 122 << 108 << 4 << 4 << quint16(1) << quint16(32) << 3 << 64 << 2835
        << 2835 << 0 << 0 << 0x00FF0000 << 0x0000FF00 << 0x000000FF << quint32(0xFF000000)
        << 0x73524742;
    for (int i = 0; i < 12; ++i) // colour end points and gamma, unused for sRGB
        out << 0;
    for (int i = 0; i < 16; ++i)
        out << 0x00FF0000;
    return bytes;
}

// A 64 x 64 grey JPEG with two stray bytes before a segment, which decoders skip.
QByteArray jpegWithStrayBytes()
{
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(qRgb(128, 128, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    return bytes.insert(bytes.indexOf("\xff\xdb"), QByteArray(2, '\0'));
}

// A noisy 64 x 64 JPEG, as Qt writes it.
QByteArray noisyJpeg()
{
    QImage picture(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i)
        picture.setPixel(i % 64, i / 64, qRgb(i * 7 % 256, i * 13 % 256, i % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    return bytes;
}

// The JPEG's data cut at half, with an end marker after it: the decoder would fill in grey.
QByteArray jpegCutWithEndMarker()
{
    return noisyJpeg().left(noisyJpeg().size() / 2) + "\xff\xd9";
}

// The JPEG's frame header claiming 1000 x 1000 pixels over 64 x 64 of data.
QByteArray jpegLargerThanItsData()
{
    QByteArray bytes = noisyJpeg();
    const qsizetype frame = bytes.indexOf("\xff\xc0") + 5; // after marker, length, precision
    return bytes.replace(frame, 4, QByteArray::fromHex("03e803e8"));
}

// The JPEG with 500 more scans, each a header without data, before its end marker.
QByteArray jpegOfManyScans()
{
    QByteArray bytes = noisyJpeg();
    const qsizetype scan = bytes.indexOf("\xff\xda");
    const QByteArray header
        = bytes.mid(scan, 2 + (quint8(bytes[scan + 2]) << 8 | quint8(bytes[scan + 3])));
    return bytes.insert(bytes.size() - 2, header.repeated(500));
}

// A PNG of 16 bits a channel, which Qt decodes to 8 bytes a pixel.
QByteArray png16(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGBA64);
    picture.fill(QColor(10, 20, 30, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A GIF of a 16 x 16 canvas whose only frame claims 65535 x 8192 pixels (2 GB decoded).
QByteArray gifWithHugeFrame()
{
    return QByteArray::fromHex("474946383961"
                               "10001000000000" // header, 16 x 16 canvas
                               "2c00000000ffff002080"
                               "ffffff000000" // frame, two colours
                               "02024c01003b");
}

// Palette entry i is (i, i, 0): never white, so a pixel left unset shows.
QRgb paletteColour(int index)
{
    return qRgb(index, index, 0);
}

// An 8 x 4 bottom-up bitmap, RLE8 for 8 bits a pixel, RLE4 for 4.
QByteArray rleBitmap(int bitsPerPixel, const QByteArray &stream)
{
    const int colours = 1 << bitsPerPixel, offset = 14 + 40 + 4 * colours,
              size = int(stream.size());
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << offset + size << 0 << offset << 40 << 8 << 4 << quint16(1) << quint16(bitsPerPixel)
        << (bitsPerPixel == 8 ? 1 : 2) << size << 0 << 0 << colours << 0;
    for (int i = 0; i < colours; ++i)
        out << quint32(paletteColour(i) & 0xFFFFFF);
    return bytes + stream;
}

// Rows from the top split by '/', one character a pixel: a palette index in hex, '.' for unset.
struct Crafted {
    const char *label;
    int bitsPerPixel;
    const char *stream, *pixels;
};

const Crafted kCrafted[] = {
    {"RLE8 stopping early", 8, "0305", "......../......../......../555....."},
    {"RLE8 skipping with a delta", 8, "0207 0002 0301 0209 0001",
     "......../......../.....99./77......"},
    {"RLE8 running past the row, cut there", 8, "0c04 0000 0209 0001",
     "......../......../99....../44444444"},
    {"RLE4 stopping early", 4, "0312", "......../......../......../121....."},
    {"RLE4 skipping with a delta", 4, "0256 0002 0301 0278 0001",
     "......../......../.....78./56......"},
    {"RLE4 running past the row", 4, "0b34 0000 0256 0001", "......../......../56....../34343434"},
};

QByteArray pixelBytes(const QImage &image)
{
    return {reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()};
}

} // namespace

class TestPictureFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString craftedPath(int row) const { return dir_.filePath(QString::number(row) + ".bmp"); }

    // The crafted files decoded by a fresh run of this program with malloc's
    // fresh memory filled with `perturb`, optionally under valgrind.
    QByteArray decodedElsewhere(const QString &perturb, const QStringList &tool = {})
    {
        QStringList arguments = tool;
        arguments << QCoreApplication::applicationFilePath() << "--decode";
        for (int row = 0; row < int(std::size(kCrafted)); ++row)
            arguments << craftedPath(row);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("MALLOC_PERTURB_", perturb);
        child.setProcessEnvironment(environment);
        child.start(arguments.takeFirst(), arguments);
        if (!child.waitForFinished(300000) || child.exitCode() != 0)
            return "exit " + QByteArray::number(child.exitCode()) + child.readAllStandardError();
        return child.readAllStandardOutput();
    }

private slots:
    void initTestCase()
    {
        for (int row = 0; row < int(std::size(kCrafted)); ++row)
            QVERIFY(write(craftedPath(row), rleBitmap(kCrafted[row].bitsPerPixel,
                                                      QByteArray::fromHex(kCrafted[row].stream))));
    }

    // Pixels the stream does not set are white.
    void rlePixels_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kCrafted)); ++row)
            QTest::newRow(kCrafted[row].label) << row;
    }
    void rlePixels()
    {
        QFETCH(int, row);
        QImage expected(8, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                const char index = kCrafted[row].pixels[y * 9 + x];
                expected.setPixel(x, y,
                                  index == '.'
                                      ? qRgb(255, 255, 255)
                                      : paletteColour(QByteArray(1, index).toInt(nullptr, 16)));
            }
        const DecodedPicture decoded = readPicture(craftedPath(row));
        QVERIFY(decoded.result.ok());
        QVERIFY(samePicture(decoded.image, expected, "decoded"));
    }

    // The same pixels whatever fresh memory holds, and no read of memory never written.
    void rlePixelsIndependentOfMemory()
    {
        QByteArray here;
        for (int row = 0; row < int(std::size(kCrafted)); ++row)
            here += pixelBytes(readPicture(craftedPath(row)).image);
        QCOMPARE(decodedElsewhere("17"), here);
        QCOMPARE(decodedElsewhere("238"), here);
#ifndef __SANITIZE_ADDRESS__ // there AddressSanitizer watches the reads instead
        const QString valgrind = QStandardPaths::findExecutable("valgrind");
        REQUIRE_READER(!valgrind.isEmpty(), "valgrind");
        QCOMPARE(decodedElsewhere("0", {valgrind, "-q", "--error-exitcode=99"}), here);
#endif
    }
    // Files other programs write that look odd but are whole, and one that only looks small.
    void oddFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<PictureError>("error");
        QTest::addColumn<QRgb>("topLeft");
        QTest::newRow("bitmap with an alpha mask and every alpha 0: opaque")
            << zeroAlphaBitmap() << PictureError::None << qRgb(255, 0, 0);
        QTest::newRow("JPEG with stray bytes between segments")
            << jpegWithStrayBytes() << PictureError::None << qRgb(128, 128, 128);
        QTest::newRow("GIF whose frame is far larger than its canvas")
            << gifWithHugeFrame() << PictureError::TooLarge << QRgb(0);
        QTest::newRow("JPEG cut at half, with an end marker")
            << jpegCutWithEndMarker() << PictureError::Truncated << QRgb(0);
        QTest::newRow("JPEG whose header claims far more than its data")
            << jpegLargerThanItsData() << PictureError::Truncated << QRgb(0);
        QTest::newRow("JPEG of 501 scans")
            << jpegOfManyScans() << PictureError::TooManyScans << QRgb(0);
        // Decoded at 16 bits, 12 MB at the peak; at 8 bits 4 MB, within the test's 10 MB.
        QTest::newRow("16-bit PNG, half transparent, within the limit")
            << png16(1000, 1000) << PictureError::None << qRgb(132, 137, 142);
    }
    void oddFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(PictureError, error);
        QFETCH(QRgb, topLeft);
        const DecodedPicture decoded = decodePicture(bytes, 10); // MB: too large is small to make
        QCOMPARE(decoded.result.error, error);
        if (error == PictureError::None) {
            const QRgb seen = decoded.image.pixel(0, 0);
            QVERIFY2(qAbs(qRed(seen) - qRed(topLeft)) + qAbs(qGreen(seen) - qGreen(topLeft))
                             + qAbs(qBlue(seen) - qBlue(topLeft))
                         <= 6,
                     qPrintable(QString::number(seen, 16)));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc > 2
        && qstrcmp(argv[1], "--decode") == 0) { // the child of rlePixelsIndependentOfMemory
        for (int i = 2; i < argc; ++i) {
            const QByteArray pixels
                = pixelBytes(readPicture(QString::fromLocal8Bit(argv[i])).image);
            std::fwrite(pixels.constData(), 1, size_t(pixels.size()), stdout);
        }
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestPictureFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_picture_file.moc"
