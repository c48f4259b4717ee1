#include "report/far_field_grid.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

int requestedCount(const Geometry& geometry, size_t axis) { return std::max<int>(geometry.requestCount[axis], 0); }

} // namespace

int thetaCount(const Geometry& geometry, const Results& results) {
    const int t = requestedCount(geometry, 1), p = requestedCount(geometry, 2);
    if (results.sweepPatternAxis == 1 && p > 0) return std::min(t, results.patternCount / p);
    return p > 0 ? std::min(t, static_cast<int>(results.patternCount)) : 0;
}

int phiCount(const Geometry& geometry, const Results& results) {
    const int t = requestedCount(geometry, 1), p = requestedCount(geometry, 2);
    if (results.sweepPatternAxis == 1) return t > 0 ? std::min(p, static_cast<int>(results.patternCount)) : 0;
    return t > 0 ? std::min(p, results.patternCount / t) : 0;
}

int pointIndex(const Geometry& geometry, const Results& results, int t, int p) {
    if (results.sweepPatternAxis == 1) return (t - 1) * requestedCount(geometry, 2) + p;
    return (p - 1) * requestedCount(geometry, 1) + t;
}

double thetaOfIndex(const Geometry& geometry, const Results& results, int t) {
    return results.farFieldAngles[static_cast<size_t>(pointIndex(geometry, results, t, 1))][0];
}
double phiOfIndex(const Geometry& geometry, const Results& results, int p) {
    return results.farFieldAngles[static_cast<size_t>(pointIndex(geometry, results, 1, p))][1];
}

double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

} // namespace wavra
