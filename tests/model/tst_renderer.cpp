#include "literal_turn.h"

#include "image_surface.h"
#include "renderer.h"

#include <QTest>

#include <memory>
#include <random>

// Points coloured 0, 1, 2, ... in order, about the view centre (130, 130).
static std::unique_ptr<ProgramState> stateWith(std::initializer_list<Coords> points)
{
    auto state = std::make_unique<ProgramState>();
    state->viewCenterX = state->viewCenterY = 130;
    for (const Coords &point : points) {
        state->pointColors[state->pointCount] = state->pointCount;
        state->modelPoints[state->pointCount++] = point;
    }
    return state;
}

class TestRenderer : public QObject {
    Q_OBJECT

private slots:
    void turnedPoint_data()
    {
        QTest::addColumn<Coords>("model");
        QTest::addColumn<double>("turn");
        QTest::addColumn<double>("tilt");
        QTest::addColumn<Coords>("expected");
        QTest::newRow("L1 90: the right side to the front")
            << Coords {0, 10, 5} << 90.0 << 0.0 << Coords {10, 0, 5};
        QTest::newRow("horizontal 0: first substitute")
            << Coords {5, 0, 0} << 0.0 << 0.0 << Coords {5, -0.01, 0};
        QTest::newRow("depth and horizontal 0: second substitute")
            << Coords {0, 0, 7} << 40.0 << 0.0 << Coords {-0.001, 0, 7};
        QTest::newRow("origin stays put") << Coords {0, 0, 0} << 37.0 << -123.0 << Coords {0, 0, 0};
    }
    void turnedPoint()
    {
        QFETCH(Coords, model);
        QFETCH(double, turn);
        QFETCH(double, tilt);
        QFETCH(Coords, expected);
        auto state = stateWith({model});
        turnModel(*state, turn, tilt);
        for (int c = 0; c < 3; ++c)
            QVERIFY2(std::fabs(state->viewPoints[0][c] - expected[c]) <= 1e-4,
                     qPrintable(QString::number(state->viewPoints[0][c], 'g', 17)));
    }

    void matchesCaseFormula_data()
    {
        QTest::addColumn<double>("turn");
        QTest::addColumn<double>("tilt");
        QTest::newRow("quarter turns") << 90.0 << -90.0;
        QTest::newRow("365 is not wrapped to 5") << 365.0 << -365.0;
    }
    void matchesCaseFormula()
    {
        QFETCH(double, turn);
        QFETCH(double, tilt);
        // Coordinates of a captured model's size: exactly 0 one time in eight, else whole or not.
        auto fast = std::make_unique<ProgramState>();
        std::mt19937 random(20240611);
        std::uniform_real_distribution<double> pick(-150.0, 150.0);
        for (Coords &point : fast->modelPoints)
            for (double &c : point) {
                const double f = pick(random);
                c = f < -112.5 ? 0.0 : f < 20 ? std::round(f) : f;
            }
        fast->modelPoints[0] = {0.0, -0.0, 0.0};
        fast->pointCount = kMaxPoints;
        auto plain = std::make_unique<ProgramState>(*fast);
        turnModel(*fast, turn, tilt);
        literal::turnModel(*plain, turn, tilt);
        for (std::int32_t i = 0; i < kMaxPoints; ++i)
            for (int c = 0; c < 3; ++c)
                if (!(std::fabs(fast->viewPoints[i][c] - plain->viewPoints[i][c]) <= 1e-9))
                    QFAIL(qPrintable(QStringLiteral("point %1 coordinate %2").arg(i).arg(c)));
    }

    // At L1 = 90, (0, 10, 5) shows 5 above the centre; NaN and infinite points are skipped.
    void drawing()
    {
        auto state = stateWith({{0, 10, 5},
                                {std::nan(""), 10, 5},
                                {0, HUGE_VAL, 5},
                                {0, 10, -HUGE_VAL},
                                {0, -30, -40},
                                {0, -50, -40}});
        ImageSurface surface(261, 261, kWhite);
        renderView(*state, surface, 90, 0);
        QImage expected = ImageSurface(261, 261, kWhite).image();
        expected.setPixel(130, 125, qRgb(0, 0, 0));
        expected.setPixel(130, 170, qRgb(5, 0, 0)); // the later point overwrites
        QCOMPARE(surface.image(), expected);
    }
};

QTEST_APPLESS_MAIN(TestRenderer)
#include "tst_renderer.moc"
