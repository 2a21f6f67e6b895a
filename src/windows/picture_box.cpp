#include "picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
           | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

PictureBox::PictureBox(QSize outerSize, Colour background, QWidget *parent)
    : QWidget(parent)
    , surface_(outerSize.width() - 2 * kBorder, outerSize.height() - 2 * kBorder, background)
{
    setFixedSize(outerSize);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent *)
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

    painter.drawImage(kBorder, kBorder, surface_.image());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position() - QPointF(kBorder, kBorder);
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position() - QPointF(kBorder, kBorder);
    emit mouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position() - QPointF(kBorder, kBorder);
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(p.x()),
                 float(p.y()));
}
