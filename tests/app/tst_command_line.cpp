#include "cli_test.h"
#include "export.h"
#include "model_file_io.h"
#include "same_picture.h"
#include "seeded_model.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cmath>

static QByteArray modelFile(const Model &model)
{
    return asBytes(ModelFile::encode(model));
}

// An export run as `export MODEL OPTIONS`, the output the options' second word, and the
// library's own call; for a slicer's layout, the slicer that reads the file back.
struct Exported {
    QString name, options;
    ExportFunction *library;
    ExportOptions libraryOptions;
    QString slicer = {}, model = "model.chs";
};

// The command line run as a script would run it; tst_windows_agree holds it to the windows.
class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    bool haveDevice_ = false;
    QString path(const QString &name) const { return dir_.filePath(name); }
    Run run(const QStringList &arguments) const { return zuvorak(arguments, dir_.path()); }

    // Every entry under the folder, hidden ones too, with its kind and a file's size.
    QMap<QString, QString> entriesAndSizes() const
    {
        QMap<QString, QString> seen;
        QDirIterator entry(dir_.path(),
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
        while (entry.hasNext()) {
            const QFileInfo info(entry.next());
            seen[QDir(dir_.path()).relativeFilePath(info.filePath())]
                = info.isSymLink() ? "link to " + info.symLinkTarget()
                  : info.isFile()  ? QString::number(info.size()) + " bytes"
                                   : "a folder or no file";
        }
        return seen;
    }

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
        QVERIFY(write(path("full.chs"), modelFile(seededModel(kMaxPoints, 1))));
        QVERIFY(write(path("far.chs"), modelFile({{{0, 1e308, 0}}, {0}}))); // finite, beyond float
        QVERIFY(write(path("short.chs"), modelFile({{{1, 2, 3}, {4, 5, 6}}, {0, 0}}).left(40)));
        QVERIFY(write(path("old.chs"), "old"));
        // The picture fuzzer's seeds, each named for its trap.
        QVERIFY(QFile::link(ZUVORAK_SOURCE_DIR "/fuzz/pictures", path("traps")));
        Model sixteen; // 16 colours far apart, three points each
        for (int i = 0; i < 48; ++i) {
            sixteen.points.push_back({double(i / 3 % 2), double(i / 3 * 4), double(i % 3)});
            sixteen.colours.push_back(Colour(0x0F1000 * (i / 3) + 0xF - i / 3));
        }
        QVERIFY(write(path("sixteen.chs"), modelFile(sixteen)));
        for (const QString made : {"drawing.png --depth 100,100,200,200=30 -o model.chs",
                                   ZUVORAK_SOURCE_DIR "/resources/buhin.bmp --fit -o part.chs"})
            QCOMPARE(run(("import " + made).split(' ')).status, 0);
    }

    // A script of the program, $0, put before it where it names no $0: its exit status, one line
    // of error for each part, with the part, and only the files named written, nothing else made
    // or touched. No progress line off a terminal; on one, by script(1).
    void script_data()
    {
        // label | exit status | script | the lines of error, split by &, or - | files written
        QTest::addColumn<QStringList>("cells");
        const QString rows = QString::fromUtf8(R"rows(
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
a number beyond any int | 1 | import drawing.png --quarter-turns 2147483648 -o old.chs | --quarter-turns: 2147483648 is outside 0 to 100
a depth by colour above 100 | 1 | import drawing.png --depth-colour '#C81414=100.5' -o old.chs | '#C81414=100.5': the depth D must be a number from 0 to 100
a colour of five digits | 1 | import drawing.png --depth-colour '#C8141=10' -o old.chs | '#C8141=10': the colour must be #RRGGBB
seventeen colour groups | 1 | import drawing.png --colours 17 --depth-colour '#C81414=10' -o old.chs | --colours: 17 is outside 1 to 16
colour groups for neither use | 1 | import drawing.png --colours 3 -o old.chs | --colours is for --depth-colour and .3mf, not .chs
two colours of one group | 1 | import drawing.png --colours 1 --depth-colour '#C81414=10' --depth-colour '#0A1EA0=20' -o old.chs | drawing.png: --depth-colour: '#C81414=10' and '#0A1EA0=20' both name the colour group
a brightness depth below 0 | 1 | import drawing.png --depth-brightness -0.5,30 -o old.chs | --depth-brightness: '-0.5,30': each depth must be from 0 to 100
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
a name that is no UTF-8 | 1 | export model.chs -o "$(printf '\351.ply')" | argument 4 is no text in the system's encoding
an input that does not exist | 2 | render none.chs -o old.png | none.chs: no such file
an input that is a folder | 2 | render folder -o old.png | folder: not a regular file
a picture that is a named pipe | 2 | import pipe -o old.chs | pipe: not a regular file
a model that is a named pipe | 2 | info pipe | pipe: not a regular file
a truncated bitmap | 2 | import cut.bmp -o old.chs | cut.bmp: the file stops early (truncated)
a model over the point limit | 2 | export over.chs -o old.ply | over.chs: not a model file: 100001 points, more than 100000
a model of exactly the point limit | 0 | info full.chs >/dev/null | -
a model shorter than its points | 2 | render short.chs -o old.png | short.chs: not a model file: too short for its 2 points
a turntable of nothing drawable | 2 | turntable far.chs -o old.webp | far.chs: nothing to draw
a point cloud of a coordinate beyond float | 2 | export far.chs -o old.ply | far.chs: cannot be exported: every coordinate is too large for the format's floats
a picture too large to take whole | 2 | import wide.png -o old.chs | wide.png: the picture is 190 x 100 pixels; without --rect it is taken whole only up to 189 x 189
the largest picture taken whole | 0 | import largest.png -o largest.chs | - | largest.chs
the widest selection of a wider picture | 0 | import wide.png --rect 190,0,0,190 -o rect.chs | - | rect.chs
a model file for a picture | 2 | import model.chs -o old.chs | model.chs: not a picture
a picture without a dark pixel | 2 | import white.png -o old.chs | white.png: no dark pixel
a fully transparent PNG | 2 | import traps/png-all-transparent.png -o old.chs | png-all-transparent.png: no dark pixel
a fully transparent GIF | 2 | import traps/gif-all-transparent.gif -o old.chs | gif-all-transparent.gif: no dark pixel
a fully transparent WebP | 2 | import traps/webp-all-transparent.webp -o old.chs | webp-all-transparent.webp: no dark pixel
a PNG of a wrong checksum | 2 | import traps/png-bad-crc.png -o old.chs | png-bad-crc.png: not a picture that can be read
a TIFF cut short | 2 | import traps/tiff-lzw-cut-short.tif -o old.chs | tiff-lzw-cut-short.tif: not a picture that can be read
a batch: the broken inputs told, the worst status, the others as each alone | 2 | "$0" import drawing.png cut.bmp pipe white.png whole.bmp -o out/ --format ply --jobs 2; s=$?; "$0" import drawing.png -o d.ply && "$0" import whole.bmp -o w.ply && cmp out/drawing.ply d.ply && cmp out/whole.ply w.ply && exit $s | cut.bmp: the file stops early & pipe: not a regular file & white.png: no dark pixel | out/drawing.ply out/whole.ply d.ply w.ply
an output that cannot be written | 3 | render model.chs -o /proc/zuvorak.png | zuvorak render: /proc/zuvorak.png: not written:
a device node as output | 3 | export model.chs -o node.ply | node.ply: not written: not a regular file
a link to a device node as output | 3 | export model.chs -o link.stl | link.stl: not written: not a regular file
a named pipe as output | 3 | export model.chs -o pipe.xyz | pipe.xyz: not written: not a regular file
the longest name saved over: the temporary name fits | 0 | "$0" export model.chs -o "$(printf %0251d 0).ply" && "$0" export model.chs -o 0*.ply && rm 0*.ply | -
a name of 256 bytes | 3 | export model.chs -o "$(printf %0252d 0).ply" | .ply: not written: the name is too long
a file-size limit: SIGXFSZ ignored | 3 | ulimit -f 1; "$0" export model.chs -o big.ply | big.ply: not written: cannot write: File too large
standard output full | 3 | info model.chs >/dev/full | zuvorak info: standard output: not written
progress on a terminal: done and failed counted | 0 | script -qefc "$0 render model.chs drawing.png old.chs -o out/ --format bmp --jobs 1 >/dev/null" /dev/null >shown; grep -q '1 of 3 done, 0 failed' shown && grep -q '2 of 3 done, 1 failed' shown | - | out/model.bmp shown
)rows");
        for (const QString &row : rows.trimmed().split('\n'))
            QTest::newRow(qPrintable(row.section(" | ", 0, 0))) << row.split(" | ");
    }
    void script()
    {
        QFETCH(QStringList, cells);
        const QString script = cells[2];
        const QStringList parts = cells[3] == "-" ? QStringList() : cells[3].split(" & ");
        const QStringList files = cells.value(4).split(' ', Qt::SkipEmptyParts);
        if ((script.contains("node.ply") || script.contains("link.stl")) && !haveDevice_)
            REQUIRE_READER(false, "root, to make a device node");
        const QMap<QString, QString> before = entriesAndSizes();
        const Run result
            = zuvorak({}, dir_.path(), script.contains("$0") ? script : "\"$0\" " + script);
        QCOMPARE(result.status, cells[1].toInt());
        for (const QString &part : parts)
            QVERIFY2(result.err.contains(part), qPrintable(result.err));
        QVERIFY2(result.err.count('\n') == parts.size() && !result.err.contains('\r'),
                 qPrintable(result.err));
        QMap<QString, QString> after = entriesAndSizes();
        for (const QString &file : files)
            QVERIFY2(after.remove(file) == 1 && QFile::remove(path(file)), qPrintable(file));
        QCOMPARE(after, before);
    }

    // The options reach the turntable writer: frames, size and timing as PIL reads them, the first
    // frame as render draws it; a folder of frames too, under the longest name, though named .gif.
    void turntable()
    {
        QCOMPARE(run({"render", "model.chs", "--size", "64", "-o", "first.png"}).status, 0);
        for (const QString &out : {QString("turning.webp"), QString(251, 'f') + ".gif/"}) {
            const bool folder = out.endsWith('/'); // of PNG frames, without a delay
            const Run made = run({"turntable", "model.chs", "--frames", "3", "--size", "64",
                                  "--delay", "40", "--about-view-centre", "-o", out});
            QVERIFY2(made.status == 0, qPrintable(made.err));
            const ReadBack read = readBack("frames", path(out));
            REQUIRE_READ(read);
            QCOMPARE(read.seen["names"].toVariant().toStringList(),
                     folder ? QStringList({"frame-000.png", "frame-001.png", "frame-002.png"})
                            : QStringList());
            QCOMPARE(read.pixels.size(), 3 * 64 * 64 * 4); // three frames of 64 x 64
            QCOMPARE(read.seen["durations"][0].toInt(), folder ? 0 : 40);
            QVERIFY(samePicture(read.frame(0, 64, 64), QImage(path("first.png")), out.left(4)));
        }
    }

    // Shading follows real depth: a flat model has one shade however turned and mirrored (the turn
    // leaves depths 1e-6 apart); turned by 20 degrees, each row lightens towards the farther side.
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
        const QString render = "render flat.chs --turn " + QString::number(turn) + " -o flat";
        for (const QString &command : {"import drawing.png -o flat.chs " + edit, render + ".png",
                                       render + "-shaded.png --shading"})
            QCOMPARE(run(command.split(' ', Qt::SkipEmptyParts)).status, 0);
        const QImage plain(path("flat.png")), shaded(path("flat-shaded.png"));
        double least = 1, most = 0;
        for (int y = 0; y < plain.height(); ++y) {
            double left = -1; // the row's last model pixel so far
            for (int x = 0; x < plain.width(); ++x) {
                // How far towards white in green, at most 30 in the drawing: rounding errs < 0.003.
                const int green = qGreen(plain.pixel(x, y));
                const double shade = double(qGreen(shaded.pixel(x, y)) - green) / (255 - green);
                if (plain.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                least = std::min(least, shade);
                most = std::max(most, shade);
                QVERIFY2(turn == 0 || shade >= left - 0.01,
                         qPrintable(QString("%1, %2").arg(x).arg(y)));
                left = shade;
            }
        }
        QVERIFY2(turn == 0 ? most - least < 0.01 : most - least > 0.5,
                 qPrintable(QString("%1 to %2").arg(least).arg(most)));
    }

    // The points, the ranges of depth, horizontal and vertical, the colour block, the coordinates
    // not finite and the relief's printability findings; as text and, the same facts, as JSON.
    void info_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("facts");
        const double nan = std::nan(""), inf = HUGE_VAL;
        const QByteArray two = modelFile({{{-3.5, 10, -20}, {40, -7, 0.25}}, {0xFF, 0xFF00}});
        // Two lone columns 0.25 mm wide, thinner than the 0.4 mm nozzle; the deeper stands
        // (40 - -3.5) x 0.25 + 0.6 mm ink above the plate: 11.475 mm over 0.25 mm.
        const QString bounds = "2|-3.5 to 40|-7 to 10|-20 to 0.25|";
        QTest::newRow("a valid colour block") << two << bounds + "valid|0|2|45.90";
        QTest::newRow("a colour block with a wrong CRC")
            << two.chopped(1) + char(two.back() ^ 1) << bounds + "invalid|0|2|45.90";
        QTest::newRow("no colour block") << two.left(52) << bounds + "none|0|2|45.90";
        QTest::newRow("NaN and infinity left out of the bounds")
            << modelFile({{{nan, 5, inf}, {2, -inf, 3}}, {0, 0}}).left(52)
            << "2|2 to 2|5 to 5|3 to 3|none|3|none|none";
        QTest::newRow("no points") << modelFile({}).left(4) << "0|none|none|none|none|0|none|none";
    }
    void info()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, facts);
        QVERIFY(write(path("info.chs"), file));
        const Run text = run({"info", "info.chs"}), json = run({"info", "--json", "info.chs"});
        QCOMPARE(text.status, 0);
        QString lines = "info.chs\n";
        QStringList values = facts.split('|');
        for (const char *label :
             {"points", "depth", "horizontal", "vertical", "colour block", "coordinates not finite",
              "columns thinner than the nozzle", "tallest column to its line's width"})
            lines += label + (": " + values.takeFirst()) + '\n';
        QCOMPARE(text.out, lines);
        const QJsonObject seen = QJsonDocument::fromJson(json.out.toUtf8()).object();
        const auto number = [](const QJsonValue &value, char format = 'g', int precision = 6) {
            return value.isUndefined() ? "none"
                                       : QString::number(value.toDouble(), format, precision);
        };
        QStringList jsonFacts = {number(seen["points"])};
        for (const char *axis : {"depth", "horizontal", "vertical"})
            jsonFacts << (seen[axis].isNull()
                              ? "none"
                              : number(seen[axis]["min"]) + " to " + number(seen[axis]["max"]));
        jsonFacts << seen["colourBlock"].toString() << number(seen["notFinite"])
                  << number(seen["thinColumns"]) << number(seen["tallestRatio"], 'f', 2);
        QCOMPARE(seen["file"].toString(), "info.chs");
        QCOMPARE(jsonFacts.join('|'), facts);
    }

    // The options reach the export library: the files are its own for the model, byte for byte.
    // The sample part's relief opens in each slicer as one object whose parts are the colour
    // groups and the plate, each on its own extruder in the colour list's order, in its colour
    // where the slicer keeps one; assimp loads every layout. 16 groups and the plate still work.
    void exports_data()
    {
        const auto solid = [](SolidOptions options) { return ExportOptions {.solid = options}; };
        std::vector<Exported> rows = {
            {"binary PLY", "-o export.ply", &exportPly, {}},
            {"PLY as text", "-o export.ply --ascii", &exportPly, {.ply = {true}}},
            {"XYZ", "-o export.xyz", &exportXyz, {}},
            {"glb", "-o export.glb", &exportGlb, {}},
            {"STL by default", "-o export.stl", &exportStl, {}},
            {"STL with every size and reversed",
             "-o export.stl --pixel-mm 0.5 --depth-mm 0.1 --ink-mm 1.5 --base-mm 2 --reverse",
             &exportStl, solid({0.5, 0.1, 1.5, 2, true})},
            {"3MF, one group", "-o export.3mf --colours 1", &export3mf, solid({.colourGroups = 1})},
            {"3MF of two colours for Bambu, thickened",
             "-o export.3mf --colours 2 --slicer bambu --nozzle 0.6 --thicken 1", &export3mf,
             solid({.colourGroups = 2, .nozzle = 0.6, .thicken = 1, .slicer = Slicer::Bambu})},
            {"16 colours for PrusaSlicer", "-o prusa.3mf --colours 16 --slicer prusa", &export3mf,
             solid({.colourGroups = 16, .slicer = Slicer::Prusa}), "prusa", "sixteen.chs"},
        };
        for (int i = 0; i < int(std::size(kSlicerNames)); ++i) {
            const QString name = kSlicerNames[i];
            rows.push_back({name, "-o " + name + ".3mf --colours 4 --slicer " + name, &export3mf,
                            solid({.colourGroups = 4, .slicer = Slicer(i)}), name, "part.chs"});
        }
        addRows(rows);
    }
    void exports()
    {
        QFETCH(Exported, row);
        const Run result = run(("export " + row.model + ' ' + row.options).split(' '));
        QVERIFY2(result.status == 0, qPrintable(result.err));
        ModelFile::ParsedModel parsed;
        QVERIFY(ModelFile::load(path(row.model).toStdString(), parsed).ok());
        const ExportResult expected
            = row.library(parsed.points, *parsed.colours, row.libraryOptions);
        QVERIFY(expected.ok());
        const QString file = path(row.options.section(' ', 1, 1));
        QCOMPARE(contents(file), asBytes(expected.bytes));
        if (row.slicer.isEmpty())
            return;
        QStringList colours; // the dialog's list, then the plate
        QJsonArray extruders;
        const SolidOptions &options = row.libraryOptions.solid;
        for (const auto &group : summarizeSolid(parsed.points, *parsed.colours, options).groups)
            colours << QString::fromStdString(colourName(group.swatch));
        for (colours << "#FFFFFF"; extruders.size() < colours.size();)
            extruders << extruders.size() + 1;
        QCOMPARE(colours.size(), options.colourGroups + 1);
        const ReadBack read = readBack(row.slicer, file);
        REQUIRE_READ(read);
        QCOMPARE(read.seen["assimpMeshes"].toInt(), row.slicer == "prusa" ? 1 : colours.size());
        if (row.slicer == "plain")
            return; // lib3mf reads it in tst_export
        QCOMPARE(read.seen["objects"].toInt(), 1);
        QCOMPARE(read.seen["problems"].toArray(), QJsonArray());
        QCOMPARE(read.seen["extruders"].toArray(), extruders);
        QCOMPARE(read.seen["colours"].toVariant().toStringList(),
                 row.slicer == "cura" ? QStringList() : colours); // Cura keeps none
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
