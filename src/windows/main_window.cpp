#include "main_window.h"

#include "conversions.h"
#include "depth_commands.h"
#include "document.h"
#include "export_menu.h"
#include "large_view.h"
#include "picture_box.h"
#include "platform.h"
#include "settings.h"
#include "swing.h"
#include "texts.h"
#include "view_state.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr QSize kClientSize(625, 350);
// How far, in pixels, one press of a move button moves the model.
constexpr int kPositionStep = 10;

// The arrows of 回転, whose inner diamond turns by 1 degree and outer one by 5, and of 表示位置.
struct ArrowButton {
    const char *name;
    const char *caption;
    QRect geometry;
    int turn = 0, tilt = 0; // degrees
    int dx = 0, dy = 0; // pixels
};
constexpr ArrowButton kArrowButtons[] = {
    {"turnUp5", Texts::kUp, {536, 16, 25, 25}, 0, 5},
    {"turnUp1", Texts::kUp, {536, 40, 25, 25}, 0, 1},
    {"turnLeft5", Texts::kLeft, {488, 64, 25, 25}, 5, 0},
    {"turnLeft1", Texts::kLeft, {512, 64, 25, 25}, 1, 0},
    {"turnRight1", Texts::kRight, {560, 64, 25, 25}, -1, 0},
    {"turnRight5", Texts::kRight, {584, 64, 25, 25}, -5, 0},
    {"turnDown1", Texts::kDown, {536, 88, 25, 25}, 0, -1},
    {"turnDown5", Texts::kDown, {536, 112, 25, 25}, 0, -5},
    {"moveUp", Texts::kUp, {528, 208, 33, 25}, 0, 0, 0, kPositionStep},
    {"moveLeft", Texts::kLeft, {496, 232, 33, 25}, 0, 0, -kPositionStep, 0},
    {"moveRight", Texts::kRight, {560, 232, 33, 25}, 0, 0, kPositionStep, 0},
    {"moveDown", Texts::kDown, {528, 256, 33, 25}, 0, 0, 0, -kPositionStep},
};

QLabel *addLabel(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *label = new QLabel(QString(caption), parent);
    label->setObjectName(QString(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

MainWindow::MainWindow(Document &document, const QString &capturePicture, QWidget *parent)
    : QMainWindow(parent)
    , document_(document)
    , viewState_(new ViewState(document, this))
    , capturePicture_(capturePicture)
{
    setWindowTitle(QString(Texts::kProduct) + QStringLiteral("[*]"));
    document_.setStepNamer([](Document::Step step) {
        switch (step) {
        case Document::Step::Import:
            return QString(Texts::kStepImport);
        case Document::Step::Depth:
            return QString(Texts::kStepDepth);
        case Document::Step::QuarterTurn:
            return QString(Texts::kStepQuarterTurn);
        case Document::Step::Mirror:
            return QString(Texts::kStepMirror);
        case Document::Step::Move:
            return QString(Texts::kStepMove);
        case Document::Step::Centre:
            return QString(Texts::kStepCentre);
        case Document::Step::ColourDepth:
            return QString(Texts::kStepColourDepth);
        case Document::Step::BrightnessDepth:
            return QString(Texts::kStepBrightnessDepth);
        }
        return QString();
    });
    createControls();
    createMenus();
    connectDocument();
    setTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);
    animationTimer_->start();
    // Once the window is up, so that the message comes over it.
    QTimer::singleShot(0, this, [this] { tellIfSettingsNotKept(this); });
}

MainWindow::~MainWindow()
{
    delete largeView_;
}

QPushButton *MainWindow::addButton(const char *name, const char *caption, QRect geometry)
{
    auto *button = new QPushButton(QString(caption), centralWidget());
    button->setObjectName(QString(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);

    staging_ = new PictureBox(QSize(kStagingSize, kStagingSize), kWhite, client);
    staging_->setObjectName(QStringLiteral("staging"));
    staging_->move(8, 8);
    view_ = new PictureBox(QSize(kViewSize, kViewSize), kWhite, client);
    view_->setObjectName(QStringLiteral("view"));
    view_->move(216, 8);

    addLabel(client, "turnHeading", Texts::kTurnHeading, {536, 0, 24, 12});
    turnLabel_ = addLabel(client, "turnAngle", "0", {504, 144, 41, 17});
    tiltLabel_ = addLabel(client, "tiltAngle", "0", {552, 144, 41, 17});
    addLabel(client, "positionHeading", Texts::kPositionHeading, {520, 192, 48, 12});
    for (const ArrowButton &arrow : kArrowButtons) {
        QPushButton *button = addButton(arrow.name, arrow.caption, arrow.geometry);
        const bool turns = arrow.turn != 0 || arrow.tilt != 0;
        button->setToolTip(
            turns ? QString(Texts::kTurnTip)
                        .arg(QString(arrow.caption))
                        .arg(std::abs(arrow.turn + arrow.tilt))
                  : QString(Texts::kMoveTip).arg(QString(arrow.caption)).arg(kPositionStep));
        if (turns)
            connect(button, &QPushButton::clicked, viewState_,
                    [this, arrow] { viewState_->turnBy(arrow.turn, arrow.tilt); });
        else
            connect(button, &QPushButton::clicked, &document_,
                    [this, arrow] { document_.move(arrow.dx, arrow.dy); });
        modelButtons_ << button;
    }
    QPushButton *front = addButton("frontView", Texts::kFrontView, {576, 16, 41, 25});
    front->setToolTip(QString(Texts::kFrontViewTip));
    connect(front, &QPushButton::clicked, viewState_, &ViewState::showFront);
    modelButtons_ << front;

    depthLabel_ = addLabel(client, "depthValue", "", {88, 296, 41, 17});
    depthSlider_ = new QScrollBar(Qt::Horizontal, client);
    depthSlider_->setObjectName(QStringLiteral("depthSlider"));
    depthSlider_->setGeometry(144, 296, 185, 17);
    depthSlider_->setRange(kDepthLow, kDepthHigh);
    depthSlider_->setPageStep(10);
    depthSlider_->setFocusPolicy(Qt::StrongFocus);
    depthSlider_->setToolTip(QString(Texts::kDepthSliderTip).arg(kDepthLow).arg(kDepthHigh));
    applyDepthButton_ = addButton("applyDepth", Texts::kAddDepth, {344, 296, 121, 25});
    connect(applyDepthButton_, &QPushButton::clicked, this, &MainWindow::addDepth);
    animationButton_ = addButton("animation", Texts::kAnimation, {496, 296, 97, 25});
    animationButton_->setToolTip(QString(Texts::kAnimationTip).arg(kSwingDegrees));
    connect(animationButton_, &QPushButton::clicked, viewState_, &ViewState::toggleAnimation);
    modelButtons_ << animationButton_;

    animationTimer_ = new QTimer(this);
    animationTimer_->setObjectName(QStringLiteral("animationTimer"));
    animationTimer_->setInterval(500);
    connect(animationTimer_, &QTimer::timeout, viewState_, &ViewState::advanceAnimation);

    connect(view_, &PictureBox::pressed, this, &MainWindow::pressView);
    connect(view_, &PictureBox::moved, this, &MainWindow::dragOverView);
    connect(view_, &PictureBox::released, this, &MainWindow::releaseView);
}

void MainWindow::createMenus()
{
    const auto add = [this](const char *name, const char *caption, auto slot) {
        QAction *action = makeAction(this, name, caption);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu *fileMenu = menuBar()->addMenu(QString(Texts::kMenuFile));
    fileMenu->addAction(add("captureAction", Texts::kMenuCapture, &MainWindow::capture));
    QAction *openAction = add("openAction", Texts::kMenuOpenModel, &MainWindow::openModel);
    openAction->setShortcut(Qt::CTRL | Qt::Key_O);
    fileMenu->addAction(openAction);
    QAction *saveAction = add("saveAction", Texts::kMenuSave, &MainWindow::save);
    saveAction->setShortcut(Qt::CTRL | Qt::Key_S);
    QAction *saveAsAction = add("saveAsAction", Texts::kMenuSaveAs, &MainWindow::saveAs);
    saveAsAction->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QAction *bitmapAction
        = add("saveBitmapAction", Texts::kMenuSaveBitmap, &MainWindow::saveBitmap);
    fileMenu->addActions({saveAction, saveAsAction, bitmapAction});
    fileMenu->addMenu(new ExportMenu(*viewState_, this));
    recentMenu_ = fileMenu->addMenu(QString(Texts::kMenuRecentFiles));
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    // Fixed entries whose text and file change, so none is deleted while it is chosen.
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        QAction *entry = recentMenu_->addAction(QString());
        entry->setObjectName(QStringLiteral("recentFile%1").arg(i));
        connect(entry, &QAction::triggered, this,
                [this, entry] { openRecentFile(entry->data().toString()); });
        recentActions_ << entry;
    }
    // Another running ZUVORAK may have opened or saved files since.
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::showRecentFiles);
    showRecentFiles();
    QAction *exitAction = add("exitAction", Texts::kMenuExit, &MainWindow::exitProgram);
    exitAction->setShortcut(Qt::CTRL | Qt::Key_Q);
    fileMenu->addAction(exitAction);

    eraseStrokeAction_ = makeAction(this, "doOverAction", Texts::kMenuDoOver);
    connect(eraseStrokeAction_, &QAction::triggered, viewState_, &ViewState::eraseStroke);
    QAction *quarterTurnAction
        = add("quarterTurnAction", Texts::kMenuQuarterTurn, &MainWindow::quarterTurn);
    QAction *mirrorAction = add("mirrorAction", Texts::kMenuMirror, &MainWindow::mirror);
    menuBar()->addActions({eraseStrokeAction_, quarterTurnAction, mirrorAction});

    QMenu *editMenu = menuBar()->addMenu(QString(Texts::kMenuEdit));
    QAction *undoAction = document_.history()->createUndoAction(this, QString(Texts::kUndo));
    undoAction->setObjectName(QStringLiteral("undoAction"));
    undoAction->setShortcut(Qt::CTRL | Qt::Key_Z);
    QAction *redoAction = document_.history()->createRedoAction(this, QString(Texts::kRedo));
    redoAction->setObjectName(QStringLiteral("redoAction"));
    redoAction->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    editMenu->addActions({undoAction, redoAction});
    editMenu->addSeparator();
    new DepthCommands(document_, this, editMenu);

    QMenu *viewMenu = menuBar()->addMenu(QString(Texts::kMenuView));
    viewMenu->addAction(add("largeViewAction", Texts::kMenuLargeView, &MainWindow::showLargeView));
    QAction *centreAction = add("centreAction", Texts::kMenuCentre, &MainWindow::centre);
    viewMenu->addAction(centreAction);

    QMenu *helpMenu = menuBar()->addMenu(QString(Texts::kMenuHelp));
    helpMenu->addAction(
        add("helpContentsAction", Texts::kMenuHelpContents, &MainWindow::showHelpContents));
    helpMenu->addAction(add("aboutAction", Texts::kMenuAbout, &MainWindow::showAbout));

    modelActions_
        = {quarterTurnAction, mirrorAction, saveAsAction, saveAction, bitmapAction, centreAction};
}

void MainWindow::connectDocument()
{
    for (QPushButton *button : std::as_const(modelButtons_)) {
        button->setEnabled(document_.hasModel());
        connect(&document_, &Document::hasModelChanged, button, &QWidget::setEnabled);
    }
    for (QAction *action : std::as_const(modelActions_)) {
        action->setEnabled(document_.hasModel());
        connect(&document_, &Document::hasModelChanged, action, &QAction::setEnabled);
    }
    eraseStrokeAction_->setEnabled(viewState_->canEraseStroke());
    connect(viewState_, &ViewState::canEraseStrokeChanged, eraseStrokeAction_,
            &QAction::setEnabled);
    applyDepthButton_->setEnabled(viewState_->canApplyDepth());
    connect(viewState_, &ViewState::canApplyDepthChanged, applyDepthButton_, &QWidget::setEnabled);

    connect(&document_, &Document::selectionChanged, this, &MainWindow::showSelection);
    connect(viewState_, &ViewState::viewChanged, this, &MainWindow::redrawView);
    connect(viewState_, &ViewState::viewChanged, this, &MainWindow::showAngles);
    connect(viewState_, &ViewState::depthValueChanged, this, &MainWindow::showDepthValue);
    connect(depthSlider_, &QScrollBar::valueChanged, viewState_, &ViewState::setDepthValue);
    connect(viewState_, &ViewState::animationRunningChanged, this,
            &MainWindow::showAnimationRunning);
    connect(&document_, &Document::modifiedChanged, this, &QWidget::setWindowModified);

    showDepthValue(viewState_->depthValue());
    showAnimationRunning(viewState_->animationRunning());
    showAngles();
    if (document_.hasModel())
        redrawView();
}

void MainWindow::setTabOrder()
{
    const QStringList order
        = {"view",      "staging",   "applyDepth", "turnLeft1", "turnRight1", "turnUp1",
           "turnDown1", "moveLeft",  "moveRight",  "moveUp",    "moveDown",   "depthSlider",
           "turnUp5",   "turnDown5", "turnRight5", "turnLeft5", "frontView",  "animation"};
    view_->setFocusPolicy(Qt::StrongFocus);
    staging_->setFocusPolicy(Qt::StrongFocus);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(centralWidget()->findChild<QWidget *>(order[i - 1]),
                             centralWidget()->findChild<QWidget *>(order[i]));
}

void MainWindow::redrawView()
{
    viewState_->drawMainView(view_->surface(), renderer_);
    view_->update();
}

void MainWindow::showSelection()
{
    staging_->surface().clear();
    staging_->surface().showPicture(document_.selection());
    staging_->update();
}

void MainWindow::showAngles()
{
    turnLabel_->setText(QString::fromStdString(shortestDecimal(viewState_->turn())));
    tiltLabel_->setText(QString::fromStdString(shortestDecimal(viewState_->tilt())));
}

void MainWindow::showDepthValue(int value)
{
    depthSlider_->setValue(value);
    depthLabel_->setText(QString::number(value));
}

void MainWindow::showAnimationRunning(bool running)
{
    animationButton_->setText(QString(running ? Texts::kStopAnimation : Texts::kAnimation));
}

void MainWindow::pressView(QPointF position, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        viewState_->pressStroke(float(position.x()), float(position.y()));
}

void MainWindow::dragOverView(QPointF position)
{
    viewState_->dragStroke(float(position.x()), float(position.y()));
}

void MainWindow::releaseView()
{
    viewState_->releaseStroke();
}

void MainWindow::addDepth()
{
    const BusyCursor busy;
    viewState_->setStrokeDepth();
}

void MainWindow::quarterTurn()
{
    const BusyCursor busy;
    document_.turnQuarter();
}

void MainWindow::centre()
{
    const BusyCursor busy;
    document_.centre();
}

void MainWindow::mirror()
{
    const BusyCursor busy;
    document_.mirror();
}
