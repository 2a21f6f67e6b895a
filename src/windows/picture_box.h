#pragma once

#include "image_surface.h"

#include <QWidget>

// A picture box: a drawing surface shown inside a 2-pixel sunken border.
// It paints only the surface's image; the program draws into the surface and
// then calls update(). Mouse positions are in pixels of the drawing area.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;

    PictureBox(QSize outerSize, Colour background, QWidget *parent = nullptr);

    ImageSurface &surface() { return surface_; }
    const ImageSurface &surface() const { return surface_; }

signals:
    // button and shift use the classic codes: 1 left, 2 right, 4 middle;
    // 1 shift, 2 ctrl, 4 alt.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ImageSurface surface_;
};
