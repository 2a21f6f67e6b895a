#include "application.h"
#include "form1.h"
#include "picture_box.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

// The depth tool, the transforms and the moves, driven through the main
// window's own handlers and checked on the model and on the drawn pixels.
class TestForm1Edit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void onlyTheLeftButtonStartsADrag_data();
    void onlyTheLeftButtonStartsADrag();
    void dragDrawsFrontViewAndOutline();
    void pressAndReleaseWithoutMovementReusesTheLastCorner();
    void yarinaosiErasesButDepthStillApplies();
    void sliderValueIsTheDepth_data();
    void sliderValueIsTheDepth();
    void commandsResetTheViewAngles_data();
    void commandsResetTheViewAngles();
    void fullModelIsShiftedAndDrawn();

private:
    QString caption(const char *name) const { return form_->findChild<QLabel *>(name)->text(); }
    bool enabled(const char *name) const;
    void setAngles(const char *l1, const char *l2);
    QRgb pixel(int x, int y) const { return form_->picture1()->surface().image().pixel(x, y); }

    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
};

bool TestForm1Edit::enabled(const char *name) const
{
    if (auto *action = form_->findChild<QAction *>(name))
        return action->isEnabled();
    return form_->findChild<QWidget *>(name)->isEnabled();
}

void TestForm1Edit::setAngles(const char *l1, const char *l2)
{
    form_->findChild<QLabel *>("Lsu1")->setText(l1);
    form_->findChild<QLabel *>("Lsu2")->setText(l2);
}

void TestForm1Edit::init()
{
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
    // A 3 x 3 block of red points around the view centre and one green point.
    state_->pointCount = 10;
    for (int i = 0; i < 9; ++i) {
        state_->modelPoints[i] = {0.0, double(i % 3 - 1), double(i / 3 - 1)};
        state_->pointColors[i] = 0x0000FF;
    }
    state_->modelPoints[9] = {0.0, 50.0, 0.0};
    state_->pointColors[9] = 0x00FF00;
    form_->enableModelCommands();
}

void TestForm1Edit::cleanup()
{
    form_.reset();
    state_.reset();
}

void TestForm1Edit::onlyTheLeftButtonStartsADrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("starts");
    QTest::newRow("left") << Qt::LeftButton << true;
    QTest::newRow("right") << Qt::RightButton << false;
    QTest::newRow("middle") << Qt::MiddleButton << false;
}

void TestForm1Edit::onlyTheLeftButtonStartsADrag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, starts);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    PictureBox *view = form_->picture1();
    // Widget positions include the 2-pixel border.
    QTest::mousePress(view, button, {}, QPoint(102, 102));
    QCOMPARE(state_->strokeActive, std::uint8_t(starts));
    QCOMPARE(enabled("mnuYarinaosi"), starts);
    QTest::mouseRelease(view, button, {}, QPoint(102, 102));
    // Releasing any button ends a drag and readies the depth button.
    QCOMPARE(state_->strokeActive, std::uint8_t(0));
    QVERIFY(enabled("Command27"));
}

void TestForm1Edit::dragDrawsFrontViewAndOutline()
{
    setAngles("30", "-5");
    form_->Picture1_MouseDown(1, 0, 150, 140);
    form_->Picture1_MouseMove(1, 0, 110, 120);
    QCOMPARE(caption("Lsu1"), QStringLiteral("0"));
    QCOMPARE(caption("Lsu2"), QStringLiteral("0"));
    QCOMPARE(pixel(130, 130), qRgb(255, 0, 0));   // front view, unturned
    QCOMPARE(pixel(180, 130), qRgb(0, 255, 0));
    for (const QPoint corner : {QPoint(110, 120), QPoint(150, 120), QPoint(110, 140), QPoint(150, 140)})
        QCOMPARE(pixel(corner.x(), corner.y()), qRgb(0, 0, 255));
    QCOMPARE(pixel(130, 121), qRgb(255, 255, 255)); // the outline is one pixel wide

    form_->Picture1_MouseUp(1, 0, 110, 120);
    QCOMPARE(state_->strokeStartX.value(), 110.0);
    QCOMPARE(state_->strokeEndX.value(), 150.0);
    QCOMPARE(int(state_->strokeStartY), 120);
    QCOMPARE(int(state_->strokeEndY), 140);
    QCOMPARE(pixel(150, 140), qRgb(0, 0, 255)); // the release does not redraw

    form_->Command27_Click();
    for (int i = 0; i < 9; ++i)
        QCOMPARE(state_->modelPoints[i][Depth], 15.0);
    QCOMPARE(state_->modelPoints[9][Depth], 0.0);
    QCOMPARE(pixel(150, 140), qRgb(255, 255, 255)); // the outline is gone
    QVERIFY(!enabled("Command27"));
    QVERIFY(!enabled("mnuYarinaosi"));
}

void TestForm1Edit::pressAndReleaseWithoutMovementReusesTheLastCorner()
{
    form_->Picture1_MouseDown(1, 0, 100, 100);
    form_->Picture1_MouseMove(1, 0, 160, 160);
    form_->Picture1_MouseUp(1, 0, 160, 160);
    setAngles("45", "10");
    const QImage before = form_->picture1()->surface().image();

    // A click at (185, 125): the rectangle runs to the old second corner (160, 160).
    form_->Picture1_MouseDown(1, 0, 185, 125);
    form_->Picture1_MouseUp(1, 0, 185, 125);
    QCOMPARE(form_->picture1()->surface().image(), before);
    QCOMPARE(caption("Lsu1"), QStringLiteral("45"));
    QCOMPARE(state_->strokeStartX.value(), 160.0);
    QCOMPARE(state_->strokeEndX.value(), 185.0);

    // Selection by front-view positions, whatever the view shows.
    form_->Command27_Click();
    QCOMPARE(state_->modelPoints[9][Depth], 15.0);
    QCOMPARE(state_->modelPoints[4][Depth], 0.0);
}

void TestForm1Edit::yarinaosiErasesButDepthStillApplies()
{
    form_->Picture1_MouseDown(1, 0, 120, 120);
    form_->Picture1_MouseMove(1, 0, 140, 140);
    form_->Picture1_MouseUp(1, 0, 140, 140);
    form_->mnuYarinaosi_Click();
    QVERIFY(!enabled("mnuYarinaosi"));
    QVERIFY(enabled("Command27"));
    QCOMPARE(pixel(120, 120), qRgb(255, 255, 255));
    form_->Command27_Click();
    QCOMPARE(state_->modelPoints[4][Depth], 15.0);
}

void TestForm1Edit::sliderValueIsTheDepth_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("zero flattens") << 0;
    QTest::newRow("top of the range") << 100;
    QTest::newRow("a middle value") << 37;
}

void TestForm1Edit::sliderValueIsTheDepth()
{
    QFETCH(int, value);
    state_->modelPoints[4][Depth] = 8.0;
    auto *slider = form_->findChild<QScrollBar *>("HScroll1");
    slider->setValue(value);
    QCOMPARE(caption("Lslider"), QString::number(value));
    form_->Picture1_MouseDown(1, 0, 120, 120);
    form_->Picture1_MouseMove(1, 0, 140, 140);
    form_->Picture1_MouseUp(1, 0, 140, 140);
    form_->Command27_Click();
    QCOMPARE(state_->modelPoints[4][Depth], double(value));
}

void TestForm1Edit::commandsResetTheViewAngles_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QPoint>("greenPixel"); // where the point (50, 0) is drawn afterwards
    QTest::newRow("turn 90 degrees") << "mnuKaiten" << QPoint(130, 80);
    QTest::newRow("mirror") << "mnuSayuu" << QPoint(80, 130);
    QTest::newRow("move left") << "Copl" << QPoint(170, 130);
    QTest::newRow("move right") << "Copr" << QPoint(190, 130);
    QTest::newRow("move up") << "Copu" << QPoint(180, 120);
    QTest::newRow("move down") << "Copd" << QPoint(180, 140);
}

void TestForm1Edit::commandsResetTheViewAngles()
{
    QFETCH(QString, command);
    QFETCH(QPoint, greenPixel);
    setAngles("17", "-20");
    if (auto *action = form_->findChild<QAction *>(command))
        action->trigger();
    else
        QTest::mouseClick(form_->findChild<QPushButton *>(command), Qt::LeftButton);
    QCOMPARE(caption("Lsu1"), QStringLiteral("0"));
    QCOMPARE(caption("Lsu2"), QStringLiteral("0"));
    QCOMPARE(pixel(greenPixel.x(), greenPixel.y()), qRgb(0, 255, 0));
    QCOMPARE(state_->pointColors[9], 0x00FF00);
    QCOMPARE(state_->pointCount, 10);
}

void TestForm1Edit::fullModelIsShiftedAndDrawn()
{
    state_->pointCount = kMaxPoints;
    for (int i = 0; i < kMaxPoints; ++i) {
        state_->modelPoints[i] = {0.0, double(i % 200 - 100), double(i / 200 % 200 - 100)};
        state_->pointColors[i] = i == kMaxPoints - 1 ? 0x0000FF : 0;
    }
    form_->Copr_Click();
    const Coords &last = state_->modelPoints[kMaxPoints - 1];
    QCOMPARE(last[Horizontal], 109.0); // 99 + 10
    // The last point is drawn, in its own colour, at its shifted place.
    QCOMPARE(pixel(130 + int(last[Horizontal]), 130 - int(last[Vertical])), qRgb(255, 0, 0));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestForm1Edit test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_form1_edit.moc"
