#include "renderer.h"
#include "test_support.h"

#include <QDialog>
#include <QPushButton>

#include <cstdlib>

class TestForm1View : public QObject {
    Q_OBJECT

private slots:
    void init();
    void turnButtons_data();
    void turnButtons();
    void animationCycle();
    void restartContinuesAndClicksLastUntilTheNextTick();
    void animationRunsDuringModalDialog();

private:
    void click(const char *name)
    {
        QTest::mouseClick(w_->form->findChild<QPushButton *>(name), Qt::LeftButton);
    }
    QPoint angles() const { return {w_->caption("Lsu1").toInt(), w_->caption("Lsu2").toInt()}; }
    void tick(int times = 1)
    {
        while (times--)
            w_->form->Timer1_Timer();
    }
    // The view as the renderer draws it for these angles, independent of the captions.
    QImage expectedView(QPoint angles) const;
    bool showsExpectedView() const
    {
        return w_->form->picture1()->surface().image() == expectedView(angles());
    }

    std::unique_ptr<MainWindow> w_;
};

void TestForm1View::init()
{
    w_ = std::make_unique<MainWindow>();
    w_->form->findChild<QTimer *>("Timer1")->stop(); // ticks come from the tests
    // A square with a raised middle, so every turn moves some points.
    for (int y = -20; y <= 20; ++y)
        for (int x = -20; x <= 20; ++x) {
            const bool raised = std::abs(x) <= 10 && std::abs(y) <= 10;
            w_->state->modelPoints[w_->state->pointCount]
                = {raised ? 30.0 : 0.0, double(x), double(y)};
            w_->state->pointColors[w_->state->pointCount++] = raised ? 0xC0 : 0x804000;
        }
    w_->form->enableModelCommands();
    w_->form->RedrawModel();
}

QImage TestForm1View::expectedView(QPoint angles) const
{
    auto copy = std::make_unique<ProgramState>(*w_->state);
    ImageSurface surface(261, 261, kWhite);
    renderView(*copy, surface, angles.x(), angles.y());
    return surface.image();
}

void TestForm1View::turnButtons_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QPoint>("angles");
    QStringList seventyThree;
    for (int i = 0; i < 73; ++i)
        seventyThree << "Cokl2";
    QTest::newRow("73 large left steps are not wrapped") << seventyThree << QPoint(365, 0);
    QTest::newRow("left then right gives the former view")
        << QStringList {"Cokr2", "Cokl", "Cokr"} << QPoint(-5, 0);
    QTest::newRow("up and down turn only Lsu2")
        << QStringList {"Coku2", "Coku", "Cokd", "Cokd2", "Cokd2"} << QPoint(0, -5);
    QTest::newRow("front view zeroes both, then steps go on")
        << QStringList {"Cokl2", "Coku", "Cosyoumen", "Cokl"} << QPoint(1, 0);
}

void TestForm1View::turnButtons()
{
    QFETCH(QStringList, clicks);
    QFETCH(QPoint, angles);
    w_->form->picture1()->surface().Cls(); // even an unchanged angle must redraw
    for (const QString &name : clicks)
        click(qPrintable(name));
    QCOMPARE(this->angles(), angles);
    QVERIFY(showsExpectedView());
}

void TestForm1View::animationCycle()
{
    click("Cokl2");
    tick(); // stopped: nothing happens
    QCOMPARE(angles(), QPoint(5, 0));
    click("Coanime");
    QCOMPARE(w_->form->findChild<QPushButton *>("Coanime")->text(),
             QStringLiteral("アニメを止める"));
    QList<QPoint> frames;
    for (int i = 0; i < 37; ++i) {
        tick();
        frames << angles();
    }
    QVERIFY(showsExpectedView());
    QCOMPARE(frames.first(), QPoint(0, 0)); // the first tick shows the front view
    QCOMPARE(frames.last(), frames.first()); // 36 frames, then again
    // Round the square from -20 to 20 in steps of 5, one axis at a time but for the way home.
    for (int i = 0; i < 36; ++i) {
        const QPoint step = frames[i + 1] - frames[i];
        QVERIFY(std::max(std::abs(step.x()), std::abs(step.y())) == 5);
        QVERIFY(std::abs(frames[i].x()) <= 20 && std::abs(frames[i].y()) <= 20);
    }
    const QList<QPoint> corners = {frames[4], frames[8], frames[16], frames[24], frames[32]};
    QCOMPARE(corners, (QList<QPoint> {{20, 0}, {20, 20}, {-20, 20}, {-20, -20}, {20, -20}}));
}

void TestForm1View::restartContinuesAndClicksLastUntilTheNextTick()
{
    click("Coanime");
    tick(13); // phases 0 .. 12 shown
    click("Coanime");
    QCOMPARE(w_->form->findChild<QPushButton *>("Coanime")->text(),
             QStringLiteral("アニメーション"));
    tick(3);
    QCOMPARE(angles(), QPoint(0, 20));
    click("Coanime");
    tick();
    QCOMPARE(angles(), QPoint(-5, 20)); // phase 13
    click("Cokd2");
    QCOMPARE(angles(), QPoint(-5, 15));
    QVERIFY(showsExpectedView());
    tick();
    QCOMPARE(angles(), QPoint(-10, 20));
    QVERIFY(showsExpectedView());
}

void TestForm1View::animationRunsDuringModalDialog()
{
    w_->form->findChild<QTimer *>("Timer1")->start();
    click("Coanime");
    QDialog dialog(w_->form.get());
    QTimer::singleShot(1300, &dialog, &QDialog::accept);
    dialog.exec();
    QVERIFY(w_->state->animationPhase >= 2); // two 500 ms ticks inside the dialog's loop
    QCOMPARE(angles().x(), 5 * (w_->state->animationPhase - 1));
}

ZUVORAK_WINDOW_TEST_MAIN(TestForm1View)
#include "tst_form1_view.moc"
