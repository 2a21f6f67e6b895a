#pragma once

#include "program_state.h"

#include <cmath>

// The turn written the plain way, case by case, as the reference the renderer
// is checked against and the baseline the benchmark measures it against.
namespace literal {

inline constexpr double P = 3.14159;

inline void turnPair(double a, double d, double L, double z, double &newA, double &newD)
{
    double d0 = d;
    if (d0 == 0)
        d0 = z;
    double t;
    if (a >= 0 && d0 >= 0)
        t = std::atan(a / d0) * 180 / P;
    else if (a >= 0 && d0 <= 0)
        t = 180 - std::atan(-a / d0) * 180 / P;
    else if (a <= 0 && d0 <= 0)
        t = std::atan(a / d0) * 180 / P + 180;
    else
        t = 360 - std::atan(-a / d0) * 180 / P;
    const double u = t + L;
    const double r = std::sqrt(d * d + a * a);
    newA = r * std::sin(u * P / 180);
    newD = r * std::cos(u * P / 180);
}

inline void turnModel(ProgramState &s, double L1, double L2)
{
    for (std::int32_t i = 0; i < s.pointCount; ++i) {
        turnPair(s.modelPoints[i][0], s.modelPoints[i][1], L1, -0.01, s.viewPoints[i][0],
                 s.viewPoints[i][1]);
        s.viewPoints[i][2] = s.modelPoints[i][2];
    }
    for (std::int32_t i = 0; i < s.pointCount; ++i)
        turnPair(s.viewPoints[i][2], s.viewPoints[i][0], L2, -0.001, s.viewPoints[i][2],
                 s.viewPoints[i][0]);
}

} // namespace literal
