#include "application.h"
#include "form1.h"
#include "picture_box.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <memory>

class TestForm1StartUp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void control_data();
    void control();
    void menu_data();
    void menu();
    void clientAreaAndCaption();
    void tabOrder();
    void startUpState();
    void disabledCommandsIgnoreClicks();
    void timerTicksWithoutEffect();

private:
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
};

void TestForm1StartUp::init()
{
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestForm1StartUp::cleanup()
{
    form_.reset();
    state_.reset();
}

void TestForm1StartUp::control_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, QRect geometry, bool enabled) {
        QTest::newRow(name) << QString(name) << QString(caption) << geometry << enabled;
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
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    auto *widget = form_->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    QVERIFY(widget->isVisible());
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
        // The caption must fit inside the button.
        QVERIFY(button->fontMetrics().horizontalAdvance(caption) <= geometry.width() - 2);
    }
}

void TestForm1StartUp::menu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, const char *parent, bool enabled) {
        QTest::newRow(name) << QString(name) << QString(caption) << QString(parent) << enabled;
    };
    row("mnuFile", "ファイル(&F)", "", true);
    row("mnuBuhin", "加工前のファイルを開く(&G)", "mnuFile", true);
    row("mnuOpen", "加工後のファイル開く(&O)", "mnuFile", true);
    row("mnuSave", "加工ファイルを上書き保存(&S)", "mnuFile", false);
    row("mnuSaveAs", "加工ファイルを名前を付けて保存(&A)", "mnuFile", false);
    row("mnuBmp", "ビットマップを名前を付けて保存(&B)", "mnuFile", false);
    row("mnuExit", "終了(&X)", "mnuFile", true);
    row("mnuYarinaosi", "やり直し(&R)", "", false);
    row("mnuKaiten", "９０度回転(&D)", "", false);
    row("mnuSayuu", "左右反転(&E)", "", false);
    row("mnuHelp", "ヘルプ(&H)", "", true);
    row("mnuMokuji", "目次", "mnuHelp", true);
    row("mnuVersion", "バージョン情報", "mnuHelp", true);
}

void TestForm1StartUp::menu()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    QFETCH(bool, enabled);

    // The menu bar, and each menu, in the order of this table.
    QStringList barOrder;
    for (QAction *action : form_->menuBar()->actions())
        barOrder << action->objectName();
    QCOMPARE(barOrder, QStringList({"mnuFile", "mnuYarinaosi", "mnuKaiten", "mnuSayuu", "mnuHelp"}));

    auto *action = form_->findChild<QAction *>(name);
    if (!action) {
        for (QAction *candidate : form_->menuBar()->actions())
            if (candidate->objectName() == name)
                action = candidate;
    }
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->isEnabled(), enabled);
    if (!parent.isEmpty()) {
        QAction *parentAction = nullptr;
        for (QAction *candidate : form_->menuBar()->actions())
            if (candidate->objectName() == parent)
                parentAction = candidate;
        QVERIFY(parentAction && parentAction->menu());
        QVERIFY(parentAction->menu()->actions().contains(action));
    }
}

void TestForm1StartUp::clientAreaAndCaption()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("ZUVORAK"));
    QCOMPARE(form_->centralWidget()->size(), QSize(625, 350));
    QCOMPARE(form_->picture1()->surface().ScaleWidth(), 261.0f);
    QCOMPARE(form_->picture2()->surface().ScaleHeight(), 189.0f);
}

void TestForm1StartUp::tabOrder()
{
    const QStringList expected = {"Picture1", "Picture2", "Command27", "Cokl",  "Cokr",
                                  "Coku",     "Cokd",     "Copl",      "Copr",  "Copu",
                                  "Copd",     "HScroll1", "Coku2",     "Cokd2", "Cokr2",
                                  "Cokl2",    "Cosyoumen", "Coanime"};
    QWidget *widget = form_->findChild<QWidget *>(expected.first());
    for (const QString &name : expected) {
        QCOMPARE(widget->objectName(), name);
        do {
            widget = widget->nextInFocusChain();
        } while (widget->objectName().isEmpty() || widget->objectName() == QLatin1String("client")
                 || qobject_cast<QLabel *>(widget));
    }
}

void TestForm1StartUp::startUpState()
{
    QCOMPARE(int(state_->viewCenterX), 130);
    QCOMPARE(int(state_->viewCenterY), 130);
    QCOMPARE(state_->pointCount, 0);
    QCOMPARE(state_->modelPoints[99999][Horizontal], 1000.0);
    auto *slider = form_->findChild<QScrollBar *>("HScroll1");
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->pageStep(), 10);
    QCOMPARE(slider->value(), 15);
    auto *timer = form_->findChild<QTimer *>("Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
    // Nothing drawn: both pictures white.
    for (PictureBox *box : {form_->picture1(), form_->picture2()}) {
        QImage white(box->surface().image().size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(box->surface().image(), white);
    }
}

void TestForm1StartUp::disabledCommandsIgnoreClicks()
{
    for (const char *name : {"Cokl", "Cokl2", "Coku", "Coku2", "Copl", "Copu"})
        QTest::mouseClick(form_->findChild<QPushButton *>(name), Qt::LeftButton);
    form_->findChild<QAction *>("mnuKaiten")->trigger();
    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(form_->findChild<QLabel *>("Lsu2")->text(), QStringLiteral("0"));
    QCOMPARE(state_->modelPoints[0][Horizontal], 1000.0);
}

void TestForm1StartUp::timerTicksWithoutEffect()
{
    const QImage before = form_->picture1()->surface().image();
    form_->Timer1_Timer();
    form_->Timer1_Timer();
    QCOMPARE(state_->animationPhase, qint16(0));
    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(form_->picture1()->surface().image(), before);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestForm1StartUp test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_form1_startup.moc"
