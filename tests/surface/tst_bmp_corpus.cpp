#include "image_surface.h"
#include "picture_file.h"
#include "platform.h"

#include <QDir>
#include <QTest>

#include <QDataStream>
#include <QTemporaryDir>

#include <sys/stat.h>

class TestBmpCorpus : public QObject {
    Q_OBJECT

private slots:
    // Every picture is either shown or refused with a message naming the file; none may crash.
    void corpusFile_data()
    {
        QTest::addColumn<QString>("path");
        const QDir suite(QStringLiteral(ZUVORAK_TESTDATA "/bmpsuite"));
        if (!suite.exists())
            QSKIP("the BMP corpus is not present beside the repository");
        for (const QString folder : {"g", "q", "b", "x"})
            for (const QFileInfo &file : QDir(suite.filePath(folder)).entryInfoList({"*.bmp"}))
                QTest::newRow(qPrintable(folder + '/' + file.fileName())) << file.filePath();
    }
    void corpusFile()
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
        QVERIFY(pictureFailureText(path, decoded.result, false)
                    .contains(QDir::toNativeSeparators(path)));
    }

    void refusedWithoutDecoding()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe.bmp"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(readPicture(pipe).result.error, PictureError::NotRegularFile); // did not block
        QFile file(dir.filePath(QStringLiteral("huge.bmp")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QDataStream out(&file);
        out.setByteOrder(QDataStream::LittleEndian);
        out.writeRawData("BM", 2);
        // A 16000 x 16000 24-bit header: within Qt's own check, over the allocation limit.
        out << 118 << 0 << 54 << 40 << 16000 << 16000 << quint16(1) << quint16(24) << 0 << 0 << 0
            << 0 << 0 << 0;
        file.write(QByteArray(64, '\x7f'));
        file.close();
        QCOMPARE(readPicture(file.fileName()).result.error, PictureError::TooLarge);
    }
};

QTEST_GUILESS_MAIN(TestBmpCorpus)
#include "tst_bmp_corpus.moc"
