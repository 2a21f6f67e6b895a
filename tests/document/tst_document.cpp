#include "document.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cmath>

static const QString kCorpus = QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/");

// A red point at the view centre and a green one 50 pixels to its right.
static Model twoPoints()
{
    return {{{0, 0, 0}, {0, 50, 0}}, {0x0000FF, 0x00FF00}};
}

// Coordinates no step may round: fractions, -0, NaN, a huge value; colours 0, 1, 2, ...
static Model awkwardModel()
{
    Model model;
    for (int i = 0; i < 400; ++i) {
        model.points.push_back({double(i % 3), i % 20 * 5.0 - 50 + 0.1, i / 20 * 5.0 - 50});
        model.colours.push_back(i);
    }
    model.points[7] = {std::nan(""), -0.0, 1e300};
    return model;
}

static QByteArray bits(const Document &document)
{
    const std::vector<std::uint8_t> bytes = ModelFile::encode(document.model());
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    // Every step undone gives the model back bit for bit, and redone gives its result again.
    void undoAndRedo_data()
    {
        QTest::addColumn<QString>("step");
        for (const char *step :
             {"import", "depth", "quarter turn", "mirror", "move whole", "move fractions"})
            QTest::newRow(step) << QString(step);
    }
    void undoAndRedo()
    {
        QFETCH(QString, step);
        Document document;
        document.importModel(awkwardModel());
        const QByteArray before = bits(document);
        if (step == "import") {
            document.importModel(twoPoints());
        } else if (step == "depth") {
            document.pressStroke(60, 60);
            document.dragStroke(200, 200);
            document.releaseStroke();
            document.applyDepth();
        } else if (step == "quarter turn") {
            document.turnQuarter();
        } else if (step == "mirror") {
            document.mirror();
        } else {
            document.move(step.endsWith("whole") ? Vertical : Horizontal, 10);
        }
        const QByteArray after = bits(document);
        QVERIFY(after != before);
        document.turnBy(20, 5);
        document.history()->undo();
        QCOMPARE(bits(document), before);
        QVERIFY(document.hasModel());
        QCOMPARE(document.turn() + document.tilt(), 0.0); // shown as after the step
        document.history()->redo();
        QCOMPARE(bits(document), after);
        document.history()->undo();
        QCOMPARE(bits(document), before);
    }

    // The first import undone leaves the program without a model again.
    void historyAndModified()
    {
        Document document;
        QSignalSpy modified(&document, &Document::modifiedChanged);
        document.importModel(twoPoints());
        QVERIFY(document.isModified() && document.hasModel());
        document.history()->undo();
        QVERIFY(!document.isModified() && !document.hasModel());
        document.history()->redo();
        QTemporaryDir dir;
        QVERIFY(document.save(dir.filePath("two.chs")).ok());
        QVERIFY(!document.isModified());
        document.mirror();
        QVERIFY(!document.open(kCorpus + "negative-count.chs").ok());
        QVERIFY(document.isModified() && document.history()->canUndo()); // a failed open
        QVERIFY(document.open(dir.filePath("two.chs")).ok());
        QVERIFY(!document.isModified() && !document.history()->canUndo()); // a fresh history
        QCOMPARE(modified.count(), 6);
    }

    // The swing goes round the square one axis at a time and comes home diagonally.
    void swingAnimation()
    {
        Document document;
        document.advanceAnimation(); // stopped: nothing happens
        QCOMPARE(document.animationPhase(), 0);
        document.toggleAnimation();
        QList<QPoint> frames;
        for (int i = 0; i < 37; ++i) {
            document.advanceAnimation();
            frames << QPoint(int(document.turn()), int(document.tilt()));
        }
        QCOMPARE(frames.first(), QPoint(0, 0));
        QCOMPARE(frames.last(), frames.first()); // 36 frames, then again
        const QList<QPoint> corners = {frames[4], frames[8], frames[16], frames[24], frames[32]};
        QCOMPARE(corners, (QList<QPoint> {{20, 0}, {20, 20}, {-20, 20}, {-20, -20}, {20, -20}}));
        for (int i = 0; i < 36; ++i) {
            const QPoint step = frames[i + 1] - frames[i];
            const bool homeward = i >= 32;
            const QPoint expected = homeward ? QPoint(5, 5) : QPoint(5, 0);
            QVERIFY2(
                QPoint(std::abs(step.x()), std::abs(step.y())) == expected
                    || (!homeward && QPoint(std::abs(step.y()), std::abs(step.x())) == expected),
                qPrintable(QStringLiteral("step after frame %1").arg(i)));
        }
        // Stopping keeps the phase: the next start shows the frame after the last one shown.
        document.toggleAnimation();
        document.advanceAnimation();
        document.toggleAnimation();
        document.advanceAnimation();
        QCOMPARE(QPoint(int(document.turn()), int(document.tilt())), QPoint(5, 0));
    }

    void strokeStates()
    {
        Document document;
        document.importModel(twoPoints());
        QSignalSpy erase(&document, &Document::canEraseStrokeChanged);
        QSignalSpy apply(&document, &Document::canApplyDepthChanged);
        document.turnBy(30, -5);
        document.pressStroke(150, 140); // from lower right to upper left
        QVERIFY(document.canEraseStroke() && !document.canApplyDepth());
        document.dragStroke(110, 120);
        QVERIFY(document.showsFrontView() && document.strokeShown());
        QCOMPARE(document.turn() + document.tilt(), 0.0);
        document.releaseStroke();
        QVERIFY(document.canApplyDepth());
        QCOMPARE(document.stroke().startX, 110.0f);
        QCOMPARE(document.stroke().endY, 140);
        document.eraseStroke(); // the outline goes, the depth button still applies
        QVERIFY(!document.strokeShown() && !document.canEraseStroke() && document.canApplyDepth());
        document.setDepthValue(37);
        document.applyDepth();
        QCOMPARE(document.model().points[0][Depth], 37.0);
        QCOMPARE(document.model().points[1][Depth], 0.0);
        QVERIFY(!document.canApplyDepth());
        QCOMPARE(erase.count(), 2);
        QCOMPARE(apply.count(), 2);
    }

    // A press and release without movement keeps the last corner and the angles.
    void pressAndReleaseWithoutMovement()
    {
        Document document;
        document.importModel(twoPoints());
        document.pressStroke(100, 100);
        document.dragStroke(160, 160);
        document.releaseStroke();
        document.turnBy(45, 10);
        document.pressStroke(185, 125);
        document.releaseStroke();
        QVERIFY(!document.showsFrontView());
        document.applyDepth(); // the rectangle (160, 125)-(185, 160) holds the green point
        QCOMPARE(document.model().points[1][Depth], 15.0);
        QCOMPARE(document.model().points[0][Depth], 0.0);
        QCOMPARE(document.turn(), 45.0); // shown unturned, angles kept
        QVERIFY(document.showsFrontView());
    }

    // A refused file changes nothing; a file without colours takes those the points last had.
    void openFiles()
    {
        Document document;
        QSignalSpy models(&document, &Document::modelChanged);
        QVERIFY(!document.open(kCorpus + "records-cut-short.chs").ok());
        QVERIFY(!document.hasModel() && document.fileName().isEmpty() && models.isEmpty());

        document.importModel({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0x111111, 0x222222, 0x333333}});
        document.importModel({}); // an import of no dark pixel still gives a model
        QVERIFY(document.hasModel() && document.model().count() == 0);
        QVERIFY(document.open(kCorpus + "legacy-without-colours.chs").ok());
        QCOMPARE(document.model().colours, (std::vector<Colour> {0x111111, 0x222222}));
        QCOMPARE(document.fileName(), kCorpus + "legacy-without-colours.chs");

        QTemporaryDir dir;
        QVERIFY(!document.save(dir.filePath("missing/x.chs")).ok());
        QCOMPARE(document.fileName(), kCorpus + "legacy-without-colours.chs");
        QVERIFY(document.save(dir.filePath("x.chs")).ok());
        QCOMPARE(document.fileName(), dir.filePath("x.chs"));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
