#include "core/reflection.h"

#include <cmath>
#include <limits>

namespace wavra {

std::complex<double> reflection(double r, double x, double z0) {
    const std::complex<double> z(r, x);
    const std::complex<double> sum = z + z0;
    if (std::abs(sum) == 0) return {1, 0};
    return (z - z0) / sum;
}

double swr(double r, double x, double z0) {
    if (z0 <= 0) return std::numeric_limits<double>::infinity();
    const double g = std::abs(reflection(r, x, z0));
    if (!(g < 1)) return std::numeric_limits<double>::infinity();
    return (1 + g) / (1 - g);
}

double swrShown(double r, double x, double z0) {
    const double s = swr(r, x, z0);
    return std::isfinite(s) ? s : kSwrOfTotalReflection;
}

double reflectionDb(double r, double x, double z0) {
    const double g = std::abs(reflection(r, x, z0));
    if (g == 0) return -std::numeric_limits<double>::infinity();
    return 20 * std::log10(g);
}

} // namespace wavra
