#include "file_access.h"
#include "file_faults.h"
#include "image_surface.h"
#include "model_file_io.h"
#include "picture_file.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

Model model(int count, unsigned seed)
{
    Model model;
    std::mt19937 random(seed);
    for (int point = 0; point < count; ++point) {
        model.points.push_back({double(random() % 100), double(random()), -1.5});
        model.colours.push_back(Colour(random() & 0x00FFFFFF));
    }
    return model;
}

// Saves a model or a bitmap whose size depends on `size` and content on `seed`;
// the system's error number, -1 for a failure without one, 0 when saved.
int save(const QString &kind, int size, unsigned seed, const QString &path)
{
    if (kind == "model") {
        const ModelFile::FileResult result
            = ModelFile::save(model(size, seed), path.toStdString());
        return result.ok() ? 0 : result.systemError ? result.systemError : -1;
    }
    ImageSurface surface(size, size, kWhite);
    surface.plot(float(seed % size), 1, Colour(seed));
    const PictureResult result = writePicture(surface.image(), path);
    return result.ok() ? 0 : result.systemError ? result.systemError : -1;
}

QByteArray asBytes(const std::vector<std::uint8_t> &bytes)
{
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool makeAnHourOld(const QString &path)
{
    const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), anHourAgo, 0) == 0;
}

// Everything in the folder but `keep` becomes an hour old.
int ageAllBut(const QString &folder, const QString &keep)
{
    int aged = 0;
    for (const QString &name : entries(folder))
        aged += name != keep && makeAnHourOld(QDir(folder).filePath(name));
    return aged;
}

} // namespace

class TestFileAccess : public QObject {
    Q_OBJECT

private slots:
    // A save that does not fit leaves the old file byte for byte and nothing beside it.
    void fullDiskKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("size"); // points, or the side of a square bitmap
        QTest::addColumn<int>("limit"); // a file-size limit in bytes; 0: a full tmpfs
        QTest::addColumn<int>("free"); // bytes left free on the tmpfs
        QTest::newRow("model of 2816 bytes, limit 1 KiB") << "model" << 100 << 1024 << 0;
        QTest::newRow("model of 84 KB, limit 16 KiB") << "model" << 3000 << 16384 << 0;
        QTest::newRow("bitmap of 1254 bytes, limit 1 KiB") << "bitmap" << 20 << 1024 << 0;
        QTest::newRow("bitmap of 30 KB, limit 16 KiB") << "bitmap" << 100 << 16384 << 0;
        QTest::newRow("model of 2816 bytes, full disk") << "model" << 100 << 0 << 0;
        QTest::newRow("model of 84 KB, 16 KiB free") << "model" << 3000 << 0 << 16384;
        QTest::newRow("bitmap of 1254 bytes, full disk") << "bitmap" << 20 << 0 << 0;
        QTest::newRow("bitmap of 30 KB, 16 KiB free") << "bitmap" << 100 << 0 << 16384;
    }
    void fullDiskKeepsOldFile()
    {
        QFETCH(QString, kind);
        QFETCH(int, size);
        QFETCH(int, limit);
        QFETCH(int, free);
        QTemporaryDir dir;
        const QString folder = dir.filePath("disk");
        QVERIFY(QDir().mkdir(folder));
        const SmallTmpfs disk(folder, 1024);
        if (limit == 0 && !disk.mounted())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString target = QDir(folder).filePath("old." + kind);
        QCOMPARE(save(kind, size, 1, target), 0);
        const QByteArray old = contents(target);
        if (limit == 0) {
            QVERIFY(fillUp(folder, free));
            QCOMPARE(save(kind, size, 2, target), ENOSPC);
        } else {
            QCOMPARE(runInChild([&] { return save(kind, size, 2, target); }, limit), EFBIG);
        }
        QCOMPARE(contents(target), old);
        QDir(folder).remove("filler");
        QCOMPARE(entries(folder), QStringList("old." + kind));
    }

    // The longest names a file system takes can be saved over.
    void longNameSavedTwice_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("length"); // bytes, extension included
        QTest::newRow("model, 253 bytes") << "model" << 253;
        QTest::newRow("model, 255 bytes") << "model" << 255;
        QTest::newRow("bitmap, 253 bytes") << "bitmap" << 253;
    }
    void longNameSavedTwice()
    {
        QFETCH(QString, kind);
        QFETCH(int, length);
        QTemporaryDir dir;
        const QString path
            = dir.filePath(QString(length - 4, 'n') + (kind == "model" ? ".chs" : ".bmp"));
        QCOMPARE(save(kind, 30, 1, path), 0);
        QCOMPARE(save(kind, 30, 2, path), 0);
        QCOMPARE(save(kind, 30, 3, path), 0);
    }

    // A thread swaps a named pipe and a regular file onto the name while it is read.
    void pipeSwappedInNeverBlocks_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("model file") << "model";
        QTest::newRow("picture") << "bitmap";
    }
    void pipeSwappedInNeverBlocks()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const auto at = [&](const char *name) { return QFile::encodeName(dir.filePath(name)); };
        const QByteArray target = at("target"), swap = at("swap"), pipe = at("pipe");
        QCOMPARE(save(kind, 30, 1, dir.filePath("target")), 0);
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        QCOMPARE(::link(pipe.constData(), swap.constData()), 0); // the pipe stays reachable
        for (int twice = 0; twice < 2; ++twice) // the file system can swap names
            QCOMPARE(::renameat2(AT_FDCWD, swap.constData(), AT_FDCWD, target.constData(),
                                 RENAME_EXCHANGE),
                     0);

        std::atomic<bool> stop = false;
        std::atomic<int> swaps = 0;
        std::atomic<Clock::rep> readStarted = 0; // 0: no read running
        std::thread racer([&] {
            while (!stop) {
                ::renameat2(AT_FDCWD, swap.constData(), AT_FDCWD, target.constData(),
                            RENAME_EXCHANGE);
                ++swaps;
                const Clock::rep started = readStarted;
                if (started && Clock::now().time_since_epoch().count() - started > 1'000'000'000) {
                    // Stuck: a writer that comes and goes lets the read end.
                    const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
                    if (writer >= 0)
                        ::close(writer);
                }
            }
        });
        int blocked = 0;
        int misread = 0; // neither read nor refused as no regular file
        ModelFile::ParsedModel parsed;
        for (int read = 0; read < 50; ++read) {
            for (const int seen = swaps; swaps < seen + 2;)
                std::this_thread::yield();
            const auto start = Clock::now();
            readStarted = start.time_since_epoch().count();
            if (kind == "model") {
                const auto error = ModelFile::load(target.toStdString(), parsed).error;
                misread += error != ModelFile::FileError::None
                           && error != ModelFile::FileError::NotRegularFile;
            } else {
                const auto error = readPicture(QFile::decodeName(target)).result.error;
                misread += error != PictureError::None && error != PictureError::NotRegularFile;
            }
            readStarted = 0;
            blocked += Clock::now() - start > std::chrono::seconds(1);
        }
        stop = true;
        racer.join();
        QCOMPARE(blocked, 0);
        QCOMPARE(misread, 0);
    }

    // Leftovers of killed saves go once they are old; a young one may belong to a running save.
    void oldLeftoversRemoved()
    {
        QTemporaryDir dir;
        // Only names of the pattern are removed: ".zuvorak-mine.tmp" is none.
        for (const QString name :
             {".zuvorak-Old123.tmp", ".zuvorak-New123.tmp", ".zuvorak-mine.tmp", "keep.tmp"}) {
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
            QVERIFY(name.contains("New") || makeAnHourOld(dir.filePath(name)));
        }
        QVERIFY(writeFileAtomically(dir.filePath("a.chs").toStdString(), {}).ok());
        QCOMPARE(entries(dir.path()),
                 QStringList({".zuvorak-mine.tmp", ".zuvorak-New123.tmp", "a.chs", "keep.tmp"}));
    }

    // A save replaces the file a symbolic link names, with that file's permissions.
    void savedThroughLinkWithPermissions()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("real.chs"), link = dir.filePath("link.chs");
        QCOMPARE(save("model", 1, 1, file), 0);
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0640), 0);
        QCOMPARE(::symlink("real.chs", QFile::encodeName(link).constData()), 0);
        QCOMPARE(save("model", 2, 2, link), 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(file), asBytes(ModelFile::encode(model(2, 2))));
        struct stat status { };
        QVERIFY(::stat(QFile::encodeName(file).constData(), &status) == 0
                && (status.st_mode & 0777) == 0640);
    }

    // A file the user may not write is kept, though the folder would let it be replaced.
    void readOnlyFileKept()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("kept.chs");
        QCOMPARE(save("model", 1, 1, file), 0);
        const QByteArray old = contents(file);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0
                && ::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        const int error = runInChild([&] {
            // root may write anything: the save runs as the user nobody then
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                return -1;
            return save("model", 2, 2, file);
        });
        QCOMPARE(error, EACCES);
        QCOMPARE(contents(file), old);
    }

    void readLimits_data()
    {
        QTest::addColumn<QString>("path"); // "file": ten bytes; "link": to /dev/zero
        QTest::addColumn<LongFile>("longFile");
        QTest::addColumn<FileProblem>("problem");
        QTest::addColumn<int>("size");
        QTest::newRow("device: would never end")
            << "/dev/zero" << LongFile::ReadStart << FileProblem::NotRegularFile << 0;
        QTest::newRow("link to a device")
            << "link" << LongFile::ReadStart << FileProblem::NotRegularFile << 0;
        QTest::newRow("longer than allowed")
            << "file" << LongFile::Refuse << FileProblem::TooLarge << 0;
        QTest::newRow("longer, its start only")
            << "file" << LongFile::ReadStart << FileProblem::None << 9;
    }
    void readLimits()
    {
        QFETCH(QString, path);
        QFETCH(LongFile, longFile);
        QFETCH(FileProblem, problem);
        QFETCH(int, size);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("0123456789") == 10);
        file.close();
        QCOMPARE(::symlink("/dev/zero", QFile::encodeName(dir.filePath("link")).constData()), 0);
        const ReadResult read = readRegularFile(
            (path.startsWith('/') ? path : dir.filePath(path)).toStdString(), 9, longFile);
        QCOMPARE(read.result.problem, problem);
        QCOMPARE(asBytes(read.bytes), QByteArray("0123456789").left(size));
    }

    // Saves of a full model killed at random moments: the target is always one
    // whole model, and the next save removes what the killed ones left.
    void killedSavesLeaveNoLeftovers()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("model.chs");
        const auto first = model(kMaxPoints, 1), second = model(kMaxPoints, 2);
        QVERIFY(ModelFile::save(first, target.toStdString()).ok());
        const QByteArray one = contents(target), other = asBytes(ModelFile::encode(second));
        std::mt19937 random(7);
        int leftovers = 0;
        for (int kill = 0; kill < 200; ++kill) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0)
                for (int save = 0;; ++save)
                    ModelFile::save(save % 2 ? first : second, target.toStdString());
            ::usleep(useconds_t(random() % 40000));
            ::kill(child, SIGKILL);
            QCOMPARE(::waitpid(child, nullptr, 0), child);
            const QByteArray saved = contents(target);
            QVERIFY(saved == one || saved == other);
            leftovers += ageAllBut(dir.path(), "model.chs");
        }
        QVERIFY2(leftovers > 0, "no kill came during a save");
        QVERIFY(ModelFile::save(first, target.toStdString()).ok());
        QCOMPARE(entries(dir.path()), QStringList("model.chs"));
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_file_access.moc"
