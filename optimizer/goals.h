// What the optimizer aims at: the six results of a trial (SWR, forward gain
// or field, front-to-back ratio, input resistance and reactance,
// efficiency), their weights and targets, and the goodness arithmetic that
// turns two trials into an improvement.
#pragma once

#include <array>
#include <string>

namespace wavra {

enum Param : size_t { kSwr = 0, kGain, kFrontBack, kResistance, kReactance, kEfficiency, kParamCount };

// One value per parameter; NaN where the engine printed none.
using ParamValues = std::array<double, kParamCount>;

// "Maximize" and "Minimize" as stored targets.
inline constexpr double kMaximize = 9999;
inline constexpr double kMinimize = -9999;

// The kinds of forward value (the gain-kind buttons): the column of
// farFieldGains they read.
enum class GainKind { Vertical = 0, Horizontal = 1, Total = 2, FieldTheta = 3, FieldPhi = 4 };

struct Goals {
    std::array<double, kParamCount> weights{}; // fractions (percent / 100)
    std::array<double, kParamCount> targets{kMinimize, kMaximize, kMaximize, kMaximize, kMinimize, kMaximize};
    GainKind gainKind = GainKind::Total;
    bool surfaceWave = false;
    // Factor of the field values (set at the first evaluation); 1 for gains.
    double fieldFactor = 1;

    // The forward value is a field strength, not a gain in dB.
    bool fieldValues() const {
        return surfaceWave || gainKind == GainKind::FieldTheta || gainKind == GainKind::FieldPhi;
    }
    bool weighted(size_t k) const { return weights[k] > 0; }
    // Any of gain and F/B weighted: the trial needs a pattern.
    bool needsPattern() const { return weighted(kGain) || weighted(kFrontBack); }

    // The power of ten that brings a first field value to the order of 10:
    // 10 ^ (1 - the whole part of log10 |value|); 1 for gains or no value.
    void fixFieldFactor(double firstForwardValue);
    // Goodness 1 .. 10000 of one parameter value; 10000 on target.
    double goodness(size_t k, double value) const;
    // Sum over the weighted parameters of w (G_trial - G_reference) / G_reference.
    double improvement(const ParamValues& reference, const ParamValues& trial) const;
    // The first weighted parameter the values miss, kParamCount when none.
    size_t missingWeighted(const ParamValues& values) const;
};

// Caption of a parameter as the grids and messages name it.
std::string paramName(size_t k);

} // namespace wavra
