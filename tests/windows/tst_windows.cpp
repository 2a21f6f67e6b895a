#include "export.h"
#include "file_faults.h"
#include "file_lists.h"
#include "help_viewer.h"
#include "image_surface.h"
#include "messages.h"
#include "model_file_io.h"
#include "picture_file.h"
#include "platform.h"
#include "readers.h"
#include "turntable.h"
#include "window_test.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QWheelEvent>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

// The file list of the program's own open and save dialogs.
static FileList *files(QWidget *dialog)
{
    return child<FileList>(dialog, "files");
}

struct Save {
    const char *name;
    QString typed, target; // the extension is added to a name without it
    int answer = 0; // 0: Yes, should a question come
};
Q_DECLARE_METATYPE(Save)

// The save, open and capture windows and the help, each from the main window's menus.
class TestDialogs : public QObject, WithProgram {
    Q_OBJECT
    std::optional<InFolder> dir_;

    QString path(const QString &name) const { return dir_->path(name); }

private slots:
    void init() // a.chs holds a model of one point, the window one of two; the rest are empty
    {
        program_.reset();
        dir_.emplace();
        ImageSurface sample(300, 250, kWhite); // a white picture with four dark pixels
        for (const QPoint dark : {QPoint(11, 21), QPoint(11, 25), QPoint(14, 22), QPoint(299, 249)})
            sample.plot(dark.x(), dark.y(), 0x141496);
        QVERIFY(writePicture(sample.image(), path("sample.bmp")).ok());
        start({{{1, -2, 3}, {4, 5, -6}}, {0x123456, 0}}, path("sample.bmp"));
        QVERIFY(ModelFile::save({{{7, 8, 9}}, {0}}, path("a.chs").toStdString()).ok());
        QVERIFY(QFile("b.bmp").open(QIODevice::WriteOnly)
                && QFile("empty.chs").open(QIODevice::WriteOnly));
    }

    void save_data()
    {
        addRows<Save>({{"empty file: not asked", "empty", "empty.chs"},
                       {"overwrite: Yes", "a", "a.chs", QMessageBox::Yes},
                       {"overwrite: No", "a", "a.chs", QMessageBox::No},
                       {"typed with its extension", "a.chs", "a.chs"},
                       {"typed with its extension in capitals", "A.CHS", "A.CHS"},
                       {"bitmap", "v", "v.bmp"},
                       {"bitmap typed with its extension", "v.bmp", "v.bmp"}});
    }
    void save()
    {
        QFETCH(Save, row);
        const QString target = row.target;
        const bool bitmap = target.endsWith(".bmp", Qt::CaseInsensitive);
        const qint64 existing = QFileInfo(target).size(); // 0 also when there is no such file
        const bool asked = existing > 0, written = !asked || row.answer != QMessageBox::No;
        MessageBoxes boxes(row.answer ? row.answer : int(QMessageBox::Yes));
        // Without a file name the save-over command asks for one, as 名前を付けて保存 does.
        withModal(window(), bitmap ? "saveBitmapAction" : "saveAction", [&](QDialog *dialog) {
            QCOMPARE(files(dialog)->item(0)->text(), bitmap ? "b.bmp" : "a.chs"); // the pattern
            saveAs(row.typed)(dialog);
        });
        if (written && !bitmap) { // with a file name now, Ctrl+S saves over it at once
            QVERIFY(QFile::remove(target));
            window()->activateWindow(); // the offscreen platform leaves that to the program
            QVERIFY(QTest::qWaitForWindowActive(window()));
            QTest::keyClick(window(), Qt::Key_S, Qt::ControlModifier);
        }
        const QString question = path(target) + " ファイルは既に存在します。上書きしますか？";
        QCOMPARE(boxes.texts, asked ? QStringList {question} : QStringList()); // in Qt's Japanese
        QVERIFY(!asked || boxes.shown[0].buttonTexts == "はい(&Y) いいえ(&N)");
        QCOMPARE(QFileInfo(target).size() > existing, written); // two points, not one
        QCOMPARE(shownTitle(window()),
                 !written || bitmap ? "ZUVORAK" : QFileInfo(target).fileName() + " - ZUVORAK");
    }

    void openDialogs()
    {
        QVERIFY(QDir().mkdir("sub"));
        click(window(), "turnLeft5");
        // Closed without a choice: a fresh front view. "sub", the last folder, by double-click
        // (QTest::mouseDClick misses item views in Qt 6.4), then its parent, listed above.
        withModal(window(), "openAction", [&](QDialog *dialog) {
            QCOMPARE(files(dialog)->count(), 2); // a.chs and empty.chs
            auto *folders = child<FolderList>(dialog, "folders");
            QWidget *view = folders->viewport();
            const QPoint at = folders->visualItemRect(folders->item(folders->count() - 1)).center();
            QTest::mouseClick(view, Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(view, &twice);
            QTRY_COMPARE(files(dialog)->path(), path("sub"));
            folders->setCurrentRow(folders->currentRow() - 1);
            QTest::keyClick(folders, Qt::Key_Return);
            QTRY_COMPARE(files(dialog)->path(), QDir::currentPath());
        });
        QCOMPARE(text(window(), "turnAngle"), "0");
        MessageBoxes boxes;
        withModal(window(), "openAction", [](QDialog *dialog) { files(dialog)->setCurrentRow(1); });
        QCOMPARE(boxes.texts, {"ファイル " + path("empty.chs")
                               + " を読み込めません。\n点の数が書かれていません。"});
        QVERIFY(document().model().count() == 2 && document().fileName().isEmpty());
        QCOMPARE(shownTitle(window()), "ZUVORAK");
        withModal(window(), "openAction",
                  [](QDialog *d) { QTest::keyClick(files(d), Qt::Key_Down); });
        QCOMPARE(document().model().count(), 1); // a.chs, opened by the arrow key
        QCOMPARE(shownTitle(window()), "a.chs- ZUVORAK");

        // A picture opened in the capture window is shown; a broken one: TestFiles::pictureFiles.
        const QImage red = ImageSurface(30, 30, 0x0000FF).image();
        QVERIFY(writePicture(red, path("red.bmp")).ok());
        withModal(window(), "captureAction", [&](QDialog *capture) {
            withModal(capture, "openAction", [](QDialog *d) { files(d)->setCurrentRow(1); });
            QVERIFY(samePicture(shown(capture, "picture").copy(red.rect()), red, "red"));
        });
    }

    void outlineRedoAndLeaving()
    {
        withModal(window(), "captureAction", [](QDialog *capture) {
            QVERIFY(!child<QAction>(capture, "doOverAction")->isEnabled());
            const QImage picture = shown(capture, "picture");
            QWidget *box = child(capture, "picture");
            QTest::mousePress(box, Qt::LeftButton, {}, inBox({80, 90}));
            QTest::mouseMove(box, inBox({10, 20}));
            QTest::mouseMove(box, inBox({50, 60})); // must erase the first outline
            QImage outlined = picture; // a blue frame one pixel wide from (50, 60) to (80, 90)
            QPainter(&outlined).fillRect(QRect(50, 60, 31, 31), QColor(0, 0, 255));
            QPainter(&outlined).drawImage(51, 61, picture.copy(51, 61, 29, 29));
            QVERIFY(samePicture(shown(capture, "picture"), outlined, "outline"));
            QTest::mouseRelease(box, Qt::LeftButton, {}, inBox({50, 60}));
            trigger(capture, "doOverAction");
            QVERIFY(samePicture(shown(capture, "picture"), picture, "done over"));
            QVERIFY(child<QAction>(capture, "importAction")->isEnabled());
        });
        captureDrag(window(), {10, 20}, {15, 26}); // 3 points
        QCOMPARE(document().model().count(), 3);
        // A selection made and then left by Exit or the close box hands nothing over.
        captureDrag(window(), {0, 0}, {13, 23}, "exitAction");
        captureDrag(window(), {0, 0}, {13, 23}, nullptr);
        QCOMPARE(document().model().count(), 3);
        captureDrag(window(), {300, 250}, {290, 240});
        QCOMPARE(document().model().count(), 1); // only the far corner's pixel
    }

    // F1 does nothing before the help's first use, then opens it from any window; a
    // missing help file is named in a message.
    void help()
    {
        HelpViewer &help = HelpViewer::instance();
        const auto shows = [&] { return help.window() && help.window()->isVisible(); };
        QTest::keyClick(window(), Qt::Key_F1);
        QApplication::processEvents();
        QVERIFY(!help.window());
        const QString shipped = QDir(programFolder()).filePath("help/zuvorak.html");
        QDir(programFolder()).mkpath("help"); // the help ships beside the executable
        QFile::remove(shipped);
        QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/resources/help/zuvorak.html", shipped));
        trigger(window(), "helpContentsAction");
        QTRY_VERIFY(shows());
        QVERIFY(help.window()->toPlainText().contains("使い方の流れ"));
        help.window()->close();
        QDialog other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_F1);
        QTRY_VERIFY(shows());
        help.window()->close();
        QTRY_VERIFY(!help.window());
        MessageBoxes boxes;
        help.setHelpFile("/nonexistent/zuvorak.html");
        QTest::keyClick(window(), Qt::Key_F1);
        QTRY_COMPARE(boxes.texts,
                     QStringList {"ヘルプファイル /nonexistent/zuvorak.html が見つかりません。"});
        QVERIFY(!shows());
    }
};

// Pictures written by scripts/make_capture_pictures.py and make_fuzz_pictures.py.
const QString kPictures = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/pictures/");

using Points = std::optional<std::pair<std::vector<Coords>, std::vector<Colour>>>;

// What an import of the rectangle dragged from `from` to `to` gives in the capture window of a
// program started with `picture`, `first` done first.
static Points importFrom(
    const QString &picture, QPoint from, QPoint to, const Step &first = [](QDialog *) {})
{
    Program program({}, picture);
    const bool open = captureDrag(&program.window, from, to, "importAction", first);
    if (open == program.document.hasModel())
        QTest::qFail("the capture window stays open exactly when it refuses", __FILE__, __LINE__);
    const Model &model = program.document.model();
    return program.document.hasModel() ? Points(std::pair {model.points, model.colours}) : Points();
}

// 1000 x 800 pixels of many colours, dark and light.
static QImage largePicture()
{
    QImage picture(1000, 800, QImage::Format_RGB32);
    picture.fill(qRgb(255, 250, 230));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((x * 7 + y * 3) % 11 < 4)
                picture.setPixel(x, y, qRgb(x * 13 % 190, y * 7 % 190, (x + y) % 190));
    return picture;
}

static const QString kOnePoint = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/one-point.chs");

// Cancels the turntable's progress once its first frame is done, and tells whether it did.
struct CancelAfterFirstFrame : QObject {
    QPointer<QProgressBar> watched;
    bool cancelled = false;
    CancelAfterFirstFrame() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *object, QEvent *) override
    {
        auto *progress = qobject_cast<QProgressDialog *>(object);
        auto *bar = progress ? progress->findChild<QProgressBar *>() : nullptr;
        if (bar && bar != watched)
            connect(watched = bar, &QProgressBar::valueChanged, this, [=, this](int done) {
                if (done == 1 && !cancelled)
                    progress->cancel(), cancelled = true;
            });
        return false;
    }
};

struct Writer {
    const char *action;
    QString target; // in the folder
    QString options = {}; // the options dialog's fields; empty: none
    QString filter = {}; // the kind chosen in Qt's save dialog
};
Q_DECLARE_METATYPE(Writer)

struct Export {
    const char *name;
    QString kind, fields; // the options dialog's; "-": none
    ExportFunction *library;
    ExportOptions options;
};
Q_DECLARE_METATYPE(Export)

struct Solid {
    const char *name;
    Model model;
    int thicken;
    QString shown; // the label and the end of its text
    bool warned;
};
Q_DECLARE_METATYPE(Solid)

// Three columns and two rows of pixels at depths 0 and 4, and one point with a NaN depth.
const Model kSampleModel
    = {{{0, 0, 0}, {0, 1, 0}, {4, 2, 0}, {0, 0, 1}, {4, 1, 1}, {0, 2, 1}, {NAN, 5, 5}},
       {0x0000FF, 0x0000FF, 0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF, 0x0000FF}};

struct PictureFile {
    const char *name;
    QString fixture, file, expected; // as listed; the bitmap giving the same points, or the reason
};
Q_DECLARE_METATYPE(PictureFile)

// Files through the windows: the capture window's pictures of every format and size, writing and
// reading when the file system fails, the export submenu's dialogs, remembered options and files.

class TestFiles : public QObject {
    Q_OBJECT
    std::optional<InFolder> dir_; // where the dialogs start

    QString path(const QString &name) const { return dir_->path(name); }

private slots:
    void init()
    {
        QFile::remove(settingsPath());
        dir_.emplace();
    }

    // Every format the open dialog lists (a text file it does not) gives the points of the same
    // drawing as a bitmap, transparent as background; one cut short is refused, the picture kept.
    void pictureFiles_data()
    {
        const QString drawing = "bmp-drawing.bmp", cut = "ファイルが途中で切れています。",
                      unreadable = "画像として読み込めません。";
        addRows<PictureFile>({
            {"PNG", "png-drawing.png", "a.png", drawing},
            {"JPEG in greys, kept exactly", "jpeg-grey-blocks-exact.jpg", "a.jpg",
             "bmp-grey-blocks.bmp"},
            {"GIF", "gif-drawing.gif", "a.gif", drawing},
            {"animated GIF: the first frame", "gif-drawing-animated.gif", "a.gif", drawing},
            {"TIFF", "tiff-drawing-lzw.tif", "a.tif", drawing},
            {"WebP, lossless", "webp-drawing-lossless.webp", "a.webp", drawing},
            {"transparent: the ink only", "png-ink-on-transparent.png", "a.png",
             "bmp-ink-on-white.bmp"},
            {"PNG cut short", "png-rgb-cut-short.png", "b.png", cut},
            {"JPEG cut short", "jpeg-baseline-cut-short.jpg", "b.jpeg", cut},
            {"GIF cut short", "gif-still-cut-short.gif", "b.gif", cut},
            {"TIFF cut short", "tiff-lzw-cut-short.tif", "b.tiff", unreadable},
            {"WebP cut short", "webp-lossy-cut-short.webp", "b.webp", unreadable},
        });
    }
    void pictureFiles() // a refused file leaves the start picture, imported as before
    {
        QFETCH(PictureFile, row);
        QVERIFY(QFile::copy(kPictures + row.fixture, path(row.file))
                && QFile(path("notes.txt")).open(QIODevice::WriteOnly));
        const bool refused = !row.expected.endsWith(".bmp");
        MessageBoxes boxes;
        const Points points = importFrom(kStartPicture, {}, {190, 190}, [&](QDialog *capture) {
            withModal(capture, "openAction", [&](QDialog *dialog) {
                QCOMPARE(files(dialog)->count(), 1);
                files(dialog)->setCurrentRow(0);
            });
        });
        QCOMPARE(boxes.shown.size(), qsizetype(refused));
        const QString told
            = QString("ファイル %1 を読み込めません。\n%2").arg(path(row.file), row.expected);
        QCOMPARE(boxes.texts.value(0).left(told.size()), refused ? told : QString());
        QVERIFY(points && points->first.size() >= 100);
        QCOMPARE(points,
                 importFrom(refused ? kStartPicture : kPictures + row.expected, {}, {190, 190}));
    }

    // Scrolled to its far corner, a large picture imports there as the same corner cut
    // out does at the top-left, and a selection too large there is refused as there.
    void scrolledCorner_data()
    {
        QTest::addColumn<QRect>("corner");
        QTest::newRow("140 x 110 in the far corner") << QRect(860, 690, 140, 110);
        QTest::newRow("191 x 191, the largest") << QRect(809, 609, 191, 191);
        QTest::newRow("192 across: too large") << QRect(808, 609, 192, 191);
        QTest::newRow("192 down: too large") << QRect(809, 608, 191, 192);
    }
    void scrolledCorner()
    {
        QFETCH(QRect, corner);
        QVERIFY(writePicture(largePicture(), path("large.bmp")).ok());
        QVERIFY(writePicture(largePicture().copy(corner), path("corner.bmp")).ok());
        MessageBoxes boxes;
        const auto there = importFrom(
            path("large.bmp"), corner.topLeft(), corner.bottomRight(), [&](QDialog *capture) {
                auto *scroll = child<QScrollArea>(capture, "pictureScroll");
                for (QScrollBar *bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()})
                    bar->triggerAction(QAbstractSlider::SliderToMaximum);
                const QRegion seen = child(capture, "picture")->visibleRegion();
                QVERIFY(seen.contains(inBox(corner.topLeft()))
                        && seen.contains(inBox(corner.bottomRight())));
            });
        QCOMPARE(there,
                 importFrom(path("corner.bmp"), {}, corner.bottomRight() - corner.topLeft()));
        const QString tooLarge
            = "指定範囲が大きすぎます\n選択は %1 × %2 ピクセル、取りこめるのは 191 × 191 "
              "ピクセルまでです。大きな範囲は「縮小して取りこむ」で取りこめます。";
        QCOMPARE(boxes.texts,
                 there ? QStringList()
                       : QStringList(2, tooLarge.arg(corner.width()).arg(corner.height())));
        QCOMPARE(!there, corner.width() > 191 || corner.height() > 191);
    }

    // Without its start picture the capture window says so and shows grey, where a selection
    // has no point: an empty model, told so.
    void missingStartPicture()
    {
        MessageBoxes boxes;
        const Points points
            = importFrom(path("none.bmp"), {10, 10}, {200, 200}, [&](QDialog *capture) {
                  QTRY_COMPARE(boxes.shown.size(), 1);
                  QVERIFY(shown(capture, "picture").pixel(0, 0) != qRgb(255, 255, 255));
              });
        QVERIFY(points && points->first.empty());
        QCOMPARE(boxes.texts.mid(1), // after the missing picture's
                 {"指定範囲に取りこめる点がありません。\n元に戻すで前のモデルに戻ります。"});
    }

    // A drag past the edge of the view scrolls the picture, and goes on scrolling while
    // the pointer rests there.
    void dragPastEdgeScrolls()
    {
        QVERIFY(writePicture(largePicture(), path("large.bmp")).ok());
        Program program({}, path("large.bmp"));
        withModal(&program.window, "captureAction", [](QDialog *capture) {
            QScrollBar *bar = child<QScrollArea>(capture, "pictureScroll")->horizontalScrollBar();
            QWidget *box = child(capture, "picture");
            QTest::mousePress(box, Qt::LeftButton, {}, inBox({100, 100}));
            QTest::mouseMove(box, inBox({620, 100}));
            const int first = bar->value();
            QVERIFY(first > 0);
            QTRY_VERIFY(bar->value() > first + 20);
            QTest::mouseRelease(box, Qt::LeftButton, {}, inBox({620, 100}));
            const int released = bar->value();
            for (QTimer *timer : capture->findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
                if (QSignalSpy tick(timer, &QTimer::timeout); timer->isActive())
                    QVERIFY(tick.wait()); // the next step of a scroll still going
            QCOMPARE(bar->value(), released);
        });
    }

    // Every writer, every fault: the older file byte for byte and nothing beside it, the
    // reason in the user's words, title and file name kept.
    void fileFaults_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason"); // empty: no message
        const QString turntable = "frames=12 size=96 pointSize=1";
        const std::pair<const char *, Writer> writers[] = {
            {"model", {"saveAsAction", "old.chs"}},
            {"bitmap", {"saveBitmapAction", "old.bmp"}},
            {"PLY", {"exportPlyAction", "old.ply", "ascii=1"}},
            {"XYZ", {"exportXyzAction", "old.xyz"}},
            {"glb", {"exportGlbAction", "old.glb", "pixelSize=0.5"}},
            {"STL", {"exportStlAction", "old.stl", "pixelSize=0.5"}},
            {"3MF", {"export3mfAction", "old.3mf", "colourGroups=2"}},
            {"turntable",
             {"turntableAction", "old.webp", turntable, "アニメーション WebP (*.webp)"}},
            {"frames",
             {"turntableAction", "spin", turntable, "PNG 連番画像の新しいフォルダー (*/)"}},
        };
        const std::pair<const char *, const char *> faults[] = {
            {"gone", "ファイルまたはフォルダーが見つかりません。"},
            {"read-only", "アクセスが許可されていません。"},
            {"size limit", "ファイルの大きさが上限を超えます。"},
            {"full", "ディスクに空きがありません。"},
            {"cancel", ""},
        };
        for (const auto &[name, writer] : writers)
            for (const auto &[fault, reason] : faults)
                QTest::addRow("%s, %s", name, fault) << writer << QString(fault) << QString(reason);
    }
    void fileFaults()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        const QString folder = path("in"), target = folder + "/" + writer.target;
        const QString typed = writer.target.section('.', 0, 0);
        QVERIFY(QDir().mkdir(folder));
        std::optional<SmallTmpfs> disk;
        if (fault == "full" && !disk.emplace(folder, 1024).mounted())
            REQUIRE_READER(false, "root, to mount a small tmpfs");
        const bool isFile = typed != writer.target, cancel = fault == "cancel";
        QVERIFY(!isFile || QFile::copy(kOnePoint, target));
        const QStringList before = entries(folder);
        QVERIFY(fault != "full" || fillUp(folder, 4096)); // a write fails part-way
        Program main(sixColours(3000));
        MessageBoxes messages(QMessageBox::Yes);
        std::optional<FileSizeLimit> limit;
        const auto asRoot = qScopeGuard([] { QVERIFY(::getuid() != 0 || ::seteuid(0) == 0); });
        std::vector<Step> steps {QString(writer.action).startsWith("save") // the program's own
                                     ? saveAs("in/" + typed)
                                     : qtSaveAs(folder + "/" + typed, writer.filter)};
        if (!writer.options.isEmpty())
            steps.push_back(options(writer.options));
        CancelAfterFirstFrame progress; // a turntable is cancelled in its progress
        progress.cancelled = !cancel || writer.filter.isEmpty();
        if (cancel && writer.filter.isEmpty())
            steps.back() = [](QDialog *dialog) { dialog->reject(); };
        steps.back() = [&, last = steps.back()](QDialog *dialog) {
            if (fault == "gone")
                QVERIFY(QDir(folder).removeRecursively());
            else if (fault == "read-only") // root writes anywhere: act as nobody
                QVERIFY(::chmod(QFile::encodeName(dir_->dir.path()), 0711) == 0
                        && ::chmod(QFile::encodeName(folder), 0555) == 0
                        && (::getuid() != 0 || ::seteuid(65534) == 0));
            else if (fault == "size limit")
                limit.emplace(100);
            last(dialog);
        };
        stepThrough(&main.window, writer.action, steps);
        limit.reset();
        QVERIFY(::getuid() != 0 || ::seteuid(0) == 0);
        QVERIFY(progress.cancelled);
        QDir(folder).remove("filler");
        QCOMPARE(entries(folder), fault == "gone" ? QStringList() : before);
        QVERIFY(!isFile || fault == "gone" || contents(target) == contents(kOnePoint));
        QStringList errors;
        for (const MessageBoxes::Shown &shown : std::as_const(messages.shown))
            if (shown.title == "エラーメッセージ")
                errors << shown.text;
        const QString told = QString("ファイル %1 に書き込めません。\n%2").arg(target, reason);
        QCOMPARE(errors, reason.isEmpty() ? QStringList() : QStringList(told));
        QCOMPARE(shownTitle(&main.window), "ZUVORAK");
        QVERIFY(main.document.fileName().isEmpty());
    }

    // Without a readable current folder the dialogs start in the home folder.
    void startFolder_data()
    {
        QTest::addColumn<int>("depth"); // folders of 200 bytes below a removed one
        QTest::newRow("current folder removed") << 0;
        QTest::newRow("current folder deeper than the path limit") << 25;
    }
    void startFolder()
    {
        QFETCH(int, depth);
        const QString home = path("home");
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(path("gone")));
        qputenv("HOME", QFile::encodeName(home));
        QVERIFY(QDir::setCurrent(path("gone")));
        const QByteArray deep(200, 'd');
        for (int level = 0; level < depth; ++level)
            QVERIFY(::mkdir(deep.constData(), 0700) == 0 && ::chdir(deep.constData()) == 0);
        QVERIFY(depth > 0 || QDir().rmdir(path("gone")));
        Program main(sixColours(3));
        withModal(&main.window, "saveAsAction", saveAs("start"));
        withModal(&main.window, "openAction",
                  [&](QDialog *dialog) { QCOMPARE(files(dialog)->path(), home); });
        for (int level = 0; level < depth; ++level)
            QVERIFY(::chdir("..") == 0 && ::rmdir(deep.constData()) == 0);
        QCOMPARE(main.document.fileName(), home + "/start.chs");
    }

    // A model saved under the empty name is listed and opens again; our temporary
    // files and other hidden entries are never listed.
    void hiddenModelFileListed()
    {
        for (const char *name : {".notes", ".zuvorak-Ab12Cd.tmp", "list.tmp"})
            QVERIFY(QFile(name).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkdir(".hidden-folder"));
        std::optional<Program> main(std::in_place, sixColours(3));
        withModal(&main->window, "saveAsAction", saveAs(""));
        main.emplace(sixColours(1));
        withModal(&main->window, "openAction", [&](QDialog *dialog) {
            QCOMPARE(files(dialog)->count(), 1);
            QCOMPARE(files(dialog)->item(0)->text(), ".chs");
            auto *folders = child<FolderList>(dialog, "folders");
            QCOMPARE(folders->item(folders->count() - 1)->text().trimmed(),
                     QFileInfo(dir_->dir.path()).fileName()); // no subfolder
            files(dialog)->setCurrentRow(0);
        });
        QCOMPARE(main->document.model().count(), 3);
        FileList list;
        list.setPattern("*.tmp");
        list.setPath(dir_->dir.path());
        QVERIFY(list.count() == 1 && list.item(0)->text() == "list.tmp");
    }

    // A model file or picture the user may not read: the message gives that reason.
    void unreadableAsOrdinaryUser()
    {
        if (::geteuid() != 0)
            REQUIRE_READER(false, "root, to switch to the user nobody");
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0701) == 0);
        for (const QString kind : {"chs", "bmp"}) {
            const QString path = dir.filePath("private." + kind);
            QVERIFY(QFile::copy(kOnePoint, path) && QFile::setPermissions(path, QFile::ReadOwner));
            QCOMPARE(runAsNobody([&] {
                         ModelFile::ParsedModel parsed;
                         const QString text
                             = kind == "chs"
                                   ? modelFileFailureText(
                                       path, ModelFile::load(path.toStdString(), parsed), false)
                                   : pictureFailureText(path, readPicture(path).result, false);
                         return int(text
                                    != "ファイル " + path
                                           + " を読み込めません。\nアクセスが許可されていません。");
                     }),
                     0);
        }
    }

    // Every kind through the menu and its dialogs, named after the model: byte for byte the export
    // library's file for the options (tests/export reads those back); a message counts the NaN.
    void exportThroughMenu_data()
    {
        const SolidOptions tenth {.pixelSize = 0.1}, half {.pixelSize = 0.5},
            cura {.colourGroups = 2, .slicer = Slicer::Cura};
        addRows<Export>({
            {"PLY, binary", "ply", "", exportPly, {}},
            {"PLY, ASCII", "ply", "ascii=1", exportPly, {.ply = {true}}},
            {"XYZ", "xyz", "-", exportXyz, {}},
            {"glb, 0.1 mm pixels", "glb", "pixelSize=0.1", exportGlb, {.solid = tenth}},
            {"STL, 0.5 mm pixels", "stl", "pixelSize=0.5", exportStl, {.solid = half}},
            {"3MF, 2 colours, Cura", "3mf", "colourGroups=2 slicer=2", export3mf, {.solid = cura}},
        });
    }
    void exportThroughMenu()
    {
        QFETCH(Export, row);
        const QString kind = row.kind;
        const Model &model = kSampleModel;
        QVERIFY(ModelFile::save(model, path("part.chs").toStdString()).ok());
        Program program;
        program.window.openModelFile(path("part.chs"));
        MessageBoxes boxes;
        std::vector<Step> steps = {[&](QDialog *dialog) {
            QCOMPARE(qobject_cast<QFileDialog *>(dialog)->selectedFiles().value(0),
                     path("part." + kind));
            qtSaveAs("relief")(dialog); // the extension comes from the kind
        }};
        if (row.fields != "-")
            steps.push_back([&](QDialog *dialog) {
                if (kind == "stl") // only counts above 0
                    QCOMPARE(text(dialog, "counts"), "座標が有限でない点: 1 個");
                options(row.fields)(dialog);
            });
        const QString action = "export" + kind.left(1).toUpper() + kind.mid(1) + "Action";
        QCOMPARE(stepThrough(&program.window, qPrintable(action), steps), int(steps.size()));
        QCOMPARE(boxes.texts,
                 {"座標が有限でない点、または範囲を超える点 1 個は書き出していません。"});
        QCOMPARE(contents(path("relief." + kind)),
                 asBytes(row.library(model.points, model.colours, row.options).bytes));
    }

    // The options chosen last come back in a new program's dialogs, the solids sharing
    // theirs; cancelled options are not kept and write nothing.
    void optionsRemembered()
    {
        const QString ply = "ascii=1", solid = "pixelSize=0.4 depthScale=0.4 inkHeight=0.4 "
                                               "baseThickness=0.4 reverse=1 nozzle=0.6 thicken=2";
        const QString groups = " colourGroups=3 slicer=1";
        MessageBoxes boxes; // the point left out
        const auto run = [&](const char *action, const QString &file, const Step &options) {
            Program program(kSampleModel);
            return stepThrough(&program.window, action, {qtSaveAs(path(file)), options});
        };
        run("exportPlyAction", "1", options(ply));
        run("export3mfAction", "2", options(solid + groups));
        run("exportStlAction", "3", options("pixelSize=9", false));
        QVERIFY(!QFile::exists(path("3.stl")));
        for (const auto &[action, shown] : {std::pair {"exportPlyAction", ply + " binary=0"},
                                            {"export3mfAction", solid + groups},
                                            {"exportStlAction", solid}})
            QCOMPARE(run(action, "4", [&](QDialog *d) { QCOMPARE(fields(d, shown), shown); }), 2);
    }

    // The findings follow the options; the warning shows for lines thinner than the nozzle
    // or columns more than 8 times taller than their line is wide. Lines a pixel wide, one
    // 45 in front: 11.85 mm walls 0.25 mm wide; thickened by 1, 0.75 mm wide, still too tall.
    // A model that no setting can make a relief of is told so, and its options cannot be taken.
    void solidOptions_data()
    {
        Model lines, block;
        for (int j = 0; j < 8; ++j) {
            lines.points.insert(lines.points.end(), {{0, 0, double(j)}, {45, 5, double(j)}});
            for (int i = 0; i < 4; ++i)
                block.points.push_back({0, double(i), double(j)});
        }
        lines.colours.assign(lines.points.size(), Colour(0));
        block.colours.assign(block.points.size(), Colour(0));
        const QString findings = "findings=線の柱: %1 本　柱の高さと線の幅の比の最大: %2";
        const Model wide {{{0, 0, 0}, {0, 3000, 0}}, {0, 0}};
        addRows<Solid>({
            {"lines, one 45 deep", lines, 0, findings.arg(16).arg(47.4), true},
            {"the lines thickened by 1", lines, 1, findings.arg(0).arg(15.8), true},
            {"a flat block", block, 0, findings.arg(0).arg(0.6), false},
            {"3000 pixels wide", wide, 0,
             "size=このモデルの点は 2000 ピクセルを超えて広がっているため、書き出せません。",
             false},
        });
    }
    void solidOptions()
    {
        QFETCH(Solid, row);
        const QString label = row.shown.section('=', 0, 0), end = row.shown.section('=', 1);
        Program program(row.model);
        stepThrough(&program.window, "export3mfAction",
                    {qtSaveAs(path("relief")), [&](QDialog *dialog) {
                         fill(dialog, QString("thicken=%1").arg(row.thicken));
                         QCOMPARE(text(dialog, qPrintable(label)).right(end.size()), end);
                         QCOMPARE(child(dialog, "warning")->isVisibleTo(dialog), row.warned);
                         QVERIFY(child(dialog, "counts")->isHidden()); // every count 0
                         auto *buttons = dialog->findChild<QDialogButtonBox *>();
                         QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(),
                                  label != "size");
                     }});
    }

    // A hand-edited setting that is no number, or no choice of a list, gives the default (0.25 mm
    // pixels, ink 0.6 mm high, 4 colours for PrusaSlicer, 512 turntable frames), not the minimum.
    void garbledSettingsGiveDefaults_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::newRow("pixel size with a decimal comma") << "export/pixelSize=0,5";
        QTest::newRow("ink height as a word") << "export/inkHeight=abc";
        QTest::newRow("colour groups as a word") << "export/colourGroups=abc";
        QTest::newRow("a slicer past the list") << "export/slicer=9";
        QTest::newRow("turntable size as a word") << "turntable/size=large";
    }
    void garbledSettingsGiveDefaults()
    {
        QFETCH(QString, setting);
        QSettings(settingsPath(), QSettings::IniFormat)
            .setValue(setting.section('=', 0, 0), setting.section('=', 1));
        const SolidOptions solid = load<Remembered::Solid>();
        QCOMPARE((std::vector<double> {solid.pixelSize, solid.inkHeight, double(solid.colourGroups),
                                       double(solid.slicer),
                                       double(load<Remembered::Turntable>().size)}),
                 (std::vector<double> {0.25, 0.6, 4, 0, 512}));
    }
};

struct Turntable {
    QString filter, name; // typed after the kind is chosen, or before
    bool typedFirst;
    QString written;
    int pointSize; // shaded at 2
    bool aboutCentre = false;
};
Q_DECLARE_METATYPE(Turntable)

// A red point at (10, 20) and a green one at (-30, -40), both at depth 0: at the main
// view's size drawn at (140, 110) and (100, 170).
const Model kTwoPoints = {{{0, 10, 20}, {0, -30, -40}}, {0x0000FF, 0x00FF00}};
const QPoint kRed(140, 110), kGreen(100, 170);
const QRgb kRedPixel = qRgb(255, 0, 0), kGreenPixel = qRgb(0, 255, 0),
           kBackground = qRgb(255, 255, 255);

// The pixels of `image` in `colour`, or with `other` those in any other colour.
static QPolygon pixelsOf(const QImage &image, QRgb colour, bool other = false)
{
    QPolygon found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) == colour) != other)
                found << QPoint(x, y);
    return found;
}

static void wheel(QWidget *view, QPointF at, int notches, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        QWheelEvent event(at, view->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }
}

class TestMainWindow : public QObject, WithProgram {
    Q_OBJECT

    QPoint angles() const
    {
        return {text(window(), "turnAngle").toInt(), text(window(), "tiltAngle").toInt()};
    }
    // Whether `view` is the literal formula's drawing of the model turned by `by`, or for the
    // `front` view not turned at all.
    bool showsLiteralTurn(const QImage &view, QPointF by, const QString &name,
                          bool front = false) const
    {
        const Model &model = document().model();
        const auto points = front ? model.points : literal::turnModel(model.points, by.x(), by.y());
        return samePicture(view, literal::plotted(points, model.colours), name);
    }

private slots:
    void init() { start(sixColours(1000)); } // the large view's point size from its default

    // The export menu needs points; the kind chosen in the list is written, under a name whose
    // extension follows it; PIL reads every frame, the first two as the large view shows them;
    // about its middle, a model far off the view's centre fills every frame, clear of its edges.
    void readBack_data()
    {
        const QString webp = "アニメーション WebP (*.webp)", gif = "アニメーション GIF (*.gif)";
        QTest::addColumn<Turntable>("row");
        QTest::newRow("webp chosen, then spin.gif typed: a WebP; 12 frames of 30 degrees, shaded")
            << Turntable {webp, "spin.gif", false, "spin.webp", 2};
        QTest::newRow("spin.webp typed, then gif chosen: a GIF, every frame exact")
            << Turntable {gif, "spin.webp", true, "spin.gif", 1};
        QTest::newRow("frames.gif typed, then png folder: the swing's 36 views as frames")
            << Turntable {"PNG 連番画像の新しいフォルダー (*/)", "frames.gif", true, "frames", 3};
        QTest::newRow("about the model's middle: the whole model in every frame")
            << Turntable {webp, "centred", false, "centred.webp", 3, true};
    }
    void readBack()
    {
        QFETCH(Turntable, row);
        const QTemporaryDir dir;
        QAction *exports = child<QAction>(window(), "exportMenuAction");
        document().importModel({});
        QVERIFY(!exports->isEnabled());
        document().importModel(sixColours(3000));
        QVERIFY(exports->isEnabled());
        if (row.aboutCentre)
            document().move(300, -200);
        const bool swing = !row.written.contains('.');
        if (swing)
            click(window(), "frontView");
        else
            viewState().turnBy(40, -15);
        const Step typedFirst = [&](QDialog *dialog) { // then the kind, which the name follows
            auto *name = child<QLineEdit>(dialog, "fileNameEdit");
            name->setText(dir.filePath(row.name));
            qtChoose(dialog, row.filter);
            QCOMPARE(name->text(), dir.filePath(row.written));
            dialog->accept();
        };
        const QString fields = "frames=12 size=96 motion=%1 pointSize=%2 shading=%3 aboutCentre=%4";
        const int shaded = row.pointSize == 2;
        const Step path
            = row.typedFirst ? typedFirst : qtSaveAs(dir.filePath(row.name), row.filter);
        const Step chosen
            = options(fields.arg(swing).arg(row.pointSize).arg(shaded).arg(row.aboutCentre));
        QCOMPARE(stepThrough(window(), "turntableAction", {path, chosen}), 2);
        QCOMPARE(entries(dir.path()), QStringList {row.written});
        const ReadBack read = ::readBack("frames", dir.filePath(row.written));
        REQUIRE_READ(read);
        const QString format = swing ? "PNG" : row.written.section('.', 1).toUpper();
        QCOMPARE(read.seen["formats"].toArray(), QJsonArray {format});
        QCOMPARE(read.pixels.size(), (swing ? 36 : 12) * 96 * 96 * 4); // every frame 96 x 96
        if (swing)
            QCOMPARE(read.seen["names"].toArray().last().toString(), "frame-035.png");
        else
            QCOMPARE(read.seen["durations"][0].toInt(), 100);
        for (int frame = 0; frame < 12 && row.aboutCentre; ++frame) {
            const QPolygon drawn = pixelsOf(read.frame(frame, 96, 96), kBackground, true);
            QVERIFY(QRect(2, 2, 92, 92).contains(drawn.boundingRect())); // clear of the edges
            QVERIFY(drawn.size() > 96 * 96 / 4); // drawn large, not as the fitted view's speck
        }
        if (row.aboutCentre)
            return;
        save<Remembered::LargeViewStyle>({row.pointSize, shaded == 1}); // as the frames were drawn
        for (int frame : {0, 1}) {
            viewState().turnBy(frame * (swing ? 5 : 30), 0);
            QVERIFY(samePicture(read.frame(frame, 96, 96),
                                openLargeView(window(), {96, 96})->surface().image(),
                                QString("frame-%1").arg(frame)));
        }
    }

    // At 261 x 261 and zoom 1 the large view is the main view, and both are the literal
    // formula's; a left drag from (130, 100) turns half a degree a pixel, a button 1 or 5
    // (each button's direction: tst_windows_agree::render against the command line).
    void sameAsMainView_data()
    {
        QTest::addColumn<QString>("steps"); // buttons, menu commands and "x,y;x,y": a left drag
        QTest::addColumn<QString>("angles");
        QTest::newRow("73 large left steps are not wrapped")
            << QString("turnLeft5 ").repeated(73) << QString("365 0");
        QTest::newRow("front view zeroes both, then steps go on")
            << "turnLeft5 turnUp1 frontView turnLeft1" << QString("1 0");
        QTest::newRow("front view after a mirror: drawn unturned")
            << "mirrorAction" << QString("0 0");
        QTest::newRow("front button: turned by 0") << "turnLeft1 frontView" << QString("0 0");
        QTest::newRow("10 pixels left turn as 左 5 does") << "125,100;120,100" << QString("5 0");
        QTest::newRow("6 pixels up tilt as 上 3 does") << "130,94" << QString("0 3");
        QTest::newRow("there and back in odd steps: halves, summed")
            << "137,95;133,110;123,101" << QString("3.5 -0.5");
    }
    void sameAsMainView()
    {
        QFETCH(QString, steps);
        QFETCH(QString, angles);
        document().importModel(sixColours(2000, 13));
        LargeView *view = openLargeView(window());
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            QList<QPoint> through; // "x,y;x,y": a left drag from (130, 100)
            for (const QString &at : step.split(';'))
                through << QPoint(at.section(',', 0, 0).toInt(), at.section(',', 1).toInt());
            if (step.contains(','))
                dragOver(view, {130, 100}, through);
            else if (auto *action = window()->findChild<QAction *>(step))
                action->trigger();
            else
                click(window(), qPrintable(step));
        }
        QCOMPARE(text(window(), "turnAngle") + ' ' + text(window(), "tiltAngle"), angles);
        QVERIFY(showsLiteralTurn(view->surface().image(), {viewState().turn(), viewState().tilt()},
                                 "literal", viewState().showsFrontView()));
        QVERIFY(samePicture(view->surface().image(), shown(window(), "view"), "main"));
    }

    // A remembered size larger than the screen (an edited file, a larger screen) is brought
    // within the screen instead of allocating the whole size; 終了 keeps the large view's place
    // and size for the next start, as closing it does.
    void rememberedSizeWithinTheScreen()
    {
        QWidget giant;
        giant.setGeometry(0, 0, 30000, 30000);
        save<Remembered::LargeViewGeometry>(giant.saveGeometry());
        const LargeView *view = openLargeView(window(), {});
        QCOMPARE(view->screen()->availableGeometry().size().boundedTo(view->size()), view->size());
        QVERIFY(endsAfter([this] { trigger(window(), "exitAction"); }));
        QVERIFY(load<Remembered::LargeViewGeometry>() != giant.saveGeometry()); // the view's own
    }

    // A settings file that is not a regular file is never opened: a named pipe would block the
    // first read for ever, and a save would replace a device with a file. The program runs on
    // its defaults and says once why.
    void settingsOnlyInARegularFile_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("a link to a device node") << false;
        QTest::newRow("a named pipe") << true;
    }
    void settingsOnlyInARegularFile()
    {
        QFETCH(bool, pipe);
        program_.reset();
        const QByteArray path = QFile::encodeName(settingsPath());
        const QTemporaryDir dir;
        const QByteArray node = QFile::encodeName(dir.filePath("node"));
        QVERIFY(QDir().mkpath(QFileInfo(settingsPath()).path()));
        if (pipe)
            QVERIFY(::mkfifo(path, 0600) == 0);
        else if (::mknod(node, S_IFCHR | 0600, makedev(1, 3)) != 0 || ::symlink(node, path) != 0)
            REQUIRE_READER(false, "root, to make a device node");
        const auto restore = qScopeGuard([] { QFile::remove(settingsPath()); });
        // A writer that gets in whenever the program opens the pipe, so that it never blocks,
        // and once more when the test ends, through the pipe itself should a save replace its name.
        const int fifo = ::open(path, O_PATH);
        std::atomic<bool> ending = false, opened = false;
        std::thread writer([&] {
            while (pipe && !ending) {
                const int end = ::open(path, O_WRONLY);
                opened = opened || !ending;
                ::close(end);
            }
        });
        const auto end = qScopeGuard([&] {
            ending = true;
            const int reader = ::open("/proc/self/fd/" + QByteArray::number(fifo),
                                      O_RDONLY | O_NONBLOCK); // lets the writer in
            writer.join();
            ::close(reader);
            ::close(fifo);
        });
        MessageBoxes boxes;
        program_ = std::make_unique<Program>();
        openLargeView(window())->close();
        QVERIFY(endsAfter([this] { trigger(window(), "exitAction"); }));
        QVERIFY2(!opened, "the program opened the settings pipe");
        QCOMPARE(boxes.texts, {"設定ファイル " + settingsPath()
                               + " は通常のファイルではないため、設定は読み書きしません。"
                                 "今回は初期設定で動きます。"});
        struct stat status { };
        QVERIFY(::stat(path, &status) == 0);
        QVERIFY(pipe ? S_ISFIFO(status.st_mode) : S_ISCHR(status.st_mode));
    }

    // Points grow with the scale: a filled square stays filled, with no background inside its
    // outline, in a turntable frame of 1024 and in the large view zoomed in 3 notches.
    void filledAtAnyScale()
    {
        Model square;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                square.points.push_back({0, x - 50.0, y - 50.0});
        square.colours.assign(square.points.size(), Colour(0x2050A0));
        document().importModel(square);
        LargeView *view = openLargeView(window(), {600, 600});
        wheel(view, {300, 300}, 3);
        TurntableOptions options;
        options.size = 1024;
        for (const QImage &image :
             {TurntableRenderer(document().model(), options).render(0), view->surface().image()}) {
            const QRect outline = pixelsOf(image, kBackground, true).boundingRect();
            QVERIFY(outline.width() > 300); // wider than 100 one-pixel points
            QCOMPARE(pixelsOf(image.copy(outline), kBackground), QPolygon());
        }
    }

    // The red point stays under the pointer while the green one moves away from it evenly;
    // zooming back gives the former picture, and no number of notches or size breaks it.
    // A right drag pans; a right click opens the menu, whose point size the next view keeps.
    void zoomPanAndMenu()
    {
        document().importModel(kTwoPoints);
        LargeView *view = openLargeView(window());
        const auto pixels = [&](QRgb colour) { return pixelsOf(view->surface().image(), colour); };
        const auto middle = [&](QRgb colour) { return pixels(colour).boundingRect().center(); };
        const QImage before = view->surface().image();
        QCOMPARE(pixels(kRedPixel), QPolygon {kRed});
        QCOMPARE(pixels(kGreenPixel), QPolygon {kGreen});
        wheel(view, kRed, 1, 3); // a zoom of 1.95: each point fills 2 x 2 from where it lands
        QCOMPARE(pixels(kRedPixel),
                 QPolygon({kRed, kRed + QPoint(1, 0), kRed + QPoint(0, 1), kRed + QPoint(1, 1)}));
        const QPolygon moved = pixels(kGreenPixel);
        QCOMPARE(moved.size(), 4);
        const QPointF ratio(double(moved[0].x() - kRed.x()) / (kGreen.x() - kRed.x()),
                            double(moved[0].y() - kRed.y()) / (kGreen.y() - kRed.y()));
        QVERIFY2(ratio.x() > 1.5 && std::abs(ratio.x() - ratio.y()) < 0.05,
                 qPrintable(QString("%1 %2").arg(ratio.x()).arg(ratio.y())));
        wheel(view, kRed, -1, 3);
        QVERIFY(samePicture(view->surface().image(), before, "zoomed back"));
        for (const int side : {1, 4000, kViewSize}) {
            view->resize(side, side);
            QApplication::processEvents();
            QCOMPARE(view->surface().image().size(), QSize(side, side));
            if (side == 1)
                continue;
            // The red point where the fitted size puts it, a filled square grown with the scale.
            const double scale = double(side) / kViewSize;
            const QRect red = pixels(kRedPixel).boundingRect();
            QCOMPARE(pixels(kRedPixel).size(), red.width() * red.height());
            QVERIFY(red.width() == red.height() && red.width() >= int(scale));
            QVERIFY(red.contains(QPoint(side / 2 + 10 * scale, side / 2 - 20 * scale)));
        }
        wheel(view, kRed, 1, 300);
        wheel(view, kRed, 1 << 20);
        QCOMPARE(view->surface().image().pixel(kRed), kRedPixel);
        wheel(view, kRed, -(1 << 20));
        wheel(view, {0, 0}, -1, 300);
        const QPolygon greens = pixels(kGreenPixel);
        QCOMPARE(pixels(kRedPixel), QPolygon {kRed});
        QVERIFY(greens.size() == 1 && greens[0] != kRed); // still a picture, not a dot

        // A double click shows the front view with the model's bounding box filling the view
        // but for a margin, its middle in the view's (within the pixel an even square has no
        // middle of): the two points, grown with the scale, at opposite corners.
        viewState().turnBy(20, 10);
        QTest::mouseDClick(view, Qt::LeftButton, {}, {100, 100});
        QCOMPARE(text(window(), "turnAngle") + text(window(), "tiltAngle"), "00");
        const QPoint red = middle(kRedPixel), green = middle(kGreenPixel);
        const QPoint off = red + green - QPoint(kViewSize, kViewSize);
        QCOMPARE_LE(std::max(std::abs(off.x()), std::abs(off.y())), 2);
        QVERIFY2(green.y() - red.y() >= kViewSize * 0.85, qPrintable(QString::number(red.y())));
        auto *menu = child<QMenu>(view, "largeViewMenu");
        dragOver(view, {50, 50}, {{58, 47}, {65, 43}}, Qt::RightButton);
        QVERIFY(!menu->isVisible());
        QCOMPARE(middle(kRedPixel), red + QPoint(15, -7));
        QCOMPARE(middle(kGreenPixel), green + QPoint(15, -7));
        wheel(view, {kViewSize / 2.0, kViewSize / 2.0}, -1, 300); // a point a pixel, then grown
        QTest::mouseClick(view, Qt::RightButton, {}, {20, 20});
        QTRY_VERIFY(menu->isVisible());
        child<QAction>(view, "pointSize3")->trigger();
        menu->close();
        QCOMPARE(pixels(kRedPixel).size(), 9);
        const QPointer<LargeView> closed(view);
        view->close();
        QTRY_VERIFY(!closed); // deleted: the next one reads the settings afresh
        view = openLargeView(window());
        QVERIFY(child<QAction>(view, "pointSize3")->isChecked());
        QCOMPARE(pixels(kGreenPixel).size(), 9);
    }

    // Only the left button draws a stroke, on the front view; do over erases its outline.
    void depthToolByMouse()
    {
        document().importModel({{{0, 0, 0}, {0, 50, 0}}, {0x0000FF, 0x00FF00}});
        QWidget *view = child(window(), "view");
        QTest::mouseClick(view, Qt::RightButton, {}, inBox({150, 140}));
        QVERIFY(!child<QAction>(window(), "doOverAction")->isEnabled());
        click(window(), "turnLeft5");
        child<QScrollBar>(window(), "depthSlider")->setValue(37);
        dragOver(view, {150, 140}, {{110, 120}}); // from lower right to upper left
        QCOMPARE(angles(), QPoint(0, 0));
        for (const QPoint corner : {QPoint(110, 120), QPoint(150, 140)}) // outline's corners
            QCOMPARE(shown(window(), "view").pixel(corner), qRgb(0, 0, 255));
        trigger(window(), "doOverAction"); // the depth button still applies
        QCOMPARE(shown(window(), "view").pixel(150, 140), qRgb(255, 255, 255));
        click(window(), "applyDepth");
        QCOMPARE(document().model().points[0][Depth], 37.0);
        QCOMPARE(document().model().points[1][Depth], 0.0);
        QVERIFY(!child(window(), "applyDepth")->isEnabled());
    }

    // Undone, an import gives back the selection shown before it on the left, and redone its
    // own; undoing the first import disables the model's commands; the title marks the change.
    void undoAndRedoFromTheKeyboard()
    {
        const QImage blank = shown(window(), "staging");
        captureDrag(window(), {20, 20}, {120, 100});
        const QImage selection = shown(window(), "staging");
        QVERIFY(selection != blank);
        window()->activateWindow(); // the offscreen platform leaves that to the program
        QVERIFY(QTest::qWaitForWindowActive(window()));
        click(window(), "moveUp");
        for (int undo = 0; undo < 3; ++undo)
            QTest::keyClick(window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!child(window(), "moveUp")->isEnabled()
                && !child<QAction>(window(), "undoAction")->isEnabled());
        QVERIFY(samePicture(shown(window(), "staging"), blank, "undone"));
        QTest::keyClick(window(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(child(window(), "moveUp")->isEnabled());
        QVERIFY(showsLiteralTurn(shown(window(), "view"), angles(), "redone import"));
        QTest::keyClick(window(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(samePicture(shown(window(), "staging"), selection, "redone"));
        QCOMPARE(shownTitle(window()), "ZUVORAK*");
    }

    // Exit, the close box and opening another model ask only while there are unsaved changes.
    void unsavedChangesAreNeverLostSilently_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // empty: no changes, so no question
        for (const char *command : {"exitAction", "close", "openAction"})
            for (const QString answer : {"", "キャンセル", "保存しない", "保存"})
                QTest::addRow("%s, %s", command,
                              qPrintable(answer.isEmpty() ? "unchanged" : answer))
                    << command << answer;
    }
    void unsavedChangesAreNeverLostSilently()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        const InFolder dir;
        QVERIFY(document().save(dir.path("square.chs")).ok());
        if (!answer.isEmpty())
            click(window(), "moveUp");
        MessageBoxes boxes(answer);
        QCloseEvent close; // the close box, without closing the last window
        const bool wentOn // the program ended, the window closed, the open dialog came (and closed)
            = command == "exitAction" ? endsAfter([this] { trigger(window(), "exitAction"); })
              : command == "close" ? (QApplication::sendEvent(window(), &close), close.isAccepted())
                                   : stepThrough(window(), "openAction", {[](QDialog *) {}}) == 1;
        QCOMPARE(boxes.shown.size(), qsizetype(!answer.isEmpty()));
        QCOMPARE(wentOn, answer != "キャンセル");
        QCOMPARE(contents(dir.path("square.chs")) == asBytes(ModelFile::encode(document().model())),
                 answer.isEmpty() || answer == "保存");
    }

    // The last 8 model files opened or saved, the latest first and remembered for the next
    // run; choosing one opens it, and one gone since is dropped from the list with a message.
    void recentFiles()
    {
        const InFolder dir; // where the save dialog starts
        const auto model = [&](int i) { return dir.path(QString("m%1.chs").arg(i)); };
        for (int i = 0; i < 9; ++i) {
            QVERIFY(ModelFile::save(sixColours(3), model(i).toStdString()).ok());
            program_->window.openModelFile(model(i));
        }
        withModal(window(), "saveAsAction", saveAs("m9"));
        const auto shownList = [&] { // the models that the shown entries name as "&1 path"
            QString shown;
            for (int i = 1; i <= 9; ++i) {
                auto *entry = window()->findChild<QAction *>(QString("recentFile%1").arg(i));
                for (int m = 0; m < 10 && entry && entry->isVisible(); ++m)
                    if (entry->text() == QString("&%1 %2").arg(i).arg(model(m)))
                        shown += QString::number(m);
            }
            return shown;
        };
        QCOMPARE(shownList(), "98765432");
        trigger(window(), "recentFile3");
        QCOMPARE(document().fileName(), model(7));
        program_ = std::make_unique<Program>(); // the next run
        QCOMPARE(shownList(), "79865432");
        QVERIFY(QFile::remove(model(5)));
        MessageBoxes boxes;
        trigger(window(), "recentFile5");
        QCOMPARE(boxes.texts, {"ファイル " + model(5)
                               + " が見つかりません。最近使ったファイルの一覧から外しました。"});
        QCOMPARE(shownList(), "7986432");
        QVERIFY(!document().hasModel());
    }

    // A dropped picture comes up in the capture window, as 加工前のファイルを開く shows its own;
    // a dropped model opens as 加工後のファイル開く opens it, after the unsaved-changes question.
    void droppedFiles()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath("red.png"), model = dir.filePath("dropped.chs");
        const QImage red = ImageSurface(30, 20, 0x0000FF).image();
        QVERIFY(red.save(picture));
        QVERIFY(ModelFile::save({{{0, 1, 2}}, {0}}, model.toStdString()).ok());
        QVERIFY(window()->acceptDrops());
        const auto drop = [this](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter({300, 100}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(window(), &enter);
            QDropEvent dropped(QPointF(300, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(window(), &dropped);
            QVERIFY(enter.isAccepted() && dropped.isAccepted());
            QApplication::processEvents(); // the file opens once the drop has ended
        };
        withModal([&] { drop(picture); },
                  [&](QDialog *capture) {
                      QVERIFY(samePicture(shown(capture, "picture").copy(red.rect()), red, "red"));
                  });
        click(window(), "moveUp");
        MessageBoxes boxes("保存しない");
        drop(model);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(document().fileName(), model);
        QCOMPARE(document().model().count(), 1);
    }

    // While a dialog of the main window is open, the animation runs and the help and the
    // large view take input: Qt never tells them that a modal dialog blocks them.
    void otherWindowsLiveDuringADialog()
    {
        struct BlockWatch : QObject {
            bool blocked = false;
            bool eventFilter(QObject *, QEvent *event) override
            {
                blocked = blocked || event->type() == QEvent::WindowBlocked;
                return false;
            }
        } watch;
        HelpViewer::instance().setHelpFile(ZUVORAK_SOURCE_DIR "/resources/help/zuvorak.html");
        HelpViewer::instance().showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(HelpViewer::instance().window()));
        HelpViewer::instance().window()->installEventFilter(&watch);
        LargeView *large = openLargeView(window());
        auto *timer = child<QTimer>(window(), "animationTimer");
        timer->start();
        click(window(), "animation");
        withModal(window(), "captureAction", [&](QDialog *) {
            QTRY_VERIFY(angles().x() >= 5); // two ticks of 500 ms
            timer->stop();
            const QPoint swung = angles();
            dragOver(large, {130, 100}, {{110, 100}});
            QCOMPARE(angles(), swung + QPoint(10, 0));
        });
        QVERIFY(!watch.blocked);
        QVERIFY(showsLiteralTurn(shown(window(), "view"), angles(), "animated and dragged"));
        QVERIFY(samePicture(large->surface().image(), shown(window(), "view"), "large"));
        // Closing the main window ends the program while the others are open.
        document().history()->setClean();
        QVERIFY(endsAfter([this] { window()->close(); }, 3000));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestDialogs, TestFiles, TestMainWindow)
#include "tst_windows.moc"
