#pragma once

#include "program_state.h"

// Degrees to radians and back use this rounded value, not full-precision pi:
// it is part of how every view of a model looks.
inline constexpr double kRendererPi = 3.14159;

// Replaces a coordinate of exactly 0 on the axis a turn moves away from.
inline constexpr double kFirstTurnSubstitute = -0.01;
inline constexpr double kSecondTurnSubstitute = -0.001;

// Turns coordinate pairs (a, d) by a fixed angle in degrees, measured from the
// positive d axis towards the positive a axis. Equivalent to taking the
// point's angle with atan in four quadrant cases, adding the turn and going
// back with sin and cos, but without trigonometry per point.
class PairTurn {
public:
    PairTurn(double degrees, double substitute);

    void apply(double a, double d, double &newA, double &newD) const
    {
        // r cos(angle) and r sin(angle), with the angle relative to the start
        // of the quadrant group; r comes from d itself, never the substitute.
        double along;
        double across;
        int group;
        if (d > 0) {
            group = a >= 0 ? 0 : 2;
            along = d;
            across = a;
        } else if (d < 0) {
            group = 1;
            along = -d;
            across = -a;
        } else if (d == 0) {
            substituted(a, along, across);
            group = 1;
        } else {
            // NaN stays NaN, so a point read with a broken coordinate is not drawn.
            group = 0;
            along = d;
            across = a;
        }
        newA = sin_[group] * along + cos_[group] * across;
        newD = cos_[group] * along - sin_[group] * across;
    }

private:
    void substituted(double a, double &along, double &across) const;

    // Sine and cosine of the turn plus 0, 180 and 360 degrees of the groups
    // (d > 0 with a >= 0; d < 0; d > 0 with a < 0), in the rounded radians.
    double sin_[3];
    double cos_[3];
    double substitute_;
};

// Turns points 0 .. pointCount - 1 of modelPoints about the vertical axis by
// `turnDegrees`, then about the horizontal axis by `tiltDegrees`, into viewPoints.
void turnModel(ProgramState &state, double turnDegrees, double tiltDegrees);

// turnModel, then the turned points drawn straight on into `surface`.
void renderView(ProgramState &state, Surface &surface, double turnDegrees, double tiltDegrees);
