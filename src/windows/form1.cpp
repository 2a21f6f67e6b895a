#include "form1.h"

#include "picture_box.h"
#include "platform.h"
#include "startup.h"
#include "texts.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

constexpr QSize kClientSize(625, 350);

QLabel *makeLabel(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *label = new QLabel(QString(caption), parent);
    label->setObjectName(QString(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *button = new QPushButton(QString(caption), parent);
    button->setObjectName(QString(name));
    button->setGeometry(geometry);
    button->setEnabled(false);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Form1::Form1(ProgramState &state, QWidget *parent)
    : QMainWindow(parent)
    , state_(state)
{
    setWindowTitle(QString(Texts::kProduct));
    createControls();
    createMenus();
    connectHandlers();
    setTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientSize);
    setCentralWidget(client);

    Picture2 = new PictureBox(QSize(193, 193), kWhite, client);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->move(8, 8);
    Picture1 = new PictureBox(QSize(265, 265), kWhite, client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(216, 8);

    Label2 = makeLabel(client, "Label2", Texts::kTurnHeading, {536, 0, 24, 12});
    Coku2 = makeButton(client, "Coku2", Texts::kUp, {536, 16, 25, 25});
    Cosyoumen = makeButton(client, "Cosyoumen", Texts::kFrontView, {576, 16, 41, 25});
    Coku = makeButton(client, "Coku", Texts::kUp, {536, 40, 25, 25});
    Cokl2 = makeButton(client, "Cokl2", Texts::kLeft, {488, 64, 25, 25});
    Cokl = makeButton(client, "Cokl", Texts::kLeft, {512, 64, 25, 25});
    Cokr = makeButton(client, "Cokr", Texts::kRight, {560, 64, 25, 25});
    Cokr2 = makeButton(client, "Cokr2", Texts::kRight, {584, 64, 25, 25});
    Cokd = makeButton(client, "Cokd", Texts::kDown, {536, 88, 25, 25});
    Cokd2 = makeButton(client, "Cokd2", Texts::kDown, {536, 112, 25, 25});
    Lsu1 = makeLabel(client, "Lsu1", "0", {504, 144, 41, 17});
    Lsu2 = makeLabel(client, "Lsu2", "0", {552, 144, 41, 17});
    Label1 = makeLabel(client, "Label1", Texts::kPositionHeading, {520, 192, 48, 12});
    Copu = makeButton(client, "Copu", Texts::kUp, {528, 208, 33, 25});
    Copl = makeButton(client, "Copl", Texts::kLeft, {496, 232, 33, 25});
    Copr = makeButton(client, "Copr", Texts::kRight, {560, 232, 33, 25});
    Copd = makeButton(client, "Copd", Texts::kDown, {528, 256, 33, 25});
    Lslider = makeLabel(client, "Lslider", "", {88, 296, 41, 17});
    HScroll1 = new QScrollBar(Qt::Horizontal, client);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(144, 296, 185, 17);
    HScroll1->setRange(0, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    Command27 = makeButton(client, "Command27", Texts::kAddDepth, {344, 296, 121, 25});
    Coanime = makeButton(client, "Coanime", Texts::kAnimation, {496, 296, 97, 25});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
}

void Form1::createMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *fileMenu = bar->addMenu(QString(Texts::kMenuFile));
    mnuFile = fileMenu->menuAction();
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuBuhin = makeAction(this, "mnuBuhin", Texts::kMenuBuhin);
    mnuOpen = makeAction(this, "mnuOpen", Texts::kMenuOpen);
    mnuSave = makeAction(this, "mnuSave", Texts::kMenuSave);
    mnuSaveAs = makeAction(this, "mnuSaveAs", Texts::kMenuSaveAs);
    mnuBmp = makeAction(this, "mnuBmp", Texts::kMenuBmp);
    mnuExit = makeAction(this, "mnuExit", Texts::kMenuExit);
    fileMenu->addActions({mnuBuhin, mnuOpen, mnuSave, mnuSaveAs, mnuBmp, mnuExit});

    mnuYarinaosi = makeAction(this, "mnuYarinaosi", Texts::kMenuYarinaosi);
    mnuKaiten = makeAction(this, "mnuKaiten", Texts::kMenuKaiten);
    mnuSayuu = makeAction(this, "mnuSayuu", Texts::kMenuSayuu);
    bar->addActions({mnuYarinaosi, mnuKaiten, mnuSayuu});

    QMenu *helpMenu = bar->addMenu(QString(Texts::kMenuHelp));
    mnuHelp = helpMenu->menuAction();
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuMokuji = makeAction(this, "mnuMokuji", Texts::kMenuMokuji);
    mnuVersion = makeAction(this, "mnuVersion", Texts::kMenuVersion);
    helpMenu->addActions({mnuMokuji, mnuVersion});
}

void Form1::connectHandlers()
{
    const std::pair<QPushButton *, void (Form1::*)()> buttons[] = {
        {Cokl, &Form1::Cokl_Click},           {Cokl2, &Form1::Cokl2_Click},
        {Cokr, &Form1::Cokr_Click},           {Cokr2, &Form1::Cokr2_Click},
        {Coku, &Form1::Coku_Click},           {Coku2, &Form1::Coku2_Click},
        {Cokd, &Form1::Cokd_Click},           {Cokd2, &Form1::Cokd2_Click},
        {Cosyoumen, &Form1::Cosyoumen_Click}, {Coanime, &Form1::Coanime_Click},
        {Copl, &Form1::Copl_Click},           {Copr, &Form1::Copr_Click},
        {Copu, &Form1::Copu_Click},           {Copd, &Form1::Copd_Click},
        {Command27, &Form1::Command27_Click},
    };
    for (const auto &[button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);

    const std::pair<QAction *, void (Form1::*)()> actions[] = {
        {mnuBuhin, &Form1::mnuBuhin_Click},
        {mnuOpen, &Form1::mnuOpen_Click},
        {mnuSave, &Form1::mnuSave_Click},
        {mnuSaveAs, &Form1::mnuSaveAs_Click},
        {mnuBmp, &Form1::mnuBmp_Click},
        {mnuExit, &Form1::mnuExit_Click},
        {mnuYarinaosi, &Form1::mnuYarinaosi_Click},
        {mnuKaiten, &Form1::mnuKaiten_Click},
        {mnuSayuu, &Form1::mnuSayuu_Click},
        {mnuMokuji, &Form1::mnuMokuji_Click},
        {mnuVersion, &Form1::mnuVersion_Click},
    };
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, handler);

    connect(Picture1, &PictureBox::mouseDown, this, &Form1::Picture1_MouseDown);
    connect(Picture1, &PictureBox::mouseMove, this, &Form1::Picture1_MouseMove);
    connect(Picture1, &PictureBox::mouseUp, this, &Form1::Picture1_MouseUp);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::setTabOrder()
{
    // Tab indexes of the focusable controls; labels only take up numbers.
    std::vector<std::pair<int, QWidget *>> order = {
        {0, Picture1}, {1, Picture2}, {2, Command27}, {4, Cokl},   {5, Cokr},       {6, Coku},
        {7, Cokd},     {8, Copl},     {9, Copr},      {10, Copu},  {11, Copd},      {16, HScroll1},
        {17, Coku2},   {18, Cokd2},   {19, Cokr2},    {20, Cokl2}, {21, Cosyoumen}, {22, Coanime},
    };
    std::sort(order.begin(), order.end());
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture2->setFocusPolicy(Qt::StrongFocus);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void Form1::Form_Load()
{
    // Pixel coordinates throughout: the picture boxes already work in pixels.
    HScroll1->setValue(15);
    Lslider->setText(QStringLiteral("15"));
    for (QAction *item : {mnuYarinaosi, mnuKaiten, mnuSayuu, mnuSaveAs, mnuSave, mnuBmp})
        item->setEnabled(false);
    for (QPushButton *button : {Coku, Cokd, Cokl, Cokr, Coku2, Cokd2, Cokl2, Cokr2, Cosyoumen,
                                Coanime, Copu, Copd, Copl, Copr})
        button->setEnabled(false);
    resetForStartUp(state_, Picture1->surface());
    Timer1->start();
}

void Form1::enableModelCommands()
{
    for (QAction *item : {mnuKaiten, mnuSayuu, mnuSaveAs, mnuSave, mnuBmp})
        item->setEnabled(true);
    for (QPushButton *button : {Coku, Cokd, Cokl, Cokr, Coku2, Cokd2, Cokl2, Cokr2, Cosyoumen,
                                Coanime, Copu, Copd, Copl, Copr})
        button->setEnabled(true);
}

void Form1::setYarinaosiEnabled(bool enabled)
{
    mnuYarinaosi->setEnabled(enabled);
}

void Form1::setFrontViewCaptions()
{
    Lsu1->setText(QStringLiteral("0"));
    Lsu2->setText(QStringLiteral("0"));
}
