#pragma once

#include "model.h"

#include <QImage>

#include <cmath>
#include <vector>

// The turn written the plain way, case by case, as the reference the renderer
// is checked against and the baseline the benchmark measures it against.
namespace literal {

inline constexpr double P = 3.14159;

inline void turnPair(double a, double d, double L, double z, double &newA, double &newD)
{
    const double d0 = d == 0 ? z : d;
    double t;
    if (a >= 0 && d0 >= 0)
        t = std::atan(a / d0) * 180 / P;
    else if (a >= 0 && d0 <= 0)
        t = 180 - std::atan(-a / d0) * 180 / P;
    else if (a <= 0 && d0 <= 0)
        t = std::atan(a / d0) * 180 / P + 180;
    else
        t = 360 - std::atan(-a / d0) * 180 / P;
    const double u = t + L, r = std::sqrt(d * d + a * a);
    newA = r * std::sin(u * P / 180);
    newD = r * std::cos(u * P / 180);
}

inline std::vector<Coords> turnModel(const std::vector<Coords> &points, double L1, double L2)
{
    std::vector<Coords> view(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        turnPair(points[i][0], points[i][1], L1, -0.01, view[i][0], view[i][1]);
        turnPair(points[i][2], view[i][0], L2, -0.001, view[i][2], view[i][0]);
    }
    return view;
}

// The points plotted one by one on white, each at (130 + horizontal,
// 130 - vertical) rounded half to even, skipped outside or when not finite.
inline QImage plotted(const std::vector<Coords> &points, const std::vector<Colour> &colours,
                      int size = kViewSize)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int centre = int(std::nearbyint(size / 2.0));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double px = std::nearbyint(float(centre + points[i][Horizontal]));
        const double py = std::nearbyint(float(centre - points[i][Vertical]));
        if (px >= 0 && px < size && py >= 0 && py < size) { // false for NaN and infinities
            const Colour c = colours[i];
            image.setPixel(int(px), int(py), qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    }
    return image;
}

} // namespace literal
