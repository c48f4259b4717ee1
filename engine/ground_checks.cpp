#include "engine/ground_checks.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

constexpr double kGroundHeight = 0.0001; // a wire end this low touches the ground

// A wire end on the ground needs the ground-plane option of the GE card.
bool wireTouchesGround(const Model& m) {
    const int rows = std::min(
        {static_cast<int>(m.wireCount), static_cast<int>(m.wireZ1.size()) - 1, static_cast<int>(m.wireZ2.size()) - 1});
    for (int i = 1; i <= rows; ++i)
        if (m.wireZ1[i] <= kGroundHeight || m.wireZ2[i] < kGroundHeight) return true;
    return false;
}

bool confirm(Ui& ui, const std::string& text, Icon icon) {
    return ui.ask("wavra", text, Buttons::OkCancel, icon) == Answer::Ok;
}

// Decimal text of the whole part of a value, without leading blank.
std::string wholeText(double v) {
    if (!std::isfinite(v)) return "0";
    return std::to_string(static_cast<long long>(std::clamp(std::trunc(v), -1e15, 1e15)));
}

} // namespace

bool checkGround(const Model& model, Ui& ui) {
    const bool groundPresent = model.groundType != -1;
    if (model.groundSymmetry == 0 && groundPresent && wireTouchesGround(model) &&
        !confirm(ui, "Note: Ground(plane) option for GE card not set.", Icon::Question))
        return false;
    const int mode = model.requestMode;
    if (model.groundRadials > 0) {
        if (model.groundSymmetry == 1 &&
            !confirm(ui, "Ground screen not allowed with GE card ground plane.", Icon::Critical))
            return false;
        if (model.groundType == 2 && !confirm(ui, "Ground screen not allowed with SOMNEC ground.", Icon::Critical))
            return false;
        if ((mode == 0 || mode == 2 || mode == 3) &&
            !confirm(ui, "No ground screen option specified in RP card.", Icon::Critical))
            return false;
    } else if (mode >= 4 && !confirm(ui, "No ground screen specified but option set in RP card.", Icon::Critical)) {
        return false;
    }
    // The engine reads a negative conductivity as the imaginary part of the
    // relative dielectric constant, at one frequency as in a loop.
    if (model.groundSigma < 0 && (model.groundType == 0 || model.groundType == 2) &&
        !confirm(ui, "Conductivity in GN card is negative.", Icon::Question))
        return false;
    return true;
}

std::string sommerfeldGroundFile(const Model& model) {
    return "out/" + wholeText(model.groundEpsilon) + wholeText(1000 * model.groundSigma) +
           std::to_string(toInt32(100 * model.frequencyMHz)) + ".gnd";
}

std::string sommerfeldRequestLine(const Model& model) {
    return formatPicture(model.groundEpsilon, "#0") + "," + formatPicture(model.groundSigma, "0.0###") + "," +
           formatPicture(model.frequencyMHz, "##0.0##") + ",0";
}

} // namespace wavra
