// Reflection against the reference impedance z0: the numbers behind SWR,
// the reflection graph and the Smith chart.
#pragma once

#include <complex>

namespace wavra {

// The SWR the views show and the sweep exports write for total reflection.
inline constexpr double kSwrOfTotalReflection = 999;

// Reflection coefficient (Z - z0) / (Z + z0) of Z = r + jx.
std::complex<double> reflection(double r, double x, double z0);

// Standing-wave ratio (1 + |G|) / (1 - |G|); infinite for total reflection
// (a reactive or zero load, or z0 <= 0).
double swr(double r, double x, double z0);

// The SWR as the views show it: 999 instead of infinity when |G| >= 1
// (a purely reactive load, or a negative resistance, which would otherwise
// give a negative ratio).
double swrShown(double r, double x, double z0);

// 20 log10 |G| in dB; minus infinity for a perfect match.
double reflectionDb(double r, double x, double z0);

} // namespace wavra
