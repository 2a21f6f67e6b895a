#include "image_surface.h"
#include "import.h"

#include <QTest>

#include <tuple>
#include <vector>

static constexpr ViewCentre kCentre {130, 130};

// Hands the selection over, stages it and builds the model, as the main window does.
static Model importFrom(const ImageSurface &capture, Selection selection, ImageSurface &staging)
{
    stageImport(ImportGrid::read(capture, selection), staging);
    return buildModelFromPicture(staging, kViewSize, kViewSize, kCentre);
}

// The selection limit is met through the capture window and the command line.
class TestImport : public QObject {
    Q_OBJECT

private slots:
    // Columns from the left, each top down; S = T = 261 / 3; light (all channels >= 192) skipped.
    void modelFromKnownPicture()
    {
        ImageSurface staging(kStagingSize, kStagingSize, kWhite);
        const Colour cyan = 0xFFFFBF; // 0x00BBGGRR: red 191
        staging.plot(1, 0, 0);
        staging.plot(0, 5, cyan);
        staging.plot(3, 3, 0xC0C0C0); // 192 each: light
        const Model model = buildModelFromPicture(staging, kViewSize, kViewSize, kCentre);
        std::vector<std::tuple<double, double, double, Colour>> points;
        for (std::int32_t n = 0; n < model.count(); ++n) {
            const Coords &p = model.points[std::size_t(n)];
            points.emplace_back(p[Depth], p[Horizontal], p[Vertical],
                                model.colours[std::size_t(n)]);
        }
        const decltype(points) expected = {{0.0, -43.0, 38.0, cyan}, {0.0, -42.0, 43.0, 0}};
        QCOMPARE(points, expected);
    }

    // The grid holds the outline's columns; staging leaves them out.
    void gridIncludesOutlineColumns()
    {
        ImageSurface capture(581, 413, kWhite);
        capture.drawBox(20, 30, 60, 71, kBlue);
        capture.plot(21, 31, 0); // first inside pixel
        capture.plot(60, 70, 0); // last inside row, right-hand outline column
        const ImportGrid grid = ImportGrid::read(capture, {20, 30, 60, 71});
        QCOMPARE(grid.at(0, 0), kBlue); // left outline column, first inside row
        QCOMPARE(grid.at(40, 39), 0);
        ImageSurface staging(kStagingSize, kStagingSize, kWhite);
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
};

QTEST_APPLESS_MAIN(TestImport)
#include "tst_import.moc"
