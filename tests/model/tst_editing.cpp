#include "editing.h"
#include "program_state.h"

#include <QTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(Coordinate)

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void depthSelection_data();
    void depthSelection();
    void dragDirectionDoesNotMatter();
    void depthReplacesAndKeepsTheRest();
    void transformsComposition_data();
    void transformsComposition();
    void transformsGiveTheModelBack();
    void shiftThereAndBack_data();
    void shiftThereAndBack();
    void shiftThenTurnTurnsAboutTheViewCentre();

private:
    void setStroke(double x1, int y1, double x2, int y2);
    std::unique_ptr<ProgramState> state_;
};

void TestEditing::init()
{
    state_ = std::make_unique<ProgramState>();
    state_->viewCenterX = 130;
    state_->viewCenterY = 130;
}

void TestEditing::setStroke(double x1, int y1, double x2, int y2)
{
    state_->strokeStartX.set(x1);
    state_->strokeStartY = std::int16_t(y1);
    state_->strokeEndX.set(x2);
    state_->strokeEndY = std::int16_t(y2);
    orderStrokeCorners(*state_);
}

void TestEditing::depthSelection_data()
{
    // Stroke from (100, 100) to (160, 150) on the surface: model x from -30 to 30,
    // model y from 30 down to -20.
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("selected");
    QTest::newRow("centre of the rectangle") << 0.0 << 0.0 << true;
    QTest::newRow("on the left outline") << -30.0 << 0.0 << false;
    QTest::newRow("on the right outline") << 30.0 << 0.0 << false;
    QTest::newRow("on the top outline") << 0.0 << 30.0 << false;
    QTest::newRow("on the bottom outline") << 0.0 << -20.0 << false;
    QTest::newRow("just inside the left outline") << -29.5 << 0.0 << true;
    QTest::newRow("just inside the bottom outline") << 0.0 << -19.99 << true;
    QTest::newRow("outside to the right") << 45.0 << 0.0 << false;
    QTest::newRow("above") << 0.0 << 31.0 << false;
}

void TestEditing::depthSelection()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, selected);
    setStroke(100, 100, 160, 150);
    QCOMPARE(insideStroke(*state_, {7.0, x, y}), selected);
}

void TestEditing::dragDirectionDoesNotMatter()
{
    state_->pointCount = 400;
    for (int i = 0; i < 400; ++i)
        state_->modelPoints[i] = {0.0, double(i % 20 * 5 - 50), double(i / 20 * 5 - 50)};

    setStroke(160, 150, 100, 100); // lower right to upper left
    auto reversed = std::make_unique<ProgramState>(*state_);
    applyDepth(*reversed, 9.0);
    setStroke(100, 100, 160, 150);
    applyDepth(*state_, 9.0);
    int selected = 0;
    for (int i = 0; i < 400; ++i) {
        QCOMPARE(reversed->modelPoints[i][Depth], state_->modelPoints[i][Depth]);
        selected += state_->modelPoints[i][Depth] == 9.0;
    }
    QCOMPARE(selected, 11 * 9); // x -25..25 (11 values), y -15..25 (9 values)

    // A rectangle of zero width or zero height selects nothing.
    for (const auto &[x2, y2] : {std::pair{100.0, 150}, std::pair{160.0, 100}}) {
        auto flat = std::make_unique<ProgramState>(*state_);
        flat->strokeStartX.set(100);
        flat->strokeStartY = 100;
        flat->strokeEndX.set(x2);
        flat->strokeEndY = std::int16_t(y2);
        applyDepth(*flat, 42.0);
        for (int i = 0; i < 400; ++i)
            QVERIFY(flat->modelPoints[i][Depth] != 42.0);
    }
}

void TestEditing::depthReplacesAndKeepsTheRest()
{
    state_->pointCount = 3;
    state_->modelPoints[0] = {99.0, 0.0, 0.0};    // inside
    state_->modelPoints[1] = {-4.0, 100.0, 0.0};  // outside
    state_->modelPoints[2] = {1.0, 1.5, -2.25};   // inside
    state_->modelPoints[3] = {5.0, 0.0, 0.0};     // inside the rectangle but beyond pointCount
    state_->pointColors = {};
    setStroke(100, 100, 160, 150);
    applyDepth(*state_, 15.0);
    QCOMPARE(state_->modelPoints[0], (Coords{15.0, 0.0, 0.0}));
    QCOMPARE(state_->modelPoints[1], (Coords{-4.0, 100.0, 0.0}));
    QCOMPARE(state_->modelPoints[2], (Coords{15.0, 1.5, -2.25}));
    QCOMPARE(state_->modelPoints[3][Depth], 5.0);
    applyDepth(*state_, 0.0); // a slider value of 0 flattens
    QCOMPARE(state_->modelPoints[0][Depth], 0.0);
    QCOMPARE(state_->modelPoints[2][Depth], 0.0);
}

void TestEditing::transformsComposition_data()
{
    QTest::addColumn<QString>("steps"); // k = quarter turn, m = mirror
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("turn: right of centre goes above") << "k" << 0.0 << 10.0;
    QTest::newRow("mirror") << "m" << -10.0 << 0.0;
    QTest::newRow("mirror then turn: (x, y) to (-y, -x)") << "mk" << -3.0 << -10.0;
    QTest::newRow("turn then mirror: (x, y) to (y, x)") << "km" << 3.0 << 10.0;
    QTest::newRow("two turns: half turn") << "kk" << -10.0 << -3.0;
}

void TestEditing::transformsComposition()
{
    QFETCH(QString, steps);
    QFETCH(double, x);
    QFETCH(double, y);
    state_->pointCount = 1;
    state_->modelPoints[0] = {5.0, 10.0, steps == "k" || steps == "m" ? 0.0 : 3.0};
    for (QChar step : steps)
        step == 'k' ? turnQuarter(*state_) : mirrorLeftRight(*state_);
    QCOMPARE(state_->modelPoints[0], (Coords{5.0, x, y}));
}

void TestEditing::transformsGiveTheModelBack()
{
    state_->pointCount = kMaxPoints;
    for (int i = 0; i < kMaxPoints; ++i) {
        state_->modelPoints[i] = {i * 0.25, std::sin(i) * 1e3, -0.0 + std::cos(i) * 77.7};
        state_->pointColors[i] = i * 7919;
    }
    const auto original = std::make_unique<ProgramState>(*state_);
    for (int turn = 0; turn < 4; ++turn)
        turnQuarter(*state_);
    QVERIFY(state_->modelPoints == original->modelPoints);
    mirrorLeftRight(*state_);
    QVERIFY(state_->modelPoints != original->modelPoints);
    mirrorLeftRight(*state_);
    QVERIFY(state_->modelPoints == original->modelPoints);
    QVERIFY(state_->pointColors == original->pointColors);
    QCOMPARE(state_->pointCount, kMaxPoints);
}

void TestEditing::shiftThereAndBack_data()
{
    QTest::addColumn<Coordinate>("axis");
    QTest::newRow("left then right") << Horizontal;
    QTest::newRow("up then down") << Vertical;
}

void TestEditing::shiftThereAndBack()
{
    QFETCH(Coordinate, axis);
    state_->pointCount = kMaxPoints;
    for (int i = 0; i < kMaxPoints; ++i)
        state_->modelPoints[i] = {double(i % 7), double(i % 301 - 150), double(i % 203 - 100)};
    const auto original = std::make_unique<ProgramState>(*state_);
    shiftModel(*state_, axis, -10.0);
    QCOMPARE(state_->modelPoints[kMaxPoints - 1][axis], original->modelPoints[kMaxPoints - 1][axis] - 10.0);
    shiftModel(*state_, axis, 10.0);
    QVERIFY(state_->modelPoints == original->modelPoints);
}

void TestEditing::shiftThenTurnTurnsAboutTheViewCentre()
{
    state_->pointCount = 1;
    state_->modelPoints[0] = {2.0, 0.0, 0.0};
    shiftModel(*state_, Horizontal, 10.0);
    turnQuarter(*state_);
    QCOMPARE(state_->modelPoints[0], (Coords{2.0, -0.0, 10.0}));
}

QTEST_APPLESS_MAIN(TestEditing)
#include "tst_editing.moc"
