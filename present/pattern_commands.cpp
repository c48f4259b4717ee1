#include "present/pattern_commands.h"

#include <algorithm>

#include "present/pattern_compare.h"
#include "present/pattern_cut.h"

namespace wavra {

namespace {

// '>' and '<' are typed with Shift on most keyboards; the code without it
// names the same command.
constexpr int16_t kShifted = 100;

int16_t wrapped(int value, int count) {
    if (count < 1) return 1;
    return static_cast<int16_t>(value < 1 ? count : (value > count ? 1 : value));
}

// '>' and '<': the next or previous quantity, or while comparing the next or
// previous pattern; the scale starts afresh.
void stepPattern(PatternState& s, const Settings& settings, const Geometry& geometry, const Results& results,
                 int delta) {
    if (comparing(s))
        s.window.selectedPattern =
            wrapped(s.window.selectedPattern + delta, static_cast<int>(s.window.compared.size()));
    else s.view.patternQuantity = wrapped(s.view.patternQuantity + delta, kQuantityCount);
    initialiseScale(s, settings, geometry, results);
}

// Home: no normalisation -> the cut's maximum -> the overall maximum -> none
// (with the scale started afresh). Only for a single pattern in dB.
void stepNormalisation(PatternState& s, const Settings& settings, const Geometry& geometry, const Results& results) {
    PatternWindowState& w = s.window;
    if (comparing(s) || !isDbQuantity(geometry, shownQuantity(s))) {
        w.normMode = 0;
        w.normOffset = 0;
        return;
    }
    w.normMode = static_cast<int16_t>((w.normMode + 1) % 3);
    if (w.normMode == 0) {
        initialiseScale(s, settings, geometry, results);
        return;
    }
    if (w.normMode == 1) {
        double largest = -999;
        for (const CutPoint& p : extractCut(geometry, results, s, 0).points)
            largest = std::max(largest, p.value + w.normOffset);
        w.normOffset = largest;
    } else {
        w.normOffset =
            results.patternMax[static_cast<size_t>(std::clamp<int>(s.view.patternQuantity, 1, kQuantityCount))];
    }
    w.scale.max = 0;
}

// PgUp / PgDn: the structure's zoom while it is shown, else the step.
void stepScale(PatternState& s, const Settings& settings, bool up) {
    PatternWindowState& w = s.window;
    if (s.view.showStructure) w.structureZoom = up ? w.structureZoom * 1.5 : w.structureZoom / 1.5;
    else if (up) doubleStep(w.scale, logScale(settings));
    else halveStep(w.scale, logScale(settings));
}

// 'M': the cut of the shown plane through the largest value of the
// selected pattern (the horizontal cut at its theta, the vertical one at its
// phi), the cursor on it.
void showCutThroughMaximum(PatternState& s, const Geometry& geometry, const Results& results) {
    if (const auto top = maximumIndex(geometry, results, s, selectedPatternIndex(s))) {
        s.view.thetaIndex = top->theta;
        s.view.phiIndex = top->phi;
    }
}

} // namespace

void applyPatternCommand(PatternState& s, Model& m, Ui& ui, int16_t code) {
    if (code == kPatternNext + kShifted || code == kPatternPrevious + kShifted) code -= kShifted;
    if (moveCursor(s.view, m, m, code)) return;
    PatternScale& scale = s.window.scale;
    switch (code) {
    case kPatternStructure: s.view.showStructure = !s.view.showStructure; break;
    case kPatternInfo: s.view.showInfo = !s.view.showInfo; break;
    case kPatternIndicator: s.window.showIndicator = !s.window.showIndicator; break;
    case kPatternMaximum: showCutThroughMaximum(s, m, m); break;
    case kPatternPlane:
        // A frequency loop holds cuts of one plane only.
        if (m.sweepPatternAxis == 0)
            s.view.cutPlane = s.view.cutPlane == kHorizontalCut ? kVerticalCut : kHorizontalCut;
        break;
    case kPatternLinLog:
        toggleLinLog(m);
        initialiseScale(s, m, m, m);
        break;
    case kPatternNext: stepPattern(s, m, m, m, 1); break;
    case kPatternPrevious: stepPattern(s, m, m, m, -1); break;
    case kPatternNormalise: stepNormalisation(s, m, m, m); break;
    case kPatternStepUp: stepScale(s, m, true); break;
    case kPatternStepDown: stepScale(s, m, false); break;
    case kPatternRaiseMax: raiseMax(scale); break;
    case kPatternLowerMax: lowerMax(scale); break;
    case kPatternLowerMin: lowerMin(scale); break;
    case kPatternRaiseMin: raiseMin(scale); break;
    case kPatternAdd: addComparedPattern(s, m, ui); break;
    case kPatternRemove: removeComparedPatterns(s); break;
    default: break;
    }
}

} // namespace wavra
