// The message shown when a model table is full.
#pragma once

#include <string>

#include "core/ui.h"

namespace wavra {

// "Max-number of <limit> <what> exceeded,\nIncrease setting: 'Max-nr <settingName>'."
void showCapacityExceeded(Ui& ui, int limit, const std::string& what, const std::string& settingName);

} // namespace wavra
