#include "present/pattern_cut.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;

constexpr int16_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

double directionAngle(const CutPoint& p) { return std::atan2(p.uy, p.ux) / kDeg; }

int16_t stepClamped(int index, int delta, int count) {
    return static_cast<int16_t>(std::clamp(index + delta, 1, std::max(count, 1)));
}
int16_t stepWrapped(int index, int delta, int count) {
    if (count < 1) return 1;
    const int next = index + delta;
    return static_cast<int16_t>(next < 1 ? count : (next > count ? 1 : next));
}

// Whether the points go once round the plot: the gaps between neighbours
// and the gap from the last point back to the first add up to a full turn,
// and that closing gap is no wider than a step.
void findClosure(Cut& cut) {
    const auto& pts = cut.points;
    if (pts.size() < 3) return;
    double total = 0, widest = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const double gap = angleBetween(directionAngle(pts[i]), directionAngle(pts[i + 1]));
        total += gap;
        widest = std::max(widest, gap);
    }
    const double closing = angleBetween(directionAngle(pts.back()), directionAngle(pts.front()));
    if (std::fabs(total + closing - 360) > 1e-6 * 360 || closing > 1.5 * widest + 1e-9) return;
    cut.closed = true;
    cut.duplicateEnd = closing < 1e-6;
}

} // namespace

std::optional<GridIndex> maximumIndex(const Geometry& geometry, const Results& results, const PatternState& s,
                                      int pattern) {
    std::optional<GridIndex> top;
    double largest = 0;
    for (int p = 1; p <= phiCount(geometry, results); ++p)
        for (int t = 1; t <= thetaCount(geometry, results); ++t) {
            const int point = pointIndex(geometry, results, t, p);
            if (point < 1 || point > results.patternCount) continue;
            const double v = patternValue(results, s, pattern, point);
            if (std::isnan(v) || (top && v <= largest)) continue;
            largest = v;
            top = GridIndex{static_cast<int16_t>(t), static_cast<int16_t>(p)};
        }
    return top;
}

int frequencyIndex(const Results& results, const PatternViewState& v) {
    if (results.sweepPatternAxis == 1) return v.thetaIndex;
    if (results.sweepPatternAxis == -1) return v.phiIndex;
    return 0;
}

Cut extractCut(const Geometry& geometry, const Results& results, const PatternState& s, int pattern) {
    Cut cut;
    cut.plane = s.view.cutPlane;
    const int nT = thetaCount(geometry, results), nP = phiCount(geometry, results);
    if (nT < 1 || nP < 1) return cut;
    const int t0 = std::clamp<int>(s.view.thetaIndex, 1, nT), p0 = std::clamp<int>(s.view.phiIndex, 1, nP);
    const bool horizontal = cut.plane == kHorizontalCut;
    const bool surfaceWave = surfaceWaveMode(geometry);
    const int n = horizontal ? nP : nT;
    cut.angle = horizontal ? thetaOfIndex(geometry, results, t0) : phiOfIndex(geometry, results, p0);
    cut.points.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        CutPoint c;
        c.point = horizontal ? pointIndex(geometry, results, t0, i) : pointIndex(geometry, results, i, p0);
        const auto& a = results.farFieldAngles[static_cast<size_t>(c.point)];
        const double theta = a[0], phi = a[1];
        c.height = theta;
        c.value = patternValue(results, s, pattern, c.point) - s.window.normOffset;
        if (horizontal) {
            // Below the horizon plane the cut is seen from the other side.
            const bool mirrored = !surfaceWave && std::sin(theta * kDeg) < 0;
            c.angle = mirrored ? std::fmod(540 - phi, 360.0) : phi;
            c.ux = (mirrored ? -1 : 1) * std::cos(phi * kDeg);
            c.uy = std::sin(phi * kDeg);
        } else {
            c.angle = theta;
            c.ux = std::sin(theta * kDeg);
            c.uy = std::cos(theta * kDeg);
        }
        cut.points.push_back(c);
    }
    findClosure(cut);
    return cut;
}

std::optional<CutRange> cutRange(const Cut& cut) {
    if (cut.points.empty()) return std::nullopt;
    CutRange r{cut.points[0].value, cut.points[0].value, 0};
    for (size_t i = 1; i < cut.points.size(); ++i) {
        const double v = cut.points[i].value;
        r.lowest = std::min(r.lowest, v);
        if (v > r.highest) r.highest = v, r.highestAt = i;
    }
    // A flat top points to its middle, as its lobe does.
    size_t run = 1;
    while (r.highestAt + run < cut.points.size() && cut.points[r.highestAt + run].value == r.highest) ++run;
    r.highestAt += (run - 1) / 2;
    return r;
}

bool moveCursor(PatternViewState& v, const Geometry& geometry, const Results& results, int16_t code) {
    const int nT = thetaCount(geometry, results), nP = phiCount(geometry, results);
    const bool vertical = v.cutPlane != kHorizontalCut;
    switch (code) {
    case kKeyRight:
    case kKeyLeft: {
        const int d = code == kKeyRight ? 1 : -1;
        if (results.sweepPatternAxis == 1) v.thetaIndex = stepClamped(v.thetaIndex, d, nT);
        else if (results.sweepPatternAxis == -1 || vertical) v.phiIndex = stepClamped(v.phiIndex, d, nP);
        else v.phiIndex = stepWrapped(v.phiIndex, -d, nP); // phi grows counter-clockwise
        return true;
    }
    case kKeyUp:
    case kKeyDown: {
        const int d = code == kKeyUp ? 1 : -1;
        v.thetaIndex = vertical ? stepWrapped(v.thetaIndex, d, nT) : stepClamped(v.thetaIndex, d, nT);
        return true;
    }
    default: return false;
    }
}

std::optional<size_t> nearestCutPoint(const Cut& cut, double x, double y, double plotRadius, bool heightGraph,
                                      double graphTop) {
    if (cut.points.empty()) return std::nullopt;
    const double edge = plotRadius + 20;
    if (std::fabs(x) > edge || std::fabs(y) > edge) return std::nullopt;
    auto nearest = [&](auto distance) {
        size_t best = 0;
        for (size_t i = 1; i < cut.points.size(); ++i)
            if (distance(cut.points[i]) < distance(cut.points[best])) best = i;
        return best;
    };
    if (heightGraph) {
        const double h = (y + 0.85 * plotRadius) / (1.7 * plotRadius) * graphTop;
        return nearest([h](const CutPoint& p) { return std::fabs(p.height - h); });
    }
    if (std::hypot(x, y) < 1 || std::hypot(x, y) > edge) return std::nullopt;
    const double pointer = std::atan2(y, x) / kDeg;
    return nearest([pointer](const CutPoint& p) { return angleBetween(directionAngle(p), pointer); });
}

} // namespace wavra
