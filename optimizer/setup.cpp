#include "optimizer/setup.h"

#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

std::string entry(double v) { return trim(str(v)); }

std::vector<std::string> entries(const std::string& text) {
    std::vector<std::string> parts;
    size_t begin = 0;
    for (;;) {
        const size_t comma = text.find(',', begin);
        parts.push_back(trim(text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin)));
        if (comma == std::string::npos) return parts;
        begin = comma + 1;
    }
}

void take(const std::vector<std::string>& parts, size_t i, double& value) {
    if (i < parts.size() && isNumeric(parts[i])) value = readNumber(parts[i]);
}

bool wholeMultiple(double angle, double resolution) {
    const double q = angle / resolution;
    return std::fabs(q - std::round(q)) < 1e-9;
}

} // namespace

Direction OptimizerSetup::backDirection() const {
    if (back) return *back;
    double phi = forward.phi + 180;
    if (phi > 360) phi -= 360;
    return {180 - forward.theta, phi};
}

Goals OptimizerSetup::goals() const {
    Goals g;
    for (size_t k = 0; k < kParamCount; ++k) g.weights[k] = std::fabs(weightPercent[k]) / 100;
    g.targets = targets;
    g.gainKind = gainKind;
    g.surfaceWave = surfaceWave;
    return g;
}

std::string startProblem(const OptimizerSetup& s) {
    if (s.variables.empty()) return "No variable(s) selected.";
    if (s.itsHfSweep()) return s.sweepStep == 0 ? "No stepsize set." : "";
    bool anyWeight = false;
    for (double w : s.weightPercent) anyWeight = anyWeight || w != 0;
    if (!anyWeight) return "No parameter(s) selected.";
    const bool widths =
        s.forwardWidth.theta > 0 || s.forwardWidth.phi > 0 || s.backWidth.theta > 0 || s.backWidth.phi > 0;
    if (widths && s.resolution == 0) return "Delta Theta/Pi specified but no stepsize.";
    return {};
}

std::string fieldProblem(AngleField field, double v, double resolution) {
    switch (field) {
    case AngleField::Theta:
        if (!(v >= 0 && v <= 90)) return "0 <= Theta <= 90";
        if (resolution > 0 && !wholeMultiple(v, resolution)) return "Theta not a multiple for resolution.";
        return {};
    case AngleField::Phi:
        if (!(v >= 0 && v <= 360)) return "0 <= Phi <= 360";
        if (resolution > 0 && !wholeMultiple(v, resolution)) return "Phi not a multiple for resolution.";
        return {};
    case AngleField::DeltaTheta: return v >= 0 && v <= 90 ? "" : "0 <= delta Theta <= 90";
    case AngleField::DeltaPhi: return v >= 0 && v <= 90 ? "" : "0 <= delta Phi <= 90";
    case AngleField::Resolution: return v >= 0 && v <= 180 ? "" : "0 <= Stepsize <= 180";
    }
    return {};
}

std::string setupText1(const OptimizerSetup& s) {
    std::string text;
    for (double w : s.weightPercent) text += entry(w) + ", ";
    text += formatPicture(s.surfaceWave ? 1 : 0, "#0") + ", " + entry(s.forward.theta) + ", " + entry(s.forward.phi);
    text += ", " + (s.back ? entry(s.back->theta) : "") + ", " + (s.back ? entry(s.back->phi) : "");
    return text + ", " + entry(s.surfaceDistanceKm);
}

std::string setupText2(const OptimizerSetup& s) {
    return entry(s.resolution) + ", " + entry(s.forwardWidth.theta) + ", " + entry(s.forwardWidth.phi) + ", " +
           entry(s.backWidth.theta) + ", " + entry(s.backWidth.phi);
}

void readSetupTexts(OptimizerSetup& s, const std::string& text1, const std::string& text2) {
    const auto one = entries(text1);
    for (size_t k = 0; k < kParamCount; ++k) take(one, k, s.weightPercent[k]);
    if (one.size() > 6 && isNumeric(one[6])) s.surfaceWave = readNumber(one[6]) != 0;
    take(one, 7, s.forward.theta);
    take(one, 8, s.forward.phi);
    if (one.size() > 10 && isNumeric(one[9]) && isNumeric(one[10]))
        s.back = Direction{readNumber(one[9]), readNumber(one[10])};
    take(one, 11, s.surfaceDistanceKm);
    const auto two = entries(text2);
    take(two, 0, s.resolution);
    take(two, 1, s.forwardWidth.theta);
    take(two, 2, s.forwardWidth.phi);
    take(two, 3, s.backWidth.theta);
    take(two, 4, s.backWidth.phi);
}

std::vector<std::string> availableVariables(const Model& m) {
    std::vector<std::string> names;
    for (int row = m.baseConstantCount + 1; row <= m.constCount && row < static_cast<int>(m.constNames.size()); ++row)
        if (m.constFlags[row] == -1) names.push_back(m.constNames[row]);
    return names;
}

} // namespace wavra
