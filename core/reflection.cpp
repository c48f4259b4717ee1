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

} // namespace wavra
