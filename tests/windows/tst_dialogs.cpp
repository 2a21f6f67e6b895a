#include "file_lists.h"
#include "help_viewer.h"
#include "image_surface.h"
#include "picture_file.h"
#include "platform.h"
#include "window_test.h"

#include <optional>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUndoStack>

// The save, open and capture windows and the help, each from the main window's menus.
class TestDialogs : public QObject {
    Q_OBJECT
    std::optional<InFolder> dir_;
    std::unique_ptr<Program> program_;

    QWidget *window() const { return &program_->window; }
    static QString path(const QString &name) { return QDir::currentPath() + "/" + name; }
    static FileList *files(QWidget *dialog) { return child<FileList>(dialog, "files"); }
    void dialog(const char *action, const std::function<void(QDialog *)> &steps)
    {
        withModal<QDialog>([&] { trigger(window(), action); }, steps);
    }

private slots:
    void init() // a.chs holds a model of one point, the window one of two; the rest are empty
    {
        program_.reset();
        dir_.emplace();
        ImageSurface sample(300, 250, kWhite); // a white picture with four dark pixels
        for (const QPoint dark : {QPoint(11, 21), QPoint(11, 25), QPoint(14, 22), QPoint(299, 249)})
            sample.plot(dark.x(), dark.y(), 0x141496);
        QVERIFY(writePicture(sample.image(), path("sample.bmp")).ok());
        program_ = std::make_unique<Program>(path("sample.bmp"));
        QVERIFY(ModelFile::save({{{7, 8, 9}}, {0}}, path("a.chs").toStdString()).ok());
        program_->document.importModel({{{1, -2, 3}, {4, 5, -6}}, {0x123456, 0}});
        program_->window.setWindowTitle("k");
        QVERIFY(QFile("b.bmp").open(QIODevice::WriteOnly)
                && QFile("empty.chs").open(QIODevice::WriteOnly));
    }

    void save_data()
    {
        QTest::addColumn<QString>("typed"); // the extension is added to a name without it
        QTest::addColumn<QString>("target");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("empty file: not asked")
            << "empty" << QString("empty.chs") << QMessageBox::No;
        QTest::newRow("overwrite: Yes") << "a" << QString("a.chs") << QMessageBox::Yes;
        QTest::newRow("overwrite: No") << "a" << QString("a.chs") << QMessageBox::No;
        QTest::newRow("typed with its extension")
            << "a.chs" << QString("a.chs") << QMessageBox::Yes;
        QTest::newRow("typed with its extension in capitals")
            << "A.CHS" << QString("A.CHS") << QMessageBox::Yes;
        QTest::newRow("bitmap") << "v" << QString("v.bmp") << QMessageBox::Yes;
        QTest::newRow("bitmap typed with its extension")
            << "v.bmp" << QString("v.bmp") << QMessageBox::Yes;
    }
    void save()
    {
        QFETCH(QString, typed);
        QFETCH(QString, target);
        QFETCH(QMessageBox::StandardButton, answer);
        const bool bitmap = target.endsWith(".bmp", Qt::CaseInsensitive);
        const qint64 existing = QFileInfo(target).size(); // 0 also when there is no such file
        const bool asked = existing > 0;
        const bool written = !asked || answer == QMessageBox::Yes;
        MessageBoxes boxes(answer);
        // Without a file name the save-over command asks for one, as 名前を付けて保存 does.
        dialog(bitmap ? "saveBitmapAction" : "saveAction", [&](QDialog *dialog) {
            QCOMPARE(files(dialog)->item(0)->text(), bitmap ? "b.bmp" : "a.chs"); // the pattern
            child<QLineEdit>(dialog, "name")->setText(typed);
            click(dialog, "saveButton");
        });
        if (written && !bitmap) { // with a file name now, Ctrl+S saves over it at once
            QVERIFY(QFile::remove(target));
            window()->activateWindow(); // the offscreen platform leaves that to the program
            QVERIFY(QTest::qWaitForWindowActive(window()));
            QTest::keyClick(window(), Qt::Key_S, Qt::ControlModifier);
        }
        QCOMPARE(boxes.shown.size(), qsizetype(asked)); // the question
        QVERIFY(boxes.shown.isEmpty() || boxes.shown[0].text.contains(path(target)));
        if (asked)
            QCOMPARE(boxes.shown[0].buttonTexts, "はい(&Y) いいえ(&N)"); // Qt's own Japanese
        QCOMPARE(QFileInfo(target).size() > existing, written); // two points, not one
        QCOMPARE(shownTitle(window()),
                 !written || bitmap ? "k" : QFileInfo(target).fileName() + " - ZUVORAK");
    }

    void openDialogs()
    {
        QVERIFY(QDir().mkdir("sub"));
        program_->document.history()->setClean(); // nothing to ask about
        click(window(), "turnLeft5");
        dialog("openAction", [&](QDialog *dialog) { // closed without a choice: a fresh front view
            QCOMPARE(files(dialog)->count(), 2); // a.chs and empty.chs
            auto *folders = child<FolderList>(dialog, "folders");
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
        QCOMPARE(text(window(), "turnAngle"), "0");

        MessageBoxes boxes;
        dialog("openAction", [](QDialog *dialog) { files(dialog)->setCurrentRow(1); });
        QVERIFY(boxes.shown.size() == 1 && boxes.shown[0].text.contains(path("empty.chs")));
        QVERIFY(program_->document.model().count() == 2 && program_->document.fileName().isEmpty());
        QCOMPARE(shownTitle(window()), "k");

        dialog("openAction", [](QDialog *dialog) { QTest::keyClick(files(dialog), Qt::Key_Down); });
        QCOMPARE(program_->document.model().count(), 1); // a.chs, opened by the arrow key
        QCOMPARE(shownTitle(window()), "a.chs- ZUVORAK");

        // A picture opened in the capture window is shown; a broken one: tst_capture_pictures.
        QVERIFY(writePicture(ImageSurface(30, 30, 0x0000FF).image(), path("red.bmp")).ok());
        dialog("captureAction", [&](QDialog *capture) {
            withModal<QDialog>([&] { trigger(capture, "openAction"); },
                               [](QDialog *dialog) { files(dialog)->setCurrentRow(1); });
            QCOMPARE(shown(capture, "picture").pixel(5, 5), qRgb(255, 0, 0));
        });
    }

    void outlineRedoAndLeaving()
    {
        dialog("captureAction", [](QDialog *capture) {
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
        QCOMPARE(program_->document.model().count(), 3);
        // A selection made and then left by Exit or the close box hands nothing over.
        captureDrag(window(), {0, 0}, {13, 23}, "exitAction");
        captureDrag(window(), {0, 0}, {13, 23}, nullptr);
        QCOMPARE(program_->document.model().count(), 3);
        captureDrag(window(), {300, 250}, {290, 240});
        QCOMPARE(program_->document.model().count(), 1); // only the far corner's pixel
    }

    void importSelection_data()
    {
        QTest::addColumn<bool>("missing"); // no start picture: the grey background shows
        QTest::addColumn<QPoint>("end"); // dragged from (10, 10)
        QTest::addColumn<int>("points"); // -1: refused
        QTest::newRow("190 x 190") << false << QPoint(200, 200) << 3;
        QTest::newRow("191 across") << false << QPoint(201, 200) << -1;
        QTest::newRow("191 down") << false << QPoint(200, 201) << -1;
        QTest::newRow("no start picture: no point") << true << QPoint(200, 200) << 0;
    }
    void importSelection()
    {
        QFETCH(bool, missing);
        QFETCH(QPoint, end);
        QFETCH(int, points);
        const bool refused = points < 0;
        Program program(path(missing ? "buhin.bmp" : "sample.bmp"));
        MessageBoxes boxes;
        withModal<QDialog>([&] { trigger(&program.window, "captureAction"); },
                           [&](QDialog *capture) {
                               QTRY_COMPARE(boxes.shown.size(), qsizetype(missing));
                               const QImage before = shown(capture, "picture");
                               QCOMPARE(before.pixel(0, 0) != qRgb(255, 255, 255), missing);
                               dragOver(child(capture, "picture"), {10, 10}, end);
                               trigger(capture, "importAction");
                               // Refused: no outline, and another try.
                               QCOMPARE(capture->isVisible(), refused);
                               QVERIFY(!refused || shown(capture, "picture") == before);
                           });
        QCOMPARE(program.document.model().count(), qMax(points, 0));
        QCOMPARE(program.document.hasModel(), !refused);
        const QString told
            = refused ? "指定範囲が大きすぎます" : "指定範囲に取りこめる点がありません";
        QCOMPARE(boxes.shown.size(),
                 qsizetype(missing) + (points <= 0)); // the start picture's first
        QVERIFY(points > 0 || boxes.shown.last().text.contains(told));
    }

    // F1 does nothing before the help's first use, then opens it from any window; a
    // missing help file is named in a message.
    void help()
    {
        const auto shows = [] {
            return HelpViewer::instance().window() && HelpViewer::instance().window()->isVisible();
        };
        QTest::keyClick(window(), Qt::Key_F1);
        QApplication::processEvents();
        QVERIFY(!HelpViewer::instance().window());
        const QString shipped = QDir(programFolder()).filePath("help/zuvorak.html");
        QDir(programFolder()).mkpath("help"); // the help ships beside the executable
        QFile::remove(shipped);
        QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/resources/help/zuvorak.html", shipped));
        trigger(window(), "helpContentsAction");
        QTRY_VERIFY(shows());
        QVERIFY(HelpViewer::instance().window()->toPlainText().contains("使い方の流れ"));
        HelpViewer::instance().window()->close();
        QDialog other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_F1);
        QTRY_VERIFY(shows());
        HelpViewer::instance().window()->close();
        QTRY_VERIFY(!HelpViewer::instance().window());
        MessageBoxes boxes;
        HelpViewer::instance().setHelpFile("/nonexistent/zuvorak.html");
        QTest::keyClick(window(), Qt::Key_F1);
        QTRY_COMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].text.contains("/nonexistent/zuvorak.html") && !shows());
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
