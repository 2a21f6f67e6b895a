#include "capture_window.h"

#include "capture_surface.h"
#include "conversions.h"
#include "file_dialog.h"
#include "messages.h"
#include "picture_box.h"
#include "picture_file.h"
#include "platform.h"
#include "texts.h"

#include <QAction>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr QSize kClientSize(614, 437);
// The outer size of the picture box for a picture that fits: no scroll bars then.
constexpr QRect kPictureArea(16, 8, 585, 417);
constexpr int kAutoScrollInterval = 40; // ms
// Where the selection's size shows: below and right of the pointer, clear of its arrow.
constexpr QPoint kTipOffset(16, 16);
constexpr char kPicturePatterns[] = "*.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff *.webp";

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
    scroll_ = new QScrollArea(client);
    scroll_->setObjectName(QStringLiteral("pictureScroll"));
    scroll_->setGeometry(kPictureArea);
    scroll_->setFrameShape(QFrame::NoFrame);
    pictureBox_ = new PictureBox(QSize(kCaptureWidth, kCaptureHeight), kCaptureBackground);
    pictureBox_->setObjectName(QStringLiteral("picture"));
    scroll_->setWidget(pictureBox_);
    pictureBox_->setAutoFillBackground(false); // it paints every pixel itself
    autoScroll_ = new QTimer(this);
    autoScroll_->setInterval(kAutoScrollInterval);
    createMenus();

    connect(pictureBox_, &PictureBox::pressed, this, &CaptureWindow::startSelection);
    connect(pictureBox_, &PictureBox::moved, this, &CaptureWindow::dragSelection);
    connect(pictureBox_, &PictureBox::released, this, &CaptureWindow::endSelection);
    connect(autoScroll_, &QTimer::timeout, this, &CaptureWindow::autoScroll);

    DecodedPicture decoded = readCapturePicture(startPicture);
    if (!decoded.result.ok())
        pendingFailure_ = pictureFailureText(startPicture, decoded.result, false);
    setPicture(std::move(decoded.image));
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
    QAction *selectAllAction = makeAction(this, "selectAllAction", Texts::kMenuSelectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    importAction_ = makeAction(this, "importAction", Texts::kMenuImport);
    reduceAction_ = makeAction(this, "reduceAction", Texts::kMenuReduce);
    bar->addActions({doOverAction_, selectAllAction, importAction_, reduceAction_});
    doOverAction_->setEnabled(false);
    importAction_->setEnabled(false);
    reduceAction_->setEnabled(false);

    connect(openAction, &QAction::triggered, this, &CaptureWindow::openPicture);
    connect(exitAction, &QAction::triggered, this, &QDialog::reject);
    connect(doOverAction_, &QAction::triggered, this, &CaptureWindow::doOver);
    connect(selectAllAction, &QAction::triggered, this, &CaptureWindow::selectAll);
    connect(importAction_, &QAction::triggered, this, &CaptureWindow::importSelection);
    connect(reduceAction_, &QAction::triggered, this, &CaptureWindow::importReduced);
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
    const QString path = OpenDialog::getOpenPath(this, QString(kPicturePatterns));
    if (!path.isEmpty())
        showPicture(path);
}

// A picture that cannot be read is reported and the previous one stays.
bool CaptureWindow::showPicture(const QString &path)
{
    DecodedPicture decoded;
    {
        const BusyCursor busy;
        decoded = readCapturePicture(path);
    }
    if (!decoded.result.ok()) {
        showError(this, pictureFailureText(path, decoded.result, false));
        return false;
    }
    setPicture(std::move(decoded.image));
    return true;
}

void CaptureWindow::setPicture(QImage picture)
{
    pictureSize_ = picture.isNull() ? QSize(kCaptureWidth, kCaptureHeight) : picture.size();
    underOutline_.clear();
    pictureBox_->setSurface(captureSurfaceFor(std::move(picture)));
    scroll_->horizontalScrollBar()->setValue(0);
    scroll_->verticalScrollBar()->setValue(0);
}

// What the outline covers is kept, the rows and columns of its sides, and put back when it is
// erased: the file is not read again, so a picture removed from disk mid-drag does no harm,
// and a large picture is never copied whole.
void CaptureWindow::drawOutline()
{
    ImageSurface &surface = pictureBox_->surface();
    const int width = surface.width(), height = surface.height();
    for (const QRect side :
         {QRect(0, selection_.startY, width, 1), QRect(0, selection_.endY, width, 1),
          QRect(selection_.startX, 0, 1, height), QRect(selection_.endX, 0, 1, height)})
        underOutline_.push_back({side.topLeft(), surface.image().copy(side)});
    surface.drawBox(selection_.startX, selection_.startY, selection_.endX, selection_.endY, kBlue);
    pictureBox_->update();
}

void CaptureWindow::eraseOutline()
{
    if (underOutline_.empty())
        return;
    for (const Kept &kept : underOutline_)
        pictureBox_->surface().paste(kept.pixels, kept.at);
    underOutline_.clear();
    pictureBox_->update();
}

void CaptureWindow::startSelection(QPointF position, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    dragging_ = true;
    selection_.startX = saturatingInt16(float(position.x()));
    selection_.startY = saturatingInt16(float(position.y()));
    enableImport();
}

void CaptureWindow::enableImport()
{
    importAction_->setEnabled(true);
    reduceAction_->setEnabled(true);
    doOverAction_->setEnabled(true);
}

void CaptureWindow::dragSelection(QPointF position)
{
    if (!dragging_)
        return;
    eraseOutline();
    selection_.endX = saturatingInt16(float(position.x()));
    selection_.endY = saturatingInt16(float(position.y()));
    drawOutline();
    followPointer(position);
    // The size beside the pointer; a tooltip, so the window's layout stays as it is.
    const SelectionSize size = withOutline(orderedCorners(selection_));
    QToolTip::showText(pictureBox_->mapToGlobal(position.toPoint() + kTipOffset),
                       QString(Texts::kSelectionSize).arg(size.width).arg(size.height),
                       pictureBox_);
}

// A drag past the edge of the view scrolls the picture, and goes on scrolling
// while the pointer rests there.
void CaptureWindow::followPointer(QPointF position)
{
    const QPoint inBox = position.toPoint() + QPoint(PictureBox::kBorder, PictureBox::kBorder);
    const QRect shown(pictureBox_->mapFrom(scroll_->viewport(), QPoint(0, 0)),
                      scroll_->viewport()->size());
    if (shown.contains(inBox)) {
        autoScroll_->stop();
        return;
    }
    pointer_ = pictureBox_->mapToGlobal(inBox);
    const QPoint before(scroll_->horizontalScrollBar()->value(),
                        scroll_->verticalScrollBar()->value());
    scroll_->ensureVisible(inBox.x(), inBox.y(), 0, 0);
    const QPoint after(scroll_->horizontalScrollBar()->value(),
                       scroll_->verticalScrollBar()->value());
    if (after != before)
        autoScroll_->start();
    else
        autoScroll_->stop();
}

void CaptureWindow::autoScroll()
{
    if (!dragging_) {
        autoScroll_->stop();
        return;
    }
    const QPoint inBox = pictureBox_->mapFromGlobal(pointer_);
    dragSelection(QPointF(inBox - QPoint(PictureBox::kBorder, PictureBox::kBorder)));
}

// Any button ends a selection, even one that never started a drag: a right
// click selects from the previous left and top edges to the click point.
void CaptureWindow::endSelection(QPointF position)
{
    dragging_ = false;
    autoScroll_->stop();
    selection_.endX = saturatingInt16(float(position.x()));
    selection_.endY = saturatingInt16(float(position.y()));
    selection_ = orderedCorners(selection_);
    QToolTip::hideText();
}

// The outline just outside the picture, so that every pixel of it lies inside.
void CaptureWindow::selectAll()
{
    dragging_ = false;
    eraseOutline();
    selection_ = {-1, -1, std::int16_t(pictureSize_.width()), std::int16_t(pictureSize_.height())};
    drawOutline();
    enableImport();
}

void CaptureWindow::doOver()
{
    eraseOutline();
    doOverAction_->setEnabled(false);
}

void CaptureWindow::importSelection()
{
    if (exceedsSelectionLimit(selection_)) {
        const SelectionSize size = withOutline(selection_);
        showError(this, QString(Texts::kSelectionTooLarge) + QLatin1Char('\n')
                            + QString(Texts::kSelectionTooLargeDetail)
                                  .arg(size.width)
                                  .arg(size.height)
                                  .arg(kSelectionLimit + 1));
        doOver();
        return;
    }
    taken_ = takeSelection(pictureBox_->surface(), selection_, false);
    accept();
}

void CaptureWindow::importReduced()
{
    const SelectionSize size = withOutline(selection_);
    if (qint64(size.width - 2) * (size.height - 2) > kMaxReducedSelectionPixels) {
        showError(this, QString(Texts::kSelectionTooLarge));
        doOver();
        return;
    }
    {
        const BusyCursor busy;
        taken_ = takeSelection(pictureBox_->surface(), selection_, true);
    }
    accept();
}
