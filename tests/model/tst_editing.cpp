#include "editing.h"

#include <QTest>

#include <cstring>
#include <memory>

// Applies steps in order: k = quarter turn, m = mirror, l/r/u/d = shift by 10.
static void edit(ProgramState &state, const QString &steps)
{
    for (const QChar step : steps) {
        if (step == 'k')
            turnQuarter(state);
        else if (step == 'm')
            mirrorLeftRight(state);
        else
            shiftModel(state, step == 'l' || step == 'r' ? Horizontal : Vertical,
                       step == 'l' || step == 'd' ? -10.0 : 10.0);
    }
}

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    // Points 5 apart from (-50, -50) to (45, 45) at depth 1; a stroke dragged from (x1, y1) to
    // (x2, y2) on the surface, centre (130, 130); how many points take the new depth.
    void depthStroke_data()
    {
        QTest::addColumn<QLine>("drag");
        QTest::addColumn<double>("depth");
        QTest::addColumn<int>("selected");
        QTest::newRow("strictly inside x -30..30, y -20..30")
            << QLine(100, 100, 160, 150) << 9.0 << 99;
        QTest::newRow("dragged up-left") << QLine(160, 150, 100, 100) << 9.0 << 99;
        QTest::newRow("dragged up-right, depth 0 flattens")
            << QLine(100, 150, 160, 100) << 0.0 << 99;
        QTest::newRow("zero width selects nothing") << QLine(100, 100, 100, 150) << 9.0 << 0;
        QTest::newRow("zero height selects nothing") << QLine(100, 100, 160, 100) << 9.0 << 0;
    }
    void depthStroke()
    {
        QFETCH(QLine, drag);
        QFETCH(double, depth);
        QFETCH(int, selected);
        auto state = std::make_unique<ProgramState>();
        state->viewCenterX = state->viewCenterY = 130;
        for (int i = 0; i < 400; ++i)
            state->modelPoints[i] = {1.0, i % 20 * 5.0 - 50, i / 20 * 5.0 - 50};
        state->modelPoints[400] = {1.0, 0.0, 0.0}; // inside, but beyond the count
        state->pointCount = 400;
        state->strokeStartX.set(drag.x1());
        state->strokeStartY = std::int16_t(drag.y1());
        state->strokeEndX.set(drag.x2());
        state->strokeEndY = std::int16_t(drag.y2());
        orderStrokeCorners(*state);
        applyDepth(*state, depth);
        int changed = 0;
        for (int i = 0; i <= 400; ++i) {
            changed += state->modelPoints[i][Depth] != 1.0;
            QVERIFY(state->modelPoints[i][Depth] == 1.0 || state->modelPoints[i][Depth] == depth);
        }
        QCOMPARE(changed, selected);
    }

    // A point at depth 5 moves from `from` to `to`; where they agree, the whole model of
    // 100000 points, its colours included, must come back bit for bit.
    void transforms_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::newRow("turn: (x, y) to (-y, x)") << "k" << QPointF(10, 3) << QPointF(-3, 10);
        QTest::newRow("mirror: x to -x") << "m" << QPointF(10, 3) << QPointF(-10, 3);
        QTest::newRow("mirror then turn: (-y, -x)") << "mk" << QPointF(10, 3) << QPointF(-3, -10);
        QTest::newRow("turn then mirror: (y, x)") << "km" << QPointF(10, 3) << QPointF(3, 10);
        QTest::newRow("shift then turn: about the centre")
            << "rk" << QPointF(0, 0) << QPointF(0, 10);
        QTest::newRow("four turns") << "kkkk" << QPointF(10, 3) << QPointF(10, 3);
        QTest::newRow("two mirrors") << "mm" << QPointF(10, 3) << QPointF(10, 3);
        QTest::newRow("left then right") << "lr" << QPointF(10, 3) << QPointF(10, 3);
        QTest::newRow("up then down") << "ud" << QPointF(10, 3) << QPointF(10, 3);
    }
    void transforms()
    {
        QFETCH(QString, steps);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        auto state = std::make_unique<ProgramState>();
        for (int i = 0; i < kMaxPoints; ++i) {
            state->modelPoints[i] = {i % 7 * 0.25, i % 301 - 150.25, i % 203 - 100.5};
            state->pointColors[i] = i * 7919;
        }
        state->modelPoints[0] = {5.0, from.x(), from.y()};
        state->pointCount = kMaxPoints;
        const auto original = std::make_unique<ProgramState>(*state);
        edit(*state, steps);
        QCOMPARE(state->modelPoints[0], (Coords {5.0, to.x(), to.y()}));
        QVERIFY(state->pointColors == original->pointColors);
        if (from == to)
            QVERIFY(
                std::memcmp(&state->modelPoints, &original->modelPoints, sizeof(state->modelPoints))
                == 0);
    }
};

QTEST_APPLESS_MAIN(TestEditing)
#include "tst_editing.moc"
