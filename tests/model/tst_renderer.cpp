#include "literal_turn.h"

#include "image_surface.h"
#include "renderer.h"

#include <QTest>

#include <limits>
#include <memory>
#include <random>

constexpr Colour kRed = 0x000000FF;

// Points coloured kRed, kRed + 1, ... in order, about the view centre (130, 130).
static std::unique_ptr<ProgramState> stateWith(std::initializer_list<Coords> points)
{
    auto state = std::make_unique<ProgramState>();
    state->viewCenterX = state->viewCenterY = 130;
    for (const Coords &point : points) {
        state->pointColors[state->pointCount] = kRed + state->pointCount;
        state->modelPoints[state->pointCount++] = point;
    }
    return state;
}

static int nonWhitePixels(const ImageSurface &surface)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(surface.image().constBits());
    return int(std::count_if(pixels, pixels + 261 * 261, [](QRgb c) { return c != 0xFFFFFFFF; }));
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
        QTest::newRow("L2 alone leaves a horizontal-axis point")
            << Coords {0, -10, 0} << 0.0 << 30.0 << Coords {0, -10, 0};
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
        QTest::newRow("front view") << 0.0 << 0.0;
        QTest::newRow("quarter turns") << 90.0 << -90.0;
        QTest::newRow("365 is not wrapped to 5") << 365.0 << -365.0;
        QTest::newRow("many clicks and a fraction") << 3650.0 << 12.5;
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

    void drawing()
    {
        auto state = stateWith({{0, 10, 5}, {0, -30, -40}, {0, -50, -40}});
        ImageSurface surface(261, 261, kWhite);
        renderView(*state, surface, 90, 0);
        QCOMPARE(surface.Point(130, 125), kRed);
        QCOMPARE(surface.Point(130, 170), kRed + 2); // the later point overwrites
        QCOMPARE(nonWhitePixels(surface), 2);
        state->pointCount = 0;
        renderView(*state, surface, 10, 10);
        QCOMPARE(nonWhitePixels(surface), 0);
    }

    void brokenCoordinatesAreNotDrawn()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        auto state = stateWith({{nan, 10, 5},
                                {0, nan, 5},
                                {0, 10, nan},
                                {0, HUGE_VAL, 5},
                                {0, 10, -HUGE_VAL},
                                {0, -20, -30}});
        ImageSurface surface(261, 261, kWhite);
        renderView(*state, surface, 30, 20);
        QCOMPARE(nonWhitePixels(surface), 1); // only the sound point
    }
};

QTEST_APPLESS_MAIN(TestRenderer)
#include "tst_renderer.moc"
