#include "report/impedance_forms.h"

#include <cmath>
#include <limits>

namespace wavra {

ParallelForm parallelForm(double r, double x) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    ParallelForm p;
    p.r = r != 0 ? r + x * x / r : inf;
    p.x = x != 0 ? x + r * r / x : inf;
    return p;
}

Compensation compensation(double reactance, double frequencyMHz) {
    Compensation c;
    if (reactance == 0 || !std::isfinite(reactance) || !(frequencyMHz > 0)) return c;
    const double omega = 2 * std::acos(-1.0) * frequencyMHz * 1e6;
    if (reactance > 0) {
        c.value = 1e12 / (omega * reactance);
        c.unit = "pF";
    } else {
        c.value = -reactance / omega * 1e6;
        c.unit = "uH";
    }
    return c;
}

} // namespace wavra
