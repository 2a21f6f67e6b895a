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

Q_DECLARE_METATYPE(ModelFile::DecodeError)
Q_DECLARE_METATYPE(ModelFile::FileError)

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Arbitrary bit patterns and colours, with -0, NaN and the infinities first.
static std::unique_ptr<ProgramState> randomModel(int count, unsigned seed)
{
    auto state = std::make_unique<ProgramState>();
    std::mt19937_64 random(seed);
    for (int i = 0; i < count; ++i) {
        for (double &c : state->modelPoints[i])
            c = std::bit_cast<double>(std::uint64_t(random()));
        state->pointColors[i] = Colour(random() & 0x00FFFFFF);
    }
    state->modelPoints[0] = {-0.0, std::nan(""), HUGE_VAL};
    state->modelPoints[1][Vertical] = -HUGE_VAL;
    state->pointCount = count;
    return state;
}

static bool sameModel(const ProgramState &a, const ProgramState &b)
{
    return a.pointCount == b.pointCount && a.pointColors == b.pointColors
           && std::memcmp(&a.modelPoints, &b.modelPoints, sizeof a.modelPoints) == 0;
}

class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    void goldenBytes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("hex"); // computed with Python's struct.pack and zlib.crc32
        QTest::newRow("empty model") << 0 << QByteArray("00000000 5a434f4c 00000000 72522ab7");
        QTest::newRow("one point 0, 1.5, -2: 28 bytes, then its colour")
            << 1
            << QByteArray("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                          "5a434f4c 01000000 56341200 adca7ecc");
    }
    void goldenBytes()
    {
        QFETCH(int, count);
        QFETCH(QByteArray, hex);
        auto state = std::make_unique<ProgramState>();
        state->modelPoints[0] = {0.0, 1.5, -2.0};
        state->pointColors[0] = 0x00123456;
        state->pointCount = count;
        const std::vector<std::uint8_t> bytes = encode(*state);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
                 QByteArray::fromHex(hex.replace(' ', "")));
    }

    void fullModelRoundTripsBitForBit()
    {
        const auto written = randomModel(kMaxPoints, 6);
        QTemporaryDir dir;
        const std::string path = dir.filePath("full.chs").toStdString();
        QVERIFY(save(*written, path).ok());
        auto read = std::make_unique<ProgramState>();
        QVERIFY(load(path, *read).ok());
        QVERIFY(sameModel(*written, *read));
    }

    // Into a 30-point model: a refused file leaves it, one without a sound colour block its
    // colours.
    void loadFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<FileError>("error");
        QTest::addColumn<DecodeError>("decodeError");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("colours");
        const auto row
            = [](const char *name, FileError error, DecodeError decode, int count, bool colours) {
                  QTest::newRow(name) << QString(name) << error << decode << count << colours;
              };
        const FileError ok = FileError::None, bad = FileError::Invalid;
        row("empty-model.chs", ok, DecodeError::None, 0, true);
        row("two-points-with-colours.chs", ok, DecodeError::None, 2, true);
        row("legacy-without-colours.chs", ok, DecodeError::None, 2, false);
        row("stale-tail-behind-two-points.chs", ok, DecodeError::None, 2, false);
        row("colour-block-then-extra-bytes.chs", ok, DecodeError::None, 2, true);
        row("colour-crc-mismatch.chs", ok, DecodeError::None, 2, false);
        row("colour-block-cut-short.chs", ok, DecodeError::None, 2, false);
        row("colour-count-mismatch.chs", ok, DecodeError::None, 2, false);
        row("count-cut-short.chs", bad, DecodeError::MissingCount, 0, false);
        row("negative-count.chs", bad, DecodeError::NegativeCount, -1, false);
        row("count-above-capacity.chs", bad, DecodeError::CountAboveCapacity, 100001, false);
        row("count-int32-max.chs", bad, DecodeError::CountAboveCapacity, 0x7fffffff, false);
        row("records-cut-short.chs", bad, DecodeError::MissingRecords, 2, false);
        row("missing", FileError::NotFound, DecodeError::None, 0, false);
        row("folder", FileError::NotRegularFile, DecodeError::None, 0, false);
        row("pipe", FileError::NotRegularFile, DecodeError::None, 0, false); // opening would block
    }
    void loadFile()
    {
        QFETCH(QString, file);
        QFETCH(FileError, error);
        QFETCH(DecodeError, decodeError);
        QFETCH(int, count);
        QFETCH(bool, colours);
        QTemporaryDir dir;
        QString path = dir.filePath("model.chs");
        if (file == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (file == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (file != "missing")
            path = kCorpus + file;
        const auto state = randomModel(30, 1), before = randomModel(30, 1);
        const FileResult result = load(path.toStdString(), *state);
        QCOMPARE(result.error, error);
        QCOMPARE(result.decodeError, decodeError);
        if (!result.ok()) {
            QCOMPARE(result.count, error == FileError::Invalid ? count : 0);
            QVERIFY(sameModel(*state, *before));
            return;
        }
        QCOMPARE(state->pointCount, count);
        if (count == 2) { // -0, +inf, -inf, then 12.25, -130.5, 1e-310
            QCOMPARE(std::signbit(state->modelPoints[0][Depth]), true);
            QCOMPARE(state->modelPoints[0][Vertical], -HUGE_VAL);
            QCOMPARE(state->modelPoints[1][Vertical], 1e-310);
            QCOMPARE(state->pointColors[1], colours ? 0x00FF8000 : before->pointColors[1]);
        }
    }

    // A failed save leaves the old file and nothing else. "full disk" writes in a child process
    // under a file size limit, which also holds for root.
    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("missing folder") << "gone/model.chs";
        QTest::newRow("target is a folder") << "folder.chs";
        QTest::newRow("full disk") << "full";
    }
    void failedSaveKeepsOldFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString old = dir.filePath("model.chs");
        QVERIFY(QFile::copy(kCorpus + "two-points-with-colours.chs", old));
        QString target = old;
        if (kind == "read-only") {
            if (::geteuid() == 0)
                QSKIP("root writes into read-only folders");
            QVERIFY(
                QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else if (kind != "full") {
            target = dir.filePath(kind);
            if (kind == "folder.chs")
                QVERIFY(QDir().mkdir(target));
        }
        const auto state = randomModel(kMaxPoints, 4);
        bool failed = false;
        if (kind == "full") {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit {64 * 1024, 64 * 1024};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::_exit(save(*state, target.toStdString()).error == FileError::WriteFailed ? 0 : 1);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            failed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        } else {
            const FileResult result = save(*state, target.toStdString());
            failed = result.error == FileError::WriteFailed && !result.detail.empty();
        }
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
        QVERIFY(failed);
        QCOMPARE(readAll(old), readAll(kCorpus + "two-points-with-colours.chs"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"model.chs"});
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
