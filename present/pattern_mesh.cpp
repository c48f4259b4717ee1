#include "present/pattern_mesh.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// Sine and cosine of an angle in degrees.
struct Trig {
    double degrees = 0, sine = 0, cosine = 1;
    Trig() = default;
    explicit Trig(double a) : degrees(a), sine(std::sin(a * kDegToRad)), cosine(std::cos(a * kDegToRad)) {}
    Trig of(double a) const { return a == degrees ? *this : Trig(a); }
};

} // namespace

bool phiGoesRound(const PatternGrid& g) {
    if (g.phiCount < 3) return false;
    const double first = g.angles[g.point(1, 1)][1];
    const double step = g.angles[g.point(1, 2)][1] - first;
    const double last = g.angles[g.point(1, g.phiCount)][1];
    return step > 0 && std::fabs(last + step - first - 360) < 1e-3;
}

double patternFraction(const PatternGrid& g, const PatternStyle& s, size_t point) {
    const double largest = g.largest[static_cast<size_t>(s.quantity)];
    return scaleRadius(s.lower, largest, std::max(g.values[point][static_cast<size_t>(s.quantity - 1)], s.lower),
                       s.factor);
}

PatternGrid patternGridOf(const Geometry& geometry, const Results& results) {
    PatternGrid g;
    if (results.patternCount < 1 || geometry.requestMode < 0 || geometry.requestMode == kSurfaceWaveRequest) return g;
    g.thetaCount = std::max<int>(geometry.requestCount[1], 1);
    g.phiCount = std::max<int>(geometry.requestCount[2], 1);
    if (results.sweepPatternAxis == 1) g.thetaCount = 1;
    if (results.sweepPatternAxis == -1) g.phiCount = 1;
    const long loaded = std::min<long>(results.patternCount, static_cast<long>(results.farFieldAngles.size()) - 1);
    if (g.thetaCount > loaded) g.thetaCount = static_cast<int>(loaded);
    if (static_cast<long>(g.thetaCount) * g.phiCount > loaded) g.phiCount = static_cast<int>(loaded / g.thetaCount);
    g.angles = results.farFieldAngles;
    g.values = results.farFieldGains;
    g.largest = results.patternMax;
    return g;
}

double patternLowerLimit(const Settings& settings, const Results& results, int quantity) {
    if (quantity > 3) return 0;
    const double floor = settings.linLogFactor == 0.8 ? settings.minLogDb : settings.minLinearDb;
    return std::min(floor, results.patternMax[static_cast<size_t>(quantity)] + floor);
}

void buildPatternMesh(const PatternGrid& g, const PatternStyle& s, const Projection& p, PatternMesh& mesh) {
    mesh.points.clear();
    mesh.curveEnds.clear();
    if (g.empty() || s.quantity < 1 || s.quantity > 5) return;
    const size_t count = static_cast<size_t>(g.thetaCount) * static_cast<size_t>(g.phiCount);
    mesh.x.resize(count + 1);
    mesh.y.resize(count + 1);
    mesh.fraction.resize(count + 1);
    // The grid's angles repeat along its rows and columns: their sines and
    // cosines are taken once, from the first column and row; a point whose
    // angle differs gets its own.
    std::vector<Trig> thetas(static_cast<size_t>(g.thetaCount) + 1), phis(static_cast<size_t>(g.phiCount) + 1);
    for (int t = 1; t <= g.thetaCount; ++t) thetas[static_cast<size_t>(t)] = Trig(g.angles[g.point(t, 1)][0]);
    for (int q = 1; q <= g.phiCount; ++q) phis[static_cast<size_t>(q)] = Trig(g.angles[g.point(1, q)][1]);
    for (int q = 1; q <= g.phiCount; ++q)
        for (int t = 1; t <= g.thetaCount; ++t) {
            const size_t i = g.point(t, q);
            const Trig theta = thetas[static_cast<size_t>(t)].of(g.angles[i][0]);
            const Trig phi = phis[static_cast<size_t>(q)].of(g.angles[i][1]);
            const double f = patternFraction(g, s, i);
            const double r = f * s.size;
            const double x = r * theta.sine * phi.cosine, y = r * theta.sine * phi.sine;
            mesh.x[i] = p.x(x, y);
            mesh.y[i] = p.y(x, y, r * theta.cosine);
            mesh.fraction[i] = f;
        }
    auto add = [&mesh](size_t point) { mesh.points.push_back(static_cast<uint32_t>(point)); };
    auto end = [&mesh] { mesh.curveEnds.push_back(mesh.points.size()); };
    const int step = std::max(s.lineStep, 1);
    if (s.gridType != 3 && g.phiCount > 1) {
        const bool round = phiGoesRound(g);
        for (int t = 1; t <= g.thetaCount; t += step) {
            for (int q = 1; q <= g.phiCount; ++q) add(g.point(t, q));
            if (round) add(g.point(t, 1));
            end();
        }
    }
    if (s.gridType != 2 && g.thetaCount > 1) {
        for (int q = 1; q <= g.phiCount; q += step) {
            for (int t = 1; t <= g.thetaCount; ++t) add(g.point(t, q));
            end();
        }
    }
}

std::string patternQuantityLabel(int quantity) {
    static const char* const kLabels[] = {"Vertical gain [dB]", "Horizontal gain [dB]", "Total gain [dB]",
                                          "E (theta) [V/m]", "E (phi) [V/m]"};
    return quantity >= 1 && quantity <= 5 ? kLabels[quantity - 1] : "";
}

} // namespace wavra
