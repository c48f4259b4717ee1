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
PatternViewState initialViewState(const Model& m) {
    PatternViewState v;
    v.patternQuantity = surfaceWaveMode(m) ? kQuantityFieldTheta : kQuantityTotalGain;
    const bool oneTheta = m.requestCount[1] == 1 && m.requestCount[2] > 1;
    v.cutPlane = m.sweepPatternAxis == 1 || (m.sweepPatternAxis == 0 && oneTheta) ? kHorizontalCut : kVerticalCut;
    // A first theta of 0 makes the first horizontal cut the zenith, one of
    // +-180 the nadir or nothing: the horizontal cuts start at the theta of
    // the maximum instead.
    const double first = thetaCount(m) > 1 ? std::fabs(thetaOfIndex(m, 1)) : -1;
    if (m.sweepPatternAxis == 0 && (first == 0 || first == 180)) {
        PatternState probe;
        probe.view = v;
        if (const auto top = maximumIndex(m, probe, 0)) v.thetaIndex = top->theta;
    }
    return v;
}

bool sameAngle(double a, double b) { return std::fabs(a - b) < 1e-6; }

// After an optimizer run with an active gain or front-to-back target the
// view starts at the direction the optimizer aimed at.
void takeOptimizerTarget(PatternViewState& v, Model& m) {
    if (m.optimizerTargetFlag == 0) return;
    m.optimizerTargetFlag = 0;
    if (!m.optimizerTargetActive) return;
    if (v.cutPlane == kHorizontalCut) {
        for (int t = 1; t <= thetaCount(m); ++t)
            if (sameAngle(thetaOfIndex(m, t), m.optimizerTargetTheta)) {
                v.thetaIndex = static_cast<int16_t>(t);
                return;
            }
    } else {
        for (int p = 1; p <= phiCount(m); ++p)
            if (sameAngle(phiOfIndex(m, p), m.optimizerTargetPhi)) {
                v.phiIndex = static_cast<int16_t>(p);
                return;
            }
    }
}

} // namespace

bool surfaceWaveMode(const Model& m) { return m.requestMode == kSurfaceWaveRequest; }

bool isDbQuantity(const Model& m, int q) { return q >= 1 && q <= 3 && !surfaceWaveMode(m); }

std::string quantityLabel(const Model& m, int q) {
    static const std::array<const char*, kQuantityCount> normal{"Vert. gain ", "Hor. gain ", "Total gain ", "E(theta) ",
                                                                "E(phi)  "};
    static const std::array<const char*, kQuantityCount> surface{"(No data)", "(No data)", "E(radial) ", "E(theta) ",
                                                                 "E(phi)  "};
    if (q < 1 || q > kQuantityCount) return {};
    return (surfaceWaveMode(m) ? surface : normal)[static_cast<size_t>(q - 1)];
}

bool comparing(const PatternState& s) { return !s.window.compared.empty(); }

int16_t shownQuantity(const PatternState& s) {
    return comparing(s) ? s.window.compareQuantity : s.view.patternQuantity;
}

int selectedPatternIndex(const PatternState& s) { return comparing(s) ? s.window.selectedPattern : 0; }

int patternsShown(const PatternState& s) { return comparing(s) ? static_cast<int>(s.window.compared.size()) : 1; }

double patternValue(const Model& m, const PatternState& s, int pattern, int point) {
    if (pattern >= 1 && pattern <= static_cast<int>(s.window.compared.size()))
        return s.window.compared[static_cast<size_t>(pattern - 1)].values[static_cast<size_t>(point)];
    const int q = std::clamp<int>(s.view.patternQuantity, 1, kQuantityCount);
    return m.farFieldGains[static_cast<size_t>(point)][static_cast<size_t>(q - 1)];
}

double shownMaximum(const Model& m, const PatternState& s) {
    if (!comparing(s)) return m.patternMax[static_cast<size_t>(std::clamp<int>(s.view.patternQuantity, 1, 5))];
    double largest = s.window.compared[0].max;
    for (const ComparedPattern& c : s.window.compared) largest = std::max(largest, c.max);
    return largest;
}

void initialiseScale(PatternState& s, const Model& m) {
    const double largest = shownMaximum(m, s);
    s.window.scale = isDbQuantity(m, shownQuantity(s)) ? initialDbScale(m, largest) : initialFieldScale(m, largest);
    s.window.normMode = 0;
    s.window.normOffset = 0;
}

void openPatternView(PatternState& s, Model& m) {
    if (!s.initialised || s.loadSerial != m.loadSerial) {
        s.view = initialViewState(m);
        s.loadSerial = m.loadSerial;
        s.initialised = true;
    }
    takeOptimizerTarget(s.view, m);
    // The indices stay inside the grid of the model now loaded.
    s.view.thetaIndex = static_cast<int16_t>(std::clamp<int>(s.view.thetaIndex, 1, std::max(thetaCount(m), 1)));
    s.view.phiIndex = static_cast<int16_t>(std::clamp<int>(s.view.phiIndex, 1, std::max(phiCount(m), 1)));
    s.window = PatternWindowState{};
    if (m.modelExtent > 0) s.window.structureZoom = s.window.plotRadius * 0.18 / m.modelExtent;
    initialiseScale(s, m);
}

FieldUnit patternUnit(const Model& m, const PatternState& s) {
    return fieldUnitOf(isDbQuantity(m, shownQuantity(s)), s.window.scale.max);
}

} // namespace wavra
