#include "core/capacity.h"

#include "core/text.h"

namespace wavra {

void showCapacityExceeded(Ui& ui, int limit, const std::string& what, const std::string& settingName) {
    ui.message("Max-number of" + str(limit) + " " + what + " exceeded,\nIncrease setting: 'Max-nr " + settingName +
               "'.");
}

} // namespace wavra
