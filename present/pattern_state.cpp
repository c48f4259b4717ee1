#include "present/pattern_state.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "present/pattern_cut.h"

namespace wavra {

namespace {

// The view state of a freshly loaded model: the total gain (E(theta) for a
// ground-wave pattern) in a vertical cut, unless the grid or the frequency
// loop holds horizontal cuts only.
PatternViewState initialViewState(const Geometry& geometry, const Results& results) {
    PatternViewState v;
    v.patternQuantity = surfaceWaveMode(geometry) ? kQuantityFieldTheta : kQuantityTotalGain;
    const bool oneTheta = geometry.requestCount[1] == 1 && geometry.requestCount[2] > 1;
    v.cutPlane =
        results.sweepPatternAxis == 1 || (results.sweepPatternAxis == 0 && oneTheta) ? kHorizontalCut : kVerticalCut;
    // A first theta of 0 makes the first horizontal cut the zenith, one of
    // +-180 the nadir or nothing: the horizontal cuts start at the theta of
    // the maximum instead.
    const double first = thetaCount(geometry, results) > 1 ? std::fabs(thetaOfIndex(geometry, results, 1)) : -1;
    if (results.sweepPatternAxis == 0 && (first == 0 || first == 180)) {
        PatternState probe;
        probe.view = v;
        if (const auto top = maximumIndex(geometry, results, probe, 0)) v.thetaIndex = top->theta;
    }
    return v;
}

bool sameAngle(double a, double b) { return std::fabs(a - b) < 1e-6; }

// After an optimizer run with an active gain or front-to-back target the
// view starts at the direction the optimizer aimed at.
void takeOptimizerTarget(PatternViewState& v, const Geometry& geometry, const Results& results, ViewState& viewState) {
    if (viewState.optimizerTargetFlag == 0) return;
    viewState.optimizerTargetFlag = 0;
    if (!viewState.optimizerTargetActive) return;
    if (v.cutPlane == kHorizontalCut) {
        for (int t = 1; t <= thetaCount(geometry, results); ++t)
            if (sameAngle(thetaOfIndex(geometry, results, t), viewState.optimizerTargetTheta)) {
                v.thetaIndex = static_cast<int16_t>(t);
                return;
            }
    } else {
        for (int p = 1; p <= phiCount(geometry, results); ++p)
            if (sameAngle(phiOfIndex(geometry, results, p), viewState.optimizerTargetPhi)) {
                v.phiIndex = static_cast<int16_t>(p);
                return;
            }
    }
}

} // namespace

bool surfaceWaveMode(const Geometry& geometry) { return geometry.requestMode == kSurfaceWaveRequest; }

bool isDbQuantity(const Geometry& geometry, int q) { return q >= 1 && q <= 3 && !surfaceWaveMode(geometry); }

std::string quantityLabel(const Geometry& geometry, int q) {
    static const std::array<const char*, kQuantityCount> normal{"Vert. gain ", "Hor. gain ", "Total gain ", "E(theta) ",
                                                                "E(phi)  "};
    static const std::array<const char*, kQuantityCount> surface{"(No data)", "(No data)", "E(radial) ", "E(theta) ",
                                                                 "E(phi)  "};
    if (q < 1 || q > kQuantityCount) return {};
    return (surfaceWaveMode(geometry) ? surface : normal)[static_cast<size_t>(q - 1)];
}

bool comparing(const PatternState& s) { return !s.window.compared.empty(); }

int16_t shownQuantity(const PatternState& s) {
    return comparing(s) ? s.window.compareQuantity : s.view.patternQuantity;
}

int selectedPatternIndex(const PatternState& s) { return comparing(s) ? s.window.selectedPattern : 0; }

int patternsShown(const PatternState& s) { return comparing(s) ? static_cast<int>(s.window.compared.size()) : 1; }

double patternValue(const Results& results, const PatternState& s, int pattern, int point) {
    if (pattern >= 1 && pattern <= static_cast<int>(s.window.compared.size()))
        return s.window.compared[static_cast<size_t>(pattern - 1)].values[static_cast<size_t>(point)];
    const int q = std::clamp<int>(s.view.patternQuantity, 1, kQuantityCount);
    return results.farFieldGains[static_cast<size_t>(point)][static_cast<size_t>(q - 1)];
}

double shownMaximum(const Results& results, const PatternState& s) {
    if (!comparing(s)) return results.patternMax[static_cast<size_t>(std::clamp<int>(s.view.patternQuantity, 1, 5))];
    double largest = s.window.compared[0].max;
    for (const ComparedPattern& c : s.window.compared) largest = std::max(largest, c.max);
    return largest;
}

void initialiseScale(PatternState& s, const Settings& settings, const Geometry& geometry, const Results& results) {
    const double largest = shownMaximum(results, s);
    s.window.scale = isDbQuantity(geometry, shownQuantity(s)) ? initialDbScale(settings, largest)
                                                              : initialFieldScale(settings, largest);
    s.window.normMode = 0;
    s.window.normOffset = 0;
}

void openPatternView(PatternState& s, const Settings& settings, const Geometry& geometry, const Results& results,
                     ViewState& viewState) {
    if (!s.initialised || s.loadSerial != viewState.loadSerial) {
        s.view = initialViewState(geometry, results);
        s.loadSerial = viewState.loadSerial;
        s.initialised = true;
    }
    takeOptimizerTarget(s.view, geometry, results, viewState);
    // The indices stay inside the grid of the model now loaded.
    s.view.thetaIndex =
        static_cast<int16_t>(std::clamp<int>(s.view.thetaIndex, 1, std::max(thetaCount(geometry, results), 1)));
    s.view.phiIndex =
        static_cast<int16_t>(std::clamp<int>(s.view.phiIndex, 1, std::max(phiCount(geometry, results), 1)));
    s.window = PatternWindowState{};
    if (geometry.modelExtent > 0) s.window.structureZoom = s.window.plotRadius * 0.18 / geometry.modelExtent;
    initialiseScale(s, settings, geometry, results);
}

FieldUnit patternUnit(const Geometry& geometry, const PatternState& s) {
    return fieldUnitOf(isDbQuantity(geometry, shownQuantity(s)), s.window.scale.max);
}

} // namespace wavra
