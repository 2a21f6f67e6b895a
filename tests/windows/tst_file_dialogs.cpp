#include "file_lists.h"
#include "form2.h"
#include "form4.h"
#include "model_file_io.h"
#include "renderer.h"
#include "test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <optional>

class TestFileDialogs : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    std::optional<MessageRecorder> messages_;
    std::unique_ptr<MainWindow> w;

    static QString path(const QString &name) { return QDir::currentPath() + "/" + name; }
    static bool write(const QString &file, const QByteArray &bytes = "x")
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    bool kept() const { return w->state->currentFileName == "/k" && w->form->windowTitle() == "k"; }
    // Triggers the menu item, runs `f` on the dialog it shows, then closes the dialog.
    void dialog(const QString &menu, const std::function<void(QDialog *)> &f, QWidget *on = nullptr)
    {
        QAction *item = findAction(on ? on : w->form.get(), menu);
        withModal<QDialog>([&] { item->trigger(); }, f);
    }
    static void pick(QDialog *d, int r) { d->findChild<QListWidget *>("File1")->setCurrentRow(r); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        messages_.emplace(QMessageBox::Yes);
        w = std::make_unique<MainWindow>();
        w->setModel({{{1, -2, 3}, 0x123456}, {{4, 5, -6}, 0x000000}});
        w->state->currentFileName = "/k";
        w->form->setWindowTitle("k");
    }

    void targetPath()
    {
        QCOMPARE(saveTargetPath("/", "a", ".chs"), QStringLiteral("/a.chs"));
        QCOMPARE(saveTargetPath("/tmp", "a.chs", ".chs"), QStringLiteral("/tmp/a.chs.chs"));
        QCOMPARE(saveTargetPath("/tmp", "", ".bmp"), QStringLiteral("/tmp/.bmp"));
    }

    void layout_data()
    {
        QTest::addColumn<QStringList>("texts"); // menu item, caption, the only file listed
        QTest::addColumn<QList<QRect>>("rects"); // client area, then the controls in tab order
        const QList<QRect> save {{0, 0, 327, 346},    {16, 16, 249, 20},  {16, 48, 249, 118},
                                 {16, 176, 249, 114}, {16, 304, 249, 25}, {272, 280, 49, 49}};
        const QList<QRect> open {
            {0, 0, 245, 386}, {8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150}};
        QTest::newRow("save model") << QStringList {"mnuSaveAs", "ファイルの保存", "a.chs"} << save;
        QTest::newRow("save bitmap")
            << QStringList {"mnuBmp", "ビットマップファイルの保存", "v.bmp"} << save;
        QTest::newRow("open") << QStringList {"mnuOpen", "開く", "a.chs"} << open;
    }
    void layout()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<QRect>, rects);
        QVERIFY(write("a.chs") && write("v.bmp"));
        dialog(texts[0], [&](QDialog *d) {
            QCOMPARE(d->windowTitle(), texts[1]);
            QCOMPARE(QRect(QPoint(), d->size()), rects[0]);
            const QStringList order {"Drive1", "Dir1", "File1", "txtTargetFile", "Command1"};
            QWidget *c = d->findChild<QWidget *>("Drive1");
            for (int i = 1; i < rects.size(); ++i) {
                QCOMPARE(c->objectName(), order[i - 1]);
                QCOMPARE(c->geometry(), rects[i]);
                for (c = c->nextInFocusChain(); !(c->focusPolicy() & Qt::TabFocus);)
                    c = c->nextInFocusChain();
            }
            auto *list = d->findChild<QListWidget *>("File1");
            QVERIFY(list->count() == 1 && list->item(0)->text() == texts[2]);
            if (auto *name = d->findChild<QLineEdit *>("txtTargetFile"))
                QCOMPARE(name->text(), QStringLiteral("title1"));
        });
    }

    void save_data()
    {
        QTest::addColumn<QStringList>("menuAndTarget"); // a target in a missing folder fails
        QTest::addColumn<QByteArray>("existing"); // null: no such file
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        const QStringList model {"mnuSaveAs", "title1.chs"}, bitmap {"mnuBmp", "view.bmp"};
        QTest::newRow("new model file") << model << QByteArray() << QMessageBox::Yes;
        QTest::newRow("empty file: replaced unasked") << model << QByteArray("") << QMessageBox::No;
        QTest::newRow("overwrite answered Yes") << model << QByteArray("old") << QMessageBox::Yes;
        QTest::newRow("overwrite answered No") << model << QByteArray("old") << QMessageBox::No;
        QTest::newRow("bitmap") << bitmap << QByteArray() << QMessageBox::Yes;
        QTest::newRow("model, missing folder")
            << QStringList {"mnuSaveAs", "no/m.chs"} << QByteArray() << QMessageBox::Yes;
        QTest::newRow("bitmap, missing folder")
            << QStringList {"mnuBmp", "no/v.bmp"} << QByteArray() << QMessageBox::Yes;
    }
    void save()
    {
        QFETCH(QStringList, menuAndTarget);
        QFETCH(QByteArray, existing);
        QFETCH(QMessageBox::StandardButton, answer);
        const QString target = menuAndTarget[1];
        QVERIFY(existing.isNull() || write(target, existing));
        messages_.emplace(answer);
        dialog(menuAndTarget[0], [&](QDialog *d) {
            d->findChild<QLineEdit *>("txtTargetFile")->setText(target.chopped(4));
            d->findChild<QPushButton *>("Command1")->click();
        });
        const bool asked = !existing.isEmpty(), fails = target.contains('/');
        const bool written = !fails && (!asked || answer == QMessageBox::Yes);
        QCOMPARE(messages_->requests.size(), std::size_t(asked + fails));
        const QString question = path(target) + " ファイルは既に存在します。上書きしますか？";
        for (const MessageRequest &m : messages_->requests)
            QVERIFY2(fails ? m.title == "エラーメッセージ" && m.text.contains(path(target))
                           : m.text == question && m.title == "ZUVORAK"
                                 && m.icon == QMessageBox::Warning
                                 && m.buttons == (QMessageBox::Yes | QMessageBox::No)
                                 && m.defaultButton == QMessageBox::Yes,
                     qPrintable(m.text));
        QCOMPARE(QFileInfo(target).size() == existing.size(), !written);
        QCOMPARE(kept(), !written || target.endsWith(".bmp"));
    }

    void saveCommand()
    {
        w->state->currentFileName.clear();
        withModal<Form2>([&] { w->form->mnuSave_Click(); }, [](Form2 *d) { d->reject(); });
        w->state->currentFileName = path("current.chs").toStdString();
        w->form->mnuSave_Click(); // writes at once: a dialog would block here
        QVERIFY(QFileInfo("current.chs").size() > 0 && messages_->requests.empty());
    }

    void openDialog()
    {
        QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/fuzz/corpus/count-above-capacity.chs", "bad.chs"));
        QVERIFY(ModelFile::save(*w->state, path("a.chs").toStdString()).ok());
        w->setModel({{{7, 8, 9}, 0}});
        w->setAngles("30", "5");
        w->form->picture2()->surface().PSet(10, 10, 0);
        dialog("mnuOpen", [](QDialog *) {}); // closed without a choice: a fresh front view
        QVERIFY(w->caption("Lsu1") == "0" && w->caption("Lsu2") == "0");
        QCOMPARE(w->form->picture2()->surface().image().pixel(10, 10), qRgb(255, 255, 255));
        ImageSurface front(261, 261, kWhite);
        renderView(*w->state, front, 0.0, 0.0);
        QCOMPARE(w->form->picture1()->surface().image(), front.image());

        dialog("mnuOpen", [](QDialog *d) { pick(d, 1); }); // a bad file changes nothing
        QCOMPARE(messages_->requests.size(), std::size_t(1));
        QVERIFY(messages_->requests[0].text.contains("bad.chs"));
        QVERIFY(w->state->pointCount == 1 && w->state->modelPoints[0] == Coords({7, 8, 9})
                && kept());
        for (const QString &name : modelCommands())
            QVERIFY2(w->enabled(name), qPrintable(name));

        dialog("mnuOpen", [](QDialog *d) {
            QTest::keyClick(d->findChild<QListWidget *>("File1"), Qt::Key_Down);
        });
        QCOMPARE(w->state->pointCount, 2); // opened by the arrow key
        QCOMPARE(QString::fromStdString(w->state->currentFileName), path("a.chs"));
    }

    void foldersOpenByDoubleClickOrEnter()
    {
        QVERIFY(QDir().mkdir("sub") && write("sub/in.chs"));
        dialog("mnuOpen", [&](QDialog *d) {
            auto *folders = d->findChild<FolderList *>("Dir1");
            QWidget *view = folders->viewport();
            const QPoint at = folders->visualItemRect(folders->item(folders->count() - 1)).center();
            QTest::mouseClick(view, Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(view, &twice); // QTest::mouseDClick misses item views in Qt 6.4
            QTRY_COMPARE(d->findChild<FileList *>("File1")->path(), path("sub"));
            folders->setCurrentRow(folders->currentRow() - 1); // the parent, listed above
            QTest::keyClick(folders, Qt::Key_Return);
            QTRY_COMPARE(d->findChild<FileList *>("File1")->path(), QDir::currentPath());
        });
    }

    void picturesForTheCaptureWindow()
    {
        QImage red(30, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save("red.bmp", "BMP") && write("bad.bmp", "BM not really"));
        Form4::setStartPicture("missing.bmp"); // reported only once the window shows
        Form4 capture(*w->state, *w->form);
        Form4::setStartPicture({});
        for (const int row : {1, 0}) { // red.bmp, then bad.bmp, which leaves red shown
            dialog(
                "mnuOpen", [row](QDialog *d) { pick(d, row); }, &capture);
            QCOMPARE(capture.picture1()->surface().image().pixel(5, 5), qRgb(255, 0, 0));
        }
        QCOMPARE(messages_->requests.size(), std::size_t(1));
        QVERIFY(messages_->requests[0].text.contains(path("bad.bmp")));
        QVERIFY(kept());
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestFileDialogs)
#include "tst_file_dialogs.moc"
