#include "literal_turn.h"

#include "capture.h"
#include "conversions.h"
#include "editing.h"
#include "image_surface.h"
#include "import.h"
#include "model_file_io.h"
#include "readers.h"
#include "renderer.h"
#include "same_picture.h"
#include "seeded_model.h"

#include <QPainter>

// Hands the selection over, stages it and builds the model, as the main window does.
static Model importFrom(const ImageSurface &capture, Selection selection, ImageSurface &staging)
{
    stageImport(ImportGrid::read(capture, selection), staging);
    return buildModelFromPicture(staging, kViewSize, kViewSize, kViewCentre);
}

// The selection limit: the capture window and the command line; failed saves: tst_windows.
class TestModel : public QObject {
    Q_OBJECT

private slots:
    // Over points 5 apart from (-50, -50) to (45, 45) at depth 1, centre (130, 130), a stroke
    // from x -30..30, y -20..30 raises the 11 x 9 points strictly inside, not the outline.
    void depthStroke_data()
    {
        QTest::addColumn<QLine>("drag");
        QTest::addColumn<int>("selected");
        QTest::newRow("outline excluded") << QLine(100, 100, 160, 150) << 99;
        QTest::newRow("dragged up-left") << QLine(160, 150, 100, 100) << 99;
        QTest::newRow("zero width selects nothing") << QLine(100, 100, 100, 150) << 0;
    }
    void depthStroke()
    {
        QFETCH(QLine, drag);
        QFETCH(int, selected);
        Model model;
        for (int i = 0; i < 400; ++i)
            model.points.push_back({1.0, i % 20 * 5.0 - 50, i / 20 * 5.0 - 50});
        model.colours.resize(400);
        replaceDepthsInside(model, strokeBetween(drag.x1(), drag.y1(), drag.x2(), drag.y2()),
                            kViewCentre, 9.0);
        const auto raised = [](const Coords &point) { return point[Depth] == 9.0; };
        QCOMPARE(int(std::ranges::count_if(model.points, raised)), selected);
    }

    // Point 0 of a full model moves from one end of `move` to the other by the steps: k a quarter
    // turn, m a mirror, l/r/u/d a shift by 10; where it comes back, every point comes back exactly.
    void transforms_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QLineF>("move");
        QTest::newRow("mirror then turn: (-y, -x)") << "mk" << QLineF(10, 3, -3, -10);
        QTest::newRow("turn then mirror: (y, x)") << "km" << QLineF(10, 3, 3, 10);
        QTest::newRow("shift, turn about the centre") << "rk" << QLineF(0, 0, 0, 10);
        QTest::newRow("four turns") << "kkkk" << QLineF(10, 3, 10, 3);
        QTest::newRow("two mirrors") << "mm" << QLineF(10, 3, 10, 3);
        QTest::newRow("left, up, right, down") << "lurd" << QLineF(10, 3, 10, 3);
    }
    void transforms()
    {
        QFETCH(QString, steps);
        QFETCH(QLineF, move);
        Model model = seededModel(kMaxPoints, 1, 150, 0.25);
        model.points[0] = {5.0, move.x1(), move.y1()};
        const Model original = model;
        for (const QChar step : steps)
            if (step == 'k')
                turnQuarter(model);
            else if (step == 'm')
                mirrorLeftRight(model);
            else
                shiftModel(model, (step == 'r') * 10 - (step == 'l') * 10,
                           (step == 'u') * 10 - (step == 'd') * 10);
        QCOMPARE(model.points[0], (Coords {5.0, move.x2(), move.y2()}));
        QVERIFY(move.p1() != move.p2() || model.points == original.points);
    }

    // A number's shortest text and its 16-bit integer: -0 written 0, halves to even, saturating.
    void numbers()
    {
        const std::tuple<double, QString, int> rows[] = {{-0.0, "0", 0},
                                                         {2.5, "2.5", 2},
                                                         {3.5, "3.5", 4},
                                                         {-1e12, "-1e+12", -32768},
                                                         {std::nan(""), "nan", 0}};
        for (const auto &[number, written, integer] : rows) {
            QCOMPARE(QString::fromStdString(shortestDecimal(number)), written);
            QCOMPARE(int(saturatingInt16(number)), integer);
        }
    }

    // Columns from the left, each top down; S = T = 261 / 3; light (all channels >= 192) skipped.
    void modelFromKnownPicture()
    {
        ImageSurface staging(kStagingSize, kStagingSize, kWhite);
        const Colour cyan = 0xFFFFBF; // 0x00BBGGRR: red 191
        staging.plot(1, 0, 0);
        staging.plot(0, 5, cyan);
        staging.plot(3, 3, 0xC0C0C0); // 192 each: light
        const Model model = buildModelFromPicture(staging, kViewSize, kViewSize, kViewCentre);
        QCOMPARE(model.points, (std::vector<Coords> {{0.0, -43.0, 38.0}, {0.0, -42.0, 43.0}}));
        QCOMPARE(model.colours, (std::vector<Colour> {cyan, 0}));
    }

    // The grid holds the outline's columns; staging leaves them out.
    void gridIncludesOutlineColumns()
    {
        ImageSurface capture(581, 413, kWhite), staging(kStagingSize, kStagingSize, kWhite);
        capture.drawBox(20, 30, 60, 71, kBlue);
        capture.plot(21, 31, 0); // first inside pixel
        capture.plot(60, 70, 0); // last inside row, right-hand outline column
        const ImportGrid grid = ImportGrid::read(capture, {20, 30, 60, 71});
        QCOMPARE(grid.at(0, 0), kBlue); // left outline column, first inside row
        QCOMPARE(grid.at(40, 39), 0);
        QCOMPARE(importFrom(capture, {20, 30, 60, 71}, staging).count(), 1);
    }

    void selectionEdges_data()
    {
        QTest::addColumn<Selection>("selection");
        QTest::addColumn<int>("points");
        QTest::newRow("partly outside: 10 x 12 inside") << Selection {-5, -4, 10, 12} << 120;
        QTest::newRow("one pixel apart across") << Selection {10, 10, 11, 60} << 0;
        QTest::newRow("one pixel apart down") << Selection {10, 10, 60, 11} << 0;
        QTest::newRow("widest: the last column clipped") << Selection {0, 0, 190, 190} << 188 * 189;
    }
    void selectionEdges()
    {
        QFETCH(Selection, selection);
        QFETCH(int, points);
        ImageSurface staging(kStagingSize, kStagingSize, kWhite);
        staging.plot(30, 30, 0); // left over from an earlier import
        QCOMPARE(importFrom(ImageSurface(400, 300, 0), selection, staging).count(), points);
    }

    // Blocks of 2 x 2 reduced: one ink pixel makes ink; the most frequent ink wins over a darker
    // one; of two as frequent the darker wins, whatever their order as values; no ink: white.
    void reducedBlocks()
    {
        const Colour dark = 0x101010, grey = 0x808080, red = 0x0000C0, blue = 0x400000;
        const Colour darkRed = 0x000040; // darker than red and a smaller value
        ImageSurface picture(10, 2, kWhite);
        const Colour pixels[2][10]
            = {{red, kWhite, dark, grey, red, blue, red, darkRed, kWhite, kWhite},
               {kWhite, kWhite, grey, kWhite, blue, red, kWhite, kWhite, kWhite, kWhite}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 10; ++x)
                picture.plot(x, y, pixels[y][x]);
        const ReducedPicture reduced = reduceSelection(picture, {-1, -1, 10, 2}, 2);
        QCOMPARE(reduced.pixels, (std::vector<Colour> {red, grey, blue, darkRed, kWhite}));
    }

    // Computed with Python's struct.pack and zlib.crc32; encode's output compares models below.
    void goldenBytes()
    {
        QCOMPARE(asBytes(ModelFile::encode(Model())),
                 QByteArray::fromHex("00000000 5a434f4c 00000000 72522ab7"));
        const Model one {{{0.0, 1.5, -2.0}}, {0x00123456}}; // its point, then its colour
        QCOMPARE(asBytes(ModelFile::encode(one)),
                 QByteArray::fromHex("01000000 0000000000000000 000000000000f83f 00000000000000c0"
                                     "5a434f4c 01000000 56341200 adca7ecc"));
    }

    // Refused files give no model; good ones their two points, colours only from a sound block.
    // Folders, pipes and a file of exactly 100000 points: tst_command_line and tst_surface.
    void loadFile_data()
    {
        QTest::addColumn<bool>("refused"); // the file is the row's name
        for (const char *file : {"legacy-without-colours.chs", "colour-crc-mismatch.chs",
                                 "two-points-with-colours.chs"})
            QTest::newRow(file) << false;
        for (const char *file :
             {"negative-count.chs", "count-above-capacity.chs", "records-cut-short.chs"})
            QTest::newRow(file) << true;
    }
    void loadFile()
    {
        const QString file = QTest::currentDataTag();
        QFETCH(bool, refused);
        ModelFile::ParsedModel parsed;
        parsed.points.resize(30);
        QCOMPARE(
            ModelFile::load(ZUVORAK_SOURCE_DIR "/fuzz/corpus/" + file.toStdString(), parsed).error,
            refused ? ModelFile::FileError::Invalid : ModelFile::FileError::None);
        if (refused) {
            QCOMPARE(parsed.points.size(), std::size_t(30)); // untouched
            return;
        }
        const Model read = ModelFile::toModel(parsed, std::vector<Colour>(2, 0x0A0B0C));
        Model expected {{{-0.0, HUGE_VAL, -HUGE_VAL}, {12.25, -130.5, 1e-310}},
                        {0x0A0B0C, 0x0A0B0C}};
        if (file.startsWith("two")) // its own colours, not those given
            expected.colours = {0x0000FF, 0xFF8000};
        QCOMPARE(ModelFile::encode(read), ModelFile::encode(expected)); // bit for bit, -0 too
    }

    // 100000 points, one coordinate in eight exactly 0 (the substitutes), against the case
    // formula, and the drawn view against the literal turn plotted point by point, the view
    // fitted to the main view's size too.
    void matchesCaseFormula_data()
    {
        QTest::addColumn<double>("turn");
        QTest::addColumn<double>("tilt");
        QTest::newRow("quarter turns") << 90.0 << -90.0;
        QTest::newRow("365 is not wrapped to 5") << 365.0 << -365.0;
        QTest::newRow("a small swing") << 15.0 << -10.0;
    }
    void matchesCaseFormula()
    {
        QFETCH(double, turn);
        QFETCH(double, tilt);
        Model model = seededModel(kMaxPoints, 20240611);
        model.points[0] = {0.0, -0.0, 0.0};
        std::vector<Coords> fast(model.points.size());
        turnPoints(model.points, turn, tilt, fast);
        const std::vector<Coords> plain = literal::turnModel(model.points, turn, tilt);
        for (std::size_t i = 0; i < fast.size(); ++i)
            for (int c = 0; c < 3; ++c)
                if (!(std::fabs(fast[i][c] - plain[i][c]) <= 1e-9))
                    QFAIL(qPrintable(QStringLiteral("point %1 coordinate %2").arg(i).arg(c)));
        for (const Projection &projection :
             {Projection::mainView(), Projection::fitting(kViewSize, kViewSize)}) {
            ImageSurface surface(kViewSize, kViewSize, kWhite);
            ViewRenderer().drawView(surface, model, turn, tilt, projection, {});
            QVERIFY(samePicture(surface.image(), literal::plotted(plain, model.colours), "view"));
        }
    }

    // At L1 = 90, (0, 10, 5) shows 5 above the centre; NaN and infinite points are skipped.
    void drawing()
    {
        const double nan = std::nan(""), inf = HUGE_VAL;
        const Model model {
            {{0, 10, 5}, {nan, 10, 5}, {0, inf, 5}, {0, 10, -inf}, {0, -30, -40}, {0, -50, -40}},
            {0, 1, 2, 3, 4, 5}};
        ImageSurface surface(kViewSize, kViewSize, kWhite);
        ViewRenderer().drawView(surface, model, 90, 0, Projection::mainView(), {});
        QImage expected = ImageSurface(kViewSize, kViewSize, kWhite).image();
        expected.setPixel(130, 125, qRgb(0, 0, 0));
        expected.setPixel(130, 170, qRgb(5, 0, 0)); // the later point overwrites
        QVERIFY(samePicture(surface.image(), expected, "view"));
    }

    // At twice the main view's size each point is twice as far from the centre and a square of
    // 2. Shading lightens far points.
    void projectedViews()
    {
        const Model model {{{0, 10, 5}, {40, -20, -30}, {-40, 0, 60}}, {0, 1, 2}};
        ImageSurface twice(2 * kViewSize, 2 * kViewSize + 40, kWhite);
        ViewRenderer().drawView(twice, model, 0, 0,
                                Projection::fitting(twice.width(), twice.height()), {1, true});
        QImage expected = ImageSurface(twice.width(), twice.height(), kWhite).image();
        QPainter painter(&expected);
        painter.fillRect(261, 281 - 120, 2, 2, QColor(2, 0, 0)); // the nearest, unshaded
        painter.fillRect(261 + 20, 281 - 10, 2, 2, QColor(0x595959)); // halfway: 0.35 to white
        painter.fillRect(261 - 40, 281 + 60, 2, 2, QColor(0xB3B3B3)); // the farthest: 0.7
        painter.end();
        QVERIFY(samePicture(twice.image(), expected, "twice"));
    }

    // The front view with halves, the edges and a surface drawn on before.
    void frontView()
    {
        Model model = seededModel(2000, 20240611);
        for (std::size_t i = 0; i < 200; ++i)
            model.points[i] = {0, -130.5 + double(i) * 0.5, 130.5 - double(i % 7) * 0.5};
        ImageSurface surface(kViewSize, kViewSize, kWhite);
        surface.plot(3, 3, 0);
        ViewRenderer().drawUnturnedView(surface, model, Projection::mainView(), {});
        QVERIFY(
            samePicture(surface.image(), literal::plotted(model.points, model.colours), "view"));
    }
};

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
