#include "application.h"
#include "form1.h"
#include "picture_box.h"
#include "renderer.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>

namespace {

// A 41 x 41 square with a raised 21 x 21 middle, coloured by depth, so every
// turn moves some points and the raised part separates from the rest.
void buildRelief(ProgramState &state)
{
    state.pointCount = 0;
    for (int y = -20; y <= 20; ++y) {
        for (int x = -20; x <= 20; ++x) {
            const bool raised = std::abs(x) <= 10 && std::abs(y) <= 10;
            state.modelPoints[state.pointCount] = {raised ? 30.0 : 0.0, double(x), double(y)};
            state.pointColors[state.pointCount] = raised ? 0x000000C0 : 0x00804000;
            ++state.pointCount;
        }
    }
}

} // namespace

class TestForm1View : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void turnButtons_data();
    void turnButtons();
    void leftThenRightRestoresView();
    void frontViewRedrawsWhenAlreadyFront();
    void animationStartsAtFrontAndWraps();
    void animationPathStepsAroundSquare();
    void restartContinuesAfterLastFrame();
    void clickLastsUntilNextTick();
    void animationRunsDuringModalDialog();

private:
    QLabel *label(const char *name) const { return form_->findChild<QLabel *>(name); }
    QPushButton *button(const char *name) const { return form_->findChild<QPushButton *>(name); }
    QImage picture() const { return form_->picture1()->surface().image(); }
    QImage expectedPicture(double turn, double tilt) const;
    void tick(int times);

    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
};

void TestForm1View::init()
{
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
    // The real timer must not add ticks of its own except where a test waits for it.
    form_->findChild<QTimer *>("Timer1")->stop();
    buildRelief(*state_);
    form_->enableModelCommands();
    form_->RedrawModel();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestForm1View::cleanup()
{
    form_.reset();
    state_.reset();
}

QImage TestForm1View::expectedPicture(double turn, double tilt) const
{
    auto copy = std::make_unique<ProgramState>(*state_);
    ImageSurface surface(261, 261, kWhite);
    renderView(*copy, surface, turn, tilt);
    return surface.image();
}

void TestForm1View::tick(int times)
{
    for (int i = 0; i < times; ++i)
        form_->Timer1_Timer();
}

void TestForm1View::turnButtons_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("lsu1");
    QTest::addColumn<QString>("lsu2");

    QStringList seventyThree;
    for (int i = 0; i < 73; ++i)
        seventyThree << "Cokl2";
    QTest::newRow("73 large left steps are not wrapped") << seventyThree << "365"
                                                         << "0";
    QTest::newRow("small left steps count by one") << QStringList {"Cokl", "Cokl", "Cokl"} << "3"
                                                   << "0";
    QTest::newRow("right goes below zero") << QStringList {"Cokr", "Cokr2"} << "-6"
                                           << "0";
    QTest::newRow("up and down turn only Lsu2")
        << QStringList {"Coku2", "Coku", "Cokd", "Cokd", "Cokd2", "Cokd2"} << "0"
        << "-6";
    QTest::newRow("front view zeroes both") << QStringList {"Cokl2", "Coku", "Cosyoumen"} << "0"
                                            << "0";
    QTest::newRow("front view then more steps")
        << QStringList {"Cokr2", "Cosyoumen", "Coku", "Cokl"} << "1"
        << "1";
}

void TestForm1View::turnButtons()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, lsu1);
    QFETCH(QString, lsu2);
    for (const QString &name : clicks)
        QTest::mouseClick(button(qPrintable(name)), Qt::LeftButton);
    QCOMPARE(label("Lsu1")->text(), lsu1);
    QCOMPARE(label("Lsu2")->text(), lsu2);
    QCOMPARE(picture(), expectedPicture(lsu1.toDouble(), lsu2.toDouble()));
}

void TestForm1View::leftThenRightRestoresView()
{
    QTest::mouseClick(button("Cokr2"), Qt::LeftButton);
    QTest::mouseClick(button("Coku2"), Qt::LeftButton);
    const QImage before = picture();
    QTest::mouseClick(button("Cokl"), Qt::LeftButton);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("-4"));
    QVERIFY(picture() != before);
    QTest::mouseClick(button("Cokr"), Qt::LeftButton);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("-5"));
    QCOMPARE(picture(), before);
}

void TestForm1View::frontViewRedrawsWhenAlreadyFront()
{
    form_->picture1()->surface().Cls();
    QTest::mouseClick(button("Cosyoumen"), Qt::LeftButton);
    QCOMPARE(picture(), expectedPicture(0, 0));
}

void TestForm1View::animationStartsAtFrontAndWraps()
{
    QTest::mouseClick(button("Cokl2"), Qt::LeftButton);
    tick(1);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("5")); // stopped: the tick did nothing
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    QCOMPARE(button("Coanime")->text(), QStringLiteral("アニメを止める"));
    tick(1);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("0"));
    QCOMPARE(picture(), expectedPicture(0, 0));
    tick(35);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("5"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("-5"));
    QCOMPARE(state_->animationPhase, qint16(0));
    tick(1);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("0"));
}

void TestForm1View::animationPathStepsAroundSquare()
{
    // Each frame is one step of 5 on one axis, or on both along the diagonal
    // home; the corners of the square come in the right order.
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    QList<QPoint> frames;
    for (int i = 0; i < 36; ++i) {
        tick(1);
        frames << QPoint(label("Lsu1")->text().toInt(), label("Lsu2")->text().toInt());
    }
    for (int i = 0; i < 36; ++i) {
        const QPoint step = frames[(i + 1) % 36] - frames[i];
        QVERIFY2(std::abs(step.x()) == 5 || std::abs(step.y()) == 5,
                 qPrintable(QString::number(i)));
        QVERIFY(std::abs(step.x()) <= 5 && std::abs(step.y()) <= 5);
        QVERIFY(std::abs(frames[i].x()) <= 20 && std::abs(frames[i].y()) <= 20);
    }
    QCOMPARE(frames[4], QPoint(20, 0));
    QCOMPARE(frames[8], QPoint(20, 20));
    QCOMPARE(frames[16], QPoint(-20, 20));
    QCOMPARE(frames[24], QPoint(-20, -20));
    QCOMPARE(frames[32], QPoint(20, -20));
}

void TestForm1View::restartContinuesAfterLastFrame()
{
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    tick(13);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("20"));
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    QCOMPARE(button("Coanime")->text(), QStringLiteral("アニメーション"));
    const QImage stopped = picture();
    tick(3);
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("20"));
    QCOMPARE(picture(), stopped);
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    tick(1);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("-5"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("20"));
    QCOMPARE(picture(), expectedPicture(-5, 20));
}

void TestForm1View::clickLastsUntilNextTick()
{
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    tick(2);
    QTest::mouseClick(button("Coku2"), Qt::LeftButton);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("5"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("5"));
    QCOMPARE(picture(), expectedPicture(5, 5));
    tick(1);
    QCOMPARE(label("Lsu1")->text(), QStringLiteral("10"));
    QCOMPARE(label("Lsu2")->text(), QStringLiteral("0"));
    QCOMPARE(picture(), expectedPicture(10, 0));
}

void TestForm1View::animationRunsDuringModalDialog()
{
    form_->findChild<QTimer *>("Timer1")->start();
    QTest::mouseClick(button("Coanime"), Qt::LeftButton);
    QDialog dialog(form_.get());
    QTimer::singleShot(1300, &dialog, &QDialog::accept);
    dialog.exec();
    // Two ticks at 500 ms fit into 1300 ms with room to spare: frames 0 and 1 shown.
    QVERIFY2(state_->animationPhase >= 2, qPrintable(QString::number(state_->animationPhase)));
    QCOMPARE(label("Lsu1")->text(), QString::number(5 * (state_->animationPhase - 1)));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestForm1View test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_form1_view.moc"
