#include "image_surface.h"

#include "qt_colour.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// Nearest, halves to even. Only for values well inside int's range.
int roundHalfEven(float v)
{
    // One instruction under the default rounding mode, as the surface library
    // is built without errno for math functions.
    return static_cast<int>(std::lrint(v));
}

// Where a point lands on a surface of the given size, or false when it lands
// outside. The range test comes before any conversion: casting NaN, an
// infinity or a huge value to int is undefined behaviour. A margin lets the
// centre of a larger point lie that far beyond the edges.
class PixelGrid {
public:
    PixelGrid(int width, int height, int margin = 0)
        : width_(width + 2 * margin)
        , height_(height + 2 * margin)
        , margin_(margin)
        , low_(-1.0f - float(margin))
        , right_(float(width + margin) + 1.0f)
        , bottom_(float(height + margin) + 1.0f)
    {
    }

    bool locate(float x, float y, int *px, int *py) const
    {
        if (!(x > low_ && x < right_ && y > low_ && y < bottom_))
            return false;
        *px = roundHalfEven(x);
        *py = roundHalfEven(y);
        return unsigned(*px + margin_) < unsigned(width_)
               && unsigned(*py + margin_) < unsigned(height_);
    }

private:
    int width_;
    int height_;
    int margin_;
    float low_;
    float right_;
    float bottom_;
};

// The hot loop of every redraw, on its own so that everything stays in registers.
void plotPixels(QRgb *bits, qsizetype stride, int width, int height,
                std::span<const SurfacePoint> points, std::span<const Colour> colours)
{
    const PixelGrid grid(width, height);
    for (std::size_t i = 0; i < points.size(); ++i) {
        int px = 0;
        int py = 0;
        if (grid.locate(points[i].x, points[i].y, &px, &py))
            bits[py * stride + px] = toQRgb(colours[i]);
    }
}

// `Size` fixed at compile time for the sizes that points grow to in a large view: a square
// wholly inside is then a few wide stores a row, without a loop or a bound.
template<int Size = 0>
void plotSquares(QRgb *bits, qsizetype stride, int width, int height,
                 std::span<const SurfacePoint> points, std::span<const Colour> colours,
                 int size = Size)
{
    const int before = (size - 1) / 2;
    const int after = size / 2;
    const PixelGrid grid(width, height, std::max(before, after));
    for (std::size_t i = 0; i < points.size(); ++i) {
        int px = 0;
        int py = 0;
        if (!grid.locate(points[i].x, points[i].y, &px, &py))
            continue;
        const QRgb rgb = toQRgb(colours[i]);
        const int left = px - before;
        const int top = py - before;
        if constexpr (Size > 0) {
            if (left >= 0 && top >= 0 && px + after < width && py + after < height) {
                for (int y = 0; y < Size; ++y)
                    std::fill_n(bits + (top + y) * stride + left, Size, rgb);
                continue;
            }
        }
        const int right = std::min(px + after, width - 1);
        for (int y = std::max(top, 0); y <= std::min(py + after, height - 1); ++y)
            std::fill(bits + y * stride + std::max(left, 0), bits + y * stride + right + 1, rgb);
    }
}

// Rounds a coordinate of a box corner, bounded so that it stays an int.
int boxCoordinate(float v, int size)
{
    if (std::isnan(v))
        return -1;
    return static_cast<int>(std::nearbyint(std::clamp(v, -2.0f, static_cast<float>(size) + 1.0f)));
}

} // namespace

ImageSurface::ImageSurface(int width, int height, Colour background)
    : image_(width, height, QImage::Format_RGB32)
    , background_(background)
{
    clear();
}

ImageSurface::ImageSurface(QImage picture, Colour background)
    : image_(picture.format() == QImage::Format_RGB32
                 ? std::move(picture)
                 : picture.convertToFormat(QImage::Format_RGB32))
    , background_(background)
{
}

void ImageSurface::clear()
{
    image_.fill(toQRgb(background_));
}

void ImageSurface::plot(float x, float y, Colour colour)
{
    const SurfacePoint point {x, y};
    plotAll({&point, 1}, {&colour, 1}, 1);
}

void ImageSurface::plotAll(std::span<const SurfacePoint> points, std::span<const Colour> colours,
                           int size)
{
    const std::size_t count = std::min(points.size(), colours.size());
    QRgb *bits = reinterpret_cast<QRgb *>(image_.bits()); // detaches once, not per point
    const qsizetype stride = image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    const int width = image_.width();
    const int height = image_.height();
    points = points.first(count);
    if (size <= 1)
        return plotPixels(bits, stride, width, height, points, colours);
    switch (size) {
    case 2:
        return plotSquares<2>(bits, stride, width, height, points, colours);
    case 3:
        return plotSquares<3>(bits, stride, width, height, points, colours);
    case 4:
        return plotSquares<4>(bits, stride, width, height, points, colours);
    case 5:
        return plotSquares<5>(bits, stride, width, height, points, colours);
    default:
        return plotSquares(bits, stride, width, height, points, colours, size);
    }
}

Colour ImageSurface::pixel(float x, float y) const
{
    int px = 0;
    int py = 0;
    if (!PixelGrid(image_.width(), image_.height()).locate(x, y, &px, &py))
        return kWhite;
    return fromQRgb(reinterpret_cast<const QRgb *>(image_.constScanLine(py))[px]);
}

void ImageSurface::readRow(int x, int y, std::span<Colour> out) const
{
    std::fill(out.begin(), out.end(), kWhite);
    if (y < 0 || y >= image_.height())
        return;
    const auto *row = reinterpret_cast<const QRgb *>(image_.constScanLine(y));
    const int from = std::max(x, 0), to = std::min<int>(x + int(out.size()), image_.width());
    for (int at = from; at < to; ++at)
        out[std::size_t(at - x)] = fromQRgb(row[at]);
}

void ImageSurface::drawBox(float x1, float y1, float x2, float y2, Colour colour)
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

void ImageSurface::showPicture(const QImage &picture)
{
    QPainter painter(&image_);
    painter.drawImage(0, 0, picture);
}

void ImageSurface::paste(const QImage &pixels, QPoint at)
{
    const QRect clipped = QRect(at, pixels.size()) & image_.rect();
    const std::size_t bytes = std::size_t(clipped.width()) * sizeof(QRgb);
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        std::memcpy(image_.scanLine(y) + clipped.left() * qsizetype(sizeof(QRgb)),
                    pixels.constScanLine(y - at.y())
                        + (clipped.left() - at.x()) * qsizetype(sizeof(QRgb)),
                    bytes);
}
