#include "present/pattern_scale.h"

#include <algorithm>
#include <cmath>

#include "present/plot_math.h"

namespace wavra {

namespace {

constexpr double kLogFactor = 0.8;
constexpr double kLinearFactor = 0.5;
constexpr double kTopLimitDb = 24;
constexpr int kMaxRings = 500;

double stepSetting(int16_t setting, double fallback) { return setting > 0 ? setting : fallback; }

// A largest value the reader could not give (none loaded, not a number)
// must not send the scale to infinity.
double usable(double largest) { return std::isfinite(largest) ? std::clamp(largest, -1e6, 1e6) : 0; }

} // namespace

bool logScale(const Settings& settings) { return settings.linLogFactor == kLogFactor; }

void toggleLinLog(Settings& settings) {
    settings.linLogFactor = settings.linLogFactor == kLinearFactor ? kLogFactor : kLinearFactor;
}

PatternScale initialDbScale(const Settings& settings, double largest) {
    const bool log = logScale(settings);
    largest = usable(largest);
    PatternScale s;
    s.step = log ? stepSetting(settings.logStepDb, 10) : stepSetting(settings.linearStepDb, 6);
    const double top = largest >= 0 ? 0 : -s.step * std::ceil(-largest / s.step);
    s.min = top + (log ? settings.minLogDb : settings.minLinearDb);
    // The first value of min + k step above the largest value; the
    // sequence also ends at its first value above 24 dB. The top lies within
    // a step of the largest value, so the walk is as long as the depth.
    int k = 1;
    while (k < 100000 && s.min + k * s.step <= largest && s.min + k * s.step <= kTopLimitDb) ++k;
    s.max = s.min + k * s.step;
    return s;
}

PatternScale initialFieldScale(const Settings& settings, double largest) {
    PatternScale s;
    s.min = 0;
    s.max = seriesAbove(std::max(usable(largest), 0.0));
    s.step = s.max / (logScale(settings) ? 10 : 5);
    return s;
}

std::string FieldUnit::name() const {
    std::string n = label.substr(1, label.size() - 2);
    n.erase(0, n.find_first_not_of(' '));
    return n;
}

FieldUnit fieldUnitOf(bool dbQuantity, double scaleMax) {
    if (dbQuantity) return {};
    if (scaleMax < 1e-6) return {"[nV/m]", 1e-9};
    if (scaleMax < 1e-3) return {"[uV/m]", 1e-6};
    if (scaleMax < 1) return {"[mV/m]", 1e-3};
    return {"[ V/m]", 1};
}

std::vector<double> ringValues(const PatternScale& s) {
    std::vector<double> rings;
    if (!(s.step > 0)) return rings;
    const double tolerance = s.step * 1e-9;
    for (int k = 0; k < kMaxRings; ++k) {
        const double v = s.min + k * s.step;
        if (v > s.max + tolerance) break;
        rings.push_back(v);
    }
    return rings;
}

bool halveStep(PatternScale& s, bool log) {
    if (!((s.max - s.min) / s.step < (log ? 20 : 10))) return false;
    s.step /= 2;
    return true;
}

bool doubleStep(PatternScale& s, bool log) {
    if (!((s.max - s.min) / s.step > (log ? 3 : 2))) return false;
    s.step *= 2;
    return true;
}

void raiseMax(PatternScale& s) { s.max += s.step; }
void lowerMax(PatternScale& s) { s.max = std::max(s.min + s.step, s.max - s.step); }
void lowerMin(PatternScale& s) { s.min -= s.step; }
void raiseMin(PatternScale& s) { s.min = std::min(s.max - s.step, s.min + s.step); }

} // namespace wavra
