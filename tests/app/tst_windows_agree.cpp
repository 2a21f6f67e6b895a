#include "cli_test.h"
#include "conversions.h"
#include "start_windows.h"
#include "window_test.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QUndoStack>

// The command line and the windows, given the same steps, write the same files: the
// typical use from the first click to the saved files, through real clicks and actions.
class TestWindowsAgree : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }
    // The model and the view through the save dialogs, as NAME.chs and NAME.bmp.
    void saveBoth(QWidget *window, const QString &name)
    {
        QFile::remove(path(name + ".chs"));
        QFile::remove(path(name + ".bmp"));
        saveAs(window, "saveAsAction", name);
        saveAs(window, "saveBitmapAction", name);
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(dir_.path())); } // where the dialogs start
    void init() { QCoreApplication::removePostedEvents(qApp, QEvent::Quit); }

    void import_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("drag"); // from the top left to the bottom right corner
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QStringList>("strokes"); // X1,Y1,X2,Y2=DEPTH
        QTest::addColumn<int>("quarterTurns");
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<QPoint>("move");
        QTest::newRow("a whole small bitmap, imported only: the unturned view")
            << QSize(150, 120) << QRect(QPoint(-1, -1), QPoint(150, 120)) << true << QStringList()
            << 0 << false << QPoint();
        QTest::newRow("turned, then dragged up and left, two strokes, a turn, the mirror, a move")
            << QSize(300, 200) << QRect(QPoint(250, 180), QPoint(70, 20)) << false
            << QStringList {"40,40,140,120=40", "150,100,60,60=75"} << 1 << true << QPoint(20, -30);
        QTest::newRow("three quarter turns after a stroke over the whole view")
            << QSize(300, 200) << QRect(QPoint(10, 10), QPoint(190, 190)) << false
            << QStringList {"0,0,261,261=100"} << 3 << false << QPoint(-10, 10);
        QTest::newRow("a selection reaching past the picture onto the grey")
            << QSize(100, 80) << QRect(QPoint(50, 40), QPoint(230, 200)) << false
            << QStringList {"130,130,200,250=0", "120,110,250,250=55"} << 0 << false
            << QPoint(0, 20);
    }
    void import()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, drag);
        QFETCH(bool, whole);
        QFETCH(QStringList, strokes);
        QFETCH(int, quarterTurns);
        QFETCH(bool, mirror);
        QFETCH(QPoint, move);
        const QImage picture = drawing(size.width(), size.height());
        QVERIFY(picture.save(path("picture.png")));
        QStringList arguments {"import", "picture.png"};
        if (!whole)
            arguments << "--rect"
                      << QString::asprintf("%d,%d,%d,%d", drag.left(), drag.top(), drag.right(),
                                           drag.bottom());

        Program program(path("picture.png"));
        QWidget *window = &program.window;
        withModal<QDialog>([&] { trigger(window, "captureAction"); },
                           [&](QDialog *capture) {
                               dragOver(child(capture, "picture"), drag.topLeft(),
                                        drag.bottomRight());
                               trigger(capture, "importAction");
                           });
        const QPoint inside(std::min(drag.left(), drag.right()) + 20,
                            std::min(drag.top(), drag.bottom()) + 11);
        QCOMPARE(shown(window, "staging").pixel(20, 10), picture.pixel(inside));
        click(window, "turnLeft5"); // every edit shows the unturned view again
        click(window, "turnUp1");
        for (const QString &stroke : std::as_const(strokes)) {
            const QStringList parts = stroke.split(QRegularExpression("[,=]"));
            child<QScrollBar>(window, "depthSlider")->setValue(parts[4].toInt());
            dragOver(child(window, "view"), {parts[0].toInt(), parts[1].toInt()},
                     {parts[2].toInt(), parts[3].toInt()});
            click(window, "applyDepth");
            arguments << "--depth" << stroke;
        }
        for (int i = 0; i < quarterTurns; ++i)
            trigger(window, "quarterTurnAction");
        if (mirror)
            trigger(window, "mirrorAction");
        for (int i = 0; i < std::abs(move.x()) / 10; ++i)
            click(window, move.x() > 0 ? "moveRight" : "moveLeft");
        for (int i = 0; i < std::abs(move.y()) / 10; ++i)
            click(window, move.y() > 0 ? "moveUp" : "moveDown");
        if (strokes.isEmpty() && !quarterTurns && !mirror && move.isNull())
            click(window, "frontView");
        saveBoth(window, "window");
        QVERIFY(program.document.model().count() > 100);

        if (quarterTurns)
            arguments << "--quarter-turns" << QString::number(quarterTurns);
        if (mirror)
            arguments << "--mirror";
        if (!move.isNull())
            arguments << QString("--move=%1,%2").arg(move.x()).arg(move.y());
        for (const QString kind : {"chs", "bmp"}) {
            const Run run = zuvorak(arguments + QStringList {"-o", "cli." + kind}, dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY2(contents(path("cli." + kind)) == contents(path("window." + kind)),
                     qPrintable(kind));
        }
    }

    // A model file from the command line, opened and turned in the windows, is rendered alike;
    // started with a model file or a picture, the program shows it.
    void render_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("turn");
        QTest::addColumn<int>("tilt");
        QTest::newRow("opened, not turned") << QStringList() << 0 << 0;
        QTest::newRow("every turn button, left 5 and down 5 more than once")
            << QStringList {"turnLeft5",  "turnLeft5", "turnLeft1", "turnRight1",
                            "turnRight5", "turnUp5",   "turnUp1",   "turnDown1",
                            "turnDown5",  "turnDown5", "turnDown5"}
            << 5 << -10;
    }
    void render()
    {
        QFETCH(QStringList, buttons);
        QFETCH(int, turn);
        QFETCH(int, tilt);
        QVERIFY(drawing(180, 170).save(path("model.png")));
        const Run made = zuvorak(
            {"import", "model.png", "--depth", "20,20,150,150=60", "--mirror", "-o", "model.chs"},
            dir_.path());
        QVERIFY2(made.status == 0, qPrintable(made.err));

        Program program;
        openStartFile(program.window, path("model.chs"));
        for (const QString &button : std::as_const(buttons))
            click(&program.window, qPrintable(button));
        saveBoth(&program.window, "turned");
        for (const QString kind : {"bmp", "png"}) {
            const Run run = zuvorak({"render", "model.chs", "--turn", QString::number(turn),
                                     "--tilt", QString::number(tilt), "-o", "render." + kind},
                                    dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY(
                samePicture(QImage(path("render." + kind)), shown(&program.window, "view"), kind));
        }
        QCOMPARE(contents(path("render.bmp")), contents(path("turned.bmp")));
    }

    // 縮小して取りこむ and --fit write the same model: a 1000 x 700 drawing of one-pixel lines in
    // three colours on transparent, taken whole and centred, keeps each line continuous and no
    // colour but its own; a selection within the limit, reduced by 1, is 取りこみ's to the byte.
    void reducedImport_data()
    {
        QTest::addColumn<QRect>("drag"); // none: 全体を選択
        QTest::addColumn<bool>("centre");
        QTest::newRow("1000 x 700 lines, whole, centred") << QRect() << true;
        QTest::newRow("a selection within the limit: as 取りこみ")
            << QRect(QPoint(150, 20), QPoint(10, 160)) << false;
    }
    void reducedImport()
    {
        QFETCH(QRect, drag);
        QFETCH(bool, centre);
        QImage picture
            = drag.isNull() ? QImage(1000, 700, QImage::Format_ARGB32) : drawing(300, 200);
        const QRgb lines[] = {qRgb(200, 20, 20), qRgb(20, 150, 30), qRgb(10, 30, 160)};
        if (drag.isNull()) {
            picture.fill(Qt::transparent);
            for (int i = 0; i < 1000; ++i) {
                picture.setPixel(i, 100, lines[0]);
                picture.setPixel(i / 2, 200 + i / 2, lines[1]);
                picture.setPixel(900, 200 + i / 2, lines[2]);
            }
        }
        QVERIFY(picture.save(path("picture.png")));
        Program program(path("picture.png"));
        withModal<QDialog>([&] { trigger(&program.window, "captureAction"); },
                           [&](QDialog *capture) {
                               if (drag.isNull())
                                   trigger(capture, "selectAllAction");
                               else
                                   dragOver(child(capture, "picture"), drag.topLeft(),
                                            drag.bottomRight());
                               trigger(capture, "reduceAction");
                           });
        if (centre)
            trigger(&program.window, "centreAction");
        QFile::remove(path("window.chs"));
        saveAs(&program.window, "saveAsAction", "window");
        QStringList arguments {"import", "picture.png", "-o", "cli.chs"};
        if (!drag.isNull())
            arguments << "--rect"
                      << QString::asprintf("%d,%d,%d,%d", drag.left(), drag.top(), drag.right(),
                                           drag.bottom());
        if (centre)
            arguments << "--centre";
        QCOMPARE(zuvorak(arguments + QStringList {"--fit"}, dir_.path()).status, 0);
        QCOMPARE(contents(path("cli.chs")), contents(path("window.chs")));
        if (!drag.isNull()) { // reduced by 1: the plain import
            QCOMPARE(zuvorak(arguments, dir_.path()).status, 0);
            QCOMPARE(contents(path("cli.chs")), contents(path("window.chs")));
            return;
        }
        // Each colour's points one chain of neighbours, and no other colour.
        const Model &model = program.document.model();
        QSet<Colour> colours(model.colours.begin(), model.colours.end());
        for (const QRgb line : lines) {
            const Colour colour = Colour(qRed(line) | qGreen(line) << 8 | qBlue(line) << 16);
            QVERIFY(colours.remove(colour));
            QSet<QPoint> points;
            for (int i = 0; i < model.count(); ++i)
                if (model.colours[i] == colour)
                    points.insert(
                        QPoint(int(model.points[i][Horizontal]), int(model.points[i][Vertical])));
            QList<QPoint> reached {*points.begin()};
            QSet<QPoint> seen {reached.first()};
            for (qsizetype at = 0; at < reached.size(); ++at)
                for (int d = 0; d < 9; ++d)
                    if (const QPoint next = reached[at] + QPoint(d % 3 - 1, d / 3 - 1);
                        points.contains(next) && !seen.contains(next))
                        reached << next, seen.insert(next);
            QCOMPARE(seen.size(), points.size());
        }
        QVERIFY(colours.isEmpty());
    }

    // 明るさで奥行き, 色ごとの奥行き and a rectangle on a drawing of exactly three colours write
    // what --depth-brightness, --depth-colour and --depth write in any order of the options; a
    // row starts with its points' depth, takes none beyond 100, and the commands need points.
    void depthsByColourAndBrightness()
    {
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QRgb inks[] = {qRgb(200, 20, 20), qRgb(20, 150, 30), qRgb(10, 30, 160)};
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                if ((x + y) % 4)
                    picture.setPixel(x, y, inks[(x / 10 + y / 30) % 3]);
        QVERIFY(picture.save(path("three.png")));
        Program program(path("three.png"));
        QWidget *window = &program.window;
        program.document.importModel({});
        for (const char *command : {"colourDepthsAction", "brightnessDepthsAction"})
            QVERIFY(!child<QAction>(window, command)->isEnabled());
        withModal<QDialog>([&] { trigger(window, "captureAction"); },
                           [&](QDialog *capture) {
                               dragOver(child(capture, "picture"), {-1, -1}, {120, 90});
                               trigger(capture, "importAction");
                           });
        const BrightnessDepths range {3.1, 77.7};
        withModal<QDialog>([&] { trigger(window, "brightnessDepthsAction"); },
                           [&](QDialog *dialog) {
                               child<QDoubleSpinBox>(dialog, "black")->setValue(range.black);
                               child<QDoubleSpinBox>(dialog, "white")->setValue(range.white);
                               dialog->accept();
                           });
        QStringList options;
        withModal<QDialog>(
            [&] { trigger(window, "colourDepthsAction"); },
            [&](QDialog *dialog) {
                child<QSpinBox>(dialog, "colourGroups")->setValue(3);
                const QColor last(text(dialog, "colour2"));
                const double y
                    = (299.0 * last.red() + 587.0 * last.green() + 114.0 * last.blue()) / 1000;
                QCOMPARE(child<QLineEdit>(dialog, "depth2")->text(),
                         QString::fromStdString(
                             shortestDecimal(range.black + (range.white - range.black) * y / 255)));
                QPushButton *ok
                    = child<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok);
                child<QLineEdit>(dialog, "depth0")->setText("100.5");
                QVERIFY(!ok->isEnabled());
                for (const auto &[row, depth] : {std::pair {0, "40"}, std::pair {2, "7.25"}}) {
                    child<QLineEdit>(dialog, qPrintable(QString("depth%1").arg(row)))
                        ->setText(depth);
                    options << "--depth-colour"
                            << text(dialog, qPrintable(QString("colour%1").arg(row))) + '=' + depth;
                }
                child<QLineEdit>(dialog, "depth1")->clear();
                QTest::mouseClick(ok, Qt::LeftButton);
            });
        QCOMPARE(program.document.history()->undoText(), "色ごとの奥行き");
        QCOMPARE(settingsFile().value("depth/colourGroups").toInt(), 3);
        child<QScrollBar>(window, "depthSlider")->setValue(60);
        dragOver(child(window, "view"), {100, 90}, {200, 160});
        click(window, "applyDepth");
        trigger(window, "quarterTurnAction");
        QFile::remove(path("window.chs"));
        saveAs(window, "saveAsAction", "window");
        const Run run = zuvorak(
            QStringList {"import", "three.png", "--quarter-turns", "1", "--depth",
                         "100,90,200,160=60"}
                + options
                + QStringList {"--colours", "3", "--depth-brightness", "3.1,77.7", "-o", "cli.chs"},
            dir_.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(contents(path("cli.chs")), contents(path("window.chs")));
    }

    void startWithPicture()
    {
        const QImage picture = drawing(90, 60);
        QVERIFY(picture.save(path("shown.png")));
        Program program;
        withModal<QDialog>([&] { openStartFile(program.window, path("shown.png")); },
                           [&](QDialog *capture) {
                               QVERIFY(samePicture(shown(capture, "picture").copy(0, 0, 90, 60),
                                                   picture, "shown"));
                           });
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestWindowsAgree)
#include "tst_windows_agree.moc"
