#include "editing.h"

#include <QTest>

#include <algorithm>
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
        applyDepth(*state, 9.0);
        QCOMPARE(int(std::count_if(state->modelPoints.begin(), state->modelPoints.end(),
                                   [](const Coords &point) { return point[Depth] == 9.0; })),
                 selected);
    }

    // Point 0 of a full model moves from `from` to `to`; if they agree, all come back exactly.
    void transforms_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::newRow("mirror then turn: (-y, -x)") << "mk" << QPointF(10, 3) << QPointF(-3, -10);
        QTest::newRow("turn then mirror: (y, x)") << "km" << QPointF(10, 3) << QPointF(3, 10);
        QTest::newRow("shift, turn about the centre") << "rk" << QPointF(0, 0) << QPointF(0, 10);
        QTest::newRow("four turns") << "kkkk" << QPointF(10, 3) << QPointF(10, 3);
        QTest::newRow("two mirrors") << "mm" << QPointF(10, 3) << QPointF(10, 3);
        QTest::newRow("left, up, right, down") << "lurd" << QPointF(10, 3) << QPointF(10, 3);
    }
    void transforms()
    {
        QFETCH(QString, steps);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        auto state = std::make_unique<ProgramState>();
        for (int i = 0; i < kMaxPoints; ++i)
            state->modelPoints[i] = {i % 7 * 0.25, i % 301 - 150.25, i % 203 - 100.5};
        state->modelPoints[0] = {5.0, from.x(), from.y()};
        state->pointCount = kMaxPoints;
        const auto original = std::make_unique<ProgramState>(*state);
        edit(*state, steps);
        QCOMPARE(state->modelPoints[0], (Coords {5.0, to.x(), to.y()}));
        if (from == to) // no coordinate is 0 or NaN, so == is bit for bit here
            QVERIFY(state->modelPoints == original->modelPoints);
    }
};

QTEST_APPLESS_MAIN(TestEditing)
#include "tst_editing.moc"
