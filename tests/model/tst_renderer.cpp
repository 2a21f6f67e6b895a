#include "literal_turn.h"

#include "image_surface.h"
#include "program_state.h"
#include "renderer.h"

#include <QTest>

#include <limits>

#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr Colour kRed = 0x000000FF;
constexpr Colour kGreen = 0x0000FF00;

std::unique_ptr<ProgramState> stateWith(std::initializer_list<Coords> points)
{
    auto state = std::make_unique<ProgramState>();
    state->viewCenterX = 130;
    state->viewCenterY = 130;
    for (const Coords &point : points) {
        state->modelPoints[state->pointCount] = point;
        state->pointColors[state->pointCount] = kRed;
        ++state->pointCount;
    }
    return state;
}

// Integer and fractional coordinates of the sizes a captured model has, each
// coordinate exactly 0 one time in eight, and the origin among them.
void fillVariedModel(ProgramState &state)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> whole(-95, 95);
    std::uniform_real_distribution<double> fraction(-150.0, 150.0);
    std::uniform_int_distribution<int> eighth(0, 7);
    for (std::int32_t i = 0; i < kMaxPoints; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int pick = eighth(random);
            state.modelPoints[i][c] = pick == 0 ? 0.0 : pick < 5 ? whole(random) : fraction(random);
        }
    }
    state.modelPoints[0] = {0.0, 0.0, 0.0};
    state.modelPoints[1] = {-0.0, 0.0, -0.0};
    state.pointCount = kMaxPoints;
}

int nonWhitePixels(const ImageSurface &surface)
{
    int count = 0;
    for (int y = 0; y < 261; ++y)
        for (int x = 0; x < 261; ++x)
            count += surface.Point(float(x), float(y)) != kWhite;
    return count;
}

} // namespace

class TestRenderer : public QObject {
    Q_OBJECT

private slots:
    void turnedPoint_data();
    void turnedPoint();
    void anglesAreNotWrapped();
    void matchesCaseFormula_data();
    void matchesCaseFormula();
    void drawing();
    void emptyModelClearsPicture();
    void laterPointOverwrites();
    void brokenCoordinatesAreNotDrawn_data();
    void brokenCoordinatesAreNotDrawn();
};

void TestRenderer::turnedPoint_data()
{
    QTest::addColumn<Coords>("model");
    QTest::addColumn<double>("turn");
    QTest::addColumn<double>("tilt");
    QTest::addColumn<Coords>("expected");
    QTest::addColumn<double>("tolerance");

    QTest::newRow("L1 90 swings the right-hand side to the front")
        << Coords {0, 10, 5} << 90.0 << 0.0 << Coords {10, 0, 5} << 1e-4;
    QTest::newRow("L1 -90 swings it to the back")
        << Coords {0, 10, 5} << -90.0 << 0.0 << Coords {-10, 0, 5} << 1e-4;
    QTest::newRow("L1 0 keeps a point off the vertical axis")
        << Coords {7, -20, 3} << 0.0 << 0.0 << Coords {7, -20, 3} << 1e-4;
    QTest::newRow("horizontal 0 takes its angle from the substitute")
        << Coords {5, 0, 0} << 0.0 << 0.0 << Coords {5, -0.01, 0} << 1e-4;
    QTest::newRow("depth and horizontal 0 keep the vertical, second substitute")
        << Coords {0, 0, 7} << 40.0 << 0.0 << Coords {-0.001, 0, 7} << 5e-5;
    QTest::newRow("origin stays put")
        << Coords {0, 0, 0} << 37.0 << -123.0 << Coords {0, 0, 0} << 0.0;
    QTest::newRow("horizontal axis ignores L2, right")
        << Coords {0, 10, 0} << 0.0 << 30.0 << Coords {0, 10, 0} << 1e-4;
    QTest::newRow("horizontal axis ignores L2, left")
        << Coords {0, -10, 0} << 0.0 << -30.0 << Coords {0, -10, 0} << 1e-4;
    QTest::newRow("L2 90 lifts the front to the top")
        << Coords {10, 0, 0} << 0.0 << 90.0 << Coords {0, -0.01, 10} << 1e-3;
    QTest::newRow("L2 -90 drops the front to the bottom")
        << Coords {10, 0, 0} << 0.0 << -90.0 << Coords {0, -0.01, -10} << 1e-3;
}

void TestRenderer::turnedPoint()
{
    QFETCH(Coords, model);
    QFETCH(double, turn);
    QFETCH(double, tilt);
    QFETCH(Coords, expected);
    QFETCH(double, tolerance);

    auto state = stateWith({model});
    turnModel(*state, turn, tilt);
    const Coords &view = state->viewPoints[0];
    for (int c = 0; c < 3; ++c)
        QVERIFY2(std::fabs(view[c] - expected[c]) <= tolerance,
                 qPrintable(QStringLiteral("coordinate %1 is %2").arg(c).arg(view[c], 0, 'g', 17)));
    QCOMPARE(state->modelPoints[0], model);
}

void TestRenderer::anglesAreNotWrapped()
{
    // 360 degrees in the program's radians is not a whole turn, so 365 and 5
    // differ by a few thousandths of a pixel at radius 1000.
    auto wrapped = stateWith({{0, 1000, 0}});
    auto full = stateWith({{0, 1000, 0}});
    turnModel(*wrapped, 5, 0);
    turnModel(*full, 365, 0);
    const double gap = full->viewPoints[0][Depth] - wrapped->viewPoints[0][Depth];
    QVERIFY2(std::fabs(gap) > 1e-3 && std::fabs(gap) < 1e-2, qPrintable(QString::number(gap)));
}

void TestRenderer::matchesCaseFormula_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<double>("tilt");
    QTest::newRow("front view") << 0.0 << 0.0;
    QTest::newRow("one step each way") << 1.0 << -1.0;
    QTest::newRow("quarter turns") << 90.0 << -90.0;
    QTest::newRow("half turns") << -180.0 << 180.0;
    QTest::newRow("beyond a full turn") << 365.0 << -365.0;
    QTest::newRow("animation corner") << -20.0 << 20.0;
    QTest::newRow("many clicks and a fraction") << 3650.0 << 12.5;
}

void TestRenderer::matchesCaseFormula()
{
    QFETCH(double, turn);
    QFETCH(double, tilt);
    auto fast = std::make_unique<ProgramState>();
    fillVariedModel(*fast);
    auto plain = std::make_unique<ProgramState>(*fast);

    turnModel(*fast, turn, tilt);
    literal::turnModel(*plain, turn, tilt);
    for (std::int32_t i = 0; i < kMaxPoints; ++i) {
        for (int c = 0; c < 3; ++c) {
            const double got = fast->viewPoints[i][c];
            const double want = plain->viewPoints[i][c];
            if (!(std::fabs(got - want) <= 1e-9))
                QFAIL(qPrintable(QStringLiteral("point %1 coordinate %2: %3 instead of %4")
                                     .arg(i)
                                     .arg(c)
                                     .arg(got, 0, 'g', 17)
                                     .arg(want, 0, 'g', 17)));
        }
    }
}

void TestRenderer::drawing()
{
    auto state = stateWith({{0, 10, 5}, {0, -30, -40}});
    state->pointColors[1] = kGreen;
    state->viewPoints[2] = {7, 7, 7};
    ImageSurface surface(261, 261, kWhite);
    renderView(*state, surface, 90, 0);
    QCOMPARE(surface.Point(130, 125), kRed);
    QCOMPARE(surface.Point(130, 170), kGreen);
    QCOMPARE(nonWhitePixels(surface), 2);
    QCOMPARE(state->viewPoints[2], (Coords {7, 7, 7})); // beyond pointCount: untouched
}

void TestRenderer::emptyModelClearsPicture()
{
    auto state = stateWith({});
    ImageSurface surface(261, 261, kWhite);
    surface.PSet(3, 4, kRed);
    renderView(*state, surface, 10, 10);
    QCOMPARE(nonWhitePixels(surface), 0);
}

void TestRenderer::laterPointOverwrites()
{
    auto state = stateWith({{50, 20, 20}, {-50, 20, 20}});
    state->pointColors[1] = kGreen;
    ImageSurface surface(261, 261, kWhite);
    renderView(*state, surface, 0, 0);
    QCOMPARE(surface.Point(150, 110), kGreen);
    QCOMPARE(nonWhitePixels(surface), 1);
}

void TestRenderer::brokenCoordinatesAreNotDrawn_data()
{
    QTest::addColumn<int>("coordinate");
    QTest::addColumn<double>("value");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("NaN depth") << int(Depth) << nan;
    QTest::newRow("NaN horizontal") << int(Horizontal) << nan;
    QTest::newRow("NaN vertical") << int(Vertical) << nan;
    QTest::newRow("infinite horizontal") << int(Horizontal) << inf;
    QTest::newRow("infinite vertical") << int(Vertical) << -inf;
}

void TestRenderer::brokenCoordinatesAreNotDrawn()
{
    QFETCH(int, coordinate);
    QFETCH(double, value);
    auto state = stateWith({{0, 10, 5}, {0, -20, -30}});
    state->modelPoints[0][coordinate] = value;
    ImageSurface surface(261, 261, kWhite);
    renderView(*state, surface, 30, 20);
    QCOMPARE(nonWhitePixels(surface), 1); // only the sound point
}

QTEST_APPLESS_MAIN(TestRenderer)
#include "tst_renderer.moc"
