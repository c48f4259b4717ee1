#include "core/capacity.h"

#include <cmath>

#include "base/text.h"

namespace wavra {

void showCapacityExceeded(Ui& ui, int limit, const std::string& what, const std::string& settingName) {
    ui.message("Max-number of" + str(limit) + " " + what + " exceeded,\nIncrease setting: 'Max-nr " + settingName +
               "'.");
}

int16_t clampedInt16(Ui& ui, double value, const std::string& what) {
    const int16_t clamped = toInt16(value);
    const double rounded = std::nearbyint(value);
    if (std::isnan(value) || rounded == clamped) return clamped;
    const std::string shown = std::fabs(rounded) < 1e18 ? groupedNumber(static_cast<long long>(rounded)) : str(value);
    ui.message(what + " is " + trim(shown) + ", outside the range wavra keeps (-32,768 to 32,767); " +
                   groupedNumber(clamped) + " is used.",
               "wavra", Icon::Exclamation);
    return clamped;
}

} // namespace wavra
