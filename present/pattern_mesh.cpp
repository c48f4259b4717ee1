#include "present/pattern_mesh.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// The phi points close a ring when one more step comes back to the first.
bool phiGoesRound(const PatternGrid& g) {
    if (g.phiCount < 3) return false;
    const double first = g.angles[g.point(1, 1)][1];
    const double step = g.angles[g.point(1, 2)][1] - first;
    const double last = g.angles[g.point(1, g.phiCount)][1];
    return step > 0 && std::fabs(last + step - first - 360) < 1e-3;
}

} // namespace

PatternGrid patternGridOf(const Model& m) {
    PatternGrid g;
    if (m.patternCount < 1 || m.requestMode < 0 || m.requestMode == kSurfaceWaveRequest) return g;
    g.thetaCount = std::max<int>(m.requestCount[1], 1);
    g.phiCount = std::max<int>(m.requestCount[2], 1);
    if (m.sweepPatternAxis == 1) g.thetaCount = 1;
    if (m.sweepPatternAxis == -1) g.phiCount = 1;
    const long loaded = std::min<long>(m.patternCount, static_cast<long>(m.farFieldAngles.size()) - 1);
    if (g.thetaCount > loaded) g.thetaCount = static_cast<int>(loaded);
    if (static_cast<long>(g.thetaCount) * g.phiCount > loaded) g.phiCount = static_cast<int>(loaded / g.thetaCount);
    g.angles = m.farFieldAngles;
    g.values = m.farFieldGains;
    g.largest = m.patternMax;
    return g;
}

double patternLowerLimit(const Model& m, int quantity) {
    if (quantity > 3) return 0;
    const double floor = m.linLogFactor == 0.8 ? m.minLogDb : m.minLinearDb;
    return std::min(floor, m.patternMax[static_cast<size_t>(quantity)] + floor);
}

std::vector<MeshLine> patternMesh(const PatternGrid& g, const PatternStyle& s, const Projection& p) {
    std::vector<MeshLine> lines;
    if (g.empty() || s.quantity < 1 || s.quantity > 5) return lines;
    const size_t column = static_cast<size_t>(s.quantity - 1);
    const double largest = g.largest[static_cast<size_t>(s.quantity)];
    const size_t count = static_cast<size_t>(g.thetaCount) * static_cast<size_t>(g.phiCount);
    std::vector<double> px(count + 1), py(count + 1), pf(count + 1);
    for (size_t i = 1; i <= count; ++i) {
        const double theta = g.angles[i][0] * kDegToRad, phi = g.angles[i][1] * kDegToRad;
        const double f = scaleRadius(s.lower, largest, std::max(g.values[i][column], s.lower), s.factor);
        const double r = f * s.size;
        const double x = r * std::sin(theta) * std::cos(phi), y = r * std::sin(theta) * std::sin(phi);
        px[i] = p.x(x, y);
        py[i] = p.y(x, y, r * std::cos(theta));
        pf[i] = f;
    }
    auto join = [&](size_t a, size_t b) { lines.push_back({px[a], py[a], px[b], py[b], (pf[a] + pf[b]) / 2}); };
    const int step = std::max(s.lineStep, 1);
    if (s.gridType != 3) {
        const bool round = phiGoesRound(g);
        for (int t = 1; t <= g.thetaCount; t += step) {
            for (int q = 1; q < g.phiCount; ++q) join(g.point(t, q), g.point(t, q + 1));
            if (round) join(g.point(t, g.phiCount), g.point(t, 1));
        }
    }
    if (s.gridType != 2) {
        for (int q = 1; q <= g.phiCount; q += step)
            for (int t = 1; t < g.thetaCount; ++t) join(g.point(t, q), g.point(t + 1, q));
    }
    return lines;
}

std::string patternQuantityLabel(int quantity) {
    static const char* const kLabels[] = {"Vertical gain [dB]", "Horizontal gain [dB]", "Total gain [dB]",
                                          "E (theta) [V/m]", "E (phi) [V/m]"};
    return quantity >= 1 && quantity <= 5 ? kLabels[quantity - 1] : "";
}

} // namespace wavra
