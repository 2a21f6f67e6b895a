#include "file_access.h"
#include "file_faults.h"
#include "image_surface.h"
#include "messages.h"
#include "model_file_io.h"
#include "picture_file.h"
#include "readers.h"
#include "same_picture.h"
#include "seeded_model.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <csignal>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr Colour kGrey = 0x00C0C0C0, kRed = 0x000000FF;
const QString kPictures = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/pictures/");

// A point's centre and size, or a box's corners (size 0), and the pixels covered unclipped.
struct Drawn {
    const char *name;
    QPointF at;
    int size;
    QRect covered;
    QPointF corner = {};
};

// A picture file and what it must give: an error, or pixels: "#RRGGBB" all, rows from the top split
// by '/' (a pixel a hex palette index, '.' white), or any; "?" may be refused, naming the file.
struct Picture {
    QString name;
    PictureError error = PictureError::None;
    QString pixels = {};
    int limitMB = 0; // 0: read from the file at the program's own limit
};

struct Limit {
    const char *name;
    QString path; // "file": ten bytes; "link": to /dev/zero
    LongFile longFile;
    FileProblem problem;
    int size;
};

// The system's error number of a failed save, -1 for a failure without one, 0 when saved.
int save(int count, unsigned seed, const QString &path)
{
    const auto result = ModelFile::save(seededModel(count, seed), path.toStdString());
    return result.ok() ? 0 : result.systemError ? result.systemError : -1;
}

bool makeAnHourOld(const QString &path)
{
    const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), anHourAgo, 0) == 0;
}

QByteArray decodedFixtures()
{
    QByteArray pixels;
    for (const QString &file : QDir(kPictures).entryList(QDir::Files)) {
        const QImage image = decodePicture(contents(kPictures + file), 10).image;
        pixels.append(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    }
    return pixels;
}

// open() as the C library gives it, except that a named pipe is first swapped onto the name in
// swapBeforeOpen (once), as another program may do between a check by name and the open. An
// open that would wait for the pipe's writer is made without waiting, and pipeWouldBlock tells.
std::pair<std::string, std::string> swapBeforeOpen; // the name, the pipe's name
bool pipeWouldBlock = false;
// A save's child kills itself: 1 halfway through its write, 2 before the rename, 3 after it.
int killAt = 0;

template<typename Function> Function *real(const char *name)
{
    return reinterpret_cast<Function *>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = flags & (O_CREAT | O_TMPFILE) ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    if (!swapBeforeOpen.first.empty() && swapBeforeOpen.first == path) {
        ::renameat2(AT_FDCWD, swapBeforeOpen.second.c_str(), AT_FDCWD, path, RENAME_EXCHANGE);
        swapBeforeOpen = {};
        pipeWouldBlock = !(flags & O_NONBLOCK);
        flags |= O_NONBLOCK;
    }
    static const auto open = real<int(const char *, int, ...)>("open");
    return open(path, flags, mode);
}

extern "C" ssize_t write(int fd, const void *bytes, size_t size)
{
    static const auto write = real<ssize_t(int, const void *, size_t)>("write");
    if (killAt == 1 && size > 1 && write(fd, bytes, size / 2) >= 0)
        ::raise(SIGKILL);
    return write(fd, bytes, size);
}

extern "C" int rename(const char *from, const char *to)
{
    static const auto rename = real<int(const char *, const char *)>("rename");
    if (killAt == 2)
        ::raise(SIGKILL);
    const int result = rename(from, to);
    if (killAt == 3)
        ::raise(SIGKILL);
    return result;
}

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    // Pixels a point covers, its centre's pixel rounded half to even (size 1: plot(); its halves,
    // edges, NaN and infinities in tst_model); a box's outline from any two corners, clipped.
    void drawn_data()
    {
        addRows<Drawn>({
            {"1: just below a half", {3.4999998, 5}, 1, {3, 5, 1, 1}},
            {"1: far beyond int", {1e30, 5}, 1, {}},
            {"3: half to even, down", {2.5, 4}, 3, {1, 3, 3, 3}},
            {"2: one pixel before the centre", {5, 5}, 2, {5, 5, 2, 2}},
            {"4: just off the left edge", {-1.4, 0}, 4, {-2, -1, 4, 4}},
            {"4: just off the bottom right", {10.4, 9}, 4, {9, 8, 4, 4}},
            {"3: too far off to show", {11.6, 5}, 3, {}},
            {"box: mixed corners", {6, 3}, 0, {2, 3, 5, 5}, {2, 7}},
            {"box: reversed, clipped", {4, 20}, 0, {-5, -5, 10, 26}, {-5, -5}},
        });
    }
    void drawn()
    {
        QFETCH(Drawn, row);
        ImageSurface surface(10, 10, kGrey); // off the surface reads white
        const SurfacePoint point {float(row.at.x()), float(row.at.y())};
        if (row.size == 0)
            surface.drawBox(row.at.x(), row.at.y(), row.corner.x(), row.corner.y(), kRed);
        else if (row.size == 1)
            surface.plot(point.x, point.y, kRed);
        else
            surface.plotAll({&point, 1}, {&kRed, 1}, row.size);
        QImage expected = ImageSurface(10, 10, kGrey).image();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (row.covered.contains(x, y)
                    && (row.size || !row.covered.adjusted(1, 1, -1, -1).contains(x, y)))
                    expected.setPixel(x, y, qRgb(255, 0, 0));
        QVERIFY(samePicture(surface.image(), expected, "surface"));
        if (row.size == 1)
            QCOMPARE(surface.pixel(point.x, point.y), row.covered.isEmpty() ? kWhite : kRed);
    }

    // PIL sees 24 bits and every pixel; 96 dpi as the command line writes, on any screen (120).
    void savedPictureReadByPil()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("view.bmp");
        ImageSurface surface(7, 5, kWhite);
        surface.plot(0, 0, kRed);
        surface.plot(6, 4, kBlue);
        QImage onScreen = surface.image();
        onScreen.setDotsPerMeterX(4724);
        QVERIFY(writePicture(onScreen, path).ok());
        QCOMPARE(contents(path).mid(38, 8), QByteArray::fromHex("c40e0000c40e0000")); // 3780
        const ReadBack read = readBack("frames", path);
        REQUIRE_READ(read);
        QCOMPARE(read.seen["bits"].toInt(), 24);
        QVERIFY(samePicture(read.frame(0, 7, 5), surface.image(), "read by PIL"));
    }

    // Odd pictures that are whole and broken ones that look whole, in fuzz/pictures (the picture
    // fuzzer's seeds, named for their trap), some at a limit of 10 MB as too large is small to
    // make; and the BMP corpus beside the repository, if there: its good pictures all shown.
    void pictures_data()
    {
        using enum PictureError;
        addRows<Picture>({
            // Many writers leave every alpha of an alpha mask 0: opaque, as browsers show it.
            {"bmp-alpha-mask-all-zero.bmp", None, "#FF0000"},
            // Pixels a run-length stream leaves unset are white, whatever memory held.
            {"bmp-rle8.bmp", None, "......../......../......../.....77./44....../33333333"},
            {"bmp-rle8-stops-early.bmp", None, "......../......../......../555....."},
            {"bmp-rle8-delta.bmp", None, "......../......../.....99./77......"},
            {"bmp-rle8-runs-past-row.bmp", None, "......../......../99....../44444444"},
            {"bmp-rle4-stops-early.bmp", None, "......../......../......../121....."},
            {"bmp-rle4-delta.bmp", None, "......../......../.....78./56......"},
            {"bmp-rle4-runs-past-row.bmp", None, "......../......../56....../34343434"},
            {"bmp-narrow-top-down.bmp"},
            {"bmp-signature-only.bmp", Unreadable},
            // Qt would show missing rows as whatever memory held.
            {"bmp-rows-cut-short.bmp", Truncated},
            {"bmp-top-down-rows-cut-short.bmp", Truncated},
            {"bmp-narrow-padded-rows-cut-short.bmp", Truncated},
            {"bmp-header-16000x16000.bmp", TooLarge}, // within Qt's own check
            {"mng-no-picture.mng", Unreadable}, // the decoder's success, no picture
            // 12 MB at the peak decoded at 16 bits, 4 MB at 8; (10, 20, 30) half on white.
            {"png-16bit-1000x1000-half-transparent.png", None, "#84898E", 10},
            {"png-all-transparent.png", None, "#FFFFFF"},
            {"png-bad-crc.png", Unreadable},
            {"png-rgb-cut-short.png", Truncated},
            {"jpeg-stray-bytes-before-segment.jpg", None, "#808080"}, // skipped
            {"jpeg-baseline-cut-short.jpg", Truncated},
            {"jpeg-cut-at-half-with-end-marker.jpg", Truncated}, // the decoder would add grey
            {"jpeg-header-1000x1000-over-64x64.jpg", Truncated},
            {"jpeg-501-scans.jpg", TooManyScans},
            {"gif-all-transparent.gif", None, "#FFFFFF"},
            {"gif-frame-65535x8192-on-16x16.gif", TooLarge, {}, 10}, // 2 GB decoded
            {"gif-still-cut-short.gif", Truncated},
            {"tiff-lzw-cut-short.tif", Unreadable},
            {"webp-all-transparent.webp", None, "#FFFFFF"},
            {"webp-lossy-cut-short.webp", Unreadable},
            {".", NotRegularFile}, // the folder itself
            {"(missing)", NotFound},
        });
        const QDir suite(QStringLiteral(ZUVORAK_TESTDATA "/bmpsuite"));
        for (const QString folder : {"g", "q", "b", "x"})
            for (const QFileInfo &file : QDir(suite.filePath(folder)).entryInfoList({"*.bmp"}))
                QTest::newRow(qPrintable(folder + '/' + file.fileName()))
                    << Picture {file.filePath(), None, folder == "g" ? "" : "?"};
    }
    void pictures()
    {
        QFETCH(Picture, row);
        const QString path = QDir(kPictures).filePath(row.name); // the corpus's are absolute
        const DecodedPicture decoded
            = row.limitMB ? decodePicture(contents(path), row.limitMB) : readPicture(path);
        if (row.pixels == "?" && !decoded.result.ok())
            QVERIFY(pictureFailureText(path, decoded.result, false).contains(path));
        if (row.pixels == "?")
            return;
        QCOMPARE(decoded.result.error, row.error);
        if (row.error != PictureError::None)
            return;
        QCOMPARE(decoded.image.format(), QImage::Format_RGB32);
        QImage expected(decoded.image.size(), QImage::Format_RGB32);
        expected.fill(row.pixels.startsWith('#') ? QColor(row.pixels) : QColor(Qt::white));
        const QByteArray bytes = contents(path); // after the header blue, green, red, 0 a colour
        const auto palette = [&](QChar index) {
            const int at = 14 + bytes[14] + 4 * QString(index).toInt(nullptr, 16);
            return qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at]));
        };
        const QStringList lines = row.pixels.contains('/') ? row.pixels.split('/') : QStringList();
        for (int y = 0; y < lines.size(); ++y)
            for (int x = 0; x < lines[y].size(); ++x)
                if (lines[y][x] != '.')
                    expected.setPixel(x, y, palette(lines[y][x]));
        QVERIFY(row.pixels.isEmpty() || samePicture(decoded.image, expected, "decoded"));
    }

    // The same pixels whatever fresh memory holds, no read of unwritten memory: the fixtures
    // decoded by a child (see main) with malloc's fresh memory filled, and by valgrind sans ASan.
    void picturesIndependentOfMemory_data()
    {
        QTest::addColumn<QString>("perturb"); // empty: under valgrind
        QTest::newRow("fresh memory 17") << "17";
        QTest::newRow("fresh memory 238") << "238";
#ifndef __SANITIZE_ADDRESS__
        QTest::newRow("valgrind") << QString();
#endif
    }
    void picturesIndependentOfMemory()
    {
        QFETCH(QString, perturb);
        QStringList command {QCoreApplication::applicationFilePath(), "--decode"};
        if (perturb.isEmpty()) {
            const QString program = QStandardPaths::findExecutable("valgrind");
            REQUIRE_READER(!program.isEmpty(), "valgrind");
            command = QStringList {program, "-q", "--error-exitcode=99"} + command;
        }
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << "MALLOC_PERTURB_=" + perturb);
        child.start(command.takeFirst(), command);
        QVERIFY(child.waitForFinished(-1));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QVERIFY(child.readAllStandardOutput() == decodedFixtures());
    }

    // A named pipe swapped in between the name's check and its open: refused, never waited on.
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
        QVERIFY(picture ? writePicture(QImage(30, 20, QImage::Format_RGB32), path).ok()
                        : save(30, 1, path) == 0);
        QCOMPARE(::mkfifo(qPrintable(dir.filePath("pipe")), 0600), 0);
        swapBeforeOpen = {path.toStdString(), dir.filePath("pipe").toStdString()};
        ModelFile::ParsedModel parsed;
        QVERIFY(picture ? readPicture(path).result.error == PictureError::NotRegularFile
                        : ModelFile::load(path.toStdString(), parsed).error
                              == ModelFile::FileError::NotRegularFile);
        QVERIFY2(swapBeforeOpen.first.empty(), "the read never opened the file by its name");
        QVERIFY2(!pipeWouldBlock, "the open waits for a writer");
    }

    // A save replaces a symbolic link's file, keeping its permissions; a file the user may not
    // write is kept, though the folder would let it be replaced.
    void linksAndPermissions()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("real.chs"), link = dir.filePath("link.chs");
        QCOMPARE(save(1, 1, file), 0);
        QCOMPARE(::chmod(qPrintable(file), 0640), 0);
        QCOMPARE(::symlink("real.chs", qPrintable(link)), 0);
        QCOMPARE(save(2, 2, link), 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(file), asBytes(ModelFile::encode(seededModel(2, 2))));
        struct stat status { };
        QVERIFY(::stat(qPrintable(file), &status) == 0 && (status.st_mode & 0777) == 0640);
        QVERIFY(::chmod(qPrintable(dir.path()), 0777) == 0 && ::chmod(qPrintable(file), 0444) == 0);
        QCOMPARE(runAsNobody([&] { return save(3, 3, file); }), EACCES);
        QCOMPARE(contents(file), asBytes(ModelFile::encode(seededModel(2, 2))));
    }

    void readLimits_data()
    {
        using enum FileProblem;
        addRows<Limit>({
            {"device: would never end", "/dev/zero", LongFile::ReadStart, NotRegularFile, 0},
            {"link to a device", "link", LongFile::ReadStart, NotRegularFile, 0},
            {"longer than allowed", "file", LongFile::Refuse, TooLarge, 0},
            {"longer, its start only", "file", LongFile::ReadStart, None, 9},
        });
    }
    void readLimits()
    {
        QFETCH(Limit, row);
        QTemporaryDir dir;
        QVERIFY(write(dir.filePath("file"), "0123456789"));
        QCOMPARE(::symlink("/dev/zero", qPrintable(dir.filePath("link"))), 0);
        const QString path = QDir(dir.path()).filePath(row.path); // or /dev/zero itself
        const ReadResult read = readRegularFile(path.toStdString(), 9, row.longFile);
        QCOMPARE(read.result.problem, row.problem);
        QCOMPARE(asBytes(read.bytes), QByteArray("0123456789").left(row.size));
    }

    // A full model's save killed at each step leaves one whole model; the next save removes old
    // leftovers, a turntable's folder of frames too, not young ones (a running save's) or others.
    void killedSaveLeavesNoLeftovers_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("halfway through the write") << 1;
        QTest::newRow("before the rename") << 2;
        QTest::newRow("after the rename") << 3;
    }
    void killedSaveLeavesNoLeftovers()
    {
        QFETCH(int, step);
        QTemporaryDir dir;
        const std::string target = dir.filePath("model.chs").toStdString();
        const Model first = seededModel(kMaxPoints, 1), second = seededModel(kMaxPoints, 2);
        QVERIFY(ModelFile::save(first, target).ok());
        const pid_t child = ::fork();
        if (child == 0) {
            killAt = step;
            ModelFile::save(second, target);
            ::_exit(0);
        }
        int status = 0;
        QVERIFY(child > 0 && ::waitpid(child, &status, 0) == child);
        QVERIFY2(WIFSIGNALED(status), "the save never came to the step");
        QCOMPARE(contents(dir.filePath("model.chs")),
                 asBytes(ModelFile::encode(step == 3 ? second : first)));
        QStringList left = entries(dir.path());
        QCOMPARE(left.removeAll("model.chs") + left.size(), step == 3 ? 1 : 2);
        for (const QString &name : left)
            QVERIFY(makeAnHourOld(dir.filePath(name)));
        for (const QString name : {".zuvorak-New123.tmp", ".zuvorak-mine.tmp", "keep.tmp"})
            QVERIFY(write(dir.filePath(name), {})
                    && (name.contains("New") || makeAnHourOld(dir.filePath(name))));
        QVERIFY(QDir(dir.path()).mkdir(".zuvorak-Frm123.tmp")
                && write(dir.filePath(".zuvorak-Frm123.tmp/frame-000.png"), "png")
                && makeAnHourOld(dir.filePath(".zuvorak-Frm123.tmp")));
        QVERIFY(ModelFile::save(first, target).ok());
        QCOMPARE(entries(dir.path()), QStringList({".zuvorak-mine.tmp", ".zuvorak-New123.tmp",
                                                   "keep.tmp", "model.chs"}));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--decode") == 0) { // picturesIndependentOfMemory's child
        const QByteArray pixels = decodedFixtures();
        return std::fwrite(pixels.constData(), 1, size_t(pixels.size()), stdout)
               != size_t(pixels.size());
    }
    QCoreApplication app(argc, argv);
    TestSurface test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_surface.moc"
