#include "colour_groups.h"
#include "document.h"
#include "view_state.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <bit>
#include <cmath>

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

// A red point at the view centre and a green one 50 pixels to its right.
static const Model kTwoPoints = {{{0, 0, 0}, {0, 50, 0}}, {0x0000FF, 0x00FF00}};

static QByteArray bits(const Document &document)
{
    const std::vector<std::uint8_t> bytes = ModelFile::encode(document.model());
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

// The strokes' states and the depth tool are met through the main window, in tst_main_window.
class TestDocument : public QObject {
    Q_OBJECT

private slots:
    // Every step shows the model unturned, and undone gives it back bit for bit, redone
    // its result again.
    void undoAndRedo_data()
    {
        QTest::addColumn<QString>("step");
        for (const char *step :
             {"import", "depth", "quarter turn", "mirror", "move whole", "move fractions", "centre",
              "depth by colour", "depth by brightness"})
            QTest::newRow(step) << QString(step);
    }
    void undoAndRedo()
    {
        QFETCH(QString, step);
        Model awkward; // coordinates no step may round: fractions, -0, NaN, a huge value
        for (int i = 0; i < 400; ++i) {
            awkward.points.push_back({double(i % 3), i % 20 * 5.0 - 50 + 0.1, i / 20 * 5.0 - 50});
            awkward.colours.push_back(i);
        }
        awkward.points[7] = {std::nan(""), -0.0, 1e300};
        Document document;
        ViewState view(document);
        document.importModel(awkward);
        const QByteArray before = bits(document);
        view.turnBy(20, 5);
        if (step == "import")
            document.importModel(kTwoPoints);
        else if (step == "quarter turn")
            document.turnQuarter();
        else if (step == "mirror")
            document.mirror();
        else if (step == "depth by colour")
            document.setDepthsByColour(groupColours(awkward.colours, 3).groupOf,
                                       std::vector<std::optional<double>> {0.3, {}, 99});
        else if (step == "depth by brightness")
            document.setDepthsByBrightness({0.7, 33.3});
        else if (step == "centre") {
            document.centre(); // the middle of the finite points' box within half a pixel
            for (const Coordinate axis : {Horizontal, Vertical}) {
                double low = HUGE_VAL, high = -HUGE_VAL;
                for (const Coords &point : document.model().points)
                    if (std::isfinite(point[0] + point[1] + point[2]))
                        low = std::min(low, point[axis]), high = std::max(high, point[axis]);
                QVERIFY(std::abs(low / 2 + high / 2) <= 0.5);
            }
        } else if (step.startsWith("move"))
            document.move(step.endsWith("whole") ? 0 : 10, 10);
        else { // a stroke over most of the view, then its depth
            view.pressStroke(60, 60);
            view.dragStroke(200, 200);
            view.releaseStroke();
            view.setStrokeDepth();
        }
        QVERIFY(view.showsFrontView() || view.turn() + view.tilt() == 0);
        const QByteArray after = bits(document);
        QVERIFY(after != before);
        view.turnBy(20, 5);
        document.history()->undo();
        QCOMPARE(bits(document), before);
        QVERIFY(document.hasModel());
        QCOMPARE(view.turn() + view.tilt(), 0.0); // shown as after the step
        document.history()->redo();
        QCOMPARE(bits(document), after);
        document.history()->undo();
        QCOMPARE(bits(document), before);
    }

    // The first import undone leaves the program without a model again, and stops the
    // animation, whose button goes with the model; opening a file starts a fresh history, and a
    // file without colours takes those the points last had.
    void historyFilesAndColours()
    {
        Document document;
        ViewState view(document);
        QSignalSpy modified(&document, &Document::modifiedChanged);
        document.importModel({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0x111111, 0x222222, 0x333333}});
        QVERIFY(document.isModified() && document.hasModel());
        view.toggleAnimation();
        document.history()->undo();
        QVERIFY(!document.isModified() && !document.hasModel() && !view.animationRunning());
        document.history()->redo();
        QTemporaryDir dir;
        QVERIFY(document.save(dir.filePath("three.chs")).ok());
        QVERIFY(!document.isModified());
        QCOMPARE(document.fileName(), dir.filePath("three.chs"));
        document.mirror();
        const QByteArray mirrored = bits(document);
        QVERIFY(!document.open(kCorpus + "negative-count.chs").ok()); // changes nothing
        QVERIFY(bits(document) == mirrored && document.isModified()
                && document.history()->canUndo());
        QVERIFY(document.open(kCorpus + "legacy-without-colours.chs").ok());
        QVERIFY(!document.isModified() && !document.history()->canUndo());
        QCOMPARE(document.model().colours, (std::vector<Colour> {0x111111, 0x222222}));
        QCOMPARE(modified.count(), 6);
    }

    // The swing goes round the square one axis at a time, comes home diagonally in 36 frames.
    void swingAnimation()
    {
        Document document;
        ViewState view(document);
        view.advanceAnimation(); // stopped: nothing happens, not even the phase
        view.toggleAnimation();
        QList<QPoint> frames;
        for (int i = 0; i < 37; ++i) {
            view.advanceAnimation();
            frames << QPoint(int(view.turn()), int(view.tilt()));
        }
        QList<QPoint> expected {{0, 0}}; // 5 degrees a frame towards each corner in turn
        for (const QPoint corner : {QPoint(20, 0), QPoint(20, 20), QPoint(-20, 20),
                                    QPoint(-20, -20), QPoint(20, -20), QPoint(0, 0)})
            for (QPoint d; !(d = corner - expected.last()).isNull();)
                expected << expected.last() + QPoint(qBound(-5, d.x(), 5), qBound(-5, d.y(), 5));
        QCOMPARE(frames, expected);
        // Stopping keeps the phase: the next start shows the frame after the last one shown.
        view.toggleAnimation();
        view.advanceAnimation();
        view.toggleAnimation();
        view.advanceAnimation();
        QCOMPARE(QPoint(int(view.turn()), int(view.tilt())), QPoint(5, 0));
    }

    // Three colours, each its own group: the points of a group given a depth take it, the rest
    // keep theirs, and nothing else changes; brightness gives the formula's depth to the last bit.
    void depthsByColourAndBrightness()
    {
        const Colour inks[] = {0x1414C8, 0x1E9614, 0xA01E0A};
        Model three;
        for (int i = 0; i < 300; ++i) {
            three.points.push_back({i % 7 * 1.1, i % 20 - 10.25, i / 20 - 7.5});
            three.colours.push_back(inks[i % 3]);
        }
        Document document;
        ViewState view(document);
        document.importModel(three);
        view.turnBy(20, 5);
        const ColourGrouping grouping = groupColours(three.colours, 3);
        const std::vector<std::optional<double>> depths {12.5, {}, 0.1};
        document.setDepthsByColour(grouping.groupOf, depths);
        QVERIFY(view.showsFrontView());
        // Depths for which other orders of the formula round otherwise.
        const BrightnessDepths range {3.1, 77.7};
        const auto same = [](double a, double b) {
            return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
        };
        for (int i = 0; i < 300; ++i) {
            const int group = grouping.groupOf[std::size_t(i)];
            QCOMPARE(grouping.groups[std::size_t(group)].swatch, three.colours[std::size_t(i)]);
            Coords expected = three.points[std::size_t(i)];
            expected[Depth] = depths[std::size_t(group)].value_or(expected[Depth]);
            for (int axis = 0; axis < 3; ++axis)
                QVERIFY(same(document.model().points[std::size_t(i)][axis], expected[axis]));
        }
        QCOMPARE(document.model().colours, three.colours);
        document.setDepthsByBrightness(range);
        for (int i = 0; i < 300; ++i) {
            const Colour c = three.colours[std::size_t(i)];
            const double y
                = (299.0 * (c & 0xFF) + 587.0 * (c >> 8 & 0xFF) + 114.0 * (c >> 16)) / 1000;
            QVERIFY(same(document.model().points[std::size_t(i)][Depth],
                         range.black + (range.white - range.black) * y / 255));
        }
    }

    // A press and release without movement keeps the last corner and the angles.
    void pressAndReleaseWithoutMovement()
    {
        Document document;
        ViewState view(document);
        document.importModel(kTwoPoints);
        view.pressStroke(100, 100);
        view.dragStroke(160, 160);
        view.releaseStroke();
        view.turnBy(45, 10);
        view.pressStroke(185, 125);
        view.releaseStroke();
        QVERIFY(!view.showsFrontView());
        view.setStrokeDepth(); // the rectangle (160, 125)-(185, 160) holds the green point
        QCOMPARE(document.model().points[1][Depth], 15.0);
        QCOMPARE(document.model().points[0][Depth], 0.0);
        QCOMPARE(view.turn(), 45.0); // shown unturned, angles kept
        QVERIFY(view.showsFrontView());
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
