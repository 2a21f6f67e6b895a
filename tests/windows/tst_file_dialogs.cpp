#include "file_lists.h"
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
    std::unique_ptr<MainWindow> main_;

    static QString path(const QString &name) { return QDir::currentPath() + "/" + name; }
    static bool touch(const QString &name) { return QFile(name).open(QIODevice::WriteOnly); }
    void dialog(const QString &item, const std::function<void(QDialog *)> &steps)
    {
        withModal<QDialog>([&] { findAction(main_->form.get(), item)->trigger(); }, steps);
    }
    static QListWidget *files(QDialog *dialog) { return dialog->findChild<QListWidget *>("File1"); }
    static QList<QRect> layout(QDialog *dialog)
    {
        QList<QRect> rects {QRect(QPoint(), dialog->size())}; // then the controls in tab order
        for (QWidget *control = dialog->nextInFocusChain(); control != dialog;
             control = control->nextInFocusChain())
            if (control->focusPolicy() & Qt::TabFocus)
                rects << control->geometry();
        return rects;
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        messages_.emplace(QMessageBox::Yes);
        main_ = std::make_unique<MainWindow>();
        main_->setModel({{{1, -2, 3}, 0x123456}, {{4, 5, -6}, 0x000000}});
        main_->form->setWindowTitle("k");
    }

    void save_data()
    {
        QTest::addColumn<QString>("target"); // one in the missing folder "no" cannot be written
        QTest::addColumn<int>("existing"); // its size; -1: no such file
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("empty file: not asked") << "m.chs" << 0 << QMessageBox::No;
        QTest::newRow("overwrite: Yes") << "m.chs" << 3 << QMessageBox::Yes;
        QTest::newRow("overwrite: No") << "m.chs" << 3 << QMessageBox::No;
        QTest::newRow("bitmap") << "v.bmp" << -1 << QMessageBox::Yes;
        QTest::newRow("model, no folder") << "no/m.chs" << -1 << QMessageBox::Yes;
        QTest::newRow("bitmap, no folder") << "no/v.bmp" << -1 << QMessageBox::Yes;
    }
    void save()
    {
        QFETCH(QString, target);
        QFETCH(int, existing);
        QFETCH(QMessageBox::StandardButton, answer);
        const bool bitmap = target.endsWith(".bmp");
        QVERIFY(touch("a.chs") && touch("b.bmp"));
        QVERIFY(existing < 0 || (touch(target) && QFile::resize(target, existing)));
        messages_.emplace(answer);
        const QList<QRect> rects {{0, 0, 327, 346},    {16, 16, 249, 20},  {16, 48, 249, 118},
                                  {16, 176, 249, 114}, {16, 304, 249, 25}, {272, 280, 49, 49}};
        const QString caption = bitmap ? "ビットマップファイルの保存" : "ファイルの保存";
        dialog(bitmap ? "mnuBmp" : "mnuSave", [&](QDialog *dialog) { // no file name: as mnuSaveAs
            QCOMPARE(dialog->windowTitle(), caption);
            QCOMPARE(layout(dialog), rects);
            QCOMPARE(files(dialog)->item(0)->text(), bitmap ? "b.bmp" : "a.chs"); // the pattern
            auto *name = dialog->findChild<QLineEdit *>("txtTargetFile");
            QCOMPARE(name->text(), QStringLiteral("title1"));
            name->setText(target.chopped(4));
            dialog->findChild<QPushButton *>("Command1")->click();
        });
        const bool asked = existing > 0;
        const bool fails = target.startsWith("no/");
        const bool written = !fails && (!asked || answer == QMessageBox::Yes);
        if (written && !bitmap) { // with a file name now, mnuSave writes at once
            QVERIFY(QFile::remove(target));
            main_->form->mnuSave_Click();
        }
        QCOMPARE(messages_->requests.size(), std::size_t(asked || fails ? 1 : 0));
        QVERIFY(!fails || messages_->requests[0].title == "エラーメッセージ");
        if (asked) {
            const MessageRequest &question = messages_->requests[0];
            QCOMPARE(question.text, path(target) + " ファイルは既に存在します。上書きしますか？");
            QVERIFY(question.title == "ZUVORAK" && question.icon == QMessageBox::Warning);
            QVERIFY(question.buttons == (QMessageBox::Yes | QMessageBox::No)
                    && question.defaultButton == QMessageBox::Yes);
        }
        QCOMPARE(QFileInfo(target).size() > qMax(existing, 0), written);
        QCOMPARE(main_->state->currentFileName.empty(), !written || bitmap); // only a model file
        QCOMPARE(main_->form->windowTitle() == "k", !written || bitmap); // renames the window
    }

    void openDialogAndFolders()
    {
        QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/fuzz/corpus/count-above-capacity.chs", "bad.chs"));
        QVERIFY(ModelFile::save(*main_->state, path("a.chs").toStdString()).ok());
        main_->setModel({{{7, 8, 9}, 0}});
        main_->setAngles("30", "5");
        main_->form->picture2()->surface().PSet(10, 10, 0);
        const QList<QRect> rects {
            {0, 0, 245, 386}, {8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150}};
        QVERIFY(touch("v.bmp") && QDir().mkdir("sub"));
        dialog("mnuOpen", [&](QDialog *dialog) { // closed without a choice: a fresh front view
            QCOMPARE(dialog->windowTitle(), QStringLiteral("開く"));
            QCOMPARE(layout(dialog), rects);
            QCOMPARE(files(dialog)->count(), 2); // a.chs and bad.chs
            auto *folders = dialog->findChild<FolderList *>("Dir1");
            QWidget *view = folders->viewport();
            const QPoint at = folders->visualItemRect(folders->item(folders->count() - 1)).center();
            QTest::mouseClick(view, Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(view, &twice); // QTest::mouseDClick misses item views in Qt 6.4
            QTRY_COMPARE(dialog->findChild<FileList *>("File1")->path(), path("sub"));
            folders->setCurrentRow(folders->currentRow() - 1); // the parent, listed above
            QTest::keyClick(folders, Qt::Key_Return);
            QTRY_COMPARE(dialog->findChild<FileList *>("File1")->path(), QDir::currentPath());
        });
        QVERIFY(main_->caption("Lsu1") == "0" && main_->caption("Lsu2") == "0");
        QCOMPARE(main_->form->picture2()->surface().image().pixel(10, 10), qRgb(255, 255, 255));
        ImageSurface front(261, 261, kWhite);
        renderView(*main_->state, front, 0.0, 0.0);
        QCOMPARE(main_->form->picture1()->surface().image(), front.image());

        dialog("mnuOpen", [](QDialog *dialog) { files(dialog)->setCurrentRow(1); });
        QVERIFY(messages_->requests.size() == 1 && messages_->requests[0].text.contains("bad.chs"));
        QVERIFY(main_->state->pointCount == 1 && main_->state->modelPoints[0] == Coords({7, 8, 9}));
        QVERIFY(main_->state->currentFileName.empty() && main_->form->windowTitle() == "k");
        QVERIFY(main_->enabled("mnuSave") && main_->enabled("Coanime")); // bad.chs changed nothing

        dialog("mnuOpen", [](QDialog *dialog) { QTest::keyClick(files(dialog), Qt::Key_Down); });
        QCOMPARE(main_->state->pointCount, 2); // a.chs, opened by the arrow key
        QCOMPARE(QString::fromStdString(main_->state->currentFileName), path("a.chs"));
    }

    void picturesForTheCaptureWindow()
    {
        QVERIFY(ImageSurface(30, 30, 0x0000FF).SavePicture("red.bmp").ok());
        QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/CMakeLists.txt", "bad.bmp"));
        Form4 capture(*main_->state, *main_->form);
        for (const int row : {1, 0}) { // red.bmp, then bad.bmp, which leaves red shown
            withModal<QDialog>([&] { capture.mnuOpen_Click(); },
                               [row](QDialog *dialog) { files(dialog)->setCurrentRow(row); });
            QCOMPARE(capture.picture1()->surface().image().pixel(5, 5), qRgb(255, 0, 0));
        }
        QCOMPARE(messages_->requests.size(), std::size_t(1));
        QVERIFY(messages_->requests[0].text.contains(path("bad.bmp")));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestFileDialogs)
#include "tst_file_dialogs.moc"
