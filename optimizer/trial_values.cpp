#include "optimizer/trial_values.h"

#include <cmath>

#include "core/reflection.h"

namespace wavra {

namespace {

constexpr double kAngleTolerance = 1e-6;

double circleDistance(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360 - d);
}

// The direction as one pair of whole micro-degrees: theta in 0..180, phi in
// 0..360, so (-10, 0), (10, 180) and (370, 180) are one direction.
std::pair<long long, long long> directionKey(double theta, double phi) {
    double t = std::fmod(theta, 360.0);
    if (t < 0) t += 360;
    if (t > 180) {
        t = 360 - t;
        phi += 180;
    }
    double p = std::fmod(phi, 360.0);
    if (p < 0) p += 360;
    if (t < kAngleTolerance || 180 - t < kAngleTolerance) p = 0; // the poles have no azimuth
    const auto micro = [](double v) { return std::llround(v * 1e6); };
    long long pk = micro(p);
    if (pk == 360000000) pk = 0;
    return {micro(t), pk};
}

size_t columnOf(const OptimizerSetup& s) { return static_cast<size_t>(s.gainKind); }

} // namespace

void DirectionMean::add(double theta, double phi, const std::array<double, 5>& values) {
    if (std::fabs(theta - m_centre.theta) > m_width.theta + kAngleTolerance) return;
    if (circleDistance(phi, m_centre.phi) > m_width.phi + kAngleTolerance) return;
    if (!m_seen.insert(directionKey(theta, phi)).second) return;
    m_sum += values[m_column];
    ++m_count;
}

TrialHooks::TrialHooks(const OptimizerSetup& s)
    : m_forward(s.forward, s.forwardWidth, columnOf(s)), m_back(s.backDirection(), s.backWidth, columnOf(s)) {}

void TrialHooks::engineError(const std::string&) { m_error = true; }

void TrialHooks::patternPoint(double theta, double phi, const std::array<double, 5>& values) {
    m_forward.add(theta, phi, values);
    m_back.add(theta, phi, values);
}

ParamValues trialValues(const Model& m, const TrialHooks& hooks) {
    const double nan = std::nan("");
    const Summary& s = m.summary;
    ParamValues v{};
    v[kSwr] = s.hasImpedance ? swrShown(s.impedanceR, s.impedanceX, m.referenceZ0()) : nan;
    v[kGain] = hooks.forward();
    v[kFrontBack] = hooks.forward() - hooks.back();
    v[kResistance] = s.hasImpedance ? s.impedanceR : nan;
    v[kReactance] = s.hasImpedance ? s.impedanceX : nan;
    v[kEfficiency] = s.hasPower ? s.efficiency : nan;
    return v;
}

} // namespace wavra
