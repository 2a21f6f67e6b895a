#include "renderer.h"

#include "drawing.h"

#include <cmath>

PairTurn::PairTurn(double degrees, double substitute)
    : substitute_(substitute)
{
    // The same degree sums as the quadrant cases form, converted the same way,
    // so a point with a = 0 comes out bit for bit as the case formula gives it.
    for (int group = 0; group < 3; ++group) {
        const double radians = (180.0 * group + degrees) * kRendererPi / 180.0;
        sin_[group] = std::sin(radians);
        cos_[group] = std::cos(radians);
    }
}

void PairTurn::substituted(double a, double &along, double &across) const
{
    const double slope = a / substitute_;
    along = std::fabs(a) / std::sqrt(1.0 + slope * slope);
    across = along * slope;
}

void turnModel(ProgramState &state, double turnDegrees, double tiltDegrees)
{
    const PairTurn turn(turnDegrees, kFirstTurnSubstitute);
    const PairTurn tilt(tiltDegrees, kSecondTurnSubstitute);
    for (std::int32_t i = 0; i < state.pointCount; ++i) {
        const Coords &model = state.modelPoints[i];
        Coords &view = state.viewPoints[i];
        double depth;
        double horizontal;
        turn.apply(model[Depth], model[Horizontal], depth, horizontal);
        double vertical;
        tilt.apply(model[Vertical], depth, vertical, depth);
        view = {depth, horizontal, vertical};
    }
}

void renderView(ProgramState &state, Surface &surface, double turnDegrees, double tiltDegrees)
{
    turnModel(state, turnDegrees, tiltDegrees);
    drawPoints(surface, state, state.viewPoints);
}
