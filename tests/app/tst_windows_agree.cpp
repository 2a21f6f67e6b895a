#include "cli_test.h"
#include "conversions.h"
#include "start_windows.h"
#include "window_test.h"

#include <QDialogButtonBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>

struct Import {
    const char *name;
    QImage picture;
    QString drag; // X1,Y1,X2,Y2, as --rect takes it; none: 全体を選択
    QString options; // the command line's after the picture, which the windows repeat
};
Q_DECLARE_METATYPE(Import)

// 1000 x 700 pixels of transparent with one-pixel lines in three colours.
static QImage lines()
{
    QImage picture(1000, 700, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int i = 0; i < 1000; ++i) {
        picture.setPixel(i, 100, qRgb(200, 20, 20));
        picture.setPixel(i / 2, 200 + i / 2, qRgb(20, 150, 30));
        picture.setPixel(900, 200 + i / 2, qRgb(10, 30, 160));
    }
    return picture;
}

// Does in the main window what the command line's options after the picture do.
static void repeat(QWidget *window, const QStringList &options)
{
    for (int i = 0; i < options.size(); ++i) {
        const QString option = options[i];
        if (option == "--depth") { // X1,Y1,X2,Y2=DEPTH
            const QStringList at = options[++i].split(QRegularExpression("[,=]"));
            child<QScrollBar>(window, "depthSlider")->setValue(at[4].toInt());
            dragOver(child(window, "view"), {at[0].toInt(), at[1].toInt()},
                     {{at[2].toInt(), at[3].toInt()}});
            click(window, "applyDepth");
        } else if (option == "--quarter-turns") {
            for (int turns = options[++i].toInt(); turns > 0; --turns)
                trigger(window, "quarterTurnAction");
        } else if (option.startsWith("--move=")) {
            const int x = option.section('=', 1).section(',', 0, 0).toInt(),
                      y = option.section(',', 1).toInt();
            for (int step = 0; step < std::abs(x) / 10; ++step)
                click(window, x > 0 ? "moveRight" : "moveLeft");
            for (int step = 0; step < std::abs(y) / 10; ++step)
                click(window, y > 0 ? "moveUp" : "moveDown");
        } else if (option != "--fit") {
            trigger(window, option == "--mirror" ? "mirrorAction" : "centreAction");
        }
    }
}

// The command line and the windows, given the same steps, write the same files: the
// typical use from the first click to the saved files, through real clicks and actions.
class TestWindowsAgree : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }
    void saveBoth(QWidget *window, const QString &name)
    {
        QFile::remove(path(name + ".chs"));
        QFile::remove(path(name + ".bmp"));
        withModal(window, "saveAsAction", saveAs(name));
        withModal(window, "saveBitmapAction", saveAs(name));
    }
    // The command line's model and bitmap are NAME.chs and NAME.bmp to the byte.
    void sameFromCommandLine(const QStringList &arguments, const QString &name)
    {
        for (const QString kind : {"chs", "bmp"}) {
            const Run run = zuvorak(arguments + QStringList {"-o", "cli." + kind}, dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QCOMPARE(contents(path("cli." + kind)), contents(path(name + "." + kind)));
        }
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(dir_.path())); } // where the dialogs start
    void init() { QCoreApplication::removePostedEvents(qApp, QEvent::Quit); }

    // A drag around the whole picture is the command line's default. 縮小して取りこむ is --fit:
    // 1000 x 700 one-pixel lines on transparent, taken whole, keep each line continuous and no
    // colour but its own; a selection within the limit, reduced by 1, is 取りこみ's to the byte.
    void import_data()
    {
        addRows<Import>({
            {"a whole small bitmap, imported only: the unturned view", drawing(150, 120),
             "-1,-1,150,120", ""},
            {"turned, then dragged up and left, two strokes, a turn, the mirror, a move",
             drawing(300, 200), "250,180,70,20",
             "--depth 40,40,140,120=40 --depth 150,100,60,60=75 --quarter-turns 1 --mirror "
             "--move=20,-30"},
            {"three quarter turns after a stroke over the whole view", drawing(300, 200),
             "10,10,190,190", "--depth 0,0,261,261=100 --quarter-turns 3 --move=-10,10"},
            {"a selection reaching past the picture onto the grey", drawing(100, 80),
             "50,40,230,200", "--depth 130,130,200,250=0 --depth 120,110,250,250=55 --move=0,20"},
            {"1000 x 700 lines, whole, reduced, centred", lines(), "", "--fit --centre"},
            {"a selection within the limit, reduced: as 取りこみ", drawing(300, 200),
             "150,20,10,160", "--fit"},
        });
    }
    void import()
    {
        QFETCH(Import, row);
        const QStringList corners = row.drag.split(','),
                          options = row.options.split(' ', Qt::SkipEmptyParts);
        const QPoint from(corners.value(0).toInt(), corners.value(1).toInt()),
            to(corners.value(2).toInt(), corners.value(3).toInt());
        const bool whole = row.drag.isEmpty() || QRect(from, to).contains(row.picture.rect());
        QVERIFY(row.picture.save(path("picture.png")));
        const QStringList arguments = QStringList {"import", "picture.png"}
                                      + (whole ? QStringList() : QStringList {"--rect", row.drag});

        Program program({}, path("picture.png"));
        QWidget *window = &program.window;
        const bool fit = options.contains("--fit");
        withModal(window, "captureAction", [&](QDialog *capture) {
            if (row.drag.isEmpty())
                trigger(capture, "selectAllAction");
            else
                dragOver(child(capture, "picture"), from, {to});
            trigger(capture, fit ? "reduceAction" : "importAction");
        });
        const QPoint inside(std::min(from.x(), to.x()) + 20, std::min(from.y(), to.y()) + 11);
        QVERIFY(row.drag.isEmpty()
                || shown(window, "staging").pixel(20, 10) == row.picture.pixel(inside));
        click(window, "turnLeft5"); // every edit shows the unturned view again
        click(window, "turnUp1");
        repeat(window, options);
        if (options == QStringList() || options == QStringList("--fit"))
            click(window, "frontView");
        saveBoth(window, "window");
        QVERIFY(program.document.model().count() > 100);
        sameFromCommandLine(arguments + options, "window");
        if (fit && !row.drag.isEmpty()) // reduced by 1: the plain import
            sameFromCommandLine(arguments, "window");
        if (!row.drag.isEmpty())
            return;
        // Each colour's points one chain of neighbours, and no other colour.
        const Model &model = program.document.model();
        QSet<Colour> colours(model.colours.begin(), model.colours.end());
        for (const QRgb line : {qRgb(200, 20, 20), qRgb(20, 150, 30), qRgb(10, 30, 160)}) {
            const Colour colour = Colour(qRed(line) | qGreen(line) << 8 | qBlue(line) << 16);
            QVERIFY(colours.remove(colour));
            QSet<QPoint> points;
            for (int i = 0; i < model.count(); ++i)
                if (model.colours[i] == colour)
                    points.insert(
                        QPoint(int(model.points[i][Horizontal]), int(model.points[i][Vertical])));
            QList<QPoint> chain {*points.begin()}; // taken out of `points` as reached (again)
            for (qsizetype at = 0; at < chain.size(); ++at)
                for (int d = 0; d < 9; ++d)
                    if (const QPoint next = chain[at] + QPoint(d % 3 - 1, d / 3 - 1);
                        points.remove(next))
                        chain << next;
            QCOMPARE(points.size(), 0); // every point reached
        }
        QVERIFY(colours.isEmpty());
    }

    // A model file from the command line, opened and turned in the windows, is rendered alike;
    // started with a model file or a picture, the program shows it.
    void render_data()
    {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("angles"); // turn and tilt
        QTest::newRow("opened, not turned") << "" << QString("0 0");
        QTest::newRow("every turn button, left 5 and down 5 more than once")
            << "turnLeft5 turnLeft5 turnLeft1 turnRight1 turnRight5 turnUp5 turnUp1 turnDown1 "
               "turnDown5 turnDown5 turnDown5"
            << QString("5 -10");
    }
    void render()
    {
        QFETCH(QString, buttons);
        QFETCH(QString, angles);
        QVERIFY(drawing(180, 170).save(path("model.png")));
        const Run made = zuvorak(
            {"import", "model.png", "--depth", "20,20,150,150=60", "--mirror", "-o", "model.chs"},
            dir_.path());
        QVERIFY2(made.status == 0, qPrintable(made.err));

        Program program;
        openStartFile(program.window, path("model.chs"));
        for (const QString &button : buttons.split(' ', Qt::SkipEmptyParts))
            click(&program.window, qPrintable(button));
        saveBoth(&program.window, "turned");
        for (const QString kind : {"bmp", "png"}) {
            const Run run = zuvorak({"render", "model.chs", "--turn", angles.section(' ', 0, 0),
                                     "--tilt", angles.section(' ', 1), "-o", "render." + kind},
                                    dir_.path());
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY(
                samePicture(QImage(path("render." + kind)), shown(&program.window, "view"), kind));
        }
        QCOMPARE(contents(path("render.bmp")), contents(path("turned.bmp")));
        Program started;
        withModal([&] { openStartFile(started.window, path("model.png")); },
                  [&](QDialog *capture) {
                      QVERIFY(samePicture(shown(capture, "picture").copy(0, 0, 180, 170),
                                          QImage(path("model.png")), "shown"));
                  });
    }

    // 明るさで奥行き, 色ごとの奥行き and a rectangle on a drawing of exactly three colours write
    // what --depth-brightness, --depth-colour and --depth write in any order of the options; a
    // row starts with its points' depth, takes none beyond 100, and the commands need points.
    void depthsByColourAndBrightness()
    {
        QImage picture(120, 90, QImage::Format_RGB32);
        const QRgb inks[] = {qRgb(200, 20, 20), qRgb(20, 150, 30), qRgb(10, 30, 160)};
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                picture.setPixel(x, y,
                                 (x + y) % 4 ? inks[(x / 10 + y / 30) % 3] : qRgb(255, 255, 255));
        QVERIFY(picture.save(path("three.png")));
        Program program(Model(), path("three.png")); // a model of no points
        QWidget *window = &program.window;
        for (const char *command : {"colourDepthsAction", "brightnessDepthsAction"})
            QVERIFY(!child<QAction>(window, command)->isEnabled());
        captureDrag(window, {-1, -1}, {120, 90});
        QStringList arguments {"--depth-brightness", "3.1,77.7", "--colours", "3"};
        withModal(window, "brightnessDepthsAction", options("black=3.1 white=77.7"));
        withModal(window, "colourDepthsAction", [&](QDialog *dialog) {
            fill(dialog, "colourGroups=3");
            const QColor last(text(dialog, "colour2"));
            const double y = (299 * last.red() + 587 * last.green() + 114 * last.blue()) / 1000.0;
            QCOMPARE(fields(dialog, "depth2"),
                     "depth2="
                         + QString::fromStdString(shortestDecimal(3.1 + (77.7 - 3.1) * y / 255)));
            auto *ok = child<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok);
            fill(dialog, "depth0=100.5");
            QVERIFY(!ok->isEnabled());
            fill(dialog, "depth0=40 depth1= depth2=7.25");
            arguments << "--depth-colour" << text(dialog, "colour0") + "=40"
                      << "--depth-colour" << text(dialog, "colour2") + "=7.25";
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QCOMPARE(program.document.history()->undoText(), "色ごとの奥行き");
        QCOMPARE(load<Remembered::DepthByColour>(), 3);
        const QStringList edits {"--depth", "100,90,200,160=60", "--quarter-turns", "1"};
        repeat(window, edits);
        saveBoth(window, "window");
        sameFromCommandLine(QStringList {"import", "three.png"} + edits + arguments, "window");
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestWindowsAgree)
#include "tst_windows_agree.moc"
