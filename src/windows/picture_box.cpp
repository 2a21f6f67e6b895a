#include "picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <utility>

PictureBox::PictureBox(QSize drawingArea, Colour background, QWidget *parent)
    : QWidget(parent)
    , surface_(drawingArea.width(), drawingArea.height(), background)
{
    setFixedSize(drawingArea + QSize(2 * kBorder, 2 * kBorder));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setSurface(ImageSurface surface)
{
    surface_ = std::move(surface);
    setFixedSize(surface_.width() + 2 * kBorder, surface_.height() + 2 * kBorder);
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // The classic sunken edge, two rings: dark above and left, light below and right.
    const struct {
        int inset;
        QPalette::ColorRole above, below;
    } rings[] = {{0, QPalette::Mid, QPalette::Light}, {1, QPalette::Shadow, QPalette::Midlight}};
    for (const auto &ring : rings) {
        const QRect edge = rect().adjusted(ring.inset, ring.inset, -ring.inset, -ring.inset);
        painter.setPen(palette().color(ring.above));
        painter.drawPolyline(QPolygon({edge.bottomLeft(), edge.topLeft(), edge.topRight()}));
        painter.setPen(palette().color(ring.below));
        painter.drawPolyline(QPolygon({edge.bottomLeft(), edge.bottomRight(), edge.topRight()}));
    }

    // Only what is exposed: a scrolled picture may be far larger than its view.
    const QRect exposed = event->rect() & QRect(QPoint(kBorder, kBorder), surface_.image().size());
    painter.drawImage(exposed.topLeft(), surface_.image(), exposed.translated(-kBorder, -kBorder));
}

QPointF PictureBox::inDrawingArea(const QMouseEvent *event) const
{
    return event->position() - QPointF(kBorder, kBorder);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emit pressed(inDrawingArea(event), event->button(), event->modifiers());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emit moved(inDrawingArea(event), event->buttons(), event->modifiers());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(inDrawingArea(event), event->button(), event->modifiers());
}
