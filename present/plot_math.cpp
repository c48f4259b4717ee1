#include "present/plot_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/text.h"

namespace wavra {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

} // namespace

Polar toPolar(double re, double im) {
    Polar p;
    p.magnitude = std::sqrt(re * re + im * im);
    if (re == 0) p.angle = im > 0 ? 90 : (im < 0 ? -90 : 180);
    else p.angle = std::atan(im / re) / kDegToRad + (re < 0 ? 180 : 0);
    return p;
}

Cartesian toCartesian(double magnitude, double angle) {
    return {magnitude * std::cos(angle * kDegToRad), magnitude * std::sin(angle * kDegToRad)};
}

std::string formatComplex(double re, double im, const std::string& unit, int width, bool cartesian) {
    if (cartesian)
        return formatNumber(re, width) + (im < 0 ? " -" : " +") + " j " + formatNumber(std::fabs(im), width) + " " +
               unit;
    const Polar p = toPolar(re, im);
    return formatNumber(p.magnitude, width) + " " + unit + " @ " + formatNumber(p.angle, 4) + " \u00b0";
}

double scaleRadius(double min, double max, double v, double f) {
    if (max - min < 1e-99) return 0;
    const double x = (v - min) / (max - min);
    if (f == 0.5) return x;
    // x^e with e = ln 2 / ln(1/f); a negative x (a value below the scale)
    // has no real power and is drawn at the centre.
    if (x <= 0) return 0;
    // The exponent is worked out again only when the factor changes: a
    // pattern calls this for every one of its points.
    thread_local double lastFactor = std::numeric_limits<double>::quiet_NaN(), exponent = 1;
    if (f != lastFactor) {
        exponent = std::log(2.0) / std::log(1.0 / f);
        lastFactor = f;
    }
    return std::pow(x, exponent);
}

double seriesBelow(double x) {
    const auto& s = displayTables().stepSeries;
    const double a = std::fabs(x);
    double found = s[1];
    for (int i = 43; i >= 1; --i)
        if (s[static_cast<size_t>(i)] < a) {
            found = s[static_cast<size_t>(i)];
            break;
        }
    return x < 0 ? -found : found;
}

double seriesAbove(double x) {
    const auto& s = displayTables().stepSeries;
    const double a = std::fabs(x);
    double found = s[43];
    for (int i = 1; i <= 43; ++i)
        if (s[static_cast<size_t>(i)] > a) {
            found = s[static_cast<size_t>(i)];
            break;
        }
    return x < 0 ? -found : found;
}

int colourRampEntry(double fraction) {
    const double k = std::floor(17.0 * fraction);
    return std::isfinite(k) ? static_cast<int>(std::clamp(k, 0.0, 16.0)) : 0;
}

Rgb colourOf(double fraction) { return displayTables().colourRamp[static_cast<size_t>(colourRampEntry(fraction))]; }

Rgb standardColour(int n) {
    static constexpr std::array<Rgb, 16> kColours{{
        {0, 0, 0},
        {0, 0, 128},
        {0, 128, 0},
        {0, 128, 128},
        {128, 0, 0},
        {128, 0, 128},
        {128, 128, 0},
        {192, 192, 192},
        {128, 128, 128},
        {0, 0, 255},
        {0, 255, 0},
        {0, 255, 255},
        {255, 0, 0},
        {255, 0, 255},
        {255, 255, 0},
        {255, 255, 255},
    }};
    return kColours[static_cast<size_t>(((n % 16) + 16) % 16)];
}

Projection::Projection(double azimuth, double elevation, double zoom_, double dx_, double dy_)
    : sinA(std::sin(azimuth * kDegToRad)), cosA(std::cos(azimuth * kDegToRad)), sinE(std::sin(elevation * kDegToRad)),
      cosE(std::cos(elevation * kDegToRad)), zoom(zoom_), dx(dx_), dy(dy_) {}

} // namespace wavra
