#include "model_file_io.h"
#include "readers.h"

#include <QTest>

using namespace ModelFile;

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

// Failed saves, full disks among them, are met through the windows, in tst_file_safety.
class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    // Computed with Python's struct.pack and zlib.crc32; encode's output compares models below.
    void goldenBytes()
    {
        QCOMPARE(asBytes(encode(Model())),
                 QByteArray::fromHex("00000000 5a434f4c 00000000 72522ab7"));
        const Model one {{{0.0, 1.5, -2.0}}, {0x00123456}}; // its point, then its colour
        QCOMPARE(asBytes(encode(one)),
                 QByteArray::fromHex("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                                     "5a434f4c 01000000 56341200 adca7ecc"));
    }

    // Folders and pipes are refused in tst_command_line's badInput and tst_file_access.
    // Refused files give no model; good ones their two points, colours only from a sound block.
    void loadFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileError>("error");
        QTest::newRow("legacy") << "legacy-without-colours.chs" << FileError::None;
        QTest::newRow("colour CRC wrong") << "colour-crc-mismatch.chs" << FileError::None;
        QTest::newRow("with colours") << "two-points-with-colours.chs" << FileError::None;
        QTest::newRow("negative count") << "negative-count.chs" << FileError::Invalid;
        QTest::newRow("100001 points") << "count-above-capacity.chs" << FileError::Invalid;
        QTest::newRow("records cut short") << "records-cut-short.chs" << FileError::Invalid;
    }
    void loadFile()
    {
        QFETCH(QString, file);
        QFETCH(FileError, error);
        ParsedModel parsed;
        parsed.points.resize(30);
        QCOMPARE(load((kCorpus + file).toStdString(), parsed).error, error);
        if (error != FileError::None) {
            QCOMPARE(parsed.points.size(), std::size_t(30)); // untouched
            return;
        }
        const Model read = toModel(parsed, std::vector<Colour>(2, 0x0A0B0C));
        const std::vector<Colour> colours = file.startsWith("two")
                                                ? std::vector<Colour> {0x0000FF, 0xFF8000}
                                                : std::vector<Colour> {0x0A0B0C, 0x0A0B0C};
        const Model expected {{{-0.0, HUGE_VAL, -HUGE_VAL}, {12.25, -130.5, 1e-310}}, colours};
        QCOMPARE(encode(read), encode(expected)); // bit for bit, -0 included
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
