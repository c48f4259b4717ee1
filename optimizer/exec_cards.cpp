#include "optimizer/exec_cards.h"

#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

double wholeRemainder(double angle, double step) {
    const double a = std::round(angle), r = std::round(step);
    return r > 0 ? std::fmod(a, r) : 0;
}

bool endsSource(const std::string& line) {
    const std::string card = toUpper(line.substr(0, std::min<size_t>(2, line.size())));
    return card == "RP" || card == "XQ" || card == "NE" || card == "NH" || card == "EN";
}

} // namespace

CardFields optimizerRpFields(const OptimizerSetup& s, int mode, bool ground, double distance) {
    const double theta = s.forward.theta, phi = s.forward.phi, r = s.resolution;
    CardFields f;
    f.i1 = mode;
    f.i4 = 1000;
    f.f5 = distance;
    if (r <= 0) {
        f.i2 = ground ? 1 : 2;
        f.i3 = 2;
        f.f1 = theta;
        f.f2 = phi;
        f.f3 = ground ? 0 : 180 - theta;
        f.f4 = 180;
    } else {
        f.f2 = wholeRemainder(phi, r);
        f.i3 = static_cast<int>(std::lround((360 - 2 * f.f2) / r + 1));
        const double thetaRemainder = wholeRemainder(theta, r);
        f.f1 = thetaRemainder - 90;
        f.i2 = static_cast<int>(std::trunc(((ground ? 180 : 360) - thetaRemainder) / r)) + 1;
        f.f3 = f.f4 = r;
    }
    if (mode == kSurfaceWaveRequest) {
        f.i2 = 2;
        f.f1 = theta;
        f.f3 = -theta;
    }
    return f;
}

std::vector<std::string> firstWorkingModel(const std::vector<std::string>& source, const std::string& rpCard) {
    std::vector<std::string> out;
    for (const auto& line : source) {
        if (endsSource(line)) break;
        out.push_back(line);
    }
    out.emplace_back("PQ -1");
    out.emplace_back("PT -1");
    if (!rpCard.empty()) out.push_back(rpCard);
    return out;
}

} // namespace wavra
