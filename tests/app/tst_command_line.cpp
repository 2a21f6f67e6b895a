#include "cli_test.h"
#include "export.h"
#include "model_file_io.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <zlib.h>

#include <cmath>
#include <limits>

namespace {

QByteArray modelBytes(const QList<std::array<double, 3>> &points)
{
    QByteArray bytes;
    const qint32 count = qint32(points.size());
    bytes.append(reinterpret_cast<const char *>(&count), 4);
    for (const auto &point : points)
        bytes.append(reinterpret_cast<const char *>(point.data()), 24);
    return bytes;
}

// The colour block: tag, count, colours and the CRC, or a wrong CRC.
QByteArray colourBlock(const QList<qint32> &colours, bool rightCrc)
{
    QByteArray block("ZCOL");
    const qint32 count = qint32(colours.size());
    block.append(reinterpret_cast<const char *>(&count), 4);
    for (qint32 colour : colours)
        block.append(reinterpret_cast<const char *>(&colour), 4);
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size())))
          + (rightCrc ? 0 : 1);
    block.append(reinterpret_cast<const char *>(&crc), 4);
    return block;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }
    Run run(const QStringList &arguments) const { return zuvorak(arguments, dir_.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(drawing(120, 100).save(path("drawing.png")));
        QVERIFY(drawing(190, 100).save(path("wide.png")));
        QImage white(50, 50, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(path("white.png")));
        QVERIFY(drawing(60, 40).save(path("whole.bmp")));
        QVERIFY(write(path("cut.bmp"), contents(path("whole.bmp")).left(1500)));
        QVERIFY(mkfifo(qPrintable(path("pipe")), 0600) == 0);
        QVERIFY(QDir(dir_.path()).mkdir("folder"));
        QVERIFY(QDir(dir_.path()).mkdir("out"));
        QVERIFY(write(path("over.chs"), QByteArray::fromHex("a1860100"))); // 100001 points
        QVERIFY(write(path("short.chs"), modelBytes({{1, 2, 3}, {4, 5, 6}}).left(40)));
        QVERIFY(write(path("old.chs"), "old"));
        const Run made
            = run({"import", "drawing.png", "--depth", "100,100,200,200=30", "-o", "model.chs"});
        QVERIFY2(made.status == 0, qPrintable(made.err));
    }

    void versionAndHelp()
    {
        QCOMPARE(run({"--version"}).out, "zuvorak 3.0\n");
        for (const char *command : {"import", "render", "export", "turntable", "info"}) {
            const Run help = run({command, "--help"});
            QCOMPARE(help.status, 0);
            QVERIFY2(help.out.startsWith(QStringLiteral("Usage: zuvorak ") + command), command);
        }
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");

        const auto row
            = [](const char *label, const QStringList &arguments, int status, const char *reason) {
                  QTest::newRow(label) << arguments << status << QString::fromUtf8(reason);
              };
        row("unknown option", {"import", "drawing.png", "--bogus", "-o", "old.chs"}, 1,
            "Unknown option 'bogus'");
        row("an option without its value", {"import", "drawing.png", "-o", "old.chs", "--rect"}, 1,
            "Missing value after '--rect'");
        row("a rectangle with a non-number",
            {"import", "drawing.png", "--rect", "1,2,x,4", "-o", "old.chs"}, 1, "'1,2,x,4'");
        row("a rectangle of three numbers",
            {"import", "drawing.png", "--rect", "1,2,3", "-o", "old.chs"}, 1, "'1,2,3'");
        row("a selection one pixel over the limit",
            {"import", "drawing.png", "--rect", "191,0,0,10", "-o", "old.chs"}, 1,
            "192 x 11 pixels with its outline, more than 191 x 191 (指定範囲が大きすぎます)");
        row("a depth above 100",
            {"import", "drawing.png", "--depth", "0,0,9,9=101", "-o", "old.chs"}, 1, "0 to 100");
        row("a depth below 0", {"import", "drawing.png", "--depth", "0,0,9,9=-1", "-o", "old.chs"},
            1, "0 to 100");
        row("a depth stroke without its depth",
            {"import", "drawing.png", "--depth", "0,0,9,9", "-o", "old.chs"}, 1, "X1,Y1,X2,Y2=D");
        row("a move by a fraction", {"import", "drawing.png", "--move", "1.5,0", "-o", "old.chs"},
            1, "whole numbers");
        row("too many quarter turns",
            {"import", "drawing.png", "--quarter-turns", "101", "-o", "old.chs"}, 1, "0 to 100");
        row("an output kind that does not exist", {"import", "drawing.png", "-o", "old.obj"}, 1,
            "old.obj: '.obj' is no kind that import writes");
        row("a kind of another command", {"render", "model.chs", "-o", "old.ply"}, 1,
            "'.ply' is no kind that render writes");
        row("a folder kind that does not exist",
            {"render", "model.chs", "-o", "out/", "--format", "jpg"}, 1, "'jpg'");
        row("an output folder that does not exist", {"import", "drawing.png", "-o", "none/x.chs"},
            1, "none: no such folder");
        row("several inputs into a missing folder",
            {"render", "model.chs", "model.chs", "-o", "none/"}, 1, "none/: no such folder");
        row("two inputs to one name", {"render", "model.chs", "folder/model.chs", "-o", "out/"}, 1,
            "out/model.png");
        row("--ascii for STL", {"export", "model.chs", "-o", "old.stl", "--ascii"}, 1, "--ascii");
        row("a pixel size of 0", {"export", "model.chs", "-o", "old.stl", "--pixel-mm", "0"}, 1,
            "pixel size");
        row("too few turntable frames",
            {"turntable", "model.chs", "--frames", "1", "-o", "old.webp"}, 1, "2 to 120");
        row("a turntable of one PNG", {"turntable", "model.chs", "-o", "old.png"}, 1,
            "give FOLDER/");
        row("no jobs", {"render", "model.chs", "-o", "old.png", "--jobs", "0"}, 1, "--jobs");
        row("no input", {"render", "-o", "old.png"}, 1, "no input");
        row("no output", {"render", "model.chs"}, 1, "-o OUT is missing");
        row("a misspelt command", {"improt", "drawing.png", "-o", "old.chs"}, 1,
            "'improt' is no command");
        row("an input that does not exist", {"render", "none.chs", "-o", "old.png"}, 2,
            "none.chs: no such file");
        row("an input that is a folder", {"render", "folder", "-o", "old.png"}, 2,
            "folder: not a regular file");
        row("a picture that is a named pipe", {"import", "pipe", "-o", "old.chs"}, 2,
            "pipe: not a regular file");
        row("a model that is a named pipe", {"info", "pipe"}, 2, "pipe: not a regular file");
        row("a truncated bitmap", {"import", "cut.bmp", "-o", "old.chs"}, 2,
            "cut.bmp: the bitmap's pixel rows stop early");
        row("a model over the point limit", {"export", "over.chs", "-o", "old.ply"}, 2,
            "over.chs: not a model file: 100001 points, more than 100000");
        row("a model shorter than its points", {"render", "short.chs", "-o", "old.png"}, 2,
            "short.chs: not a model file: too short for its 2 points");
        row("a picture too large to take whole", {"import", "wide.png", "-o", "old.chs"}, 2,
            "wide.png: the picture is 190 x 100 pixels; without --rect it is taken whole only up "
            "to 189 x 189 (指定範囲が大きすぎます)");
        row("a model file for a picture", {"import", "model.chs", "-o", "old.chs"}, 2,
            "model.chs: not a picture");
        row("a picture without a dark pixel", {"import", "white.png", "-o", "old.chs"}, 2,
            "white.png: no dark pixel");
    }

    // One line naming the file and the reason, and nothing written or touched.
    void badInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, reason);
        const QStringList before = listing(dir_.path());
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        QVERIFY2(result.err.contains(reason), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        QCOMPARE(listing(dir_.path()), before);
        QVERIFY(listing(path("out")).isEmpty());
        QCOMPARE(contents(path("old.chs")), "old");
    }

    void outputNotWritten()
    {
        const Run result = run({"render", "model.chs", "-o", "/proc/zuvorak.png"});
        QCOMPARE(result.status, 3);
        QVERIFY2(result.err.startsWith("zuvorak render: /proc/zuvorak.png: not written: "),
                 qPrintable(result.err));
    }

    void largestSelections()
    {
        QVERIFY(drawing(189, 189).save(path("largest.png")));
        QCOMPARE(run({"import", "largest.png", "-o", "largest.chs"}).status, 0);
        QCOMPARE(run({"import", "wide.png", "--rect", "190,0,0,190", "-o", "rect.chs"}).status, 0);
    }

    // One broken input is reported; the others are written as each alone would be.
    void batchWithABrokenInput()
    {
        QTemporaryDir out;
        const QStringList inputs {"drawing.png", "cut.bmp", "whole.bmp", "pipe", "white.png"};
        const Run batch = run(QStringList {"import"} + inputs
                              + QStringList {"-o", out.path(), "--format", "ply", "--jobs", "2"});
        QCOMPARE(batch.status, 2);
        QCOMPARE(batch.err.count(QLatin1Char('\n')), 3);
        for (const char *failed : {"cut.bmp:", "pipe:", "white.png:"})
            QVERIFY2(batch.err.contains(failed), failed);
        QCOMPARE(listing(out.path()), QStringList({"drawing.ply", "whole.ply"}));
        for (const QString input : {"drawing.png", "whole.bmp"}) {
            const QString name = QFileInfo(input).completeBaseName();
            const QString alone = name + QStringLiteral("-alone.ply");
            QCOMPARE(run({"import", input, "-o", alone}).status, 0);
            QCOMPARE(contents(out.filePath(name + QStringLiteral(".ply"))), contents(path(alone)));
        }
    }

    void jobs()
    {
        QStringList models;
        for (int i = 0; i < 8; ++i) {
            const QString name = QStringLiteral("m%1.chs").arg(i);
            const Run made = run({"import", "drawing.png", "--quarter-turns", QString::number(i),
                                  "--move", QStringLiteral("%1,0").arg(10 * i), "-o", name});
            QCOMPARE(made.status, 0);
            models << name;
        }
        QTemporaryDir one, two;
        QCOMPARE(
            run(QStringList {"render"} + models + QStringList {"-o", one.path(), "--jobs", "1"})
                .status,
            0);
        QCOMPARE(
            run(QStringList {"render"} + models + QStringList {"-o", two.path(), "--jobs", "2"})
                .status,
            0);
        QCOMPARE(listing(one.path()).size(), 8);
        QVERIFY2(!run(QStringList {"render"} + models + QStringList {"-o", one.path()})
                      .err.contains("done"),
                 "a progress line where standard error is no terminal");
        for (const QString &name : listing(one.path()))
            QVERIFY2(contents(one.filePath(name)) == contents(two.filePath(name)),
                     qPrintable(name));
    }

    // On a terminal (a pseudo-terminal from script(1)) the progress line counts the inputs.
    void progressOnATerminal()
    {
        QTemporaryDir out;
        const QString command = QStringLiteral("%1 render model.chs drawing.png old.chs -o %2 "
                                               "--format bmp --jobs 1 >/dev/null")
                                    .arg(QStringLiteral(ZUVORAK_PROGRAM), out.path());
        QProcess terminal;
        terminal.setWorkingDirectory(dir_.path());
        terminal.start("script", {"-qefc", command, "/dev/null"});
        QVERIFY(terminal.waitForFinished());
        const QString shown = QString::fromUtf8(terminal.readAll());
        QVERIFY2(shown.contains("zuvorak render: 1 of 3 done, 0 failed"), qPrintable(shown));
        QVERIFY2(shown.contains("2 of 3 done, 1 failed"), qPrintable(shown));
    }

    // Read back by Python's PIL: frames, size, timing, looping, and the first frame
    // equal to the view that render draws at that size.
    void turntable()
    {
        QVERIFY(run({"render", "model.chs", "--size", "64", "-o", "first.png"}).status == 0);
        for (const char *kind : {"webp", "gif"}) {
            const QString target = QStringLiteral("turning.") + kind;
            const Run made = run({"turntable", "model.chs", "--frames", "6", "--size", "64",
                                  "--delay", "40", "-o", target});
            QVERIFY2(made.status == 0, qPrintable(made.err));
            QProcess python;
            python.setWorkingDirectory(dir_.path());
            python.setProcessChannelMode(QProcess::MergedChannels);
            python.start("/usr/bin/python3",
                         {"-c",
                          "import sys; from PIL import Image\n"
                          "a = Image.open(sys.argv[1]); a.load(); b = "
                          "Image.open('first.png').convert('RGB')\n"
                          "print(a.n_frames, a.size, a.info['duration'], a.info['loop'],\n"
                          "      list(a.convert('RGB').getdata()) == list(b.getdata()))",
                          target});
            QVERIFY(python.waitForFinished());
            QCOMPARE(python.readAll().trimmed(), "6 (64, 64) 40 0 True");
        }
        const Run frames
            = run({"turntable", "model.chs", "--frames", "3", "--size", "64", "-o", "frames/"});
        QVERIFY2(frames.status == 0, qPrintable(frames.err));
        QCOMPARE(listing(path("frames")),
                 QStringList({"frame-000.png", "frame-001.png", "frame-002.png"}));
        QCOMPARE(QImage(path("frames/frame-000.png")), QImage(path("first.png")));
    }

    void info_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();

        QTest::newRow("two points, no colour block")
            << modelBytes({{0, 1, 2}, {0, 2, 1}})
            << "points: 2\ndepth: 0 to 0\nhorizontal: 1 to 2\nvertical: 1 to 2\n"
               "colour block: none\ncoordinates not finite: 0\n";
        QTest::newRow("a valid colour block")
            << modelBytes({{-3.5, 10, -20}, {40, -7, 0.25}}) + colourBlock({0xFF, 0xFF00}, true)
            << "points: 2\ndepth: -3.5 to 40\nhorizontal: -7 to 10\nvertical: -20 to 0.25\n"
               "colour block: valid\ncoordinates not finite: 0\n";
        QTest::newRow("a colour block with a wrong CRC")
            << modelBytes({{1, 1, 1}}) + colourBlock({0xFF}, false)
            << "points: 1\ndepth: 1 to 1\nhorizontal: 1 to 1\nvertical: 1 to 1\n"
               "colour block: invalid\ncoordinates not finite: 0\n";
        QTest::newRow("NaN and infinity left out of the bounds")
            << modelBytes({{nan, 5, infinity}, {2, -infinity, 3}})
            << "points: 2\ndepth: 2 to 2\nhorizontal: 5 to 5\nvertical: 3 to 3\n"
               "colour block: none\ncoordinates not finite: 3\n";
        QTest::newRow("no points") << modelBytes({})
                                   << "points: 0\ndepth: none\nhorizontal: none\nvertical: none\n"
                                      "colour block: none\ncoordinates not finite: 0\n";
    }

    void info()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QVERIFY(write(path("info.chs"), file));
        const Run text = run({"info", "info.chs"});
        QCOMPARE(text.status, 0);
        QCOMPARE(text.out, "info.chs\n" + expected);

        const Run json = run({"info", "--json", "info.chs"});
        QCOMPARE(json.status, 0);
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(object.value("file").toString(), "info.chs");
        const QStringList lines = expected.split('\n');
        QCOMPARE(object.value("points").toInt(), lines[0].mid(8).toInt());
        QCOMPARE(object.value("colourBlock").toString(), lines[4].mid(14));
        QCOMPARE(object.value("notFinite").toInt(), lines[5].mid(24).toInt());
        const QJsonValue depth = object.value("depth");
        QCOMPARE(depth.isNull() ? QStringLiteral("none")
                                : QStringLiteral("%1 to %2")
                                      .arg(depth["min"].toDouble())
                                      .arg(depth["max"].toDouble()),
                 lines[1].mid(7));
    }

    // The options reach the export library: the files equal its own for the model.
    void exportOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<QList<double>>("solid");
        const QList<double> defaults {0.25, 0.25, 0.6, 1.0, 0};

        QTest::newRow("binary PLY") << QStringList() << "ply" << false << defaults;
        QTest::newRow("PLY as text") << QStringList {"--ascii"} << "ply" << true << defaults;
        QTest::newRow("XYZ") << QStringList() << "xyz" << false << defaults;
        QTest::newRow("glb") << QStringList() << "glb" << false << defaults;
        QTest::newRow("STL by default") << QStringList() << "stl" << false << defaults;
        QTest::newRow("STL with every size and reversed")
            << QStringList {"--pixel-mm", "0.5",       "--depth-mm", "0.1",      "--ink-mm",
                            "1.5",        "--base-mm", "2",          "--reverse"}
            << "stl" << false << QList<double> {0.5, 0.1, 1.5, 2, 1};
    }

    void exportOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, kind);
        QFETCH(bool, ascii);
        QFETCH(QList<double>, solid);
        const QString target = "export." + kind;
        const Run result = run(QStringList {"export", "model.chs", "-o", target} + options);
        QVERIFY2(result.status == 0, qPrintable(result.err));

        ModelFile::ParsedModel parsed;
        QVERIFY(ModelFile::load(path("model.chs").toStdString(), parsed).ok());
        const std::vector<Colour> colours = *parsed.colours;
        const SolidOptions solidOptions {solid[0], solid[1], solid[2], solid[3], solid[4] != 0, 4};
        const ExportResult expected = kind == "ply"   ? exportPly(parsed.points, colours, {ascii})
                                      : kind == "xyz" ? exportXyz(parsed.points, colours)
                                      : kind == "glb"
                                          ? exportGlb(parsed.points, colours)
                                          : exportStl(parsed.points, colours, solidOptions);
        QVERIFY(expected.ok());
        QCOMPARE(contents(path(target)),
                 QByteArray(reinterpret_cast<const char *>(expected.bytes.data()),
                            qsizetype(expected.bytes.size())));
    }

    // The 3MF's objects, counted by Python's zip reader: one a colour group, the plate, the whole.
    void colourGroups()
    {
        for (int groups : {1, 2}) {
            const Run result = run(
                {"export", "model.chs", "-o", "groups.3mf", "--colours", QString::number(groups)});
            QVERIFY2(result.status == 0, qPrintable(result.err));
            QProcess python;
            python.start("/usr/bin/python3",
                         {"-c",
                          "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read("
                          "'3D/3dmodel.model').count(b'<object'))",
                          path("groups.3mf")});
            QVERIFY(python.waitForFinished());
            QCOMPARE(python.readAllStandardOutput().trimmed().toInt(), groups + 2);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
