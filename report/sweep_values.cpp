#include "report/sweep_values.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/reflection.h"
#include "report/loop_front_back.h"

namespace wavra {

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

double tableValue(const std::vector<double>& table, int step) {
    return step >= 0 && static_cast<size_t>(step) < table.size() ? table[static_cast<size_t>(step)] : 0;
}

double stepGain(const Geometry& geometry, const Results& results, int step) {
    return loopHasCuts(geometry, results) ? loopCutGains(geometry, results, step).maximum
                                          : tableValue(results.sweepGain, step);
}

} // namespace

int sweepSteps(const Results& results) { return std::max(0, std::min<int>(results.freqCount, results.freqCapacity())); }

bool sweepHasGain(const Summary& summary) { return summary.sweep.gainMax >= summary.sweep.gainMin; }

double gainReference(const Geometry& geometry, const Results& results, const Summary& summary) {
    if (results.patternCount > 0 && geometry.requestMode >= 0) return results.patternMax[kGainTotal + 1];
    return summary.sweep.gainMax;
}

double sweepPhase(double r, double x) {
    if (r == 0) return x > 0 ? 90 : (x < 0 ? -90 : 0);
    return std::atan(x / r) * kRadToDeg;
}

double impedanceQuantity(SweepQuantity q, double r, double x, double z0) {
    switch (q) {
    case SweepQuantity::Resistance: return r;
    case SweepQuantity::Reactance: return x;
    case SweepQuantity::Impedance: return std::hypot(r, x);
    case SweepQuantity::Phase: return sweepPhase(r, x);
    case SweepQuantity::Swr: return swrShown(r, x, z0);
    case SweepQuantity::ReflectionDb: return reflectionDb(r, x, z0);
    default: return NAN;
    }
}

double sweepValue(const Model& m, SweepQuantity q, int step) {
    switch (q) {
    case SweepQuantity::Gain: return stepGain(m, m, step);
    case SweepQuantity::GainToMax: return stepGain(m, m, step) - gainReference(m, m, m.summary);
    case SweepQuantity::FrontToBack: return loopCutGains(m, m, step).frontToBack;
    default: return impedanceQuantity(q, tableValue(m.sweepR, step), tableValue(m.sweepX, step), m.referenceZ0());
    }
}

} // namespace wavra
