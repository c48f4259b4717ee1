// The arithmetic every result view shares: complex numbers in polar and
// cartesian form and as text, the lin-log radial scale, rounding onto the
// 1-2-5 series, the colour of a fraction on the colour ramp, the standard
// 16-colour palette of the fixed drawing colours, and the two-angle
// projection of the wire structure.
#pragma once

#include <string>

#include "core/model.h"

namespace wavra {

struct Polar {
    double magnitude = 0;
    double angle = 0; // degrees
};
struct Cartesian {
    double re = 0, im = 0;
};

// Magnitude and angle in degrees: atan(im/re), plus 180 when re < 0; for
// re = 0 the angle is 90 (im > 0), -90 (im < 0) or 180 (im = 0).
Polar toPolar(double re, double im);
// re = m cos a, im = m sin a, with a in degrees.
Cartesian toCartesian(double magnitude, double angle);

// A complex value as text. Polar: magnitude (`width` characters) + " " +
// unit + " @ " + angle (4 characters) + " °". Cartesian: real part, " +" or
// " -", " j ", the absolute imaginary part (both `width` characters), " " +
// unit.
std::string formatComplex(double re, double im, const std::string& unit, int width, bool cartesian);

// The lin-log radial scale: the fraction of the plot radius for value v on
// a scale from min to max. With f = 0.5 the scale is linear; otherwise the
// value at fraction f of the range lies at half the radius (x^e, e = ln 2 /
// ln(1/f)). 0 when the range is empty.
double scaleRadius(double min, double max, double v, double f);

// Rounding onto the 1-2-5 series of the model's display tables:
// sign(x) times the largest series value below |x| (the first value when
// none is), or the smallest one above |x| (the last value when none is).
double seriesBelow(double x);
double seriesAbove(double x);

// The colour-ramp entry of a fraction: k = integer part of 17 f, clamped to
// 0..16; colourOf gives its colour.
int colourRampEntry(double fraction);
Rgb colourOf(double fraction);

// Colour n (0..15) of the standard 16-colour palette: 9 light blue, 12 light
// red, 2 green, 13 light magenta, 6 brown, ...; n is taken modulo 16.
Rgb standardColour(int n);

// The two-angle projection of a model point (metres) onto the drawing
// plane: with A the azimuth and E the elevation in degrees,
// X = (-x sA + y cA) zoom - dx, Y = (-x cE cA - y cE sA + z sE) zoom - dy.
// E = 90 shows the model from the side with z up, E = 0 from above.
struct Projection {
    double sinA = 0, cosA = 1, sinE = 1, cosE = 0;
    double zoom = 1, dx = 0, dy = 0;

    Projection() = default;
    Projection(double azimuth, double elevation, double zoom, double dx = 0, double dy = 0);
    double x(double px, double py) const { return (-px * sinA + py * cosA) * zoom - dx; }
    double y(double px, double py, double pz) const {
        return (-px * cosE * cosA - py * cosE * sinA + pz * sinE) * zoom - dy;
    }
};

} // namespace wavra
