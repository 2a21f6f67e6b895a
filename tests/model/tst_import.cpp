#include "capture.h"
#include "image_surface.h"
#include "import.h"
#include "program_state.h"

#include <QTest>

#include <memory>
#include <tuple>
#include <vector>

Q_DECLARE_METATYPE(Selection)

namespace {

// Colours as the program holds them: red in the low byte.
constexpr Colour rgb(int r, int g, int b)
{
    return Colour(r | (g << 8) | (b << 16));
}

constexpr Colour kBlack = 0;
constexpr Colour kDarkRed = rgb(150, 20, 20);
constexpr Colour kNavy = rgb(20, 30, 120);

// What the main window has: a 261 x 261 view centred at 130 and a 189 x 189 staging area.
struct ImportRig {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    ImageSurface view {261, 261, kWhite};
    ImageSurface staging {189, 189, kWhite};

    ImportRig()
    {
        state->viewCenterX = 130;
        state->viewCenterY = 130;
        state->modelPoints.fill(Coords {1000.0, 1000.0, 1000.0});
    }

    void build() { buildModelFromPicture(*state, staging, view); }
};

using Point3 = std::tuple<double, double, double, Colour>;

std::vector<Point3> modelOf(const ProgramState &state)
{
    std::vector<Point3> points;
    for (std::int32_t n = 0; n < state.pointCount; ++n) {
        const Coords &p = state.modelPoints[n];
        points.emplace_back(p[Depth], p[Horizontal], p[Vertical], state.pointColors[n]);
    }
    return points;
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private slots:
    void selectionLimit_data();
    void selectionLimit();
    void modelFromKnownPicture();
    void offsetsInSinglePrecision();
    void colourThreshold_data();
    void colourThreshold();
    void modelStopsAtCapacity();
    void gridReadIncludesOutlineColumns();
    void selectionPartlyOutsideReadsWhite();
    void thinSelectionsGiveEmptyModel_data();
    void thinSelectionsGiveEmptyModel();
    void widestSelectionClipsLastColumn();
};

void TestImport::selectionLimit_data()
{
    QTest::addColumn<Selection>("released");
    QTest::addColumn<Selection>("ordered");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("press and release at one point: 0 x 0, within")
        << Selection {40, 50, 40, 50} << Selection {40, 50, 40, 50} << false;
    QTest::newRow("down-right drag kept as it is")
        << Selection {10, 20, 110, 60} << Selection {10, 20, 110, 60} << false;
    QTest::newRow("up-left drag ordered like the opposite one")
        << Selection {110, 60, 10, 20} << Selection {10, 20, 110, 60} << false;
    QTest::newRow("up-right drag: only y swapped")
        << Selection {10, 60, 110, 20} << Selection {10, 20, 110, 60} << false;
    QTest::newRow("190 on both axes is within the limit")
        << Selection {5, 7, 195, 197} << Selection {5, 7, 195, 197} << false;
    QTest::newRow("191 across is too large")
        << Selection {196, 7, 5, 197} << Selection {5, 7, 196, 197} << true;
    QTest::newRow("191 down is too large")
        << Selection {5, 198, 195, 7} << Selection {5, 7, 195, 198} << true;
    QTest::newRow("corners outside the surface are not clamped")
        << Selection {-30, -4, 100, 600} << Selection {-30, -4, 100, 600} << true;
    QTest::newRow("extreme corners do not overflow into a small difference")
        << Selection {32767, 0, -32768, 0} << Selection {-32768, 0, 32767, 0} << true;
}

void TestImport::selectionLimit()
{
    QFETCH(Selection, released);
    QFETCH(Selection, ordered);
    QFETCH(bool, tooLarge);
    const Selection actual = orderedCorners(released);
    QCOMPARE(std::tie(actual.startX, actual.startY, actual.endX, actual.endY),
             std::tie(ordered.startX, ordered.startY, ordered.endX, ordered.endY));
    QCOMPARE(exceedsSelectionLimit(actual), tooLarge);
}

void TestImport::modelFromKnownPicture()
{
    ImportRig rig;
    rig.staging.PSet(5, 3, kDarkRed);
    rig.staging.PSet(1, 7, kNavy);
    rig.staging.PSet(5, 1, kBlack);
    rig.staging.PSet(1, 0, kBlack);
    rig.staging.PSet(188, 188, kNavy);
    rig.staging.PSet(3, 3, rgb(230, 230, 230)); // light grey: background
    rig.state->pointCount = 77; // an earlier model is replaced, not extended
    rig.build();

    // Column by column from the left, top to bottom; S = T = 261 / 3 = 87.
    const std::vector<Point3> expected = {
        {0.0, -42.0, 43.0, kBlack}, // (1, 0)
        {0.0, -42.0, 36.0, kNavy}, // (1, 7)
        {0.0, -38.0, 42.0, kBlack}, // (5, 1)
        {0.0, -38.0, 40.0, kDarkRed}, // (5, 3)
        {0.0, 145.0, -145.0, kNavy}, // (188, 188)
    };
    QCOMPARE(modelOf(*rig.state), expected);
    QCOMPARE(rig.state->modelPoints[5][Horizontal], 1000.0);
}

void TestImport::offsetsInSinglePrecision()
{
    // 100 / 3 is not exact: the offset and the sum are Single, then widened.
    ImportRig rig;
    ImageSurface view(100, 100, kWhite);
    rig.state->viewCenterX = 50;
    rig.state->viewCenterY = 50;
    rig.staging.PSet(0, 0, kBlack);
    buildModelFromPicture(*rig.state, rig.staging, view);
    QCOMPARE(rig.state->pointCount, 1);
    QCOMPARE(rig.state->modelPoints[0][Horizontal], double(-16.666668f));
    QCOMPARE(rig.state->modelPoints[0][Vertical], double(16.666668f));
    QVERIFY(rig.state->modelPoints[0][Horizontal] != -50.0 + 100.0 / 3.0);
}

void TestImport::colourThreshold_data()
{
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<bool>("isPoint");
    QTest::newRow("red 191 on white is a point") << rgb(191, 255, 255) << true;
    QTest::newRow("green 191 is a point") << rgb(255, 191, 255) << true;
    QTest::newRow("blue 191 is a point") << rgb(255, 255, 191) << true;
    QTest::newRow("grey 192 is background") << rgb(192, 192, 192) << false;
    QTest::newRow("white is background") << kWhite << false;
    QTest::newRow("pure black is a point") << kBlack << true;
    QTest::newRow("pure blue outline colour is a point") << kBlue << true;
}

void TestImport::colourThreshold()
{
    QFETCH(Colour, colour);
    QFETCH(bool, isPoint);
    ImportRig rig;
    rig.staging.PSet(10, 20, colour);
    rig.build();
    QCOMPARE(rig.state->pointCount, isPoint ? 1 : 0);
    if (isPoint)
        QCOMPARE(rig.state->pointColors[0], colour);
}

void TestImport::modelStopsAtCapacity()
{
    // Larger than any staging area the program has: the model must not overrun.
    ImportRig rig;
    ImageSurface dark(400, 300, kBlack);
    buildModelFromPicture(*rig.state, dark, rig.view);
    QCOMPARE(rig.state->pointCount, kMaxPoints);
    // The last point is the one before the count ran out: column 333, row 99.
    QCOMPARE(rig.state->modelPoints[kMaxPoints - 1][Horizontal], 333.0 - 130.0 + 87.0);
    QCOMPARE(rig.state->modelPoints[kMaxPoints - 1][Vertical], 130.0 - 99.0 - 87.0);
}

void TestImport::gridReadIncludesOutlineColumns()
{
    ImportRig rig;
    ImageSurface capture(581, 413, rgb(240, 240, 240));
    capture.PSet(21, 31, kDarkRed); // first inside pixel right of the outline
    capture.PSet(60, 70, kNavy); // last inside row, right-hand outline column
    capture.Line(20, 30, 60, 71, kBlue);
    capture.PSet(60, 70, kNavy);

    handOverSelection(*rig.state, capture, {20, 30, 60, 71});
    QCOMPARE(rig.state->importWidth.value(), 40.0);
    QCOMPARE(rig.state->importHeight, qint16(39));
    QCOMPARE(rig.state->importReady, quint8(1));
    const auto &grid = rig.state->importGrid;
    QCOMPARE(grid[0][0], kBlue); // left outline column, first inside row
    QCOMPARE(grid[1][0], kDarkRed);
    QCOMPARE(grid[2][0], rgb(240, 240, 240));
    QCOMPARE(grid[40][39], kNavy);
    QCOMPARE(grid[40][38], kBlue);
    QCOMPARE(grid[41][0], Colour(0)); // beyond the selection: untouched

    // Staged without the outline's columns; x = 0 stays white.
    stageImport(*rig.state, rig.staging);
    QCOMPARE(rig.staging.Point(0, 0), kWhite);
    QCOMPARE(rig.staging.Point(1, 0), kDarkRed);
    QCOMPARE(rig.staging.Point(39, 38), rgb(240, 240, 240));
    QCOMPARE(rig.staging.Point(40, 39), kWhite);
    QCOMPARE(rig.staging.Point(1, 40), kWhite);
}

void TestImport::selectionPartlyOutsideReadsWhite()
{
    ImportRig rig;
    ImageSurface capture(50, 40, kBlack);
    handOverSelection(*rig.state, capture, {-5, -4, 10, 12});
    stageImport(*rig.state, rig.staging);
    rig.build();
    // Inside pixels are those of surface columns 0..9 and rows 0..11, which
    // land at x = 5..14 and y = 3..14; everything read outside is white.
    QCOMPARE(rig.state->pointCount, 10 * 12);
    QCOMPARE(rig.staging.Point(4, 3), kWhite);
    QCOMPARE(rig.staging.Point(5, 2), kWhite);
    QCOMPARE(rig.staging.Point(5, 3), kBlack);
    QCOMPARE(rig.staging.Point(14, 14), kBlack);
    QCOMPARE(rig.staging.Point(15, 14), kWhite);
    QCOMPARE(rig.state->modelPoints[0][Horizontal], 5.0 - 130.0 + 87.0);
    QCOMPARE(rig.state->modelPoints[0][Vertical], 130.0 - 3.0 - 87.0);
}

void TestImport::thinSelectionsGiveEmptyModel_data()
{
    QTest::addColumn<Selection>("selection");
    QTest::addColumn<int>("height");
    QTest::newRow("one pixel apart across") << Selection {10, 10, 11, 60} << 48;
    QTest::newRow("one pixel apart down: no inside rows") << Selection {10, 10, 60, 11} << -1;
    QTest::newRow("a single point") << Selection {10, 10, 10, 10} << -2;
}

void TestImport::thinSelectionsGiveEmptyModel()
{
    QFETCH(Selection, selection);
    QFETCH(int, height);
    ImportRig rig;
    ImageSurface capture(100, 100, kBlack);
    handOverSelection(*rig.state, capture, selection);
    QCOMPARE(int(rig.state->importHeight), height);
    rig.staging.PSet(30, 30, kBlack); // left over from an earlier import
    stageImport(*rig.state, rig.staging);
    rig.build();
    QCOMPARE(rig.state->pointCount, 0);
}

void TestImport::widestSelectionClipsLastColumn()
{
    ImportRig rig;
    ImageSurface capture(400, 300, kBlack);
    handOverSelection(*rig.state, capture, {0, 0, 190, 190});
    QCOMPARE(rig.state->importHeight, qint16(188));

    stageImport(*rig.state, rig.staging);
    rig.build();
    // Inside columns land at x = 1..189; x = 189 lies beyond a 189-wide area.
    QCOMPARE(rig.state->pointCount, 188 * 189);

    ImageSurface wider(191, 189, kWhite);
    stageImport(*rig.state, wider);
    buildModelFromPicture(*rig.state, wider, rig.view);
    QCOMPARE(rig.state->pointCount, 189 * 189);
}

QTEST_APPLESS_MAIN(TestImport)
#include "tst_import.moc"
