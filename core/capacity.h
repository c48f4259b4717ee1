// The message shown when a model table is full.
#pragma once

#include <cstdint>
#include <string>

#include "core/diagnostics.h"

namespace wavra {

// "Max-number of <limit> <what> exceeded,\nIncrease setting: 'Max-nr <settingName>'."
Diagnostic capacityExceeded(int limit, const std::string& what, const std::string& settingName);

// A whole number from outside (a deck field, a setting, an entry) for a
// 16-bit field of the model store, rounded half to even. A value outside the
// 16-bit range is clamped, and the clamp is said: "<what> is 40,000, outside
// the range wavra keeps (-32,768 to 32,767); 32,767 is used."
int16_t clampedInt16(Ui& ui, double value, const std::string& what);
// The same with the clamp added to `found` as a warning.
int16_t clampedInt16(Diagnostics& found, double value, const std::string& what);

} // namespace wavra
