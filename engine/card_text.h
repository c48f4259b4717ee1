// Formatting of the NEC-2 cards that the engine run generates, and the point
// counts of the start, stop, step ranges of the calculation choice.
#pragma once

#include <string>
#include <string_view>

namespace wavra {

// Integer and real fields of one card; unset fields are 0.
struct CardFields {
    int i1 = 0, i2 = 0, i3 = 0, i4 = 0;
    double f1 = 0, f2 = 0, f3 = 0, f4 = 0, f5 = 0, f6 = 0;
};

// One card line: the name, then I1 to I4 and F1 to F4, each preceded by the
// separator; F5 only when F5 or F6 is not 0, F6 only when it is not 0.
// Integers as "####0", reals as "###0.0####" (FR, 0, 30, 0, 0, 1.0, 1.0, 0.0, 0.0);
// a real that five decimals would change by more than 1e-5 of its size
// (0.00005, 0.000123) with the significant digits it needs.
std::string cardText(std::string_view name, const CardFields& f, std::string_view separator = ", ");

// Number of points from start to stop in steps of step, both ends included:
// the whole part of (stop - start) / step + 1. A quotient that lies within
// rounding noise below a whole number counts as that number, so 14.0 to
// 14.35 in steps of 0.05 gives 8. At least 1, at most 32767; a step of 0
// gives 1.
int pointCount(double start, double stop, double step);
// The same count without the 16-bit limit, for messages about too many points.
double exactPointCount(double start, double stop, double step);

} // namespace wavra
