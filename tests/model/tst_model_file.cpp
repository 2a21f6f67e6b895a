#include "model_file.h"
#include "model_file_io.h"

#include <QDir>
#include <QFile>
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
using Bytes = std::vector<std::uint8_t>;

Q_DECLARE_METATYPE(ModelFile::DecodeError)
Q_DECLARE_METATYPE(ModelFile::FileError)

namespace {

Bytes fromHex(const char *hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    return Bytes(raw.begin(), raw.end());
}

Bytes readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray raw = file.readAll();
    return Bytes(raw.begin(), raw.end());
}

void writeBytes(const QString &path, const Bytes &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())),
             qint64(bytes.size()));
}

QString corpusFile(const char *name)
{
    return QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/") + QLatin1String(name);
}

std::uint64_t bits(double value)
{
    std::uint64_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

// A model whose coordinates are arbitrary bit patterns, the awkward ones first.
std::unique_ptr<ProgramState> randomModel(int count, unsigned seed)
{
    auto state = std::make_unique<ProgramState>();
    std::mt19937_64 random(seed);
    const double awkward[] = {-0.0,
                              std::numeric_limits<double>::quiet_NaN(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::denorm_min(),
                              0.1};
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < 3; ++j) {
            const std::uint64_t b = random();
            std::memcpy(&state->modelPoints[i][j], &b, sizeof b);
        }
        state->pointColors[i] = Colour(random() & 0x00FFFFFF);
    }
    for (int i = 0; i < std::min<int>(count, std::size(awkward)); ++i)
        state->modelPoints[i][i % 3] = awkward[i];
    state->pointCount = count;
    return state;
}

// Everything a failed read must leave alone, compared bit for bit.
bool sameModel(const ProgramState &a, const ProgramState &b)
{
    return a.pointCount == b.pointCount
           && std::memcmp(a.modelPoints.data(), b.modelPoints.data(), sizeof a.modelPoints) == 0
           && std::memcmp(a.pointColors.data(), b.pointColors.data(), sizeof a.pointColors) == 0;
}

} // namespace

class TestModelFile : public QObject {
    Q_OBJECT

private slots:
    void goldenBytes_data();
    void goldenBytes();
    void roundTripOfFullModelKeepsEveryBit();
    void fixture_data();
    void fixture();
    void refusedFileLeavesModel_data();
    void refusedFileLeavesModel();
    void saveReplacesLongerFileWhole();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void fullDiskKeepsOldFile();
};

void TestModelFile::goldenBytes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("hex");
    // Independently computed (struct.pack and zlib.crc32).
    QTest::newRow("empty model: count 0 and an empty colour block")
        << 0
        << QByteArray("00000000"
                      "5a434f4c 00000000 72522ab7");
    QTest::newRow("one point 0, 1.5, -2: the 28 bytes, then its colour")
        << 1
        << QByteArray("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                      "5a434f4c 01000000 56341200 adca7ecc");
}

void TestModelFile::goldenBytes()
{
    QFETCH(int, count);
    QFETCH(QByteArray, hex);
    auto state = std::make_unique<ProgramState>();
    state->modelPoints[0] = {0.0, 1.5, -2.0};
    state->pointColors[0] = 0x00123456;
    state->modelPoints[1] = {7.0, 7.0, 7.0}; // beyond the count: never written
    state->pointCount = count;
    const Bytes expected = fromHex(hex.replace(' ', "").constData());
    QCOMPARE(encode(*state), expected);

    const DecodeResult back = decode(expected);
    QVERIFY(back.ok());
    QCOMPARE(back.model.points.size(), std::size_t(count));
    QVERIFY(back.model.colours.has_value());
    if (count == 1) {
        QCOMPARE(bits(back.model.points[0][Horizontal]), bits(1.5));
        QCOMPARE(back.model.colours->at(0), Colour(0x00123456));
    }
}

void TestModelFile::roundTripOfFullModelKeepsEveryBit()
{
    const auto written = randomModel(kMaxPoints, 6);
    QTemporaryDir dir;
    const QString path = dir.filePath("full.chs");
    QVERIFY(save(*written, path.toStdString()).ok());
    QCOMPARE(QFileInfo(path).size(), qint64(4 + 24 * kMaxPoints + 12 + 4 * kMaxPoints));

    auto read = std::make_unique<ProgramState>();
    QVERIFY(load(path.toStdString(), *read).ok());
    QVERIFY(sameModel(*written, *read));
    QCOMPARE(bits(read->modelPoints[0][Depth]), bits(-0.0));
    QVERIFY(std::isnan(read->modelPoints[1][Horizontal]));
}

void TestModelFile::fixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<DecodeError>("error");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("colours");
    const auto row = [](const char *name, DecodeError error, qint64 count, bool colours) {
        QTest::newRow(name) << corpusFile(name) << error << count << colours;
    };
    row("empty-model.chs", DecodeError::None, 0, true);
    row("two-points-with-colours.chs", DecodeError::None, 2, true);
    row("legacy-without-colours.chs", DecodeError::None, 2, false);
    row("stale-tail-behind-two-points.chs", DecodeError::None, 2, false);
    row("colour-block-then-extra-bytes.chs", DecodeError::None, 2, true);
    row("colour-crc-mismatch.chs", DecodeError::None, 2, false);
    row("colour-block-cut-short.chs", DecodeError::None, 2, false);
    row("colour-count-mismatch.chs", DecodeError::None, 2, false);
    row("count-cut-short.chs", DecodeError::MissingCount, 0, false);
    row("negative-count.chs", DecodeError::NegativeCount, -1, false);
    row("count-above-capacity.chs", DecodeError::CountAboveCapacity, 100001, false);
    row("count-int32-max.chs", DecodeError::CountAboveCapacity, 0x7fffffff, false);
    row("records-cut-short.chs", DecodeError::MissingRecords, 2, false);
}

void TestModelFile::fixture()
{
    QFETCH(QString, file);
    QFETCH(DecodeError, error);
    QFETCH(qint64, count);
    QFETCH(bool, colours);
    const Bytes bytes = readBytes(file);
    QVERIFY2(!bytes.empty(), qPrintable(file));
    const DecodeResult result = decode(bytes);
    QCOMPARE(result.error, error);
    QCOMPARE(result.count, count);
    QCOMPARE(result.model.colours.has_value(), colours);
    if (result.ok() && count == 2) {
        // Written by an independent writer: -0, +inf, -inf, then 12.25, -130.5, 1e-310.
        QCOMPARE(bits(result.model.points[0][Depth]), bits(-0.0));
        QCOMPARE(result.model.points[0][Vertical], -std::numeric_limits<double>::infinity());
        QCOMPARE(bits(result.model.points[1][Vertical]), bits(1e-310));
        if (colours)
            QCOMPARE(*result.model.colours, std::vector<Colour>({0x000000FF, 0x00FF8000}));
    }
}

void TestModelFile::refusedFileLeavesModel_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<FileError>("error");
    QTest::newRow("missing file") << "missing" << FileError::NotFound;
    QTest::newRow("path through a regular file") << "under-file" << FileError::NotFound;
    QTest::newRow("folder named like a model") << "folder" << FileError::NotRegularFile;
    QTest::newRow("named pipe, which would block a read") << "fifo" << FileError::NotRegularFile;
    QTest::newRow("file without read permission") << "no-permission" << FileError::CannotOpen;
    QTest::newRow("count above capacity") << "count-above-capacity.chs" << FileError::Invalid;
    QTest::newRow("records cut short") << "records-cut-short.chs" << FileError::Invalid;
    QTest::newRow("empty file") << "empty" << FileError::Invalid;
}

void TestModelFile::refusedFileLeavesModel()
{
    QFETCH(QString, kind);
    QFETCH(FileError, error);
    QTemporaryDir dir;
    QString path = dir.filePath("model.chs");
    if (kind == "under-file") {
        writeBytes(dir.filePath("plain"), {0});
        path = dir.filePath("plain/model.chs");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("model.chs"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "no-permission") {
        if (::geteuid() == 0)
            QSKIP("root reads files without read permission");
        writeBytes(path, readBytes(corpusFile("one-point.chs")));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    } else if (kind == "empty") {
        writeBytes(path, {});
    } else if (kind != "missing") {
        path = corpusFile(kind.toLatin1().constData());
    }

    const auto state = randomModel(30, 1);
    const auto before = randomModel(30, 1);
    const FileResult result = load(path.toStdString(), *state);
    QCOMPARE(result.error, error);
    QVERIFY(sameModel(*state, *before));
}

void TestModelFile::saveReplacesLongerFileWhole()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("model.chs").toStdString();
    QVERIFY(save(*randomModel(5, 2), path).ok());
    const auto smaller = randomModel(2, 3);
    QVERIFY(save(*smaller, path).ok());
    QCOMPARE(readBytes(QString::fromStdString(path)), encode(*smaller));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"model.chs"});
}

void TestModelFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only folder") << "read-only";
    QTest::newRow("missing folder") << "missing-folder";
    QTest::newRow("target is a folder") << "folder";
}

void TestModelFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString target = dir.filePath("model.chs");
    const Bytes old = readBytes(corpusFile("two-points-with-colours.chs"));
    writeBytes(target, old);
    if (kind == "read-only") {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else if (kind == "missing-folder") {
        target = dir.filePath("gone/model.chs");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("folder.chs"));
        target = dir.filePath("folder.chs");
    }

    const FileResult result = save(*randomModel(1000, 4), target.toStdString());
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(result.error, FileError::WriteFailed);
    QVERIFY(!result.detail.empty());
    QCOMPARE(readBytes(dir.filePath("model.chs")), old);
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    left.removeOne("folder.chs");
    QCOMPARE(left, QStringList {"model.chs"});
}

void TestModelFile::fullDiskKeepsOldFile()
{
    // A full disk as seen by the writer: a file size limit in a child process,
    // which also holds when the tests run as root.
    QTemporaryDir dir;
    const QString target = dir.filePath("model.chs");
    const Bytes old = readBytes(corpusFile("two-points-with-colours.chs"));
    writeBytes(target, old);
    const auto state = randomModel(kMaxPoints, 5);

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const FileResult result = save(*state, target.toStdString());
        ::_exit(result.error == FileError::WriteFailed ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readBytes(target), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"model.chs"});
}

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_model_file.moc"
