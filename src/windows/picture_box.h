#pragma once

#include "image_surface.h"

#include <QWidget>

// A drawing surface shown inside a 2-pixel sunken border. It paints only the
// surface's image; the program draws into the surface and then calls
// update(). Mouse positions are in pixels of the drawing area.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;

    PictureBox(QSize drawingArea, Colour background, QWidget *parent = nullptr);

    ImageSurface &surface() { return surface_; }
    const ImageSurface &surface() const { return surface_; }
    // Shows another surface; the box takes its size.
    void setSurface(ImageSurface surface);

signals:
    void pressed(QPointF position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void moved(QPointF position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void released(QPointF position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPointF inDrawingArea(const QMouseEvent *event) const;

    ImageSurface surface_;
};
