#include "present/segment_currents.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

// Characters per number of the read-out: segment currents of a 1 V source
// are milliamperes, which three characters would show as ".00".
constexpr int kCurrentWidth = 6;

} // namespace

bool hasCurrents(const Results& results) { return results.maxCurrentMag > 0; }

bool hasPhases(const Results& results) { return results.maxCurrentPhase >= 0; }

std::string segmentCurrentText(const Geometry& geometry, const Results& results, int row, bool cartesian) {
    const Cartesian c = toCartesian(std::fabs(results.wireCurrentMag[row]), results.wireCurrentPhase[row]);
    return "Seg: " + formatPicture(row, "##0") + ", Tag: " + std::to_string(geometry.wireTag[row]) +
           ", Curr: " + formatComplex(c.re, c.im, "amp", kCurrentWidth, cartesian);
}

int currentRampEntry(double magnitude, double largest) {
    if (!(largest > 0)) return 1;
    const double k = std::floor(16 * std::fabs(magnitude) / largest + 0.5);
    return static_cast<int>(std::clamp(std::isfinite(k) ? k : 1.0, 1.0, 16.0));
}

int phaseRampEntry(double phase, double largest) {
    if (!(largest > 0) || !std::isfinite(phase)) return 8;
    return colourRampEntry((phase + largest) / (2 * largest));
}

std::optional<double> powerCurrentScale(const Summary& summary) {
    if (!summary.hasPower || !(summary.fieldScale > 0)) return std::nullopt;
    return summary.fieldScale;
}

std::string powerCurrentLabel(const Settings& settings) {
    return settings.power > 0 ? "at " + formatPicture(settings.power, "##0") + " W" : std::string("rms");
}

std::string segmentPowerCurrentText(const Settings& settings, const Results& results, const Summary& summary, int row,
                                    bool cartesian) {
    const auto scale = powerCurrentScale(summary);
    if (!scale) return {};
    const Cartesian c = toCartesian(std::fabs(results.wireCurrentMag[row]) * *scale, results.wireCurrentPhase[row]);
    return powerCurrentLabel(settings) + ": " + formatComplex(c.re, c.im, "amp", kCurrentWidth, cartesian);
}

std::optional<Bar> segmentBar(const Geometry& geometry, const Projection& p, int row, double length) {
    const double x1 = p.x(geometry.wireX1[row], geometry.wireY1[row]),
                 y1 = p.y(geometry.wireX1[row], geometry.wireY1[row], geometry.wireZ1[row]);
    const double x2 = p.x(geometry.wireX2[row], geometry.wireY2[row]),
                 y2 = p.y(geometry.wireX2[row], geometry.wireY2[row], geometry.wireZ2[row]);
    const double dx = x2 - x1, dy = y2 - y1, projected = std::hypot(dx, dy);
    if (projected == 0) return std::nullopt;
    Bar b;
    b.x1 = (x1 + x2) / 2;
    b.y1 = (y1 + y2) / 2;
    b.x2 = b.x1 - dy / projected * length;
    b.y2 = b.y1 + dx / projected * length;
    return b;
}

double currentBarLength(const Results& results, int row, double size) {
    return results.maxCurrentMag > 0 ? std::fabs(results.wireCurrentMag[row]) * size / results.maxCurrentMag : 0;
}

double phaseBarLength(const Results& results, int row, double size) {
    return results.maxCurrentPhase > 0 ? results.wireCurrentPhase[row] * size / results.maxCurrentPhase : 0;
}

} // namespace wavra
