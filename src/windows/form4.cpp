#include "form4.h"

#include "colour.h"
#include "conversions.h"
#include "form1.h"
#include "import.h"
#include "picture_box.h"
#include "picture_file.h"
#include "platform.h"
#include "texts.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPalette>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr QSize kClientSize(614, 437);
constexpr QSize kPictureOuterSize(585, 417);
constexpr QPoint kPicturePosition(16, 8);

QString &startPictureOverride()
{
    static QString path;
    return path;
}

// The platform's control colour, as long as it is light: the model build
// treats light pixels as background, and so must it treat this one.
Colour controlBackground()
{
    const QColor colour = QApplication::palette().color(QPalette::Button);
    if (colour.red() >= kLightLevel && colour.green() >= kLightLevel
        && colour.blue() >= kLightLevel)
        return fromQRgb(colour.rgb());
    return fromQRgb(qRgb(kLightLevel, kLightLevel, kLightLevel));
}

} // namespace

Form4::Form4(ProgramState &state, Form1 &mainWindow, QWidget *parent)
    : QDialog(parent)
    , state_(state)
    , mainWindow_(mainWindow)
{
    setWindowTitle(QString(Texts::kProduct));
    createControls();
    createMenus();
    connectHandlers();
    Form_Load();
}

Form4::~Form4() = default;

void Form4::setStartPicture(const QString &path)
{
    startPictureOverride() = path;
}

void Form4::createControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientSize);
    layout->addWidget(client);

    Picture1 = new PictureBox(kPictureOuterSize, controlBackground(), client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(kPicturePosition);
}

void Form4::createMenus()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    layout()->setMenuBar(bar);

    QMenu *fileMenu = bar->addMenu(QString(Texts::kMenuFile));
    mnuFile = fileMenu->menuAction();
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpen = makeAction(this, "mnuOpen", Texts::kMenuCaptureOpen);
    mnuExit = makeAction(this, "mnuExit", Texts::kMenuExit);
    fileMenu->addActions({mnuOpen, mnuExit});

    mnuYarinaosi = makeAction(this, "mnuYarinaosi", Texts::kMenuYarinaosi);
    mnuTorikomi = makeAction(this, "mnuTorikomi", Texts::kMenuTorikomi);
    bar->addActions({mnuYarinaosi, mnuTorikomi});
}

void Form4::connectHandlers()
{
    connect(mnuOpen, &QAction::triggered, this, &Form4::mnuOpen_Click);
    connect(mnuExit, &QAction::triggered, this, &Form4::mnuExit_Click);
    connect(mnuYarinaosi, &QAction::triggered, this, &Form4::mnuYarinaosi_Click);
    connect(mnuTorikomi, &QAction::triggered, this, &Form4::mnuTorikomi_Click);
    connect(Picture1, &PictureBox::mouseDown, this, &Form4::Picture1_MouseDown);
    connect(Picture1, &PictureBox::mouseMove, this, &Form4::Picture1_MouseMove);
    connect(Picture1, &PictureBox::mouseUp, this, &Form4::Picture1_MouseUp);
}

void Form4::Form_Load()
{
    // The window and its picture box work in pixels already.
    mnuTorikomi->setEnabled(false);
    mnuYarinaosi->setEnabled(false);

    const QString path = startPictureOverride().isEmpty() ? shippedFile(QStringLiteral("buhin.bmp"))
                                                          : startPictureOverride();
    state_.capturePicturePath = path.toStdString();

    const DecodedPicture decoded = readPicture(path);
    picture_ = decoded.image;
    if (!decoded.result.ok())
        pendingFailure_ = pictureFailureText(path, decoded.result, false);
    restorePicture();

    selDragging = 0;
    selStartX = selEndX = selStartY = selEndY = 0;
    selTooLarge = 0;
}

void Form4::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Queued, so that the message box comes up over the window and not before it.
    if (!pendingFailure_.isEmpty())
        QTimer::singleShot(0, this, &Form4::reportPendingFailure);
}

void Form4::reportPendingFailure()
{
    const QString text = std::exchange(pendingFailure_, QString());
    if (!text.isEmpty())
        showError(this, text);
}

bool Form4::showCapturePicture(const QString &path)
{
    DecodedPicture decoded = readPicture(path);
    if (!decoded.result.ok()) {
        showError(this, pictureFailureText(path, decoded.result, false));
        return false;
    }
    state_.capturePicturePath = path.toStdString();
    picture_ = std::move(decoded.image);
    restorePicture();
    return true;
}

// Erases any outline by drawing the kept picture afresh: the file is not read
// again, so a picture removed from disk mid-drag does no harm.
void Form4::restorePicture()
{
    ImageSurface &surface = Picture1->surface();
    surface.Cls();
    if (!picture_.isNull())
        surface.showPicture(picture_);
    Picture1->update();
}

void Form4::Picture1_MouseDown(int button, int, float x, float y)
{
    if (button != 1)
        return;
    selDragging = 1;
    selStartX = toInteger(x);
    selStartY = toInteger(y);
    mnuTorikomi->setEnabled(true);
    mnuYarinaosi->setEnabled(true);
}

void Form4::Picture1_MouseMove(int, int, float x, float y)
{
    if (selDragging == 0)
        return;
    restorePicture();
    selEndX = toInteger(x);
    selEndY = toInteger(y);
    Picture1->surface().Line(selStartX, selStartY, selEndX, selEndY, kBlue);
    Picture1->update();
}

// Any button ends a selection, even one that never started a drag: a right
// click selects from the previous left and top edges to the click point.
void Form4::Picture1_MouseUp(int, int, float x, float y)
{
    selDragging = 0;
    selEndX = toInteger(x);
    selEndY = toInteger(y);
    const Selection ordered = orderedCorners(selection());
    selStartX = ordered.startX;
    selStartY = ordered.startY;
    selEndX = ordered.endX;
    selEndY = ordered.endY;
    selTooLarge = exceedsSelectionLimit(ordered) ? 1 : 0;
}

void Form4::mnuYarinaosi_Click()
{
    restorePicture();
    mnuYarinaosi->setEnabled(false);
}

void Form4::mnuExit_Click()
{
    reject();
}

void Form4::mnuTorikomi_Click()
{
    if (selTooLarge == 1) {
        showError(this, QString(Texts::kSelectionTooLarge));
        mnuYarinaosi_Click();
        return;
    }
    handOverSelection(state_, Picture1->surface(), selection());
    mainWindow_.enableModelCommands();
    mainWindow_.setYarinaosiEnabled(false);
    accept();
}
