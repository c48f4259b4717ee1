// The feed-point quantities of the steps of a frequency loop, as the sweep
// graphs, their read-out and the sweep files give them: impedance, match
// and gain, computed from the loop's tables and, for a loop that prints a
// horizontal cut per step, from those cuts.
#pragma once

#include <cstddef>

#include "core/model.h"

namespace wavra {

// R, X, |Z| and phase of the impedance; SWR and the reflection coefficient
// in dB; the total gain, the gain relative to the largest gain, and the
// front-to-back ratio of a loop of cuts.
enum class SweepQuantity : int {
    Resistance,
    Reactance,
    Impedance,
    Phase,
    Swr,
    ReflectionDb,
    Gain,
    GainToMax,
    FrontToBack
};
inline constexpr size_t kSweepQuantityCount = 9;

// Frequency steps in the sweep tables (freqCount within the capacity).
int sweepSteps(const Results& results);
// True when the loop printed a total gain per step (a single-direction RP
// card inside the frequency loop).
bool sweepHasGain(const Summary& summary);
// The gain that GainToMax is relative to: the largest total gain of a
// loaded far-field pattern, else the largest gain of the loop.
double gainReference(const Geometry& geometry, const Results& results, const Summary& summary);

// arctan(X / R) in degrees, without quadrant correction (a negative R gives
// the angle of -Z); +-90 for R = 0, 0 for R = X = 0.
double sweepPhase(double r, double x);
// A quantity of the impedance r + jx against z0 (SWR 999 at total
// reflection, -infinity dB at a perfect match); NaN for the gains.
double impedanceQuantity(SweepQuantity q, double r, double x, double z0);
// A quantity at step 1..sweepSteps as the read-out gives it (SWR 999 at
// total reflection, -infinity dB at a perfect match).
double sweepValue(const Model& model, SweepQuantity q, int step);

} // namespace wavra
