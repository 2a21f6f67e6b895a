#include "image_surface.h"

#include "colour.h"
#include "picture_file.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

ImageSurface::ImageSurface(int width, int height, Colour background)
    : image_(width, height, QImage::Format_RGB32)
    , background_(background)
{
    Cls();
}

float ImageSurface::ScaleWidth() const
{
    return static_cast<float>(image_.width());
}

float ImageSurface::ScaleHeight() const
{
    return static_cast<float>(image_.height());
}

void ImageSurface::Cls()
{
    image_.fill(toQRgb(background_));
}

// The range test comes before any conversion: casting NaN, an infinity or a
// huge value to int is undefined behaviour.
bool ImageSurface::pixelAt(float x, float y, int *px, int *py) const
{
    if (!(x > -1.0f && x < ScaleWidth() + 1.0f && y > -1.0f && y < ScaleHeight() + 1.0f))
        return false;
    *px = static_cast<int>(std::nearbyint(x));
    *py = static_cast<int>(std::nearbyint(y));
    return *px >= 0 && *px < image_.width() && *py >= 0 && *py < image_.height();
}

void ImageSurface::PSet(float x, float y, Colour colour)
{
    int px = 0;
    int py = 0;
    if (pixelAt(x, y, &px, &py))
        reinterpret_cast<QRgb *>(image_.scanLine(py))[px] = toQRgb(colour);
}

Colour ImageSurface::Point(float x, float y) const
{
    int px = 0;
    int py = 0;
    if (!pixelAt(x, y, &px, &py))
        return kWhite;
    return fromQRgb(reinterpret_cast<const QRgb *>(image_.constScanLine(py))[px]);
}

namespace {

// Rounds a coordinate of a box corner, bounded so that it stays an int.
int boxCoordinate(float v, int size)
{
    if (std::isnan(v))
        return -1;
    return static_cast<int>(std::nearbyint(std::clamp(v, -2.0f, static_cast<float>(size) + 1.0f)));
}

} // namespace

void ImageSurface::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    const int w = image_.width();
    const int h = image_.height();
    const int left = std::min(boxCoordinate(x1, w), boxCoordinate(x2, w));
    const int right = std::max(boxCoordinate(x1, w), boxCoordinate(x2, w));
    const int top = std::min(boxCoordinate(y1, h), boxCoordinate(y2, h));
    const int bottom = std::max(boxCoordinate(y1, h), boxCoordinate(y2, h));
    const QRgb rgb = toQRgb(colour);

    auto set = [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb *>(image_.scanLine(y))[x] = rgb;
    };
    for (int x = std::max(left, 0); x <= std::min(right, w - 1); ++x) {
        set(x, top);
        set(x, bottom);
    }
    for (int y = std::max(top, 0); y <= std::min(bottom, h - 1); ++y) {
        set(left, y);
        set(right, y);
    }
}

PictureResult ImageSurface::LoadPicture(const std::string &path)
{
    Cls();
    const DecodedPicture decoded = readPicture(QString::fromStdString(path));
    if (decoded.result.ok())
        showPicture(decoded.image);
    return decoded.result;
}

PictureResult ImageSurface::SavePicture(const std::string &path) const
{
    return writePicture(image_, QString::fromStdString(path));
}

void ImageSurface::showPicture(const QImage &picture)
{
    QPainter painter(&image_);
    painter.drawImage(0, 0, picture);
}
