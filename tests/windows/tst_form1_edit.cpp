#include "test_support.h"

#include <QPushButton>
#include <QScrollBar>

// The depth tool, the transforms and the moves through the main window's handlers.
class TestForm1Edit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void onlyTheLeftButtonStartsADrag_data();
    void onlyTheLeftButtonStartsADrag();
    void dragApplyAndRedo();
    void pressAndReleaseWithoutMovementReusesTheLastCorner();
    void commandsShowTheFrontView_data();
    void commandsShowTheFrontView();

private:
    void drag(float x1, float y1, float x2, float y2)
    {
        w_->form->Picture1_MouseDown(1, 0, x1, y1);
        w_->form->Picture1_MouseMove(1, 0, x2, y2);
        w_->form->Picture1_MouseUp(1, 0, x2, y2);
    }
    std::unique_ptr<MainWindow> w_;
};

void TestForm1Edit::init()
{
    // A red point at the view centre and a green one 50 pixels to its right.
    w_ = std::make_unique<MainWindow>();
    w_->setModel({{{0, 0, 0}, 0x0000FF}, {{0, 50, 0}, 0x00FF00}});
}

void TestForm1Edit::onlyTheLeftButtonStartsADrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestForm1Edit::onlyTheLeftButtonStartsADrag()
{
    QFETCH(Qt::MouseButton, button);
    w_->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_->form.get()));
    const bool left = button == Qt::LeftButton;
    QTest::mousePress(w_->form->picture1(), button, {}, QPoint(102, 102));
    QCOMPARE(w_->state->strokeActive, std::uint8_t(left));
    QCOMPARE(w_->enabled("mnuYarinaosi"), left);
    // Releasing any button ends a drag and readies the depth button.
    QTest::mouseRelease(w_->form->picture1(), button, {}, QPoint(102, 102));
    QCOMPARE(w_->state->strokeActive, std::uint8_t(0));
    QVERIFY(w_->enabled("Command27"));
}

void TestForm1Edit::dragApplyAndRedo()
{
    w_->setAngles("30", "-5");
    w_->form->findChild<QScrollBar *>("HScroll1")->setValue(37);
    QCOMPARE(w_->caption("Lslider"), QStringLiteral("37"));
    drag(150, 140, 110, 120); // from lower right to upper left
    QCOMPARE(w_->caption("Lsu1"), QStringLiteral("0"));
    QCOMPARE(w_->viewPixel(130, 130), qRgb(255, 0, 0)); // front view, unturned
    for (const QPoint corner : {QPoint(110, 120), QPoint(150, 140)})
        QCOMPARE(w_->viewPixel(corner.x(), corner.y()), qRgb(0, 0, 255));
    QCOMPARE(w_->viewPixel(130, 121), qRgb(255, 255, 255)); // one pixel wide
    QCOMPARE(QList<double>({w_->state->strokeStartX.value(), w_->state->strokeEndX.value(),
                            double(w_->state->strokeStartY), double(w_->state->strokeEndY)}),
             QList<double>({110, 150, 120, 140}));

    w_->form->mnuYarinaosi_Click(); // erases the outline; the depth button still applies
    QCOMPARE(w_->viewPixel(150, 140), qRgb(255, 255, 255));
    QVERIFY(!w_->enabled("mnuYarinaosi"));
    QVERIFY(w_->enabled("Command27"));
    w_->form->Command27_Click();
    QCOMPARE(w_->state->modelPoints[0][Depth], 37.0);
    QCOMPARE(w_->state->modelPoints[1][Depth], 0.0);
    QVERIFY(!w_->enabled("Command27"));
}

void TestForm1Edit::pressAndReleaseWithoutMovementReusesTheLastCorner()
{
    drag(100, 100, 160, 160);
    w_->setAngles("45", "10");
    const QImage before = w_->form->picture1()->surface().image();
    w_->form->Picture1_MouseDown(1, 0, 185, 125);
    w_->form->Picture1_MouseUp(1, 0, 185, 125);
    QCOMPARE(w_->form->picture1()->surface().image(), before); // no redraw
    QCOMPARE(w_->caption("Lsu1"), QStringLiteral("45"));
    // The rectangle (160, 125)-(185, 160) holds the green point's front-view place.
    w_->form->Command27_Click();
    QCOMPARE(w_->state->modelPoints[1][Depth], 15.0);
    QCOMPARE(w_->state->modelPoints[0][Depth], 0.0);
}

void TestForm1Edit::commandsShowTheFrontView_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QPoint>("green"); // where the point (50, 0) is drawn afterwards
    QTest::newRow("turn 90 degrees") << "mnuKaiten" << QPoint(130, 80);
    QTest::newRow("mirror") << "mnuSayuu" << QPoint(80, 130);
    QTest::newRow("move left") << "Copl" << QPoint(170, 130);
    QTest::newRow("move right") << "Copr" << QPoint(190, 130);
    QTest::newRow("move up") << "Copu" << QPoint(180, 120);
    QTest::newRow("move down") << "Copd" << QPoint(180, 140);
}

void TestForm1Edit::commandsShowTheFrontView()
{
    QFETCH(QString, command);
    QFETCH(QPoint, green);
    w_->setAngles("17", "-20");
    if (QAction *action = findAction(w_->form.get(), command))
        action->trigger();
    else
        QTest::mouseClick(w_->form->findChild<QPushButton *>(command), Qt::LeftButton);
    QCOMPARE(w_->caption("Lsu1") + w_->caption("Lsu2"), QStringLiteral("00"));
    QCOMPARE(w_->viewPixel(green.x(), green.y()), qRgb(0, 255, 0));
    QCOMPARE(w_->state->pointCount, 2);
}

ZUVORAK_WINDOW_TEST_MAIN(TestForm1Edit)
#include "tst_form1_edit.moc"
