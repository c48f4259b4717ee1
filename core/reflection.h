// Reflection against the reference impedance z0: the numbers behind SWR,
// the reflection graph and the Smith chart.
#pragma once

#include <complex>

namespace wavra {

// Reflection coefficient (Z - z0) / (Z + z0) of Z = r + jx.
std::complex<double> reflection(double r, double x, double z0);

// Standing-wave ratio (1 + |G|) / (1 - |G|); infinite for total reflection
// (a reactive or zero load, or z0 <= 0).
double swr(double r, double x, double z0);

} // namespace wavra
