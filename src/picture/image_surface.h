#pragma once

#include "surface.h"

#include <QImage>

// A drawing surface kept in memory; the picture box widget paints its image.
class ImageSurface final : public Surface {
public:
    ImageSurface(int width, int height, Colour background);
    // A surface showing the picture, sharing its pixels until either is drawn on: a large
    // picture is best given as a temporary, so that drawing on the surface copies nothing.
    ImageSurface(QImage picture, Colour background);

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    void clear() override;
    void plot(float x, float y, Colour colour) override;
    void plotAll(std::span<const SurfacePoint> points, std::span<const Colour> colours,
                 int size) override;
    Colour pixel(float x, float y) const override;
    void readRow(int x, int y, std::span<Colour> out) const override;
    void drawBox(float x1, float y1, float x2, float y2, Colour colour) override;

    // Draws a decoded picture from the top-left corner, clipped.
    void showPicture(const QImage &picture);
    // Puts `pixels`, taken from this surface's image, back at `at`.
    void paste(const QImage &pixels, QPoint at);

    const QImage &image() const { return image_; }

private:
    QImage image_;
    Colour background_;
};
