#include "colour_groups.h"
#include "document.h"
#include "readers.h"
#include "view_state.h"

#include <QUndoStack>

#include <cmath>

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

// A red point at the view centre and a green one 50 pixels to its right.
static const Model kTwoPoints = {{{0, 0, 0}, {0, 50, 0}}, {0x0000FF, 0x00FF00}};

static QByteArray bits(const Document &document)
{
    return asBytes(ModelFile::encode(document.model()));
}

// The strokes' states and the depth tool: through the main window, in tst_windows.
class TestDocument : public QObject {
    Q_OBJECT

private slots:
    // Every step shows the model unturned, and undone gives it back bit for bit, redone
    // its result again; a step that changes nothing is no step and leaves the file unmodified.
    void everyStep_data()
    {
        QTest::addColumn<bool>("changes"); // the step is the row's name
        for (const char *step :
             {"import", "depth", "quarter turn", "mirror", "move whole", "move fractions", "centre",
              "depth by colour", "depth by brightness"})
            QTest::newRow(step) << true;
        for (const char *step : {"depth over no point", "move by 0", "depth by colour, none given"})
            QTest::newRow(step) << false;
    }
    void everyStep()
    {
        const QString step = QTest::currentDataTag();
        QFETCH(bool, changes);
        // Coordinates no step may round: fractions, -0, NaN, a huge value; inks for which other
        // orders of the brightness formula round otherwise.
        const Colour inks[] = {0x1414C8, 0x1E9614, 0xA01E0A};
        Model awkward;
        for (int i = 0; i < 400; ++i) {
            awkward.points.push_back({double(i % 3), i % 20 * 5.0 - 50 + 0.1, i / 20 * 5.0 - 50});
            awkward.colours.push_back(inks[i % 7 % 3]);
        }
        awkward.points[7] = {std::nan(""), -0.0, 1e300};
        Document document;
        ViewState view(document);
        document.importModel(awkward);
        document.history()->setClean();
        const QByteArray before = bits(document);
        view.turnBy(20, 5);
        const ColourGrouping grouping = groupColours(awkward.colours, 3);
        const std::vector<std::optional<double>> depths {12.5, {}, 0.1};
        const BrightnessDepths range {3.1, 77.7};
        if (step == "import")
            document.importModel(kTwoPoints);
        else if (step == "quarter turn")
            document.turnQuarter();
        else if (step == "mirror")
            document.mirror();
        else if (step.startsWith("depth by colour"))
            document.setDepthsByColour(grouping.groupOf,
                                       changes ? depths : std::vector<std::optional<double>>(3));
        else if (step == "depth by brightness")
            document.setDepthsByBrightness(range);
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
            document.move(step.endsWith("fractions") ? 10 : 0, step.endsWith("0") ? 0 : 10);
        else { // a stroke over most of the view or over its empty corner, then its depth
            const int from = changes ? 60 : 2, to = changes ? 200 : 20;
            view.pressStroke(from, from);
            view.dragStroke(to, to);
            view.releaseStroke();
            view.setStrokeDepth();
        }
        QVERIFY(view.showsFrontView() || view.turn() + view.tilt() == 0);
        const QByteArray after = bits(document);
        QCOMPARE(after != before, changes);
        QCOMPARE(document.isModified(), changes);
        QCOMPARE(document.history()->count(), 1 + changes);
        if (!changes)
            return;
        // The points of a group given a depth take it, the rest keep theirs, and nothing else
        // changes; brightness gives the formula's depth to the last bit.
        Model expected = awkward;
        for (std::size_t i = 0; step.startsWith("depth by") && i < awkward.points.size(); ++i) {
            const Colour c = awkward.colours[i];
            const std::size_t group = std::size_t(grouping.groupOf[i]);
            QCOMPARE(grouping.groups[group].swatch, c); // each ink its own group
            const double y
                = (299.0 * (c & 0xFF) + 587.0 * (c >> 8 & 0xFF) + 114.0 * (c >> 16)) / 1000;
            double &depth = expected.points[i][Depth];
            depth = step.endsWith("colour") ? depths[group].value_or(depth)
                                            : range.black + (range.white - range.black) * y / 255;
        }
        QVERIFY(!step.startsWith("depth by") || after == asBytes(ModelFile::encode(expected)));
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

    // The first import undone leaves no model and stops the animation, whose button goes with
    // the model; opening a file starts a fresh history, and a file without colours takes those
    // the points last had. Each change of the modified state is told once.
    void historyFilesAndColours()
    {
        Document document;
        ViewState view(document);
        QList<bool> told;
        connect(&document, &Document::modifiedChanged, [&](bool modified) { told << modified; });
        const auto tells = [&](const QList<bool> &expected) {
            QCOMPARE(told, expected);
            told.clear();
        };
        document.importModel({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0x111111, 0x222222, 0x333333}});
        QVERIFY(document.isModified() && document.hasModel());
        tells({true});
        view.toggleAnimation();
        document.history()->undo();
        QVERIFY(!document.isModified() && !document.hasModel() && !view.animationRunning());
        tells({false});
        document.history()->redo();
        tells({true});
        QTemporaryDir dir;
        QVERIFY(document.save(dir.filePath("three.chs")).ok() && !document.isModified());
        tells({false});
        QCOMPARE(document.fileName(), dir.filePath("three.chs"));
        document.mirror();
        tells({true});
        const QByteArray mirrored = bits(document);
        QVERIFY(!document.open(kCorpus + "negative-count.chs").ok()); // changes nothing
        QVERIFY(bits(document) == mirrored && document.isModified()
                && document.history()->canUndo());
        tells({});
        QVERIFY(document.open(kCorpus + "legacy-without-colours.chs").ok());
        QVERIFY(!document.isModified() && !document.history()->canUndo());
        tells({false});
        QCOMPARE(document.model().colours, (std::vector<Colour> {0x111111, 0x222222}));
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
