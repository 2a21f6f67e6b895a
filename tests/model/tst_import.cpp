#include "image_surface.h"
#include "import.h"

#include <QTest>

#include <memory>
#include <tuple>
#include <vector>

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
    // 190 pixels on both axes are allowed, 191 across are not; the press may be at any corner.
    void selectionLimit()
    {
        QVERIFY(!exceedsSelectionLimit(orderedCorners({195, 197, 5, 7})));
        QVERIFY(exceedsSelectionLimit(orderedCorners({196, 7, 5, 197})));
    }

    // Columns from the left, each top down; S = T = 261 / 3; light (all channels >= 192) skipped.
    void modelFromKnownPicture()
    {
        Rig rig;
        const Colour cyan = 0xFFFFBF; // 0x00BBGGRR: red 191
        rig.staging.PSet(1, 0, 0); // Picture2's pixel (1, 0)
        rig.staging.PSet(0, 5, cyan);
        rig.staging.PSet(3, 3, 0xC0C0C0); // 192 each: light
        rig.state->pointCount = 77; // an earlier model is replaced, not extended
        buildModelFromPicture(*rig.state, rig.staging, rig.view);
        std::vector<std::tuple<double, double, double, Colour>> model;
        for (std::int32_t n = 0; n < rig.state->pointCount; ++n) {
            const Coords &p = rig.state->modelPoints[n];
            model.emplace_back(p[Depth], p[Horizontal], p[Vertical], rig.state->pointColors[n]);
        }
        const decltype(model) expected = {{0.0, -43.0, 38.0, cyan}, {0.0, -42.0, 43.0, 0}};
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

    // The grid holds the outline's columns; staging leaves them out.
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
        Rig rig;
        rig.staging.PSet(30, 30, 0); // left over from an earlier import
        QCOMPARE(rig.import(ImageSurface(400, 300, 0), selection), points);
    }
};

QTEST_APPLESS_MAIN(TestImport)
#include "tst_import.moc"
