#include "file_faults.h"
#include "file_lists.h"
#include "messages.h"
#include "model_file_io.h"
#include "picture_file.h"
#include "readers.h"
#include "window_test.h"

#include <QProgressBar>
#include <QScopeGuard>
#include <QUndoStack>

#include <optional>
#include <sys/stat.h>

static const QString kOnePoint = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/one-point.chs");

// A program with `model`, with nothing unsaved to ask about, titled "k".
static std::unique_ptr<Program> programWith(Model model)
{
    auto program = std::make_unique<Program>();
    program->document.importModel(std::move(model));
    program->document.history()->setClean();
    program->window.setWindowTitle("k");
    return program;
}

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

// Saving and reading through the windows when the file system fails them.
class TestFileSafety : public QObject {
    Q_OBJECT

    static FileList *files(QDialog *dialog) { return child<FileList>(dialog, "files"); }

private slots:
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
        const InFolder dir;
        const QString folder = dir.path("in"), target = folder + "/" + writer.target;
        QVERIFY(QDir().mkdir(folder));
        std::optional<SmallTmpfs> disk;
        if (fault == "full" && !disk.emplace(folder, 1024).mounted())
            QSKIP("mounting a tmpfs is not permitted here");
        const bool isFile = writer.target.contains('.');
        QVERIFY(!isFile || QFile::copy(kOnePoint, target));
        const QStringList before = entries(folder);
        const auto main = programWith(sixColours(3000));
        MessageBoxes messages(QMessageBox::Yes);
        std::optional<FileSizeLimit> limit;
        const auto nobody = qScopeGuard([] { QVERIFY(::seteuid(0) == 0 || ::getuid() != 0); });
        const auto makeFault = [&] {
            if (fault == "gone")
                QVERIFY(QDir(folder).removeRecursively());
            else if (fault == "read-only") // root writes anywhere: act as nobody
                QVERIFY(::chmod(QFile::encodeName(dir.dir.path()), 0711) == 0
                        && ::chmod(QFile::encodeName(folder), 0555) == 0
                        && (::geteuid() != 0 || ::seteuid(65534) == 0));
            else if (fault == "size limit")
                limit.emplace(100);
            else if (fault == "full")
                QVERIFY(fillUp(folder, 4096)); // a write fails part-way
        };
        const bool cancel = fault == "cancel", turntable = writer.options.contains("frames");
        std::vector<Step> steps;
        if (QString(writer.action).startsWith("save")) // the program's own save dialog
            steps.push_back([&](QDialog *dialog) {
                child<QLineEdit>(dialog, "name")->setText("in/" + writer.target.section('.', 0, 0));
                click(dialog, "saveButton");
            });
        else
            steps.push_back(
                qtSaveAs(folder + "/" + writer.target.section('.', 0, 0), writer.filter));
        if (!writer.options.isEmpty())
            steps.push_back(options(writer.options, !cancel || turntable));
        if (cancel && !turntable && writer.options.isEmpty())
            steps.back() = [](QDialog *dialog) { dialog->reject(); };
        const Step last = steps.back();
        steps.back() = [&, last](QDialog *dialog) {
            makeFault();
            last(dialog);
        };
        CancelAfterFirstFrame progress;
        if (!cancel || !turntable)
            progress.cancelled = true; // no progress to cancel
        stepThrough([&] { trigger(&main->window, writer.action); }, steps);
        limit.reset();
        QVERIFY(::seteuid(0) == 0 || ::getuid() != 0);
        QVERIFY(progress.cancelled);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(folder).remove("filler");
        QCOMPARE(entries(folder), fault == "gone" ? QStringList() : before);
        QVERIFY(!isFile || fault == "gone" || contents(target) == contents(kOnePoint));
        QStringList errors;
        for (const MessageBoxes::Shown &shown : std::as_const(messages.shown))
            if (shown.title == "エラーメッセージ")
                errors << shown.text;
        QCOMPARE(
            errors,
            reason.isEmpty()
                ? QStringList()
                : QStringList(QString("ファイル %1 に書き込めません。\n%2").arg(target, reason)));
        QCOMPARE(shownTitle(&main->window), "k");
        QVERIFY(main->document.fileName().isEmpty());
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
        const InFolder dir;
        const QString home = dir.path("home");
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(dir.path("gone")));
        qputenv("HOME", QFile::encodeName(home));
        QVERIFY(QDir::setCurrent(dir.path("gone")));
        const QByteArray deep(200, 'd');
        for (int level = 0; level < depth; ++level)
            QVERIFY(::mkdir(deep.constData(), 0700) == 0 && ::chdir(deep.constData()) == 0);
        QVERIFY(depth > 0 || QDir().rmdir(dir.path("gone")));
        const auto main = programWith(sixColours(3));
        saveAs(&main->window, "saveAsAction", "start");
        withModal<QDialog>([&] { trigger(&main->window, "openAction"); },
                           [&](QDialog *dialog) { QCOMPARE(files(dialog)->path(), home); });
        for (int level = 0; level < depth; ++level)
            QVERIFY(::chdir("..") == 0 && ::rmdir(deep.constData()) == 0);
        QCOMPARE(main->document.fileName(), home + "/start.chs");
    }

    // A model saved under the empty name is listed and opens again; our temporary
    // files and other hidden entries are never listed.
    void hiddenModelFileListed()
    {
        const InFolder dir;
        for (const char *name : {".notes", ".zuvorak-Ab12Cd.tmp", "list.tmp"})
            QVERIFY(QFile(name).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkdir(".hidden-folder"));
        auto main = programWith(sixColours(3));
        saveAs(&main->window, "saveAsAction", "");
        main = programWith(sixColours(1));
        withModal<QDialog>([&] { trigger(&main->window, "openAction"); },
                           [&](QDialog *dialog) {
                               QCOMPARE(files(dialog)->count(), 1);
                               QCOMPARE(files(dialog)->item(0)->text(), ".chs");
                               auto *folders = child<FolderList>(dialog, "folders");
                               QCOMPARE(folders->item(folders->count() - 1)->text().trimmed(),
                                        QFileInfo(dir.dir.path()).fileName()); // no subfolder
                               files(dialog)->setCurrentRow(0);
                           });
        QCOMPARE(main->document.model().count(), 3);
        FileList list;
        list.setPattern("*.tmp");
        list.setPath(dir.dir.path());
        QVERIFY(list.count() == 1 && list.item(0)->text() == "list.tmp");
    }

    // A model file or picture the user may not read: the message gives that reason.
    void unreadableAsOrdinaryUser()
    {
        if (::geteuid() != 0)
            QSKIP("switching to the user nobody needs root");
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
};

ZUVORAK_WINDOW_TEST_MAIN(TestFileSafety)
#include "tst_file_safety.moc"
