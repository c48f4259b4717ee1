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

bool hasCurrents(const Model& m) { return m.maxCurrentMag > 0; }

bool hasPhases(const Model& m) { return m.maxCurrentPhase >= 0; }

std::string segmentCurrentText(const Model& m, int row, bool cartesian) {
    const Cartesian c = toCartesian(std::fabs(m.wireCurrentMag[row]), m.wireCurrentPhase[row]);
    return "Seg: " + formatPicture(row, "##0") + ", Tag: " + std::to_string(m.wireTag[row]) +
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

std::optional<double> powerCurrentScale(const Model& m) {
    if (!m.summary.hasPower || !(m.summary.fieldScale > 0)) return std::nullopt;
    return m.summary.fieldScale;
}

std::string powerCurrentLabel(const Model& m) {
    return m.power > 0 ? "at " + formatPicture(m.power, "##0") + " W" : std::string("rms");
}

std::string segmentPowerCurrentText(const Model& m, int row, bool cartesian) {
    const auto scale = powerCurrentScale(m);
    if (!scale) return {};
    const Cartesian c = toCartesian(std::fabs(m.wireCurrentMag[row]) * *scale, m.wireCurrentPhase[row]);
    return powerCurrentLabel(m) + ": " + formatComplex(c.re, c.im, "amp", kCurrentWidth, cartesian);
}

std::optional<Bar> segmentBar(const Model& m, const Projection& p, int row, double length) {
    const double x1 = p.x(m.wireX1[row], m.wireY1[row]), y1 = p.y(m.wireX1[row], m.wireY1[row], m.wireZ1[row]);
    const double x2 = p.x(m.wireX2[row], m.wireY2[row]), y2 = p.y(m.wireX2[row], m.wireY2[row], m.wireZ2[row]);
    const double dx = x2 - x1, dy = y2 - y1, projected = std::hypot(dx, dy);
    if (projected == 0) return std::nullopt;
    Bar b;
    b.x1 = (x1 + x2) / 2;
    b.y1 = (y1 + y2) / 2;
    b.x2 = b.x1 - dy / projected * length;
    b.y2 = b.y1 + dx / projected * length;
    return b;
}

double currentBarLength(const Model& m, int row, double size) {
    return m.maxCurrentMag > 0 ? std::fabs(m.wireCurrentMag[row]) * size / m.maxCurrentMag : 0;
}

double phaseBarLength(const Model& m, int row, double size) {
    return m.maxCurrentPhase > 0 ? m.wireCurrentPhase[row] * size / m.maxCurrentPhase : 0;
}

} // namespace wavra
