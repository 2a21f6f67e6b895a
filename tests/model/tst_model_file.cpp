#include "model_file_io.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ModelFile;

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

static std::vector<std::uint8_t> bytes(const char *hex)
{
    const QByteArray data = QByteArray::fromHex(hex);
    return {data.begin(), data.end()};
}

static Model randomModel(int count, unsigned seed)
{
    Model model;
    std::mt19937_64 random(seed);
    for (int point = 0; point < count; ++point) {
        Coords coords;
        for (double &coordinate : coords)
            coordinate = std::bit_cast<double>(std::uint64_t(random()));
        model.points.push_back(coords);
        model.colours.push_back(Colour(random() & 0x00FFFFFF));
    }
    model.points[0] = {-0.0, std::nan(""), -HUGE_VAL}; // and arbitrary bit patterns
    return model;
}

class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    // Computed with Python's struct.pack and zlib.crc32; encode's output compares models below.
    void goldenBytes()
    {
        QCOMPARE(encode(Model()), bytes("00000000 5a434f4c 00000000 72522ab7"));
        const Model one {{{0.0, 1.5, -2.0}}, {0x00123456}}; // its point, then its colour
        QCOMPARE(encode(one), bytes("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                                    "5a434f4c 01000000 56341200 adca7ecc"));
    }

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
        QTest::newRow("folder") << "" << FileError::NotRegularFile; // the corpus itself
        QTest::newRow("named pipe") << "pipe" << FileError::NotRegularFile; // must not block
    }
    void loadFile()
    {
        QFETCH(QString, file);
        QFETCH(FileError, error);
        QTemporaryDir dir;
        const QString path = file == "pipe" ? dir.filePath(file) : kCorpus + file;
        if (file == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        ParsedModel parsed;
        parsed.points.resize(30);
        QCOMPARE(load(path.toStdString(), parsed).error, error);
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

    // A failed save over a saved full model leaves that file to load back bit for bit.
    void failedSaveKeepsSavedModel_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing folder") << "missing folder";
        QTest::newRow("read-only folder") << "read-only folder";
        QTest::newRow("full disk") << "full disk";
    }
    void failedSaveKeepsSavedModel()
    {
        QFETCH(QString, kind);
        if (kind == "read-only folder" && ::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString old = dir.filePath("model.chs");
        const Model saved = randomModel(kMaxPoints, 6);
        QVERIFY(save(saved, old.toStdString()).ok());
        const QString target = kind == "missing folder" ? dir.filePath("gone/model.chs") : old;
        if (kind == "read-only folder")
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const pid_t child = ::fork(); // whose file size limit holds for root as well
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
            const rlimit limit {64 * 1024, 64 * 1024};
            if (kind == "full disk")
                ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(int(save(randomModel(kMaxPoints, 4), target.toStdString()).error));
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(WIFEXITED(status) && FileError(WEXITSTATUS(status)) == FileError::WriteFailed);
        ParsedModel read;
        QVERIFY(load(old.toStdString(), read).ok());
        QCOMPARE(encode(toModel(read, {})), encode(saved));
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
