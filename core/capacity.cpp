#include "core/capacity.h"

#include <cmath>

#include "base/text.h"

namespace wavra {

Diagnostic capacityExceeded(int limit, const std::string& what, const std::string& settingName) {
    return {Severity::Error,
            "Max-number of" + str(limit) + " " + what + " exceeded,\nIncrease setting: 'Max-nr " + settingName + "'."};
}

int16_t clampedInt16(Diagnostics& found, double value, const std::string& what) {
    const int16_t clamped = toInt16(value);
    const double rounded = std::nearbyint(value);
    if (std::isnan(value) || rounded == clamped) return clamped;
    const std::string shown = std::fabs(rounded) < 1e18 ? groupedNumber(static_cast<long long>(rounded)) : str(value);
    found.push_back({Severity::Warning, what + " is " + trim(shown) +
                                            ", outside the range wavra keeps (-32,768 to "
                                            "32,767); " +
                                            groupedNumber(clamped) + " is used."});
    return clamped;
}

int16_t clampedInt16(Ui& ui, double value, const std::string& what) {
    Diagnostics found;
    const int16_t clamped = clampedInt16(found, value, what);
    showDiagnostics(ui, found);
    return clamped;
}

} // namespace wavra
