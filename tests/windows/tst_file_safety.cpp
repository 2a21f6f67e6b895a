#include "file_faults.h"
#include "file_lists.h"
#include "messages.h"
#include "model_file_io.h"
#include "picture_file.h"
#include "platform.h"
#include "readers.h"
#include "window_test.h"

#include <QTemporaryDir>
#include <QUndoStack>

#include <sys/stat.h>

static const QString kOnePoint = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/one-point.chs");

// Saving and reading through the windows when the file system fails them.
class TestFileSafety : public QObject {
    Q_OBJECT

    QString startFolder_;
    QByteArray home_;

    static FileList *files(QDialog *dialog) { return child<FileList>(dialog, "files"); }
    // A program with a model of `count` points, with nothing unsaved to ask about.
    static std::unique_ptr<Program> withPoints(int count)
    {
        auto program = std::make_unique<Program>();
        Model model;
        for (int point = 0; point < count; ++point) {
            model.points.push_back({double(point % 7), double(point), -2.0});
            model.colours.push_back(0);
        }
        program->document.importModel(std::move(model));
        program->document.history()->setClean();
        program->window.setWindowTitle("k");
        return program;
    }

private slots:
    void initTestCase()
    {
        startFolder_ = QDir::currentPath();
        home_ = qgetenv("HOME");
    }
    void cleanup()
    {
        QDir::setCurrent(startFolder_);
        qputenv("HOME", home_);
    }

    // A save that does not fit, below and above Qt's 16 KiB write buffer: the old file byte
    // for byte and nothing beside it, the real reason told, caption and file name kept.
    void fullDiskReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("limit"); // a file-size limit in bytes; 0: a full tmpfs
        QTest::addColumn<int>("free"); // bytes left free on the tmpfs
        QTest::newRow("model of 2816 bytes, limit 1 KiB") << "chs" << 100 << 1024 << 0;
        QTest::newRow("model of 84 KB, limit 16 KiB") << "chs" << 3000 << 16384 << 0;
        QTest::newRow("bitmap of 204 KB, limit 16 KiB") << "bmp" << 1 << 16384 << 0;
        QTest::newRow("model of 2816 bytes, full disk") << "chs" << 100 << 0 << 0;
        QTest::newRow("model of 84 KB, 16 KiB free") << "chs" << 3000 << 0 << 16384;
        QTest::newRow("bitmap of 204 KB, 16 KiB free") << "bmp" << 1 << 0 << 16384;
    }
    void fullDiskReported()
    {
        QFETCH(QString, kind);
        QFETCH(int, points);
        QFETCH(int, limit);
        QFETCH(int, free);
        QTemporaryDir dir;
        const QString folder = dir.filePath("disk"), target = folder + "/old." + kind;
        QVERIFY(QDir().mkdir(folder));
        const SmallTmpfs disk(folder, 1024);
        if (limit == 0 && !disk.mounted())
            QSKIP("mounting a tmpfs is not permitted here");
        QDir::setCurrent(folder);
        QVERIFY(QFile::copy(kOnePoint, target));
        MessageBoxes messages(QMessageBox::Yes);
        const auto main = withPoints(points);
        {
            const FileSizeLimit limited(limit > 0 ? rlim_t(limit) : RLIM_INFINITY);
            QVERIFY(limit > 0 || fillUp(folder, free));
            saveAs(&main->window, kind == "chs" ? "saveAsAction" : "saveBitmapAction", "old");
        }
        QCOMPARE(contents(target), contents(kOnePoint));
        QDir(folder).remove("filler");
        QCOMPARE(entries(folder), QStringList("old." + kind));
        QCOMPARE(messages.shown.size(), 2); // overwrite?, then the failure
        QCOMPARE(messages.shown[1].text,
                 QString("ファイル %1 に書き込めません。\n%2")
                     .arg(target, limit ? "ファイルの大きさが上限を超えます。"
                                        : "ディスクに空きがありません。"));
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
        QTemporaryDir dir;
        const QString home = dir.filePath("home");
        QVERIFY(QDir().mkdir(home) && QDir().mkdir(dir.filePath("gone")));
        qputenv("HOME", QFile::encodeName(home));
        QVERIFY(QDir::setCurrent(dir.filePath("gone")));
        const QByteArray deep(200, 'd');
        for (int level = 0; level < depth; ++level)
            QVERIFY(::mkdir(deep.constData(), 0700) == 0 && ::chdir(deep.constData()) == 0);
        QVERIFY(depth > 0 || QDir().rmdir(dir.filePath("gone")));
        MessageBoxes messages;
        const auto main = withPoints(3);
        saveAs(&main->window, "saveAsAction", "start");
        withModal<QDialog>([&] { trigger(&main->window, "openAction"); },
                           [&](QDialog *dialog) { QCOMPARE(files(dialog)->path(), home); });
        for (int level = 0; level < depth; ++level)
            QVERIFY(::chdir("..") == 0 && ::rmdir(deep.constData()) == 0);
        QVERIFY(messages.shown.empty());
        QCOMPARE(main->document.fileName(), home + "/start.chs");
    }

    // A model saved under the empty name is listed and opens again; our temporary
    // files and other hidden entries are never listed.
    void hiddenModelFileListed()
    {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        for (const char *name : {".notes", ".zuvorak-Ab12Cd.tmp", "list.tmp"})
            QVERIFY(QFile(name).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkdir(".hidden-folder"));
        MessageBoxes messages;
        auto main = withPoints(3);
        saveAs(&main->window, "saveAsAction", "");
        main = withPoints(1);
        withModal<QDialog>([&] { trigger(&main->window, "openAction"); },
                           [&](QDialog *dialog) {
                               QCOMPARE(files(dialog)->count(), 1);
                               QCOMPARE(files(dialog)->item(0)->text(), ".chs");
                               auto *folders = child<FolderList>(dialog, "folders");
                               QCOMPARE(folders->item(folders->count() - 1)->text().trimmed(),
                                        QFileInfo(dir.path()).fileName()); // no subfolder
                               files(dialog)->setCurrentRow(0);
                           });
        QCOMPARE(main->document.model().count(), 3);
        FileList list;
        list.setPattern("*.tmp");
        list.setPath(dir.path());
        QVERIFY(list.count() == 1 && list.item(0)->text() == "list.tmp");
        QVERIFY(messages.shown.empty());
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
                         return int(!text.endsWith("\nアクセスが許可されていません。")
                                    || !text.contains(path));
                     }),
                     0);
        }
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestFileSafety)
#include "tst_file_safety.moc"
