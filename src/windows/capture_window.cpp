#include "capture_window.h"

#include "conversions.h"
#include "file_dialog.h"
#include "picture_box.h"
#include "picture_file.h"
#include "platform.h"
#include "texts.h"

#include <QAction>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr QSize kClientSize(614, 437);
constexpr QPoint kPicturePosition(16, 8);

} // namespace

CaptureWindow::CaptureWindow(const QString &startPicture, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString(Texts::kProduct));
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *client = new QWidget(this);
    client->setFixedSize(kClientSize);
    layout->addWidget(client);
    pictureBox_ = new PictureBox(QSize(kCaptureWidth, kCaptureHeight), kCaptureBackground, client);
    pictureBox_->setObjectName(QStringLiteral("picture"));
    pictureBox_->move(kPicturePosition);
    createMenus();

    connect(pictureBox_, &PictureBox::pressed, this, &CaptureWindow::startSelection);
    connect(pictureBox_, &PictureBox::moved, this, &CaptureWindow::dragSelection);
    connect(pictureBox_, &PictureBox::released, this, &CaptureWindow::endSelection);

    const DecodedPicture decoded = readPicture(startPicture);
    picture_ = decoded.image;
    if (!decoded.result.ok())
        pendingFailure_ = pictureFailureText(startPicture, decoded.result, false);
    restorePicture();
    placeWindow(this);
}

CaptureWindow::~CaptureWindow() = default;

void CaptureWindow::createMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu *fileMenu = bar->addMenu(QString(Texts::kMenuFile));
    QAction *openAction = makeAction(this, "openAction", Texts::kMenuOpenPicture);
    QAction *exitAction = makeAction(this, "exitAction", Texts::kMenuExit);
    fileMenu->addActions({openAction, exitAction});
    doOverAction_ = makeAction(this, "doOverAction", Texts::kMenuDoOver);
    importAction_ = makeAction(this, "importAction", Texts::kMenuImport);
    bar->addActions({doOverAction_, importAction_});
    doOverAction_->setEnabled(false);
    importAction_->setEnabled(false);

    connect(openAction, &QAction::triggered, this, &CaptureWindow::openPicture);
    connect(exitAction, &QAction::triggered, this, &QDialog::reject);
    connect(doOverAction_, &QAction::triggered, this, &CaptureWindow::doOver);
    connect(importAction_, &QAction::triggered, this, &CaptureWindow::importSelection);
}

void CaptureWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Queued, so that the message box comes up over the window and not before it.
    if (!pendingFailure_.isEmpty())
        QTimer::singleShot(0, this, &CaptureWindow::reportPendingFailure);
}

void CaptureWindow::reportPendingFailure()
{
    const QString text = std::exchange(pendingFailure_, QString());
    if (!text.isEmpty())
        showError(this, text);
}

void CaptureWindow::openPicture()
{
    const QString path = OpenDialog::getOpenPath(this, QStringLiteral("*.bmp"));
    if (!path.isEmpty())
        showPicture(path);
}

// A picture that cannot be read is reported and the previous one stays.
bool CaptureWindow::showPicture(const QString &path)
{
    DecodedPicture decoded;
    {
        const BusyCursor busy;
        decoded = readPicture(path);
    }
    if (!decoded.result.ok()) {
        showError(this, pictureFailureText(path, decoded.result, false));
        return false;
    }
    picture_ = std::move(decoded.image);
    restorePicture();
    return true;
}

// Erases any outline by drawing the kept picture afresh: the file is not read
// again, so a picture removed from disk mid-drag does no harm.
void CaptureWindow::restorePicture()
{
    ImageSurface &surface = pictureBox_->surface();
    surface.clear();
    if (!picture_.isNull())
        surface.showPicture(picture_);
    pictureBox_->update();
}

void CaptureWindow::startSelection(QPointF position, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    dragging_ = true;
    selection_.startX = toInteger(float(position.x()));
    selection_.startY = toInteger(float(position.y()));
    importAction_->setEnabled(true);
    doOverAction_->setEnabled(true);
}

void CaptureWindow::dragSelection(QPointF position)
{
    if (!dragging_)
        return;
    restorePicture();
    selection_.endX = toInteger(float(position.x()));
    selection_.endY = toInteger(float(position.y()));
    pictureBox_->surface().drawBox(selection_.startX, selection_.startY, selection_.endX,
                                   selection_.endY, kBlue);
    pictureBox_->update();
}

// Any button ends a selection, even one that never started a drag: a right
// click selects from the previous left and top edges to the click point.
void CaptureWindow::endSelection(QPointF position)
{
    dragging_ = false;
    selection_.endX = toInteger(float(position.x()));
    selection_.endY = toInteger(float(position.y()));
    selection_ = orderedCorners(selection_);
    tooLarge_ = exceedsSelectionLimit(selection_);
}

void CaptureWindow::doOver()
{
    restorePicture();
    doOverAction_->setEnabled(false);
}

void CaptureWindow::importSelection()
{
    if (tooLarge_) {
        showError(this, QString(Texts::kSelectionTooLarge));
        doOver();
        return;
    }
    taken_ = ImportGrid::read(pictureBox_->surface(), selection_);
    accept();
}
