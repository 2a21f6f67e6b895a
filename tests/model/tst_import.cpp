#include "image_surface.h"
#include "import.h"

#include <QTest>

#include <memory>
#include <tuple>
#include <vector>

Q_DECLARE_METATYPE(Selection)

constexpr Colour rgb(int r, int g, int b)
{
    return Colour(r | (g << 8) | (b << 16));
}

// The main window's 261 x 261 view centred at 130, its 189 x 189 staging area, and a capture.
struct Rig {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    ImageSurface view {261, 261, kWhite};
    ImageSurface staging {189, 189, kWhite};

    Rig() { state->viewCenterX = state->viewCenterY = 130; }
    // Hands the selection over, stages it and builds the model; the point count.
    int import(const ImageSurface &capture, Selection selection)
    {
        handOverSelection(*state, capture, selection);
        stageImport(*state, staging);
        buildModelFromPicture(*state, staging, view);
        return state->pointCount;
    }
};

class TestImport : public QObject {
    Q_OBJECT

private slots:
    void selectionLimit_data()
    {
        QTest::addColumn<Selection>("released");
        QTest::addColumn<bool>("tooLarge");
        QTest::newRow("190 on both axes, dragged up-left") << Selection {195, 197, 5, 7} << false;
        QTest::newRow("191 across, dragged right to left") << Selection {196, 7, 5, 197} << true;
        QTest::newRow("191 down, dragged upwards") << Selection {5, 198, 195, 7} << true;
        QTest::newRow("extreme corners do not overflow") << Selection {32767, 0, -32768, 0} << true;
    }
    void selectionLimit()
    {
        QFETCH(Selection, released);
        QFETCH(bool, tooLarge);
        QCOMPARE(exceedsSelectionLimit(orderedCorners(released)), tooLarge);
    }

    // Column by column from the left, top to bottom; S = T = 261 / 3 = 87; only dark pixels.
    void modelFromKnownPicture()
    {
        Rig rig;
        const Colour red = rgb(150, 20, 20), navy = rgb(20, 30, 120), cyan = rgb(191, 255, 255);
        rig.staging.PSet(5, 3, red);
        rig.staging.PSet(1, 7, navy);
        rig.staging.PSet(5, 1, 0);
        rig.staging.PSet(1, 0, 0);
        rig.staging.PSet(188, 188, cyan);
        rig.staging.PSet(3, 3, rgb(192, 192, 192));
        rig.state->pointCount = 77; // an earlier model is replaced, not extended
        buildModelFromPicture(*rig.state, rig.staging, rig.view);
        std::vector<std::tuple<double, double, double, Colour>> model;
        for (std::int32_t n = 0; n < rig.state->pointCount; ++n) {
            const Coords &p = rig.state->modelPoints[n];
            model.emplace_back(p[Depth], p[Horizontal], p[Vertical], rig.state->pointColors[n]);
        }
        const decltype(model) expected = {{0.0, -42.0, 43.0, 0},
                                          {0.0, -42.0, 36.0, navy},
                                          {0.0, -38.0, 42.0, 0},
                                          {0.0, -38.0, 40.0, red},
                                          {0.0, 145.0, -145.0, cyan}};
        QCOMPARE(model, expected);
    }

    void offsetsInSinglePrecision()
    {
        Rig rig;
        rig.state->viewCenterX = rig.state->viewCenterY = 50;
        rig.staging.PSet(0, 0, 0);
        buildModelFromPicture(*rig.state, rig.staging, ImageSurface(100, 100, kWhite));
        QCOMPARE(rig.state->modelPoints[0][Horizontal], double(-50.0f + 100.0f / 3.0f));
        QCOMPARE(rig.state->modelPoints[0][Vertical], double(50.0f - 100.0f / 3.0f));
    }

    void gridIncludesOutlineColumns()
    {
        Rig rig;
        ImageSurface capture(581, 413, kWhite);
        capture.Line(20, 30, 60, 71, kBlue);
        capture.PSet(21, 31, 0); // first inside pixel
        capture.PSet(60, 70, 0); // last inside row, right-hand outline column
        QCOMPARE(rig.import(capture, {20, 30, 60, 71}), 1);
        QCOMPARE(rig.state->importGrid[0][0], kBlue); // left outline column, first inside row
        QCOMPARE(rig.state->importGrid[40][39], 0);
        QCOMPARE(rig.staging.Point(0, 0), kWhite); // the outline columns are not staged
        QCOMPARE(rig.staging.Point(1, 0), 0);
        QCOMPARE(rig.staging.Point(40, 39), kWhite);
    }

    void selectionEdges_data()
    {
        QTest::addColumn<Selection>("selection");
        QTest::addColumn<int>("points");
        QTest::newRow("partly outside: only the 10 x 12 pixels inside")
            << Selection {-5, -4, 10, 12} << 120;
        QTest::newRow("one pixel apart across") << Selection {10, 10, 11, 60} << 0;
        QTest::newRow("one pixel apart down") << Selection {10, 10, 60, 11} << 0;
        QTest::newRow("a single point") << Selection {10, 10, 10, 10} << 0;
        QTest::newRow("widest: the last column clipped") << Selection {0, 0, 190, 190} << 188 * 189;
    }
    void selectionEdges()
    {
        QFETCH(Selection, selection);
        QFETCH(int, points);
        Rig rig;
        rig.staging.PSet(30, 30, 0); // left over from an earlier import
        QCOMPARE(rig.import(ImageSurface(400, 300, 0), selection), points);
    }
};

QTEST_APPLESS_MAIN(TestImport)
#include "tst_import.moc"
