#include "help_viewer.h"
#include "readers.h"
#include "texts.h"
#include "window_test.h"

#include <QCloseEvent>
#include <QDialog>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUndoStack>

class TestMainWindow : public QObject, WithProgram {
    Q_OBJECT

    QPoint angles() const
    {
        return {text(window(), "turnAngle").toInt(), text(window(), "tiltAngle").toInt()};
    }
    // The view the literal formula gives for the angles shown.
    bool showsTurnedView(const QString &name) const
    {
        return showsLiteralTurn(shown(window(), "view"), document().model(), angles().x(),
                                angles().y(), name);
    }

private slots:
    void init()
    {
        start(); // the large view's point size from its default
        document().importModel(sixColours(1000));
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
        dragOver(view, {150, 140}, {110, 120}); // from lower right to upper left
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
        withModal<QDialog>([&] { trigger(window(), "captureAction"); },
                           [](QDialog *capture) {
                               dragOver(child(capture, "picture"), {20, 20}, {120, 100});
                               trigger(capture, "importAction");
                           });
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
        QVERIFY(showsTurnedView("redone import"));
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
            for (const char *answer : {"", "キャンセル", "保存しない", "保存"})
                QTest::addRow("%s, %s", command, *answer ? answer : "unchanged")
                    << command << answer;
    }
    void unsavedChangesAreNeverLostSilently()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        QVERIFY(document().save(dir.filePath("square.chs")).ok());
        if (!answer.isEmpty())
            click(window(), "moveUp");
        MessageBoxes boxes(answer);
        bool wentOn = false; // the program ended, the window closed, the open dialog came
        if (command == "exitAction") {
            QTimer::singleShot(0, window(), [this] { trigger(window(), "exitAction"); });
            wentOn = endsWithin(2000);
        } else if (command == "close") { // the close box, without closing the last window
            QCloseEvent close;
            QApplication::sendEvent(window(), &close);
            wentOn = close.isAccepted();
        } else { // the open dialog came, and is closed
            wentOn = stepThrough([&] { trigger(window(), "openAction"); }, {[](QDialog *) {}}) == 1;
        }
        QCOMPARE(boxes.shown.size(), qsizetype(!answer.isEmpty()));
        QCOMPARE(wentOn, answer != "キャンセル");
        QCOMPARE(contents(dir.filePath("square.chs"))
                     == asBytes(ModelFile::encode(document().model())),
                 answer.isEmpty() || answer == "保存");
    }

    // The last 8 model files opened or saved, the latest first and remembered for the next
    // run; choosing one opens it, and one gone since is dropped from the list with a message.
    void recentFiles()
    {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path()); // where the save dialog starts
        const auto model = [&](int i) { return dir.filePath(QString("m%1.chs").arg(i)); };
        for (int i = 0; i < 9; ++i) {
            QVERIFY(ModelFile::save(sixColours(3), model(i).toStdString()).ok());
            program_->window.openModelFile(model(i));
        }
        saveAs(window(), "saveAsAction", "m9");
        const auto shownList = [this] {
            QStringList shown;
            for (int i = 1; i <= 9; ++i)
                if (auto *entry = window()->findChild<QAction *>(QString("recentFile%1").arg(i));
                    entry && entry->isVisible())
                    shown << entry->text();
            return shown;
        };
        const auto listOf = [&](std::initializer_list<int> models) {
            QStringList list;
            for (int i : models)
                list << QString("&%1 %2").arg(list.size() + 1).arg(model(i));
            return list;
        };
        QCOMPARE(shownList(), listOf({9, 8, 7, 6, 5, 4, 3, 2}));
        trigger(window(), "recentFile3");
        QCOMPARE(document().fileName(), model(7));
        program_ = std::make_unique<Program>(); // the next run
        QCOMPARE(shownList(), listOf({7, 9, 8, 6, 5, 4, 3, 2}));
        QVERIFY(QFile::remove(model(5)));
        MessageBoxes boxes;
        trigger(window(), "recentFile5");
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, QString(Texts::kRecentFileMissing).arg(model(5)));
        QCOMPARE(shownList(), listOf({7, 9, 8, 6, 4, 3, 2}));
        QVERIFY(!document().hasModel());
    }

    // A dropped picture comes up in the capture window, as 加工前のファイルを開く shows its own;
    // a dropped model opens as 加工後のファイル開く opens it, after the unsaved-changes question.
    void droppedFiles()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath("red.png"), model = dir.filePath("dropped.chs");
        QImage red(30, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
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
        withModal<QDialog>([&] { drop(picture); },
                           [](QDialog *capture) {
                               QCOMPARE(shown(capture, "picture").pixel(5, 5), qRgb(255, 0, 0));
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
        withModal<QDialog>([&] { trigger(window(), "captureAction"); },
                           [&](QDialog *) {
                               QTRY_VERIFY(angles().x() >= 5); // two ticks of 500 ms
                               timer->stop();
                               const QPoint swung = angles();
                               dragOver(large, {130, 100}, {110, 100});
                               QCOMPARE(angles(), swung + QPoint(10, 0));
                           });
        QVERIFY(!watch.blocked);
        QVERIFY(showsTurnedView("animated and dragged"));
        QVERIFY(samePicture(large->surface().image(), shown(window(), "view"), "large"));
        // Closing the main window ends the program while the others are open.
        document().history()->setClean();
        QTimer::singleShot(0, window(), &QWidget::close);
        QVERIFY(endsWithin(3000));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
