#include "model_file_io.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ModelFile;

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Arbitrary bit patterns and colours, with -0, NaN and -inf first.
static std::unique_ptr<ProgramState> randomModel(int count, unsigned seed)
{
    auto state = std::make_unique<ProgramState>();
    std::mt19937_64 random(seed);
    for (int point = 0; point < count; ++point) {
        for (double &coordinate : state->modelPoints[point])
            coordinate = std::bit_cast<double>(std::uint64_t(random()));
        state->pointColors[point] = Colour(random() & 0x00FFFFFF);
    }
    state->modelPoints[0] = {-0.0, std::nan(""), -HUGE_VAL};
    state->pointCount = count;
    return state;
}

// Bit for bit, so that -0 and NaN count as themselves.
static bool sameModel(const ProgramState &left, const ProgramState &right)
{
    return left.pointCount == right.pointCount && left.pointColors == right.pointColors
           && std::memcmp(&left.modelPoints, &right.modelPoints, sizeof left.modelPoints) == 0;
}

class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    void goldenBytes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("hex"); // computed with Python's struct.pack and zlib.crc32
        QTest::newRow("empty model") << 0 << QByteArray("00000000 5a434f4c 00000000 72522ab7");
        QTest::newRow("one point 0, 1.5, -2, then its colour")
            << 1
            << QByteArray("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                          "5a434f4c 01000000 56341200 adca7ecc");
    }
    void goldenBytes()
    {
        QFETCH(int, count);
        QFETCH(QByteArray, hex);
        const auto state = std::make_unique<ProgramState>();
        state->modelPoints[0] = {0.0, 1.5, -2.0};
        state->pointColors[0] = 0x00123456;
        state->pointCount = count;
        const QByteArray expected = QByteArray::fromHex(hex); // skips the spaces
        QCOMPARE(encode(*state), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    }

    // Over a 30-point model: refused files leave it, and no file here replaces its colours.
    void loadFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileError>("error");
        QTest::addColumn<int>("count"); // the count that a bad file claims
        QTest::newRow("legacy") << "legacy-without-colours.chs" << FileError::None << 0;
        QTest::newRow("colour CRC wrong") << "colour-crc-mismatch.chs" << FileError::None << 0;
        QTest::newRow("colours cut short") << "colour-block-cut-short.chs" << FileError::None << 0;
        QTest::newRow("short file") << "count-cut-short.chs" << FileError::Invalid << 0;
        QTest::newRow("negative count") << "negative-count.chs" << FileError::Invalid << -1;
        QTest::newRow("100001 points")
            << "count-above-capacity.chs" << FileError::Invalid << 100001;
        QTest::newRow("records cut short") << "records-cut-short.chs" << FileError::Invalid << 2;
        QTest::newRow("folder") << "" << FileError::NotRegularFile << 0; // the corpus itself
        QTest::newRow("named pipe") << "pipe" << FileError::NotRegularFile << 0; // must not block
    }
    void loadFile()
    {
        QFETCH(QString, file);
        QFETCH(FileError, error);
        QFETCH(int, count);
        QTemporaryDir dir;
        const QString path = file == "pipe" ? dir.filePath(file) : kCorpus + file;
        if (file == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const auto state = randomModel(30, 1);
        const FileResult result = load(path.toStdString(), *state);
        QCOMPARE(result.error, error);
        QCOMPARE(result.count, count);
        const auto expected = randomModel(30, 1);
        if (result.ok()) { // the two points of the good files
            expected->pointCount = 2;
            expected->modelPoints[0] = {-0.0, HUGE_VAL, -HUGE_VAL};
            expected->modelPoints[1] = {12.25, -130.5, 1e-310};
        }
        QVERIFY(sameModel(*state, *expected));
    }

    // A failed save over a full model keeps its file byte for byte, and loadable bit for bit.
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
        const QByteArray oldBytes = readAll(old);
        const QString target = kind == "missing folder" ? dir.filePath("gone/model.chs") : old;
        if (kind == "read-only folder")
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto other = randomModel(kMaxPoints, 4);
        const pid_t child = ::fork(); // whose file size limit holds for root as well
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
            const rlimit limit {64 * 1024, 64 * 1024};
            if (kind == "full disk")
                ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(save(*other, target.toStdString()).error == FileError::WriteFailed ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the save did not fail");
        QCOMPARE(readAll(old), oldBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"model.chs"});
        const auto read = std::make_unique<ProgramState>();
        QVERIFY(load(old.toStdString(), *read).ok());
        QVERIFY(sameModel(*saved, *read));
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
