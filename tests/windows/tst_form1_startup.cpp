#include "test_support.h"

#include <QPushButton>
#include <QScrollBar>

class TestForm1StartUp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void control_data();
    void control();
    void menus();
    void windowAndTabOrder();
    void startUpState();
    void disabledCommandsIgnoreClicksAndTheTimerIdles();

private:
    std::unique_ptr<MainWindow> w_;
};

void TestForm1StartUp::init()
{
    w_ = std::make_unique<MainWindow>();
    w_->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_->form.get()));
}

void TestForm1StartUp::control_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, QRect geometry, bool enabled) {
        QTest::newRow(name) << QString(caption) << geometry << enabled;
    };
    row("Picture2", "", {8, 8, 193, 193}, true);
    row("Picture1", "", {216, 8, 265, 265}, true);
    row("Label2", "回転", {536, 0, 24, 12}, true);
    row("Coku2", "上", {536, 16, 25, 25}, false);
    row("Cosyoumen", "正面", {576, 16, 41, 25}, false);
    row("Coku", "上", {536, 40, 25, 25}, false);
    row("Cokl2", "左", {488, 64, 25, 25}, false);
    row("Cokl", "左", {512, 64, 25, 25}, false);
    row("Cokr", "右", {560, 64, 25, 25}, false);
    row("Cokr2", "右", {584, 64, 25, 25}, false);
    row("Cokd", "下", {536, 88, 25, 25}, false);
    row("Cokd2", "下", {536, 112, 25, 25}, false);
    row("Lsu1", "0", {504, 144, 41, 17}, true);
    row("Lsu2", "0", {552, 144, 41, 17}, true);
    row("Label1", "表示位置", {520, 192, 48, 12}, true);
    row("Copu", "上", {528, 208, 33, 25}, false);
    row("Copl", "左", {496, 232, 33, 25}, false);
    row("Copr", "右", {560, 232, 33, 25}, false);
    row("Copd", "下", {528, 256, 33, 25}, false);
    row("Lslider", "15", {88, 296, 41, 17}, true);
    row("HScroll1", "", {144, 296, 185, 17}, true);
    row("Command27", "奥行きをつける", {344, 296, 121, 25}, false);
    row("Coanime", "アニメーション", {496, 296, 97, 25}, false);
}

void TestForm1StartUp::control()
{
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    auto *widget = w_->form->findChild<QWidget *>(QTest::currentDataTag());
    QVERIFY(widget && widget->isVisible());
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    QString text;
    if (auto *label = qobject_cast<QLabel *>(widget))
        text = label->text();
    if (auto *button = qobject_cast<QPushButton *>(widget))
        text = button->text();
    QCOMPARE(text, caption);
    // Nothing clipped: the caption fits the control in the Japanese font.
    QVERIFY(widget->fontMetrics().boundingRect(text).width() <= geometry.width());
}

void TestForm1StartUp::menus()
{
    // The whole menu tree in order: a child is indented, "-" marks a disabled item.
    QStringList tree;
    const auto line = [](QAction *action, const char *indent) {
        return indent + action->objectName() + ' ' + action->text()
               + (action->isEnabled() ? "" : " -");
    };
    for (QAction *item : w_->form->menuBar()->actions()) {
        tree << line(item, "");
        if (item->menu())
            for (QAction *child : item->menu()->actions())
                tree << line(child, "  ");
    }
    QCOMPARE(tree, QStringList({
                       "mnuFile ファイル(&F)",
                       "  mnuBuhin 加工前のファイルを開く(&G)",
                       "  mnuOpen 加工後のファイル開く(&O)",
                       "  mnuSave 加工ファイルを上書き保存(&S) -",
                       "  mnuSaveAs 加工ファイルを名前を付けて保存(&A) -",
                       "  mnuBmp ビットマップを名前を付けて保存(&B) -",
                       "  mnuExit 終了(&X)",
                       "mnuYarinaosi やり直し(&R) -",
                       "mnuKaiten ９０度回転(&D) -",
                       "mnuSayuu 左右反転(&E) -",
                       "mnuHelp ヘルプ(&H)",
                       "  mnuMokuji 目次",
                       "  mnuVersion バージョン情報",
                   }));
}

void TestForm1StartUp::windowAndTabOrder()
{
    QCOMPARE(w_->form->windowTitle(), QStringLiteral("ZUVORAK"));
    QCOMPARE(w_->form->centralWidget()->size(), QSize(625, 350));
    const QStringList expected
        = {"Picture1", "Picture2", "Command27", "Cokl",  "Cokr",      "Coku",
           "Cokd",     "Copl",     "Copr",      "Copu",  "Copd",      "HScroll1",
           "Coku2",    "Cokd2",    "Cokr2",     "Cokl2", "Cosyoumen", "Coanime"};
    QStringList chain;
    for (QWidget *widget = w_->form->findChild<QWidget *>("Picture1");
         chain.size() < expected.size(); widget = widget->nextInFocusChain())
        if (expected.contains(widget->objectName()))
            chain << widget->objectName();
    QCOMPARE(chain, expected);
}

void TestForm1StartUp::startUpState()
{
    QCOMPARE(int(w_->state->viewCenterX), 130); // 261 / 2 rounds to even
    QCOMPARE(int(w_->state->viewCenterY), 130);
    QCOMPARE(w_->state->pointCount, 0);
    QCOMPARE(w_->state->modelPoints[99999][Horizontal], 1000.0);
    auto *slider = w_->form->findChild<QScrollBar *>("HScroll1");
    QCOMPARE(
        QList<int>({slider->minimum(), slider->maximum(), slider->pageStep(), slider->value()}),
        QList<int>({0, 100, 10, 15}));
    auto *timer = w_->form->findChild<QTimer *>("Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
    for (PictureBox *box : {w_->form->picture1(), w_->form->picture2()}) {
        QImage white(box->surface().image().size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(box->surface().image(), white);
    }
    QCOMPARE(w_->form->picture1()->surface().ScaleWidth(), 261.0f);
    QCOMPARE(w_->form->picture2()->surface().ScaleHeight(), 189.0f);
}

void TestForm1StartUp::disabledCommandsIgnoreClicksAndTheTimerIdles()
{
    for (const char *name : {"Cokl", "Coku2", "Copl", "Coanime"})
        QTest::mouseClick(w_->form->findChild<QPushButton *>(name), Qt::LeftButton);
    findAction(w_->form.get(), "mnuKaiten")->trigger();
    w_->form->Timer1_Timer();
    QCOMPARE(w_->caption("Lsu1"), QStringLiteral("0"));
    QCOMPARE(w_->state->animationOn, std::uint8_t(0));
    QCOMPARE(w_->state->animationPhase, std::int16_t(0));
}

ZUVORAK_WINDOW_TEST_MAIN(TestForm1StartUp)
#include "tst_form1_startup.moc"
