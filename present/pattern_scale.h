// The radial scale of the far-field pattern view: its first values for a
// gain in dB or a field strength in V/m, on the linear or the lin-log scale,
// the unit of a field scale, the rings, and the keys that widen, narrow and
// shift the scale.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"

namespace wavra {

struct PatternScale {
    double min = 0, max = 0, step = 1;
};

// The lin-log scale is in use exactly when linLogFactor is 0.8; any other
// factor is the linear scale.
bool logScale(const Settings& settings);
// 'L': the factor flips between 0.5 (linear) and 0.8 (lin-log).
void toggleLinLog(Settings& settings);

// The scale of a gain in dB whose largest value is `largest`: the step of
// the scale in use; the top is 0 lowered by whole steps until it is at or
// below the largest value; the minimum lies the scale's depth (minLinearDb
// or minLogDb) below that top, and the maximum is the first step above the
// minimum that exceeds the largest value (or 24 dB, whichever comes first).
// A step setting of 0 or less counts as the default (6 dB linear, 10 dB log).
PatternScale initialDbScale(const Settings& settings, double largest);
// The scale of a field strength: 0 up to the first 1-2-5 value above the
// largest value, in 5 (linear) or 10 (lin-log) steps.
PatternScale initialFieldScale(const Settings& settings, double largest);

// The unit of the printed values: dB, or the V/m decade that the top of a
// field scale selects; printed values are divided by `divisor`.
struct FieldUnit {
    std::string label = "[dB]";
    double divisor = 1;
    // The unit without its brackets: "dB", "mV/m".
    std::string name() const;
};
FieldUnit fieldUnitOf(bool dbQuantity, double scaleMax);

// The values of the rings: min, min + step, ... up to max (at most 500 of
// them). None for a step that is not positive.
std::vector<double> ringValues(const PatternScale& scale);

// PgDn and PgUp without the structure: halve the step while the scale holds
// fewer than 10 (lin-log 20) steps, double it while it holds more than 2
// (lin-log 3). False when the scale stays as it is.
bool halveStep(PatternScale& scale, bool log);
bool doubleStep(PatternScale& scale, bool log);
// Shift+PgDn / Shift+PgUp / Ctrl+PgDn / Ctrl+PgUp: move the top or the
// bottom by one step; the top never comes below bottom + step, the bottom
// never above top - step.
void raiseMax(PatternScale& scale);
void lowerMax(PatternScale& scale);
void lowerMin(PatternScale& scale);
void raiseMin(PatternScale& scale);

} // namespace wavra
