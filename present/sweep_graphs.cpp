#include "present/sweep_graphs.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "core/config.h"
#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/sweep_compare.h"
#include "report/loop_front_back.h"

namespace wavra {

namespace {

constexpr size_t kMaxTicks = 25;

size_t index(SweepQuantity q) { return static_cast<size_t>(q); }

// The smallest series entry not below d (d itself beyond the series).
double stepNotBelow(double d) {
    double lo = 0, hi = d;
    niceRange(lo, hi);
    return hi;
}

// The scale keys act on the curves of the active pane.
std::vector<SweepQuantity> activeQuantities(const Geometry& geometry, const Results& results, const SweepState& s) {
    std::vector<SweepQuantity> q;
    for (int pane : {kPaneUpper, kPaneLower})
        if (s.activePane == pane || s.activePane == kPaneBoth)
            for (SweepQuantity each : paneQuantities(geometry, results, s.page, pane)) q.push_back(each);
    return q;
}

void shiftScale(SweepScale& s, double direction) {
    s.lo += direction * s.step;
    s.hi += direction * s.step;
}

// Zooming in moves each end one step inward, but the ends never meet.
void zoomScale(SweepScale& s, bool in) {
    if (!in) {
        s.lo -= s.step;
        s.hi += s.step;
        return;
    }
    if ((s.hi - s.step) - (s.lo + s.step) > 1e-9 * s.step) {
        s.lo += s.step;
        s.hi -= s.step;
    }
}

std::string numberText(double v, const char* picture = "##0.00") {
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return formatPicture(v, picture);
}

// Name and unit of a quantity in the pointer read-out.
struct ReadoutName {
    const char* name;
    const char* unit;
};
ReadoutName readoutName(SweepQuantity q) {
    static const ReadoutName names[kSweepQuantityCount] = {
        {"R", " ohm"},        {"X", " ohm"},   {"Z", " ohm"},     {"Phase", " deg"}, {"SWR", ""},
        {"Refl coef", " dB"}, {"Gain", " dB"}, {"to MAX", " dB"}, {"F/B", " dB"},
    };
    return names[index(q)];
}

} // namespace

bool sweepHasGainPage(const Geometry& geometry, const Results& results, const Summary& summary) {
    return sweepHasGain(summary) || loopHasCuts(geometry, results);
}

std::vector<double> sweepCurve(const Model& m, SweepQuantity q) {
    std::vector<double> values;
    for (int step = 1; step <= sweepSteps(m); ++step) {
        const double v = sweepValue(m, q, step);
        values.push_back(q == SweepQuantity::Swr ? std::min(v, kSwrDrawLimit) : v);
    }
    return values;
}

std::vector<SweepQuantity> paneQuantities(const Geometry& geometry, const Results& results, int page, int pane) {
    using Q = SweepQuantity;
    const bool upper = pane == kPaneUpper;
    switch (page) {
    case kPageImpedance:
        return upper ? std::vector<Q>{Q::Resistance, Q::Reactance} : std::vector<Q>{Q::Impedance, Q::Phase};
    case kPageGain:
        if (upper) return {Q::Gain};
        return loopHasCuts(geometry, results) ? std::vector<Q>{Q::GainToMax, Q::FrontToBack}
                                              : std::vector<Q>{Q::GainToMax};
    default: return {upper ? Q::Swr : Q::ReflectionDb};
    }
}

std::string sweepTitle(const Model& m, SweepQuantity q) {
    const std::string z0 = formatSignificant(m.referenceZ0(), 6);
    switch (q) {
    case SweepQuantity::Resistance: return "R (ohm)";
    case SweepQuantity::Reactance: return "X (ohm)";
    case SweepQuantity::Impedance: return "Z (ohm)";
    case SweepQuantity::Phase: return "Phase";
    case SweepQuantity::Swr: return "SWR (" + z0 + " ohm)";
    case SweepQuantity::ReflectionDb: return "Refl coef [dB] (" + z0 + " ohm)";
    case SweepQuantity::Gain:
        if (loopHasCuts(m, m)) return "Max. gain [dB] of the cut; The=" + str(m.farFieldAngles[1][0]);
        return "Tot. gain [dB]; The=" + str(m.summary.sweep.theta) + "; Phi=" + str(m.summary.sweep.phi);
    case SweepQuantity::FrontToBack: return "Front to back [dB]";
    case SweepQuantity::GainToMax:
        return "Gain compared to MAX " + formatPicture(gainReference(m, m, m.summary), "##0.00") + " dBi";
    }
    return {};
}

std::string sweepMessage(const Geometry& geometry, const Results& results, const Summary& summary,
                         const SweepState& s) {
    if (sweepSteps(results) < 2) return "Number of frequency steps less or equal one.";
    if (s.page == kPageGain && !sweepHasGainPage(geometry, results, summary))
        return "No single step RP card inside frequency loop";
    return {};
}

SweepScale autoScale(const std::vector<double>& values, double fallbackLo, double fallbackHi) {
    double lo = INFINITY, hi = -INFINITY;
    for (double v : values)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (!(lo <= hi)) lo = fallbackLo, hi = fallbackHi;
    niceRange(lo, hi);
    if (!(hi > lo)) {
        // One value (or only zeros): a range around it.
        const double d = std::max(std::fabs(lo), 1.0);
        lo -= d;
        hi += d;
        niceRange(lo, hi);
    }
    return {lo, hi, stepNotBelow((hi - lo) / 10)};
}

namespace {

// The values a scale is taken from: the loop's, the measurement's where it
// has the quantity, and those of the kept loops.
std::vector<double> scaledValues(const Model& m, SweepQuantity q) {
    std::vector<double> values = sweepCurve(m, q);
    if (measuredHas(q))
        for (double v : measuredCurve(m.referenceZ0(), m, q)) values.push_back(v);
    for (const KeptSweep& k : m.keptSweeps)
        for (double v : keptCurve(m.referenceZ0(), k, q)) values.push_back(v);
    return values;
}

// The frequency axis covers the loop, the measurement and the kept loops.
void rescaleFrequency(const Results& results, const ViewState& viewState, SweepState& s) {
    std::vector<double> f;
    for (int step = 1; step <= sweepSteps(results); ++step) f.push_back(results.sweepFreq[static_cast<size_t>(step)]);
    if (sweepSteps(results) >= 2) {
        for (const MeasuredPoint& p : viewState.measured.points) f.push_back(p.frequencyMHz);
        for (const KeptSweep& k : viewState.keptSweeps) f.insert(f.end(), k.frequency.begin(), k.frequency.end());
    }
    s.freqMin = 0, s.freqMax = 1;
    if (f.empty()) return;
    s.freqMin = *std::min_element(f.begin(), f.end());
    s.freqMax = *std::max_element(f.begin(), f.end());
}

} // namespace

void rescaleSweep(const Model& m, SweepState& s) {
    s.page = kPageMatch;
    s.markers = true;
    s.activePane = kPaneBoth;
    for (size_t q = 0; q < kSweepQuantityCount; ++q) {
        const auto quantity = static_cast<SweepQuantity>(q);
        // A perfect match (-infinity dB) is left out of the reflection
        // scale; with nothing else the scale shows the usual -50 ... 0 dB.
        const bool db = quantity == SweepQuantity::ReflectionDb;
        s.scales[q] = autoScale(scaledValues(m, quantity), db ? -40 : 0, db ? 0 : 1);
    }
    rescaleFrequency(m, m, s);
    s.loadSerial = m.loadSerial;
    s.measuredSerial = m.measuredSerial;
    s.scaled = true;
}

bool sweepCommand(const Model& m, SweepState& s, int16_t code) {
    switch (code) {
    case 'I': s.page = kPageImpedance; return true;
    case 'S': s.page = kPageMatch; return true;
    case 'G': s.page = kPageGain; return true;
    case 'M': s.markers = !s.markers; return true;
    case 'R': s.grid[0] = !s.grid[0]; return true;
    case 'X': s.grid[1] = !s.grid[1]; return true;
    case 'Z': s.grid[2] = !s.grid[2]; return true;
    case 'A': s.grid[3] = !s.grid[3]; return true;
    case 9: s.activePane = s.activePane % 3 + 1; return true; // Tab: upper, lower, both
    case 36: rescaleSweep(m, s); return true;                 // Home
    case 38:                                                  // Up
    case 40:                                                  // Down
        for (SweepQuantity q : activeQuantities(m, m, s)) shiftScale(s.scales[index(q)], code == 38 ? 1 : -1);
        return true;
    case 33: // PgUp
    case 34: // PgDn
        for (SweepQuantity q : activeQuantities(m, m, s)) zoomScale(s.scales[index(q)], code == 33);
        return true;
    default: return false;
    }
}

std::vector<double> scaleTicks(const SweepScale& s) {
    std::vector<double> ticks;
    if (!(s.step > 0) || !(s.hi > s.lo) || !std::isfinite(s.hi - s.lo)) return ticks;
    const double first = std::ceil(s.lo / s.step - 1e-9);
    const double last = std::floor(s.hi / s.step + 1e-9);
    if (!(last - first < 1e7)) return ticks;
    const double stride = std::max(1.0, std::ceil((last - first + 1) / kMaxTicks));
    for (double k = first; k <= last; k += stride) ticks.push_back(k * s.step);
    return ticks;
}

std::string tickLabel(double value, double step) {
    int decimals = 0;
    if (step > 0 && step < 1) decimals = std::min(9, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    return formatPicture(std::fabs(value) < step * 1e-6 ? 0.0 : value,
                         "##0" + std::string(decimals ? "." : "") + std::string(static_cast<size_t>(decimals), '0'));
}

SweepScale frequencyAxis(const SweepState& s) {
    double lo = s.freqMin, hi = s.freqMax;
    if (!(hi > lo)) lo -= 1, hi += 1;
    return {lo, hi, stepNotBelow((hi - lo) / 10)};
}

double scaleFraction(const SweepScale& s, double v) {
    if (!(s.hi > s.lo)) return 0;
    return (v - s.lo) / (s.hi - s.lo);
}

SweepLayout sweepLayout(double width, double height) {
    constexpr double kSide = 64, kTop = 6, kTitle = 22, kGap = 12, kBottom = 38;
    const double plotWidth = std::max(1.0, width - 2 * kSide);
    const double paneHeight = std::max(1.0, (height - kTop - 2 * kTitle - kGap - kBottom) / 2);
    SweepLayout l;
    l.panes[0] = {kSide, kTop + kTitle, plotWidth, paneHeight};
    l.panes[1] = {kSide, l.panes[0].bottom() + kGap + kTitle, plotWidth, paneHeight};
    return l;
}

int nearestStep(const Results& results, double frequency) {
    int best = 0;
    for (int step = 1; step <= sweepSteps(results); ++step)
        if (best == 0 || std::fabs(results.sweepFreq[static_cast<size_t>(step)] - frequency) <
                             std::fabs(results.sweepFreq[static_cast<size_t>(best)] - frequency))
            best = step;
    return best;
}

int sweepPointerStep(const Model& m, const SweepState& s, const SweepLayout& l, double x, double y) {
    if (!sweepMessage(m, m, m.summary, s).empty()) return 0;
    const PlotBox& upper = l.panes[0];
    const PlotBox& lower = l.panes[1];
    if (x < upper.left || x > upper.right() || y < upper.top || y > lower.bottom()) return 0;
    const SweepScale axis = frequencyAxis(s);
    return nearestStep(m, axis.lo + (x - upper.left) / upper.width * (axis.hi - axis.lo));
}

std::string sweepPointerText(const Model& m, const SweepState& s, const SweepLayout& l, double x, double y) {
    return sweepStepText(m, s, sweepPointerStep(m, s, l, x, y));
}

std::string sweepStepText(const Model& m, const SweepState& s, int step) {
    if (step < 1 || step > sweepSteps(m)) return {};
    std::string text = numberText(m.sweepFreq[static_cast<size_t>(step)], "##0.000") + " Mhz:";
    for (int pane : {kPaneUpper, kPaneLower}) {
        if (pane == kPaneLower) text += "  |";
        const char* separator = "  ";
        for (SweepQuantity q : paneQuantities(m, m, s.page, pane)) {
            const ReadoutName n = readoutName(q);
            text += separator + std::string(n.name) + " " + numberText(sweepValue(m, q, step)) + n.unit;
            if (const auto measured = measuredAt(m.referenceZ0(), m, q, m.sweepFreq[static_cast<size_t>(step)]))
                text += " (measured " + numberText(*measured) + ")";
            separator = ", ";
        }
    }
    return text;
}

} // namespace wavra
