#include "cli_test.h"
#include "export.h"
#include "model_file_io.h"
#include "same_picture.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cmath>
#include <functional>
#include <numeric>

using Exporter = std::function<ExportResult(std::span<const Coords>, std::span<const Colour>)>;
Q_DECLARE_METATYPE(Exporter)
Q_DECLARE_METATYPE(Model)

static QByteArray modelFile(const Model &model)
{
    return asBytes(ModelFile::encode(model));
}

// The command line run as a script would run it; tst_windows_agree holds it to the windows.
class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    bool haveDevice_ = false;
    QString path(const QString &name) const { return dir_.filePath(name); }
    Run run(const QStringList &arguments) const { return zuvorak(arguments, dir_.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(drawing(120, 100).save(path("drawing.png")));
        QVERIFY(drawing(190, 100).save(path("wide.png")));
        QVERIFY(drawing(189, 189).save(path("largest.png")));
        QImage white(50, 50, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(path("white.png")));
        QVERIFY(drawing(60, 40).save(path("whole.bmp")));
        QVERIFY(write(path("cut.bmp"), contents(path("whole.bmp")).left(1500)));
        QVERIFY(::mkfifo(qPrintable(path("pipe")), 0600) == 0);
        QVERIFY(::mkfifo(qPrintable(path("pipe.xyz")), 0600) == 0);
        // A device of our own, never a system one; making it needs root, as in CI.
        haveDevice_ = ::mknod(qPrintable(path("node.ply")), S_IFCHR | 0600, makedev(1, 3)) == 0
                      && QFile::link("node.ply", path("link.stl"));
        QVERIFY(QDir(dir_.path()).mkdir("folder") && QDir(dir_.path()).mkdir("out"));
        QVERIFY(write(path("over.chs"), QByteArray::fromHex("a1860100"))); // 100001 points
        QVERIFY(write(path("far.chs"), modelFile({{{0, 1e308, 0}}, {0}}))); // finite, beyond float
        QVERIFY(write(path("short.chs"), modelFile({{{1, 2, 3}, {4, 5, 6}}, {0, 0}}).left(40)));
        QVERIFY(write(path("old.chs"), "old"));
        for (const char *trap : {"png-bad-crc.png", "tiff-lzw-cut-short.tif"})
            QVERIFY(QFile::copy(ZUVORAK_SOURCE_DIR "/fuzz/pictures/" + QString(trap), path(trap)));
        const Run made
            = run({"import", "drawing.png", "--depth", "100,100,200,200=30", "-o", "model.chs"});
        QVERIFY2(made.status == 0, qPrintable(made.err));
    }

    // One line naming the file and the reason, the exit status, and nothing written or touched.
    void badInput_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        // label | exit status | arguments | what the one line of error says
        const QString rows = QString::fromUtf8(R"(
unknown option | 1 | import drawing.png --bogus -o old.chs | Unknown option 'bogus'
an option without its value | 1 | import drawing.png -o old.chs --rect | Missing value after '--rect'
a rectangle with a non-number | 1 | import drawing.png --rect 1,2,x,4 -o old.chs | '1,2,x,4'
a rectangle of three numbers | 1 | import drawing.png --rect 1,2,3 -o old.chs | '1,2,3'
a selection one pixel over the limit | 1 | import drawing.png --rect 191,0,0,10 -o old.chs | 192 x 11 pixels with its outline, more than 191 x 191
a depth above 100 | 1 | import drawing.png --depth 0,0,9,9=101 -o old.chs | 0 to 100
a depth below 0 | 1 | import drawing.png --depth 0,0,9,9=-1 -o old.chs | 0 to 100
a depth stroke without its depth | 1 | import drawing.png --depth 0,0,9,9 -o old.chs | X1,Y1,X2,Y2=D
a move by a fraction | 1 | import drawing.png --move 1.5,0 -o old.chs | whole numbers
too many quarter turns | 1 | import drawing.png --quarter-turns 101 -o old.chs | 0 to 100
an output kind that does not exist | 1 | import drawing.png -o old.obj | old.obj: '.obj' is no kind that import writes
a kind of another command | 1 | render model.chs -o old.ply | '.ply' is no kind that render writes
an output name without a kind | 1 | render model.chs -o old | old: the name gives no kind; render writes .png, .bmp
a folder kind that does not exist | 1 | render model.chs -o out/ --format jpg | 'jpg'
an output folder that does not exist | 1 | import drawing.png -o none/x.chs | none: no such folder
several inputs into a missing folder | 1 | render model.chs model.chs -o none/ | none/: no such folder
two inputs to one name | 1 | render model.chs folder/model.chs -o out/ | out/model.png
an output that is its input | 1 | import whole.bmp -o whole.bmp | whole.bmp would be written over an input
a batch into the inputs' folder | 1 | import drawing.png whole.bmp -o ./ --format bmp | whole.bmp would be written over an input
--ascii for STL | 1 | export model.chs -o old.stl --ascii | --ascii
a pixel size of 0 | 1 | export model.chs -o old.stl --pixel-mm 0 | --pixel-mm: 0 is outside 0.01 to 100
too few turntable frames | 1 | turntable model.chs --frames 1 -o old.webp | 2 to 120
a frame time browsers show as 100 ms | 1 | turntable model.chs --delay 19 -o old.gif | 20 to 10000
a turntable of one PNG | 1 | turntable model.chs -o old.png | give FOLDER/
no jobs | 1 | render model.chs -o old.png --jobs 0 | --jobs
no input | 1 | render -o old.png | no input
no output | 1 | render model.chs | -o OUT is missing
a misspelt command | 1 | improt drawing.png -o old.chs | 'improt' is no command
an input that does not exist | 2 | render none.chs -o old.png | none.chs: no such file
an input that is a folder | 2 | render folder -o old.png | folder: not a regular file
a picture that is a named pipe | 2 | import pipe -o old.chs | pipe: not a regular file
a model that is a named pipe | 2 | info pipe | pipe: not a regular file
a truncated bitmap | 2 | import cut.bmp -o old.chs | cut.bmp: the file stops early (truncated)
a model over the point limit | 2 | export over.chs -o old.ply | over.chs: not a model file: 100001 points, more than 100000
a model shorter than its points | 2 | render short.chs -o old.png | short.chs: not a model file: too short for its 2 points
a turntable of nothing drawable | 2 | turntable far.chs -o old.webp | far.chs: nothing to draw
a point cloud of a coordinate beyond float | 2 | export far.chs -o old.ply | far.chs: cannot be exported: every coordinate is too large for the format's floats
a picture too large to take whole | 2 | import wide.png -o old.chs | wide.png: the picture is 190 x 100 pixels; without --rect it is taken whole only up to 189 x 189
a model file for a picture | 2 | import model.chs -o old.chs | model.chs: not a picture
a picture without a dark pixel | 2 | import white.png -o old.chs | white.png: no dark pixel
a PNG of a wrong checksum, one line | 2 | import png-bad-crc.png -o old.chs | png-bad-crc.png: not a picture that can be read
a TIFF cut short, one line | 2 | import tiff-lzw-cut-short.tif -o old.chs | tiff-lzw-cut-short.tif: not a picture that can be read
an output that cannot be written | 3 | render model.chs -o /proc/zuvorak.png | zuvorak render: /proc/zuvorak.png: not written:
a device node as output | 3 | export model.chs -o node.ply | node.ply: not written: not a regular file
a link to a device node as output | 3 | export model.chs -o link.stl | link.stl: not written: not a regular file
a named pipe as output | 3 | export model.chs -o pipe.xyz | pipe.xyz: not written: not a regular file
a name of 256 bytes | 3 | export model.chs -o %1.ply | .ply: not written: the name is too long
a number beyond any int | 1 | import drawing.png --quarter-turns 2147483648 -o old.chs | --quarter-turns: 2147483648 is outside 0 to 100
a depth by colour above 100 | 1 | import drawing.png --depth-colour #C81414=100.5 -o old.chs | '#C81414=100.5': the depth D must be a number from 0 to 100
a colour of five digits | 1 | import drawing.png --depth-colour #C8141=10 -o old.chs | '#C8141=10': the colour must be #RRGGBB
seventeen colour groups | 1 | import drawing.png --colours 17 --depth-colour #C81414=10 -o old.chs | --colours: 17 is outside 1 to 16
colour groups for neither use | 1 | import drawing.png --colours 3 -o old.chs | --colours is for --depth-colour and .3mf, not .chs
two colours of one group | 1 | import drawing.png --colours 1 --depth-colour #C81414=10 --depth-colour #0A1EA0=20 -o old.chs | drawing.png: --depth-colour: '#C81414=10' and '#0A1EA0=20' both name the colour group
a brightness depth below 0 | 1 | import drawing.png --depth-brightness -0.5,30 -o old.chs | --depth-brightness: '-0.5,30': each depth must be from 0 to 100
)").arg(QString(252, 'n'));
        for (const QString &row : rows.trimmed().split('\n')) {
            const QStringList cells = row.split(" | ");
            QTest::newRow(qPrintable(cells[0])) << cells[2] << cells[1].toInt() << cells[3];
        }
    }
    void badInput()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, reason);
        if (arguments.contains("node.ply") || arguments.contains("link.stl"))
            if (!haveDevice_)
                QSKIP("making a device node needs root");
        const QStringList before = entries(dir_.path());
        const Run result = run(arguments.split(' '));
        QCOMPARE(result.status, status);
        QVERIFY2(result.err.contains(reason) && result.err.count('\n') == 1,
                 qPrintable(result.err));
        QCOMPARE(entries(dir_.path()), before);
        QVERIFY(entries(path("out")).isEmpty());
        QCOMPARE(contents(path("old.chs")), "old");
        struct stat node { }, pipe { };
        QVERIFY(::stat(qPrintable(path("pipe.xyz")), &pipe) == 0 && S_ISFIFO(pipe.st_mode));
        QVERIFY(!haveDevice_
                || (::stat(qPrintable(path("link.stl")), &node) == 0 && S_ISCHR(node.st_mode)));
    }

    // Through a shell, as the bytes matter: a name that is no text in the system's encoding
    // would be written under another name, and a full standard output is a failed output.
    void bytesAndStreams_data()
    {
        QTest::addColumn<QString>("script"); // $0 is the program
        QTest::addColumn<int>("status");
        QTest::newRow("a name that is no UTF-8")
            << R"sh("$0" export model.chs -o "$(printf '\351.ply')")sh" << 1;
        QTest::newRow("standard output full") << R"sh("$0" info model.chs >/dev/full)sh" << 3;
    }
    void bytesAndStreams()
    {
        QFETCH(QString, script);
        QFETCH(int, status);
        const QStringList before = entries(dir_.path());
        QProcess shell;
        shell.setWorkingDirectory(dir_.path());
        shell.start("/bin/sh", {"-c", script, ZUVORAK_PROGRAM});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.exitCode(), status);
        QCOMPARE(shell.readAllStandardError().count('\n'), 1);
        QCOMPARE(entries(dir_.path()), before);
    }

    // The largest pictures and selections are taken; one broken input of a batch is reported,
    // the others are written as each alone would be.
    void batchWithABrokenInput()
    {
        QCOMPARE(run({"import", "largest.png", "-o", "largest.chs"}).status, 0);
        QCOMPARE(run({"import", "wide.png", "--rect", "190,0,0,190", "-o", "rect.chs"}).status, 0);
        QTemporaryDir out;
        const Run batch = run({"import", "drawing.png", "cut.bmp", "whole.bmp", "pipe", "white.png",
                               "-o", out.path(), "--format", "ply", "--jobs", "2"});
        QCOMPARE(batch.status, 2);
        QCOMPARE(batch.err.count('\n'), 3); // no progress line off a terminal
        for (const char *failed : {"cut.bmp:", "pipe:", "white.png:"})
            QVERIFY2(batch.err.contains(failed), failed);
        QCOMPARE(entries(out.path()), QStringList({"drawing.ply", "whole.ply"}));
        for (const QString input : {"drawing.png", "whole.bmp"}) {
            const QString alone = QFileInfo(input).completeBaseName() + ".ply";
            QCOMPARE(run({"import", input, "-o", alone}).status, 0);
            QCOMPARE(contents(out.filePath(alone)), contents(path(alone)));
        }
    }

    // The progress line shows on a terminal only (a pseudo-terminal from script(1)), counting
    // done and failed inputs; batchWithABrokenInput shows two jobs write what one does.
    void progressOnATerminal()
    {
        QTemporaryDir two;
        QProcess terminal;
        terminal.setWorkingDirectory(dir_.path());
        terminal.start("script", {"-qefc",
                                  QString("%1 render model.chs drawing.png old.chs -o %2 --format "
                                          "bmp --jobs 1 >/dev/null")
                                      .arg(ZUVORAK_PROGRAM, two.path()),
                                  "/dev/null"});
        QVERIFY(terminal.waitForFinished());
        const QString shown = QString::fromUtf8(terminal.readAll());
        QVERIFY2(shown.contains("zuvorak render: 1 of 3 done, 0 failed")
                     && shown.contains("2 of 3 done, 1 failed"),
                 qPrintable(shown));
    }

    // The options reach the turntable writer: frames, size and timing as PIL reads them, the
    // first frame what render draws at that size, and a folder of frames whatever its name and
    // however long.
    void turntable()
    {
        QCOMPARE(run({"render", "model.chs", "--size", "64", "-o", "first.png"}).status, 0);
        const Run made = run({"turntable", "model.chs", "--frames", "6", "--size", "64", "--delay",
                              "40", "--about-view-centre", "-o", "turning.webp"});
        QVERIFY2(made.status == 0, qPrintable(made.err));
        const ReadBack read = readBack("frames", path("turning.webp"));
        REQUIRE_READ(read);
        QCOMPARE(read.pixels.size(), 6 * 64 * 64 * 4); // six frames of 64 x 64
        QCOMPARE(read.seen["durations"][0].toInt(), 40);
        QVERIFY(samePicture(read.frame(0, 64, 64), QImage(path("first.png")), "webp"));
        const QString frames = QString(251, 'f') + ".gif"; // the longest name a folder may have
        const Run folder = run({"turntable", "model.chs", "--frames", "3", "--size", "64",
                                "--about-view-centre", "-o", frames + '/'});
        QVERIFY2(folder.status == 0, qPrintable(folder.err));
        QCOMPARE(entries(path(frames)),
                 QStringList({"frame-000.png", "frame-001.png", "frame-002.png"}));
        QVERIFY(
            samePicture(QImage(path(frames + "/frame-000.png")), QImage(path("first.png")), "png"));
    }

    // Shading follows real depth: a flat model has one shade however it was turned and
    // mirrored (the turn's rounding leaves depths 1e-6 apart), and a model turned by 20
    // degrees gets lighter towards its farther side, row by row.
    void shadingOfAFlatModel_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("turn");
        QTest::newRow("front view") << QString() << 0;
        QTest::newRow("after a mirror") << "--mirror" << 0;
        QTest::newRow("after a quarter turn") << "--quarter-turns 1" << 0;
        QTest::newRow("turned by 20 degrees: the right side farther") << QString() << 20;
    }
    void shadingOfAFlatModel()
    {
        QFETCH(QString, edit);
        QFETCH(int, turn);
        QCOMPARE(run(("import drawing.png -o flat.chs " + edit).split(' ', Qt::SkipEmptyParts))
                     .status,
                 0);
        for (const QString shading : {"", "--shading"})
            QCOMPARE(run(QString("render flat.chs --turn %1 -o flat%2.png %2")
                             .arg(QString::number(turn), shading)
                             .split(' ', Qt::SkipEmptyParts))
                         .status,
                     0);
        const QImage plain(path("flat.png")), shaded(path("flat--shading.png"));
        double least = 1, most = 0;
        for (int y = 0; y < plain.height(); ++y) {
            double left = -1; // the row's last model pixel so far
            for (int x = 0; x < plain.width(); ++x) {
                if (plain.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                // How far towards white, in green: at most 30 in each of the drawing's colours,
                // so rounding moves it by less than 0.003.
                const int green = qGreen(plain.pixel(x, y));
                const double shade = double(qGreen(shaded.pixel(x, y)) - green) / (255 - green);
                least = std::min(least, shade);
                most = std::max(most, shade);
                if (turn != 0 && shade < left - 0.01)
                    QFAIL(qPrintable(QString("lighter left of %1, %2").arg(x).arg(y)));
                left = shade;
            }
        }
        QVERIFY2(turn == 0 ? most - least < 0.01 : most - least > 0.5,
                 qPrintable(QString("%1 to %2").arg(least).arg(most)));
    }

    // As text, and in part as JSON: the points, the ranges of depth, horizontal and vertical, the
    // colour block, the coordinates not finite and the relief's printability findings.
    void info_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("facts");
        const double nan = std::nan(""), inf = HUGE_VAL;
        const QByteArray two = modelFile({{{-3.5, 10, -20}, {40, -7, 0.25}}, {0xFF, 0xFF00}});
        // Two lone columns 0.25 mm wide, thinner than the 0.4 mm nozzle; the deeper stands
        // (40 - -3.5) x 0.25 + 0.6 mm ink above the plate: 11.475 mm over 0.25 mm.
        const QStringList twoFound = {"2", "45.90"}, noneFound = {"none", "none"};
        QTest::newRow("a valid colour block")
            << two
            << QStringList {"2", "-3.5 to 40", "-7 to 10", "-20 to 0.25", "valid", "0"} + twoFound;
        QTest::newRow("a colour block with a wrong CRC")
            << two.chopped(1) + char(two.back() ^ 1)
            << QStringList {"2", "-3.5 to 40", "-7 to 10", "-20 to 0.25", "invalid", "0"}
                   + twoFound;
        QTest::newRow("no colour block")
            << two.left(52)
            << QStringList {"2", "-3.5 to 40", "-7 to 10", "-20 to 0.25", "none", "0"} + twoFound;
        QTest::newRow("NaN and infinity left out of the bounds")
            << modelFile({{{nan, 5, inf}, {2, -inf, 3}}, {0, 0}}).left(52)
            << QStringList {"2", "2 to 2", "5 to 5", "3 to 3", "none", "3"} + noneFound;
        QTest::newRow("no points")
            << modelFile({}).left(4)
            << QStringList {"0", "none", "none", "none", "none", "0"} + noneFound;
    }
    void info()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, facts);
        QVERIFY(write(path("info.chs"), file));
        const Run text = run({"info", "info.chs"});
        QCOMPARE(text.status, 0);
        QCOMPARE(text.out, QString("info.chs\npoints: %1\ndepth: %2\nhorizontal: %3\nvertical: %4\n"
                                   "colour block: %5\ncoordinates not finite: %6\n"
                                   "columns thinner than the nozzle: %7\n"
                                   "tallest column to its line's width: %8\n")
                               .arg(facts[0], facts[1], facts[2], facts[3], facts[4], facts[5],
                                    facts[6], facts[7]));
        const Run json = run({"info", "--json", "info.chs"}); // the same facts: only their form
        const QJsonObject seen = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(
            (QStringList {QString::number(seen["points"].toInt()), seen["colourBlock"].toString(),
                          QString::number(seen["notFinite"].toInt())}),
            (QStringList {facts[0], facts[4], facts[5]}));
    }

    // The options reach the export library: the files equal its own for the model, byte for
    // byte.
    void exportOptions_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<Exporter>("library");
        QTest::newRow("binary PLY")
            << "-o export.ply" << Exporter([](auto p, auto c) { return exportPly(p, c, {}); });
        QTest::newRow("PLY as text")
            << "-o export.ply --ascii"
            << Exporter([](auto p, auto c) { return exportPly(p, c, {.ply = {true}}); });
        QTest::newRow("XYZ") << "-o export.xyz"
                             << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); });
        QTest::newRow("glb") << "-o export.glb"
                             << Exporter([](auto p, auto c) { return exportGlb(p, c, {}); });
        QTest::newRow("STL by default")
            << "-o export.stl" << Exporter([](auto p, auto c) { return exportStl(p, c, {}); });
        QTest::newRow("STL with every size and reversed")
            << "-o export.stl --pixel-mm 0.5 --depth-mm 0.1 --ink-mm 1.5 --base-mm 2 --reverse"
            << Exporter([](auto p, auto c) {
                   return exportStl(p, c, {.solid = {0.5, 0.1, 1.5, 2, true}});
               });
        QTest::newRow("3MF of one colour") << "-o export.3mf --colours 1" << Exporter([](auto p, auto c) {
            return export3mf(p, c, {.solid = {.colourGroups = 1}});
        });
        QTest::newRow("3MF of two colours for Bambu, thickened")
            << "-o export.3mf --colours 2 --slicer bambu --nozzle 0.6 --thicken 1"
            << Exporter([](auto p, auto c) {
                   return export3mf(p, c,
                                    {.solid = {.colourGroups = 2, .nozzle = 0.6, .thicken = 1,
                                               .slicer = Slicer::Bambu}});
               });
    }
    void exportOptions()
    {
        QFETCH(QString, options);
        QFETCH(Exporter, library);
        const QString target = path(options.section(' ', 1, 1));
        const Run result = run(("export model.chs " + options).split(' '));
        QVERIFY2(result.status == 0, qPrintable(result.err));
        ModelFile::ParsedModel parsed;
        QVERIFY(ModelFile::load(path("model.chs").toStdString(), parsed).ok());
        const ExportResult expected = library(parsed.points, *parsed.colours);
        QVERIFY(expected.ok());
        QCOMPARE(contents(target), asBytes(expected.bytes));
    }

    // The sample part's relief opens in each slicer as one object whose parts are the colour
    // groups and the plate, each on its own extruder in the colour list's order, in its colour
    // where the slicer keeps one; assimp loads every layout. 16 groups and the plate still work.
    void slicers_data()
    {
        QTest::addColumn<QString>("slicer");
        QTest::addColumn<Model>("model"); // none: the sample part, reduced to fit
        QTest::addColumn<int>("groups");
        for (const char *slicer : kSlicerNames)
            QTest::newRow(slicer) << QString(slicer) << Model() << 4;
        Model sixteen;
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 3; ++j) {
                sixteen.points.push_back({double(i % 2), double(4 * i), double(j)});
                sixteen.colours.push_back(Colour(0x0F1000 * i + 0xF - i));
            }
        QTest::newRow("16 colours for PrusaSlicer") << "prusa" << sixteen << 16;
    }
    void slicers()
    {
        QFETCH(QString, slicer);
        QFETCH(Model, model);
        QFETCH(int, groups);
        const Run made = model.points.empty()
                             ? run({"import", ZUVORAK_SOURCE_DIR "/resources/buhin.bmp", "--fit",
                                    "-o", "part.chs"})
                             : Run {write(path("part.chs"), modelFile(model)) ? 0 : 1, {}, {}};
        QVERIFY2(made.status == 0, qPrintable(made.err));
        const QString file = "part-" + slicer + ".3mf";
        const Run exported = run({"export", "part.chs", "-o", file, "--slicer", slicer, "--colours",
                                  QString::number(groups)});
        QVERIFY2(exported.status == 0, qPrintable(exported.err));

        ModelFile::ParsedModel parsed;
        QVERIFY(ModelFile::load(path("part.chs").toStdString(), parsed).ok());
        const SolidOptions options {
            .colourGroups = groups,
            .slicer = Slicer(std::find(std::begin(kSlicerNames), std::end(kSlicerNames), slicer)
                             - std::begin(kSlicerNames))};
        QCOMPARE(contents(path(file)),
                 asBytes(export3mf(parsed.points, *parsed.colours, {.solid = options}).bytes));
        QStringList colours; // the dialog's list, then the plate
        for (const ColourGroup &group : summarizeSolid(parsed.points, *parsed.colours, options).groups)
            colours << QString::fromStdString(colourName(group.swatch));
        colours << "#FFFFFF";
        QCOMPARE(colours.size(), groups + 1);

        const ReadBack assimp = readBack("3mf", path(file));
        REQUIRE_READ(assimp);
        QCOMPARE(assimp.seen["assimpMeshes"].toInt(), slicer == "prusa" ? 1 : colours.size());
        if (slicer == "plain")
            return; // lib3mf reads it in tst_relief
        const ReadBack read = readBack(slicer, path(file));
        REQUIRE_READ(read);
        QList<int> extruders; // counted from 1
        QStringList seenColours;
        if (slicer == "prusa") {
            QCOMPARE(read.seen["objects"].toInt(), 1);
            for (const QJsonValue tool : read.seen["tools"].toArray())
                extruders << tool.toInt() + 1;
            for (const QJsonValue colour : read.seen["colours"].toArray())
                seenColours << colour.toString();
        } else if (slicer == "cura") {
            const QJsonArray nodes = read.seen["nodes"].toArray();
            QCOMPARE(nodes.size(), 1);
            for (const QJsonValue part : nodes[0].toArray())
                extruders << part["extruder"].toInt() + 1;
            seenColours = colours; // Cura keeps none
        } else {
            QCOMPARE(read.seen["problems"].toArray(), QJsonArray());
            for (const QJsonValue part : read.seen["parts"].toArray()) {
                extruders << part["extruder"].toInt();
                seenColours << part["colour"].toString();
            }
        }
        QList<int> expected(colours.size());
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(extruders, expected);
        QCOMPARE(seenColours, colours);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
