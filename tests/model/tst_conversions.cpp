#include "conversions.h"
#include "image_surface.h"
#include "startup.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    // Caption text, the number read from it, whether it is written back so, its 16-bit Integer.
    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("integer");
        QTest::newRow("whole") << "5" << 5.0 << true << 5;
        QTest::newRow("negative whole") << "-3" << -3.0 << true << -3;
        QTest::newRow("beyond a full turn") << "370" << 370.0 << true << 370;
        QTest::newRow("negative zero is written 0") << "0" << -0.0 << true << 0;
        QTest::newRow("fraction, shortest text") << "0.1" << 0.1 << true << 0;
        QTest::newRow("half to even, up") << "131.5" << 131.5 << true << 132;
        QTest::newRow("saturates high") << "1e+12" << 1e12 << true << 32767;
        QTest::newRow("saturates low") << "-1e+12" << -1e12 << true << -32768;
        QTest::newRow("NaN: read as 0, Integer 0")
            << "nan" << std::numeric_limits<double>::quiet_NaN() << true << 0;
        QTest::newRow("trailing text ignored") << "-15abc" << -15.0 << false << -15;
        QTest::newRow("leading blank and plus") << " +7" << 7.0 << false << 7;
        QTest::newRow("no number") << "abc" << 0.0 << false << 0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(bool, written);
        QFETCH(int, integer);
        QCOMPARE(leadingNumber(text.toStdString()), std::isnan(number) ? 0.0 : number);
        if (written)
            QCOMPARE(QString::fromStdString(shortestDecimal(number)), text);
        QCOMPARE(int(toInteger(number)), integer);
    }

    void startUpState()
    {
        auto state = std::make_unique<ProgramState>();
        resetForStartUp(*state, ImageSurface(261, 261, kWhite));
        QCOMPARE(state->viewCenterX, 130); // 130.5 rounds to the even neighbour
        QCOMPARE(state->modelPoints[kMaxPoints - 1], (Coords {1000.0, 1000.0, 1000.0}));
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
