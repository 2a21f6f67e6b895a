#include "file_access.h"
#include "file_faults.h"
#include "model_file_io.h"
#include "picture_file.h"
#include "readers.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>

// Full disks and file-size limits are met through the windows, in tst_file_safety.
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

// The system's error number of a failed save, -1 for a failure without one, 0 when saved.
int save(int count, unsigned seed, const QString &path)
{
    const ModelFile::FileResult result = ModelFile::save(model(count, seed), path.toStdString());
    return result.ok() ? 0 : result.systemError ? result.systemError : -1;
}

bool makeAnHourOld(const QString &path)
{
    const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), anHourAgo, 0) == 0;
}

// open() as the C library gives it, except that a named pipe is first swapped onto the name
// in swapBeforeOpen (once): as another program may do between a check by name and the open.
std::pair<std::string, std::string> swapBeforeOpen; // the name, the pipe's other name

} // namespace

extern "C" int open(const char *path, int flags, ...)
{
    static const auto real
        = reinterpret_cast<int (*)(const char *, int, ...)>(::dlsym(RTLD_NEXT, "open"));
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (!swapBeforeOpen.first.empty() && swapBeforeOpen.first == path) {
        ::renameat2(AT_FDCWD, swapBeforeOpen.second.c_str(), AT_FDCWD, path, RENAME_EXCHANGE);
        swapBeforeOpen = {};
    }
    return real(path, flags, mode);
}

class TestFileAccess : public QObject {
    Q_OBJECT

private slots:
    // The longest name a file system takes can be saved over: the temporary name must fit.
    void longNameSavedTwice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(251, 'n') + ".chs");
        for (unsigned seed : {1, 2, 3})
            QCOMPARE(save(30, seed, path), 0);
    }

    // A named pipe swapped onto the name after its check and before its open: refused at once.
    void pipeSwappedInNeverBlocks_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::newRow("model file") << false;
        QTest::newRow("picture") << true;
    }
    void pipeSwappedInNeverBlocks()
    {
        QFETCH(bool, picture);
        QTemporaryDir dir;
        const QString path = dir.filePath("target");
        const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
        QVERIFY(picture ? writePicture(QImage(30, 20, QImage::Format_RGB32), path).ok()
                        : save(30, 1, path) == 0);
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        QCOMPARE(::link(pipe.constData(), QFile::encodeName(dir.filePath("swap")).constData()), 0);
        swapBeforeOpen = {path.toStdString(), dir.filePath("swap").toStdString()};
        std::atomic<bool> done = false;
        std::thread watchdog([&] { // a blocked open ends when a writer comes and goes
            for (int waited = 0; !done && waited < 100; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); writer >= 0)
                ::close(writer);
        });
        const auto start = Clock::now();
        ModelFile::ParsedModel parsed;
        const bool refused = picture
                                 ? readPicture(path).result.error == PictureError::NotRegularFile
                                 : ModelFile::load(path.toStdString(), parsed).error
                                       == ModelFile::FileError::NotRegularFile;
        const auto took = Clock::now() - start;
        done = true;
        watchdog.join();
        QVERIFY2(swapBeforeOpen.first.empty(), "the read never opened the file by its name");
        QVERIFY(refused);
        QVERIFY2(took < std::chrono::seconds(1), "the open blocked");
    }

    // A save replaces the file a symbolic link names, with that file's permissions; a file
    // the user may not write is kept, though the folder would let it be replaced.
    void linksAndPermissions()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("real.chs"), link = dir.filePath("link.chs");
        QCOMPARE(save(1, 1, file), 0);
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0640), 0);
        QCOMPARE(::symlink("real.chs", QFile::encodeName(link).constData()), 0);
        QCOMPARE(save(2, 2, link), 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(file), asBytes(ModelFile::encode(model(2, 2))));
        struct stat status { };
        QVERIFY(::stat(QFile::encodeName(file).constData(), &status) == 0
                && (status.st_mode & 0777) == 0640);

        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0
                && ::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        QCOMPARE(runAsNobody([&] { return save(3, 3, file); }), EACCES);
        QCOMPARE(contents(file), asBytes(ModelFile::encode(model(2, 2))));
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
        QVERIFY(write(dir.filePath("file"), "0123456789"));
        QCOMPARE(::symlink("/dev/zero", QFile::encodeName(dir.filePath("link")).constData()), 0);
        const ReadResult read = readRegularFile(
            (path.startsWith('/') ? path : dir.filePath(path)).toStdString(), 9, longFile);
        QCOMPARE(read.result.problem, problem);
        QCOMPARE(asBytes(read.bytes), QByteArray("0123456789").left(size));
    }

    // Saves of a full model killed at random moments: the target is always one
    // whole model, and the next save removes what the killed ones left once it is old.
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
            for (const QString &name : entries(dir.path()))
                leftovers += name != "model.chs" && makeAnHourOld(dir.filePath(name));
        }
        QVERIFY2(leftovers > 0, "no kill came during a save");
        // Old leftovers go, a killed turntable's folder of frames too; a young one may belong
        // to a running save, others are no leftovers.
        for (const QString name : {".zuvorak-New123.tmp", ".zuvorak-mine.tmp", "keep.tmp"})
            QVERIFY(write(dir.filePath(name), {})
                    && (name.contains("New") || makeAnHourOld(dir.filePath(name))));
        QVERIFY(QDir(dir.path()).mkdir(".zuvorak-Frm123.tmp")
                && write(dir.filePath(".zuvorak-Frm123.tmp/frame-000.png"), "png")
                && makeAnHourOld(dir.filePath(".zuvorak-Frm123.tmp")));
        QVERIFY(ModelFile::save(first, target.toStdString()).ok());
        QCOMPARE(entries(dir.path()), QStringList({".zuvorak-mine.tmp", ".zuvorak-New123.tmp",
                                                   "keep.tmp", "model.chs"}));
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_file_access.moc"
