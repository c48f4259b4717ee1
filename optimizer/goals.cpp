#include "optimizer/goals.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

struct Bounds {
    double lower, upper;
};

// Bounds of SWR, gain (dB), F/B (dB), R, X (ohm), efficiency (%), and of a
// field strength in place of the gain.
constexpr std::array<Bounds, kParamCount> kBounds{{{1, 100}, {-999, 100}, {-99, 99}, {0, 9999}, {0, 9999}, {0, 100}}};
constexpr Bounds kFieldBounds{0, 9999};

} // namespace

void Goals::fixFieldFactor(double first) {
    fieldFactor = 1;
    if (!fieldValues() || !std::isfinite(first) || first == 0) return;
    fieldFactor = std::pow(10.0, 1 - std::trunc(std::log10(std::fabs(first))));
}

double Goals::goodness(size_t k, double value) const {
    const bool field = k == kGain && fieldValues();
    const Bounds b = field ? kFieldBounds : kBounds[k];
    double t = targets[k];
    if (t >= kMaximize) t = b.upper;
    else if (t <= kMinimize) t = b.lower;
    else if (field) t *= fieldFactor; // a field target in V/m, scaled as the values are
    if (field) value *= fieldFactor;
    const double range = std::max(b.upper, t) - std::min(b.lower, t);
    const double distance = std::min(9999.0, std::fabs(value - t) * 9999 / range);
    return 10000 - (std::isnan(distance) ? 9999 : distance);
}

double Goals::improvement(const ParamValues& reference, const ParamValues& trial) const {
    double sum = 0;
    for (size_t k = 0; k < kParamCount; ++k) {
        if (!weighted(k)) continue;
        const double before = goodness(k, reference[k]);
        sum += weights[k] * (goodness(k, trial[k]) - before) / before;
    }
    return sum;
}

size_t Goals::missingWeighted(const ParamValues& values) const {
    for (size_t k = 0; k < kParamCount; ++k)
        if (weighted(k) && std::isnan(values[k])) return k;
    return kParamCount;
}

std::string paramName(size_t k) {
    static const std::array<const char*, kParamCount> names{"SWR", "Gain", "F/B", "R-a", "X-a", "Eff."};
    return k < kParamCount ? names[k] : "";
}

} // namespace wavra
