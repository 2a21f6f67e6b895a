#include "large_view.h"

#include "settings.h"
#include "texts.h"
#include "view_state.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr QSize kDefaultSize(640, 640);
// As the turn buttons count: a drag to the left turns as 左 does, upwards as 上.
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomPerNotch = 1.25;

// The bounding box of the points whose coordinates are finite, as the front view shows them.
QRectF modelBox(const Model &model)
{
    double left = HUGE_VAL, right = -HUGE_VAL, bottom = HUGE_VAL, top = -HUGE_VAL;
    for (const Coords &point : model.points)
        if (std::isfinite(point[Depth] + point[Horizontal] + point[Vertical])) {
            left = std::min(left, point[Horizontal]), right = std::max(right, point[Horizontal]);
            bottom = std::min(bottom, point[Vertical]), top = std::max(top, point[Vertical]);
        }
    return left <= right ? QRectF(QPointF(left, bottom), QPointF(right, top)) : QRectF();
}

} // namespace

Projection ViewNavigation::applied(const Projection &fitted) const
{
    return {fitted.originX + pan.x(), fitted.originY + pan.y(), fitted.scale * zoom};
}

void ViewNavigation::zoomAbout(const Projection &fitted, QPointF cursor, double factor)
{
    // A huge turn of the wheel gives 0 or infinity: the bounds then hold.
    if (!(factor >= 0))
        return;
    const double bounded = std::clamp(zoom * factor, kMinZoom, kMaxZoom);
    const double change = bounded / zoom;
    const QPointF origin(fitted.originX, fitted.originY);
    pan = cursor - (cursor - (origin + pan)) * change - origin;
    zoom = bounded;
    boundPan(fitted);
}

void ViewNavigation::panBy(const Projection &fitted, QPointF offset)
{
    pan += offset;
    boundPan(fitted);
}

void ViewNavigation::boundPan(const Projection &fitted)
{
    const double reach
        = fitted.scale * zoom * kViewSize + 2 * std::max(fitted.originX, fitted.originY);
    pan = {std::clamp(pan.x(), home.x() - reach, home.x() + reach),
           std::clamp(pan.y(), home.y() - reach, home.y() + reach)};
}

ViewNavigation ViewNavigation::fitting(const Projection &fitted, QRectF box, QSizeF view)
{
    constexpr double kMargin = 0.05; // of the view's side, at each side
    ViewNavigation navigation;
    const double side = std::max(box.width(), box.height());
    if (side > 0)
        navigation.zoom = std::clamp(std::min(view.width(), view.height()) * (1 - 2 * kMargin)
                                         / (fitted.scale * side),
                                     kMinZoom, kMaxZoom);
    const double scale = fitted.scale * navigation.zoom;
    navigation.pan = navigation.home
        = QPointF(view.width() / 2 - scale * box.center().x() - fitted.originX,
                  view.height() / 2 + scale * box.center().y() - fitted.originY);
    return navigation;
}

LargeView::LargeView(ViewState &viewState)
    : viewState_(viewState)
    , surface_(1, 1, kWhite)
    , style_(load<Remembered::LargeViewStyle>())
{
    setObjectName(QStringLiteral("largeView"));
    setWindowTitle(QString(Texts::kLargeViewCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!restoreGeometry(load<Remembered::LargeViewGeometry>()))
        resize(kDefaultSize);
    // A remembered size from another screen, or an edited file, never exceeds this screen.
    if (const QScreen *shown = screen())
        resize(size().boundedTo(shown->availableGeometry().size()));
    createContextMenu();
    connect(&viewState_, &ViewState::viewChanged, this, &LargeView::redraw);
    surface_ = ImageSurface(std::max(width(), 1), std::max(height(), 1), kWhite);
    redraw();
}

LargeView::~LargeView() = default;

void LargeView::createContextMenu()
{
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("largeViewMenu"));
    QMenu *sizes = contextMenu_->addMenu(QString(Texts::kMenuPointSize));
    auto *group = new QActionGroup(this);
    for (int size = 1; size <= kMaxPointSize; ++size) {
        QAction *action = sizes->addAction(QString(Texts::kMenuPixels).arg(size));
        action->setObjectName(QStringLiteral("pointSize%1").arg(size));
        action->setCheckable(true);
        action->setChecked(size == style_.size);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, size] { setPointSize(size); });
    }
    QAction *shading = contextMenu_->addAction(QString(Texts::kMenuShading));
    shading->setObjectName(QStringLiteral("shadingAction"));
    shading->setCheckable(true);
    shading->setChecked(style_.shading);
    connect(shading, &QAction::toggled, this, &LargeView::setShading);
}

Projection LargeView::fitted() const
{
    return Projection::fitting(surface_.width(), surface_.height());
}

void LargeView::redraw()
{
    viewState_.draw(surface_, renderer_, navigation_.applied(fitted()), style_);
    update();
}

void LargeView::setPointSize(int size)
{
    style_.size = size;
    save<Remembered::LargeViewStyle>(style_);
    redraw();
}

void LargeView::setShading(bool shading)
{
    style_.shading = shading;
    save<Remembered::LargeViewStyle>(style_);
    redraw();
}

void LargeView::paintEvent(QPaintEvent *)
{
    QPainter(this).drawImage(0, 0, surface_.image());
}

void LargeView::resizeEvent(QResizeEvent *)
{
    surface_ = ImageSurface(std::max(width(), 1), std::max(height(), 1), kWhite);
    redraw();
}

void LargeView::closeEvent(QCloseEvent *event)
{
    save<Remembered::LargeViewGeometry>(saveGeometry());
    QWidget::closeEvent(event);
}

void LargeView::mousePressEvent(QMouseEvent *event)
{
    if (drag_ != Drag::None)
        return;
    last_ = event->position();
    if (event->button() == Qt::LeftButton) {
        drag_ = Drag::Turn;
    } else if (event->button() == Qt::RightButton) {
        drag_ = Drag::Pan;
        rightPressedAt_ = event->position();
    }
}

void LargeView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF moved = event->position() - last_;
    last_ = event->position();
    if (drag_ == Drag::Turn && !moved.isNull()) {
        viewState_.turnBy(-kDegreesPerPixel * moved.x(), -kDegreesPerPixel * moved.y());
    } else if (drag_ == Drag::Pan) {
        navigation_.panBy(fitted(), moved);
        redraw();
    }
}

void LargeView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool turning = drag_ == Drag::Turn && event->button() == Qt::LeftButton;
    const bool panning = drag_ == Drag::Pan && event->button() == Qt::RightButton;
    if (!turning && !panning)
        return;
    drag_ = Drag::None;
    if (panning
        && (event->position() - rightPressedAt_).manhattanLength()
               < QApplication::startDragDistance())
        contextMenu_->popup(event->globalPosition().toPoint());
}

void LargeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    viewState_.showFront();
    navigation_ = ViewNavigation::fitting(fitted(), modelBox(viewState_.document().model()),
                                          QSizeF(surface_.width(), surface_.height()));
    redraw();
}

void LargeView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    navigation_.zoomAbout(fitted(), event->position(), std::pow(kZoomPerNotch, notches));
    redraw();
}

void LargeView::contextMenuEvent(QContextMenuEvent *event)
{
    // A mouse's menu opens on the release of a right click that did not pan.
    if (event->reason() != QContextMenuEvent::Mouse)
        contextMenu_->popup(mapToGlobal(rect().center()));
}
