// Forms of a feed-point impedance shown beside it in the main window.
#pragma once

#include <string>

namespace wavra {

// The parallel equivalent of R + jX: Rp = R + X²/R, Xp = X + R²/X. A part
// whose series value is 0 has an infinite parallel value.
struct ParallelForm {
    double r = 0, x = 0;
};
ParallelForm parallelForm(double r, double x);

// The element that cancels a reactance at a frequency: a capacitor in pF for
// an inductive reactance, an inductor in uH for a capacitive one. No element
// (unit empty) for a zero or infinite reactance or no frequency.
struct Compensation {
    double value = 0;
    std::string unit; // "pF", "uH" or empty
};
Compensation compensation(double reactance, double frequencyMHz);

} // namespace wavra
