#pragma once

#include "surface.h"

#include <QImage>

// A drawing surface kept in memory; the picture-box widget paints its image.
class ImageSurface final : public Surface {
public:
    ImageSurface(int width, int height, Colour background);

    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void Cls() override;
    void PSet(float x, float y, Colour colour) override;
    Colour Point(float x, float y) const override;
    void Line(float x1, float y1, float x2, float y2, Colour colour) override;
    PictureResult LoadPicture(const std::string &path) override;
    PictureResult SavePicture(const std::string &path) const override;

    // Draws an already decoded picture from the top-left corner, clipped.
    void showPicture(const QImage &picture);

    const QImage &image() const { return image_; }
    Colour background() const { return background_; }

private:
    bool pixelAt(float x, float y, int *px, int *py) const;

    QImage image_;
    Colour background_;
};
