// The colour and scale tables the views share: the 48-entry palette, the
// 17-entry colour ramp of current and field magnitudes, the 1-2-5 series of
// round scale values and the colours of compared curves. They are fixed:
// built once, on first use, and the same for every model.
#pragma once

#include <array>

namespace wavra {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct DisplayTables {
    std::array<Rgb, 48> palette{};
    std::array<Rgb, 17> colourRamp{};
    std::array<double, 44> stepSeries{}; // [1..43]
    std::array<int, 5> curveColours{9, 12, 2, 13, 6};
};

const DisplayTables& displayTables();

// Widens [lo, hi] outward onto the 1-2-5 step series (stepSeries[1..43],
// 1e-9 to 1e5): a negative lo becomes minus the smallest entry not below -lo,
// a positive lo the largest entry strictly below lo; a positive hi becomes the
// smallest entry not below hi, a negative hi minus the largest entry not
// above -hi; 0 stays 0. A bound beyond 1e5 in size stays as it is, one that
// would need an entry below 1e-9 becomes 0.
void niceRange(double& lo, double& hi);

} // namespace wavra
