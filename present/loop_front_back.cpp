#include "present/loop_front_back.h"

#include <algorithm>
#include <cmath>

#include "present/pattern_cut.h"
#include "present/sweep_graphs.h"

namespace wavra {

namespace {

// The azimuth a point of the cut looks in, 0 ... 360.
double azimuthOf(const Model& m, size_t point) {
    const auto& [theta, phi] = m.farFieldAngles[point];
    const double a = std::fmod(theta < 0 ? 540 - phi : phi, 360.0);
    return a < 0 ? a + 360 : a;
}

// Largest gain and front-to-back ratio of the cut of step t (1-based).
void stepCut(const Model& m, int t, int perStep, double& maximum, double& ratio) {
    maximum = ratio = NAN;
    size_t best = 0;
    for (int p = 1; p <= perStep; ++p) {
        const size_t i = static_cast<size_t>(pointIndex(m, t, p));
        const double g = m.farFieldGains[i][kGainTotal];
        if (std::isfinite(g) && (best == 0 || g > maximum)) maximum = g, best = i;
    }
    if (best == 0) return;
    const double back = std::fmod(azimuthOf(m, best) + 180, 360.0);
    for (int p = 1; p <= perStep; ++p) {
        const size_t i = static_cast<size_t>(pointIndex(m, t, p));
        const double g = m.farFieldGains[i][kGainTotal];
        if (angleBetween(azimuthOf(m, i), back) < 1e-6 && std::isfinite(g)) {
            ratio = maximum - g;
            return;
        }
    }
}

} // namespace

bool loopHasCuts(const Model& m) {
    return m.sweepPatternAxis == 1 && m.requestMode == 0 && m.requestCount[2] > 1 && m.patternCount > 0;
}

CutGains loopCutGains(const Model& m, int step) {
    CutGains g;
    if (loopHasCuts(m) && step >= 1 && step <= std::min(sweepSteps(m), thetaCount(m)))
        stepCut(m, step, phiCount(m), g.maximum, g.frontToBack);
    return g;
}

} // namespace wavra
