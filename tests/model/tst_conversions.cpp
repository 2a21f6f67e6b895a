#include "conversions.h"
#include "image_surface.h"
#include "startup.h"

#include <QTest>

#include <cmath>
#include <memory>

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    // A caption's text, the number read from it, the text written back, its 16-bit Integer.
    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("integer");
        QTest::newRow("blank, plus, trailing text") << " +5abc" << 5.0 << "5" << 5;
        QTest::newRow("negative") << "-3" << -3.0 << "-3" << -3;
        QTest::newRow("negative zero is written 0") << "-0" << -0.0 << "0" << 0;
        QTest::newRow("half to even, down") << "2.5" << 2.5 << "2.5" << 2;
        QTest::newRow("saturates") << "-1e12" << -1e12 << "-1e+12" << -32768;
        QTest::newRow("NaN reads 0, Integer 0") << "nan" << std::nan("") << "nan" << 0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(QString, written);
        QFETCH(int, integer);
        QCOMPARE(leadingNumber(text.toStdString()), std::isnan(number) ? 0.0 : number);
        QCOMPARE(QString::fromStdString(shortestDecimal(number)), written);
        QCOMPARE(int(toInteger(number)), integer);
    }

    void startUpViewCentre()
    {
        auto state = std::make_unique<ProgramState>();
        resetForStartUp(*state, ImageSurface(261, 261, kWhite));
        QCOMPARE(state->viewCenterX, 130); // 130.5 rounds to the even neighbour
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
