#include "conversions.h"
#include "editing.h"

#include <QTest>

#include <algorithm>

// Applies steps in order: k = quarter turn, m = mirror, l/r/u/d = shift by 10.
static void edit(Model &model, const QString &steps)
{
    for (const QChar step : steps) {
        if (step == 'k')
            turnQuarter(model);
        else if (step == 'm')
            mirrorLeftRight(model);
        else
            shiftModel(model,
                       step == 'l'   ? -10
                       : step == 'r' ? 10
                                     : 0,
                       step == 'd'   ? -10
                       : step == 'u' ? 10
                                     : 0);
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
        Model model;
        for (int i = 0; i < 400; ++i)
            model.points.push_back({1.0, i % 20 * 5.0 - 50, i / 20 * 5.0 - 50});
        model.colours.resize(400);
        replaceDepthsInside(model, strokeBetween(drag.x1(), drag.y1(), drag.x2(), drag.y2()),
                       kViewCentre, 9.0);
        QCOMPARE(int(std::count_if(model.points.begin(), model.points.end(),
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
        Model model;
        for (int i = 0; i < kMaxPoints; ++i)
            model.points.push_back({i % 7 * 0.25, i % 301 - 150.25, i % 203 - 100.5});
        model.points[0] = {5.0, from.x(), from.y()};
        const Model original = model;
        edit(model, steps);
        QCOMPARE(model.points[0], (Coords {5.0, to.x(), to.y()}));
        if (from == to) // no coordinate is 0 or NaN, so == is bit for bit here
            QVERIFY(model.points == original.points);
    }

    // A number, its shortest text and its 16-bit integer: halves to even, saturating.
    void numbers_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("integer");
        QTest::newRow("negative zero is written 0") << -0.0 << "0" << 0;
        QTest::newRow("half to even, down") << 2.5 << "2.5" << 2;
        QTest::newRow("half to even, up") << 3.5 << "3.5" << 4;
        QTest::newRow("saturates") << -1e12 << "-1e+12" << -32768;
        QTest::newRow("NaN gives 0") << std::nan("") << "nan" << 0;
    }
    void numbers()
    {
        QFETCH(double, number);
        QFETCH(QString, written);
        QFETCH(int, integer);
        QCOMPARE(QString::fromStdString(shortestDecimal(number)), written);
        QCOMPARE(int(saturatingInt16(number)), integer);
    }
};

QTEST_APPLESS_MAIN(TestEditing)
#include "tst_editing.moc"
