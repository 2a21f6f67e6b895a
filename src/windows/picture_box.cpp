#include "picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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
    const QRect outer = rect();
    // The classic sunken edge: dark above and left, light below and right.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());

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
