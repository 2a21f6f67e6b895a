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
    static FileList *files(QDialog *dialog) { return dialog->findChild<FileList *>("File1"); }
    void dialog(const QString &item, const std::function<void(QDialog *)> &steps)
    {
        withModal<QDialog>([&] { findAction(main_->form.get(), item)->trigger(); }, steps);
    }
    static QList<QRect> layout(QDialog *dialog) // its size, then the controls in tab order
    {
        QList<QRect> rects {QRect(QPoint(), dialog->size())};
        for (QWidget *w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                rects << w->geometry();
        return rects;
    }

private slots:
    void init() // a.chs holds a model of one point, the window one of two; the rest are empty
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        messages_.emplace(QMessageBox::Yes);
        main_ = std::make_unique<MainWindow>();
        main_->setModel({{{7, 8, 9}, 0}});
        QVERIFY(ModelFile::save(*main_->state, path("a.chs").toStdString()).ok());
        main_->setModel({{{1, -2, 3}, 0x123456}, {{4, 5, -6}, 0x000000}});
        main_->form->setWindowTitle("k");
        QVERIFY(touch("b.bmp") && touch("empty.chs"));
    }

    void save_data()
    {
        QTest::addColumn<QString>("target"); // one in the missing folder "no" cannot be written
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("empty file: not asked") << "empty.chs" << QMessageBox::No;
        QTest::newRow("overwrite: Yes") << "a.chs" << QMessageBox::Yes;
        QTest::newRow("overwrite: No") << "a.chs" << QMessageBox::No;
        QTest::newRow("bitmap") << "v.bmp" << QMessageBox::Yes;
        QTest::newRow("no folder") << "no/m.chs" << QMessageBox::Yes;
    }
    void save()
    {
        QFETCH(QString, target);
        QFETCH(QMessageBox::StandardButton, answer);
        const bool bitmap = target.endsWith(".bmp");
        const qint64 existing = QFileInfo(target).size(); // 0 also when there is no such file
        const bool asked = existing > 0;
        const bool written = !target.startsWith("no/") && (!asked || answer == QMessageBox::Yes);
        messages_.emplace(answer);
        const QList<QRect> rects {{0, 0, 327, 346},    {16, 16, 249, 20},  {16, 48, 249, 118},
                                  {16, 176, 249, 114}, {16, 304, 249, 25}, {272, 280, 49, 49}};
        const char *caption = bitmap ? "ビットマップファイルの保存" : "ファイルの保存";
        dialog(bitmap ? "mnuBmp" : "mnuSave", [&](QDialog *dialog) { // no file name: as mnuSaveAs
            QCOMPARE(dialog->windowTitle(), caption);
            QCOMPARE(layout(dialog), rects);
            QCOMPARE(files(dialog)->item(0)->text(), bitmap ? "b.bmp" : "a.chs"); // the pattern
            auto *name = dialog->findChild<QLineEdit *>("txtTargetFile");
            QCOMPARE(name->text(), "title1");
            name->setText(target.chopped(4));
            dialog->findChild<QPushButton *>("Command1")->click();
        });
        if (written && !bitmap) { // with a file name now, mnuSave writes at once
            QVERIFY(QFile::remove(target));
            main_->form->mnuSave_Click();
        }
        // The question, or for the missing folder an error, and nothing else.
        QCOMPARE(messages_->requests.size(), std::size_t(asked || !written));
        for (const MessageRequest &shown : messages_->requests)
            QCOMPARE(shown.title, asked ? "ZUVORAK" : "エラーメッセージ");
        if (asked) {
            const MessageRequest &question = messages_->requests[0];
            QCOMPARE(question.text, path(target) + " ファイルは既に存在します。上書きしますか？");
            QVERIFY(question.icon == QMessageBox::Warning
                    && question.defaultButton == QMessageBox::Yes);
            QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        }
        QCOMPARE(QFileInfo(target).size() > existing, written); // two points, not one
        QCOMPARE(main_->state->currentFileName.empty(), !written || bitmap); // only a model file
        QCOMPARE(main_->form->windowTitle() == "k", !written || bitmap); // renames the window
    }

    void openDialogs()
    {
        QVERIFY(QDir().mkdir("sub"));
        main_->setAngles("30", "5");
        main_->form->picture2()->surface().PSet(10, 10, 0);
        const QList<QRect> rects {
            {0, 0, 245, 386}, {8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150}};
        dialog("mnuOpen", [&](QDialog *dialog) { // closed without a choice: a fresh front view
            QCOMPARE(dialog->windowTitle(), "開く");
            QCOMPARE(layout(dialog), rects);
            QCOMPARE(files(dialog)->count(), 2); // a.chs and empty.chs
            auto *folders = dialog->findChild<FolderList *>("Dir1");
            QWidget *view = folders->viewport(); // "sub", the last folder, by double-click
            const QPoint at = folders->visualItemRect(folders->item(folders->count() - 1)).center();
            QTest::mouseClick(view, Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(view, &twice); // QTest::mouseDClick misses item views in Qt 6.4
            QTRY_COMPARE(files(dialog)->path(), path("sub"));
            folders->setCurrentRow(folders->currentRow() - 1); // the parent, listed above
            QTest::keyClick(folders, Qt::Key_Return);
            QTRY_COMPARE(files(dialog)->path(), QDir::currentPath());
        });
        QVERIFY(main_->caption("Lsu1") == "0" && main_->caption("Lsu2") == "0");
        QCOMPARE(main_->form->picture2()->surface().image().pixel(10, 10), qRgb(255, 255, 255));
        ImageSurface front(261, 261, kWhite);
        renderView(*main_->state, front, 0.0, 0.0);
        QCOMPARE(main_->form->picture1()->surface().image(), front.image());

        dialog("mnuOpen", [](QDialog *dialog) { files(dialog)->setCurrentRow(1); });
        QVERIFY(messages_->requests.size() == 1
                && messages_->requests[0].text.contains("empty.chs"));
        QVERIFY(main_->state->pointCount == 2
                && main_->state->modelPoints[1] == Coords({4, 5, -6}));
        QVERIFY(main_->state->currentFileName.empty() && main_->form->windowTitle() == "k");

        dialog("mnuOpen", [](QDialog *dialog) { QTest::keyClick(files(dialog), Qt::Key_Down); });
        QCOMPARE(main_->state->pointCount, 1); // a.chs, opened by the arrow key

        // The capture window's pictures: red.bmp, then the empty b.bmp, which leaves red shown.
        QVERIFY(ImageSurface(30, 30, 0x0000FF).SavePicture("red.bmp").ok());
        Form4 capture(*main_->state, *main_->form);
        for (const int row : {1, 0}) {
            withModal<QDialog>([&] { capture.mnuOpen_Click(); },
                               [row](QDialog *dialog) { files(dialog)->setCurrentRow(row); });
            QCOMPARE(capture.picture1()->surface().image().pixel(5, 5), qRgb(255, 0, 0));
        }
        QCOMPARE(messages_->requests.size(), std::size_t(2)); // empty.chs, then b.bmp
        QVERIFY(messages_->requests[1].text.contains(path("b.bmp")));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestFileDialogs)
#include "tst_file_dialogs.moc"
