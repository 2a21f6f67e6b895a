#include "image_surface.h"
#include "picture_file.h"
#include "platform.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

namespace {

QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(qint16(v), b.data());
    return b;
}

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

// A bitmap header claiming width x height pixels, followed by a few bytes only.
QByteArray claimingHeader(qint32 width, qint32 height, int bitCount)
{
    QByteArray info = le32(40) + le32(width) + le32(height) + le16(1) + le16(bitCount) + le32(0)
                      + le32(0) + le32(2835) + le32(2835) + le32(0) + le32(0);
    const int paletteBytes = bitCount <= 8 ? 4 << bitCount : 0;
    info += QByteArray(paletteBytes, '\0');
    const qint32 offset = 14 + info.size();
    const QByteArray pixels(64, '\x7f');
    return "BM" + le32(offset + pixels.size()) + le32(0) + le32(offset) + info + pixels;
}

} // namespace

Q_DECLARE_METATYPE(PictureError)

// Every picture either shows on a capture-sized surface or is refused with a
// message that names the file; nothing may crash, hang or upset a sanitizer.
class TestBmpCorpus : public QObject {
    Q_OBJECT

private slots:
    void corpusFile_data();
    void corpusFile();
    void oversizedHeaderIsRefused_data();
    void oversizedHeaderIsRefused();
    void notRegularFileIsRefused_data();
    void notRegularFileIsRefused();

private:
    QTemporaryDir dir_;
};

void TestBmpCorpus::corpusFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("mustShow");
    const QDir suite(testDataDir() + QStringLiteral("/bmpsuite"));
    if (!suite.exists())
        QSKIP("the BMP corpus is not present beside the repository");
    for (const char *folder : {"g", "q", "b", "x"}) {
        const QDir sub(suite.filePath(QString(folder)));
        for (const QString &name : sub.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
            const QString label = QStringLiteral("%1/%2").arg(folder, name);
            QTest::newRow(qPrintable(label)) << sub.filePath(name) << (folder[0] == 'g');
        }
    }
}

void TestBmpCorpus::corpusFile()
{
    QFETCH(QString, path);
    QFETCH(bool, mustShow);
    const DecodedPicture decoded = readPicture(path);
    ImageSurface surface(581, 413, 0x00F0F0F0);
    if (decoded.result.ok()) {
        QVERIFY(!decoded.image.isNull());
        QCOMPARE(decoded.image.format(), QImage::Format_RGB32);
        surface.showPicture(decoded.image);
        const QColor corner = decoded.image.pixelColor(0, 0);
        QCOMPARE(surface.image().pixelColor(0, 0), corner);
        return;
    }
    QVERIFY2(!mustShow, qPrintable(QStringLiteral("a good file was refused: %1")
                                       .arg(QString::fromStdString(decoded.result.detail))));
    QVERIFY(decoded.image.isNull());
    const QString message = pictureFailureText(path, decoded.result, false);
    QVERIFY(message.contains(QDir::toNativeSeparators(path)));
}

void TestBmpCorpus::oversizedHeaderIsRefused_data()
{
    // Qt's reader itself gives up on headers beyond 16384 x 16384 pixels; the
    // program's own allocation limit must catch the sizes below that.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PictureError>("reason");
    QTest::newRow("24-bit 30000 x 30000")
        << claimingHeader(30000, 30000, 24) << PictureError::Unreadable;
    QTest::newRow("top-down 24-bit 30000 x 30000")
        << claimingHeader(30000, -30000, 24) << PictureError::Unreadable;
    QTest::newRow("1-bit 30000 x 30000: small file, huge image")
        << claimingHeader(30000, 30000, 1) << PictureError::Unreadable;
    QTest::newRow("24-bit 16000 x 16000: within Qt's sanity check, over the limit")
        << claimingHeader(16000, 16000, 24) << PictureError::TooLarge;
    QTest::newRow("1-bit 16384 x 8200: a 16 MB file would need 512 MB")
        << claimingHeader(16384, 8200, 1) << PictureError::TooLarge;
}

void TestBmpCorpus::oversizedHeaderIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PictureError, reason);
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("huge.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    const DecodedPicture decoded = readPicture(path);
    QCOMPARE(decoded.result.error, reason);
    QVERIFY(decoded.image.isNull());
    QVERIFY(
        pictureFailureText(path, decoded.result, false).contains(QDir::toNativeSeparators(path)));
}

void TestBmpCorpus::notRegularFileIsRefused_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("a named pipe called x.bmp is refused without blocking") << true;
    QTest::newRow("a folder called x.bmp is refused") << false;
}

void TestBmpCorpus::notRegularFileIsRefused()
{
    QFETCH(bool, pipe);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    if (pipe)
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("x.bmp")));

    // Reading a pipe with no writer would block forever; the test then times out.
    const DecodedPicture decoded = readPicture(path);
    QCOMPARE(decoded.result.error, PictureError::NotRegularFile);
    QVERIFY(pictureFailureText(path, decoded.result, false)
                .contains(QStringLiteral("通常のファイルではありません")));
}

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    TestBmpCorpus test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_bmp_corpus.moc"
