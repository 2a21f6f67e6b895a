#include "cli_test.h"
#include "start_windows.h"
#include "window_test.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

// The command line and the windows, given the same steps, write the same files.
class TestWindowsAgree : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString path(const QString &name) const { return dir_.filePath(name); }

    // Saves the model and the view through the save dialogs as NAME.chs and NAME.bmp.
    void saveThroughDialogs(QWidget *window, const QString &name)
    {
        QFile::remove(path(name + QStringLiteral(".chs")));
        QFile::remove(path(name + QStringLiteral(".bmp")));
        for (const char *action : {"saveAsAction", "saveBitmapAction"})
            withModal<QDialog>([&] { trigger(window, action); },
                               [&](QDialog *dialog) {
                                   child<QLineEdit>(dialog, "name")->setText(name);
                                   click(dialog, "saveButton");
                               });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir::setCurrent(dir_.path())); // where the save dialogs start
    }

    void init() { QCoreApplication::removePostedEvents(qApp, QEvent::Quit); }

    void import_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QStringList>("strokes");
        QTest::addColumn<int>("quarterTurns");
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<QPoint>("move");

        QTest::newRow("a whole small bitmap, imported only: the unturned view")
            << "small.bmp" << QSize(150, 120) << QPoint(-1, -1) << QPoint(150, 120) << true
            << QStringList() << 0 << false << QPoint();
        QTest::newRow("dragged up and left, two strokes, a turn, the mirror, a move")
            << "wide.png" << QSize(300, 200) << QPoint(250, 180) << QPoint(70, 20) << false
            << QStringList {"40,40,140,120=40", "150,100,60,60=75"} << 1 << true << QPoint(20, -30);
        QTest::newRow("three quarter turns after a stroke over the whole view")
            << "wide.png" << QSize(300, 200) << QPoint(10, 10) << QPoint(190, 190) << false
            << QStringList {"0,0,261,261=100"} << 3 << false << QPoint(-10, 10);
        QTest::newRow("a selection reaching past the picture onto the grey")
            << "narrow.png" << QSize(100, 80) << QPoint(50, 40) << QPoint(230, 200) << false
            << QStringList {"130,130,200,250=0", "120,110,250,250=55"} << 0 << false
            << QPoint(0, 20);
    }

    void import()
    {
        QFETCH(QString, picture);
        QFETCH(QSize, size);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(bool, whole);
        QFETCH(QStringList, strokes);
        QFETCH(int, quarterTurns);
        QFETCH(bool, mirror);
        QFETCH(QPoint, move);
        QVERIFY(drawing(size.width(), size.height()).save(path(picture)));

        Program program(path(picture));
        QWidget *window = &program.window;
        withModal<QDialog>([&] { trigger(window, "captureAction"); },
                           [&](QDialog *capture) {
                               dragOver(child(capture, "picture"), from, to);
                               trigger(capture, "importAction");
                           });
        QStringList arguments {QStringLiteral("import"), picture};
        if (!whole)
            arguments << QStringLiteral("--rect")
                      << QStringLiteral("%1,%2,%3,%4")
                             .arg(from.x())
                             .arg(from.y())
                             .arg(to.x())
                             .arg(to.y());
        for (const QString &stroke : std::as_const(strokes)) {
            const QStringList parts = stroke.split(QRegularExpression(QStringLiteral("[,=]")));
            child<QScrollBar>(window, "depthSlider")->setValue(parts[4].toInt());
            dragOver(child(window, "view"), {parts[0].toInt(), parts[1].toInt()},
                     {parts[2].toInt(), parts[3].toInt()});
            click(window, "applyDepth");
            arguments << QStringLiteral("--depth") << stroke;
        }
        for (int i = 0; i < quarterTurns; ++i)
            trigger(window, "quarterTurnAction");
        if (mirror)
            trigger(window, "mirrorAction");
        for (int i = 0; i < std::abs(move.x()) / 10; ++i)
            click(window, move.x() > 0 ? "moveRight" : "moveLeft");
        for (int i = 0; i < std::abs(move.y()) / 10; ++i)
            click(window, move.y() > 0 ? "moveUp" : "moveDown");
        saveThroughDialogs(window, QStringLiteral("window"));
        QVERIFY(program.document.model().count() > 100);

        if (quarterTurns)
            arguments << QStringLiteral("--quarter-turns") << QString::number(quarterTurns);
        if (mirror)
            arguments << QStringLiteral("--mirror");
        if (!move.isNull())
            arguments << QStringLiteral("--move=%1,%2").arg(move.x()).arg(move.y());
        for (const char *kind : {"chs", "bmp"}) {
            const QString target = QStringLiteral("cli.") + kind;
            const Run run
                = zuvorak(arguments + QStringList {QStringLiteral("-o"), target}, dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY2(contents(path(target)) == contents(path(QStringLiteral("window.") + kind)),
                     kind);
        }
    }

    void render_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("turn");
        QTest::addColumn<QString>("tilt");

        QTest::newRow("opened, not turned") << QStringList() << "0"
                                            << "0";
        QTest::newRow("left 5 twice and up 1")
            << QStringList {"turnLeft5", "turnLeft5", "turnUp1"} << "10"
            << "1";
        QTest::newRow("right 1, down 5 three times")
            << QStringList {"turnRight1", "turnDown5", "turnDown5", "turnDown5"} << "-1"
            << "-15";
    }

    void render()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QString, turn);
        QFETCH(QString, tilt);
        QVERIFY(drawing(180, 170).save(path("model.png")));
        const Run made = zuvorak(
            {"import", "model.png", "--depth", "20,20,150,150=60", "--mirror", "-o", "model.chs"},
            dir_.path());
        QVERIFY2(made.status == 0, qPrintable(made.err));

        Program program;
        QWidget *window = &program.window;
        program.window.openModelFile(path("model.chs"));
        for (const QString &button : std::as_const(buttons))
            click(window, qPrintable(button));
        saveThroughDialogs(window, QStringLiteral("turned"));

        for (const char *kind : {"bmp", "png"}) {
            const QString target = QStringLiteral("render.") + kind;
            const Run run = zuvorak(
                {"render", "model.chs", "--turn", turn, "--tilt", tilt, "-o", target}, dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY(samePicture(QImage(path(target)), shown(window, "view"), kind));
        }
        QCOMPARE(contents(path("render.bmp")), contents(path("turned.bmp")));
    }

    void startWithModelFile()
    {
        QVERIFY(drawing(100, 100).save(path("start.png")));
        QVERIFY(zuvorak({"import", "start.png", "-o", "start.chs"}, dir_.path()).status == 0);
        QVERIFY(zuvorak({"render", "start.chs", "-o", "start-view.png"}, dir_.path()).status == 0);
        Program program;
        openStartFile(program.window, path("start.chs"));
        QCOMPARE(shownTitle(&program.window), "start.chs- ZUVORAK");
        QVERIFY(
            samePicture(shown(&program.window, "view"), QImage(path("start-view.png")), "start"));
    }

    void startWithPicture()
    {
        const QImage picture = drawing(90, 60);
        QVERIFY(picture.save(path("shown.png")));
        Program program;
        withModal<QDialog>([&] { openStartFile(program.window, path("shown.png")); },
                           [&](QDialog *capture) {
                               QCOMPARE(shown(capture, "picture").copy(0, 0, 90, 60), picture);
                           });
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestWindowsAgree)
#include "tst_windows_agree.moc"
