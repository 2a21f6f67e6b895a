#include "conversions.h"
#include "image_surface.h"
#include "program_state.h"
#include "startup.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void toIntegerRounding_data();
    void toIntegerRounding();
    void leadingNumberOfCaption_data();
    void leadingNumberOfCaption();
    void shortestDecimalText_data();
    void shortestDecimalText();
    void startUpState();
};

void TestConversions::toIntegerRounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even down") << 130.5 << 130;
    QTest::newRow("half to even up") << 131.5 << 132;
    QTest::newRow("negative half") << -2.5 << -2;
    QTest::newRow("saturates high") << 1e12 << 32767;
    QTest::newRow("saturates low") << -1e12 << -32768;
    QTest::newRow("NaN is 0") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestConversions::toIntegerRounding()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(toInteger(value)), expected);
}

void TestConversions::leadingNumberOfCaption_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "365" << 365.0;
    QTest::newRow("negative") << "-15" << -15.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("leading blank") << " 7" << 7.0;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestConversions::leadingNumberOfCaption()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(leadingNumber(text.toStdString()), expected);
}

void TestConversions::shortestDecimalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 5.0 << "5";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("beyond a full turn") << 370.0 << "370";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << 0.5 << "0.5";
}

void TestConversions::shortestDecimalText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(shortestDecimal(value)), text);
    QCOMPARE(leadingNumber(shortestDecimal(value)), value);
}

void TestConversions::startUpState()
{
    auto state = std::make_unique<ProgramState>();
    QCOMPARE(state->openMode.value(), 0.0);
    QVERIFY(!state->openMode.isSet());
    QCOMPARE(state->strokeStartX.value(), 0.0);

    ImageSurface view(261, 261, kWhite);
    resetForStartUp(*state, view);
    QCOMPARE(int(state->viewCenterX), 130); // 130.5 rounds to the even neighbour
    QCOMPARE(int(state->viewCenterY), 130);
    QCOMPARE(state->pointCount, 0);
    QCOMPARE(state->modelPoints[0][Depth], 1000.0);
    QCOMPARE(state->modelPoints[kMaxPoints - 1][Vertical], 1000.0);
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
