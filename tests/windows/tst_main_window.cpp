#include "help_viewer.h"
#include "literal_turn.h"
#include "window_test.h"

#include <QCloseEvent>
#include <QDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

// A square with a raised middle, so every turn moves some points.
static Model raisedSquare()
{
    Model model;
    for (int y = -20; y <= 20; ++y)
        for (int x = -20; x <= 20; ++x) {
            const bool raised = std::abs(x) <= 10 && std::abs(y) <= 10;
            model.points.push_back({raised ? 30.0 : 0.0, double(x), double(y)});
            model.colours.push_back(raised ? 0xC0 : 0x804000);
        }
    return model;
}

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;
    QWidget *window() const { return &program_->window; }
    QPoint angles() const
    {
        return {text(window(), "turnAngle").toInt(), text(window(), "tiltAngle").toInt()};
    }
    // The view the literal formula gives for the angles shown.
    bool showsTurnedView(const char *name) const
    {
        const Model &model = program_->document.model();
        const QPoint at = angles();
        return samePicture(
            shown(window(), "view"),
            literal::plotted(literal::turnModel(model.points, at.x(), at.y()), model.colours),
            QString(name));
    }

private slots:
    void init()
    {
        program_ = std::make_unique<Program>();
        child<QTimer>(window(), "animationTimer")->stop(); // ticks come from the tests
    }

    void startUp()
    {
        for (const char *name : {"turnLeft1", "turnUp5", "moveLeft", "animation", "applyDepth"})
            QVERIFY2(!child(window(), name)->isEnabled(), name);
        for (const char *name : {"saveAction", "saveBitmapAction", "doOverAction", "mirrorAction"})
            QVERIFY2(!child<QAction>(window(), name)->isEnabled(), name);
        QCOMPARE(child<QScrollBar>(window(), "depthSlider")->value(), 15);
        QCOMPARE(text(window(), "depthValue"), "15");
        QCOMPARE(shownTitle(window()), "ZUVORAK");
        QImage white(kViewSize, kViewSize, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(shown(window(), "view"), white);
    }

    void turnButtons_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QPoint>("angles");
        QTest::newRow("73 large left steps are not wrapped")
            << QStringList(73, "turnLeft5") << QPoint(365, 0);
        QTest::newRow("left then right gives the former view")
            << QStringList {"turnRight5", "turnLeft1", "turnRight1"} << QPoint(-5, 0);
        QTest::newRow("up and down turn only the tilt")
            << QStringList {"turnUp5", "turnUp1", "turnDown1", "turnDown5", "turnDown5"}
            << QPoint(0, -5);
        QTest::newRow("front view zeroes both, then steps go on")
            << QStringList {"turnLeft5", "turnUp1", "frontView", "turnLeft1"} << QPoint(1, 0);
    }
    void turnButtons()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QPoint, angles);
        program_->document.importModel(raisedSquare());
        for (const QString &name : clicks)
            click(window(), qPrintable(name));
        QCOMPARE(this->angles(), angles);
        QVERIFY(showsTurnedView(QTest::currentDataTag()));
    }

    // Only the left button draws a stroke; any release ends one.
    void depthToolByMouse()
    {
        program_->document.importModel({{{0, 0, 0}, {0, 50, 0}}, {0x0000FF, 0x00FF00}});
        QWidget *view = child(window(), "view");
        QTest::mousePress(view, Qt::RightButton, {}, inBox({150, 140}));
        QTest::mouseRelease(view, Qt::RightButton, {}, inBox({150, 140}));
        QVERIFY(!child<QAction>(window(), "doOverAction")->isEnabled());
        click(window(), "turnLeft5");
        child<QScrollBar>(window(), "depthSlider")->setValue(37);
        QCOMPARE(text(window(), "depthValue"), "37");

        dragOver(view, {150, 140}, {110, 120}); // from lower right to upper left
        QCOMPARE(angles(), QPoint(0, 0));
        QImage expected = literal::plotted(program_->document.model().points,
                                           program_->document.model().colours);
        for (int i = 0; i <= 40; ++i) {
            for (const QPoint at : {QPoint(110 + i, 120), QPoint(110 + i, 140),
                                    QPoint(110, 120 + i / 2), QPoint(150, 120 + i / 2)})
                expected.setPixel(at, qRgb(0, 0, 255));
        }
        QVERIFY(samePicture(shown(window(), "view"), expected, "stroke"));

        trigger(window(), "doOverAction"); // erases the outline; the depth button still applies
        QCOMPARE(shown(window(), "view").pixel(150, 140), qRgb(255, 255, 255));
        QVERIFY(child(window(), "applyDepth")->isEnabled());
        click(window(), "applyDepth");
        QCOMPARE(program_->document.model().points[0][Depth], 37.0);
        QCOMPARE(program_->document.model().points[1][Depth], 0.0);
        QVERIFY(!child(window(), "applyDepth")->isEnabled());
    }

    void editsShowTheFrontView_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QPoint>("green"); // where the point (50, 0) is drawn afterwards
        QTest::newRow("turn 90 degrees") << "quarterTurnAction" << QPoint(130, 80);
        QTest::newRow("mirror") << "mirrorAction" << QPoint(80, 130);
        QTest::newRow("move left") << "moveLeft" << QPoint(170, 130);
        QTest::newRow("move right") << "moveRight" << QPoint(190, 130);
        QTest::newRow("move up") << "moveUp" << QPoint(180, 120);
        QTest::newRow("move down") << "moveDown" << QPoint(180, 140);
    }
    void editsShowTheFrontView()
    {
        QFETCH(QString, command);
        QFETCH(QPoint, green);
        program_->document.importModel({{{0, 0, 0}, {5, 50, 0}}, {0x0000FF, 0x00FF00}});
        click(window(), "turnLeft5");
        click(window(), "turnDown5");
        if (command.endsWith("Action"))
            trigger(window(), qPrintable(command));
        else
            click(window(), qPrintable(command));
        QCOMPARE(angles(), QPoint(0, 0));
        QCOMPARE(shown(window(), "view").pixel(green), qRgb(0, 255, 0));
    }

    void animationRunsDuringModalDialog()
    {
        program_->document.importModel(raisedSquare());
        child<QTimer>(window(), "animationTimer")->start();
        click(window(), "animation");
        QCOMPARE(child<QPushButton>(window(), "animation")->text(), "アニメを止める");
        QDialog dialog(window());
        QTimer::singleShot(1300, &dialog, &QDialog::accept);
        dialog.exec();
        QVERIFY(program_->document.animationPhase() >= 2); // two 500 ms ticks inside the dialog
        QCOMPARE(angles().x(), 5 * (program_->document.animationPhase() - 1));
        QVERIFY(showsTurnedView("animation"));
    }

    // The edit menu names the step; undoing the first import disables the model's commands.
    void undoAndRedoFromTheKeyboard()
    {
        QAction *undo = child<QAction>(window(), "undoAction");
        QAction *redo = child<QAction>(window(), "redoAction");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        program_->document.importModel(raisedSquare());
        click(window(), "moveUp");
        QCOMPARE(undo->text(), "元に戻す 表示位置");
        QTest::keyClick(window(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!child(window(), "moveUp")->isEnabled() && !undo->isEnabled());
        QCOMPARE(redo->text(), "再実行 取りこみ");
        QTest::keyClick(window(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(child(window(), "moveUp")->isEnabled());
        QVERIFY(showsTurnedView("redone import"));
        QCOMPARE(shownTitle(window()), "ZUVORAK*");
    }

    // Exit, the close box and opening another model ask only while there are unsaved changes.
    void unsavedChangesAreNeverLostSilently_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // empty: no changes, so no question
        for (const char *command : {"exitAction", "close", "openAction"}) {
            QTest::newRow(qPrintable(QString(command) + ", unchanged")) << command << "";
            QTest::newRow(qPrintable(QString(command) + ", キャンセル")) << command << "キャンセル";
            QTest::newRow(qPrintable(QString(command) + ", 保存しない")) << command << "保存しない";
            QTest::newRow(qPrintable(QString(command) + ", 保存")) << command << "保存";
        }
    }
    void unsavedChangesAreNeverLostSilently()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        program_->document.importModel(raisedSquare());
        QVERIFY(program_->document.save(dir.filePath("square.chs")).ok());
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
        } else { // the open dialog is closed as soon as it shows
            struct OpenDialogWatch : QObject {
                bool shown = false;
                bool eventFilter(QObject *watched, QEvent *event) override
                {
                    auto *dialog = qobject_cast<QDialog *>(watched);
                    if (dialog && !qobject_cast<QMessageBox *>(dialog)
                        && event->type() == QEvent::Show) {
                        shown = true;
                        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
                    }
                    return false;
                }
            } watch;
            qApp->installEventFilter(&watch);
            trigger(window(), "openAction");
            wentOn = watch.shown;
        }
        QCOMPARE(boxes.shown.size(), qsizetype(!answer.isEmpty()));
        if (!answer.isEmpty())
            QCOMPARE(boxes.shown[0].text, "変更を保存しますか？");
        QCOMPARE(wentOn, answer != "キャンセル");
        QFile saved(dir.filePath("square.chs"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const Model &model = program_->document.model();
        const std::vector<std::uint8_t> now = ModelFile::encode(model);
        QCOMPARE(
            saved.readAll()
                == QByteArray(reinterpret_cast<const char *>(now.data()), qsizetype(now.size())),
            answer.isEmpty() || answer == "保存");
    }

    // Qt tells a window that a modal dialog blocks it; the help must never be told.
    void helpUsableWhileADialogIsOpen()
    {
        struct BlockWatch : QObject {
            bool blocked = false;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::WindowBlocked)
                    blocked = true;
                return false;
            }
        } watch;
        HelpViewer::instance().setHelpFile(
            QStringLiteral(ZUVORAK_SOURCE_DIR "/resources/help/zuvorak.html"));
        HelpViewer::instance().showHelp();
        QTextBrowser *help = HelpViewer::instance().window();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->installEventFilter(&watch);
        withModal<QDialog>([&] { trigger(window(), "aboutAction"); },
                           [&](QDialog *) { QApplication::processEvents(); });
        withModal<QDialog>([&] { trigger(window(), "captureAction"); },
                           [&](QDialog *) { QApplication::processEvents(); });
        QVERIFY(!watch.blocked);
        // Closing the main window ends the program, also while the help is open.
        QTimer::singleShot(0, window(), &QWidget::close);
        QVERIFY(endsWithin(3000));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
