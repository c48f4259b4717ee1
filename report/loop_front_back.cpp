#include "report/loop_front_back.h"

#include <algorithm>
#include <cmath>

#include "report/far_field_grid.h"
#include "report/sweep_values.h"

namespace wavra {

namespace {

// The azimuth a point of the cut looks in, 0 ... 360.
double azimuthOf(const Results& results, size_t point) {
    const auto& [theta, phi] = results.farFieldAngles[point];
    const double a = std::fmod(theta < 0 ? 540 - phi : phi, 360.0);
    return a < 0 ? a + 360 : a;
}

// Largest gain and front-to-back ratio of the cut of step t (1-based).
void stepCut(const Geometry& geometry, const Results& results, int t, int perStep, double& maximum, double& ratio) {
    maximum = ratio = NAN;
    size_t best = 0;
    for (int p = 1; p <= perStep; ++p) {
        const size_t i = static_cast<size_t>(pointIndex(geometry, results, t, p));
        const double g = results.farFieldGains[i][kGainTotal];
        if (std::isfinite(g) && (best == 0 || g > maximum)) maximum = g, best = i;
    }
    if (best == 0) return;
    const double back = std::fmod(azimuthOf(results, best) + 180, 360.0);
    for (int p = 1; p <= perStep; ++p) {
        const size_t i = static_cast<size_t>(pointIndex(geometry, results, t, p));
        const double g = results.farFieldGains[i][kGainTotal];
        if (angleBetween(azimuthOf(results, i), back) < 1e-6 && std::isfinite(g)) {
            ratio = maximum - g;
            return;
        }
    }
}

} // namespace

bool loopHasCuts(const Geometry& geometry, const Results& results) {
    return results.sweepPatternAxis == 1 && geometry.requestMode == 0 && geometry.requestCount[2] > 1 &&
           results.patternCount > 0;
}

CutGains loopCutGains(const Geometry& geometry, const Results& results, int step) {
    CutGains g;
    if (loopHasCuts(geometry, results) && step >= 1 &&
        step <= std::min(sweepSteps(results), thetaCount(geometry, results)))
        stepCut(geometry, results, step, phiCount(geometry, results), g.maximum, g.frontToBack);
    return g;
}

} // namespace wavra
