#include "model_file_io.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
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

static std::unique_ptr<ProgramState> randomModel(int count, unsigned seed)
{
    auto state = std::make_unique<ProgramState>();
    std::mt19937_64 random(seed);
    for (int point = 0; point < count; ++point) {
        for (double &coordinate : state->modelPoints[point])
            coordinate = std::bit_cast<double>(std::uint64_t(random()));
        state->pointColors[point] = Colour(random() & 0x00FFFFFF);
    }
    state->modelPoints[0] = {-0.0, std::nan(""), -HUGE_VAL}; // and arbitrary bit patterns
    state->pointCount = count;
    return state;
}

class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    // Computed with Python's struct.pack and zlib.crc32; encode's output compares models below.
    void goldenBytes()
    {
        const auto state = std::make_unique<ProgramState>();
        QCOMPARE(encode(*state), bytes("00000000 5a434f4c 00000000 72522ab7"));
        state->modelPoints[0] = {0.0, 1.5, -2.0};
        state->pointColors[0] = 0x00123456;
        state->pointCount = 1; // its point, then its colour
        QCOMPARE(encode(*state), bytes("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                                       "5a434f4c 01000000 56341200 adca7ecc"));
    }

    // Over a 30-point model: refused files leave it, and no file here replaces its colours.
    void loadFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileError>("error");
        QTest::newRow("legacy") << "legacy-without-colours.chs" << FileError::None;
        QTest::newRow("colour CRC wrong") << "colour-crc-mismatch.chs" << FileError::None;
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
        const auto state = randomModel(30, 1);
        QCOMPARE(load(path.toStdString(), *state).error, error);
        const auto expected = randomModel(30, 1);
        if (error == FileError::None) { // the two points of the good files
            expected->pointCount = 2;
            expected->modelPoints[0] = {-0.0, HUGE_VAL, -HUGE_VAL};
            expected->modelPoints[1] = {12.25, -130.5, 1e-310};
        }
        QCOMPARE(encode(*state), encode(*expected)); // bit for bit, -0 and NaN included
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
        const auto saved = randomModel(kMaxPoints, 6);
        QVERIFY(save(*saved, old.toStdString()).ok());
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
            ::_exit(int(save(*randomModel(kMaxPoints, 4), target.toStdString()).error));
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(WIFEXITED(status) && FileError(WEXITSTATUS(status)) == FileError::WriteFailed);
        const auto read = std::make_unique<ProgramState>();
        QVERIFY(load(old.toStdString(), *read).ok());
        QCOMPARE(encode(*read), encode(*saved));
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
