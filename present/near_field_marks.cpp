#include "present/near_field_marks.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

int nearPointCount(const Results& results, const Summary& summary) {
    return std::min<int>(summary.nearFieldCount, static_cast<int>(results.nearFieldPoints.size()) - 1);
}

// Smallest distance between neighbouring coordinates on any axis, metres;
// 0 for a single point.
double smallestSpacing(const Results& results, const Summary& summary) {
    double spacing = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const std::vector<float> c = nearAxisCoordinates(results, summary, axis);
        for (size_t i = 1; i < c.size(); ++i) {
            const double d = static_cast<double>(c[i]) - c[i - 1];
            if (spacing == 0 || d < spacing) spacing = d;
        }
    }
    return spacing;
}

} // namespace

std::vector<float> nearAxisCoordinates(const Results& results, const Summary& summary, int axis) {
    std::vector<float> c;
    const int n = nearPointCount(results, summary);
    c.reserve(static_cast<size_t>(std::max(n, 0)));
    for (int i = 1; i <= n; ++i) {
        const float v = results.nearFieldPoints[static_cast<size_t>(i)][static_cast<size_t>(axis)];
        if (std::isfinite(v)) c.push_back(v); // a point the engine could not place has no coordinate
    }
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
    return c;
}

std::vector<NearFieldMark> nearFieldMarks(const Results& results, const Summary& summary, const GeometryViewState& s) {
    std::vector<NearFieldMark> marks;
    const int n = nearPointCount(results, summary);
    if (n < 1 || s.patternQuantity < 1 || s.patternQuantity > 4) return marks;
    const size_t component = static_cast<size_t>(s.patternQuantity - 1);
    const double largest = summary.nearFieldMax[static_cast<size_t>(s.patternQuantity)];
    const Projection p = modelProjection(s);
    const double spacing = smallestSpacing(results, summary) * p.zoom;
    const double full = s.patternSize * (spacing > 0 ? spacing : s.viewSize * 0.1);
    bool planeOnly = s.gridType >= 1 && s.gridType <= 3;
    float plane = 0;
    if (planeOnly) {
        const std::vector<float> c = nearAxisCoordinates(results, summary, s.gridType - 1);
        planeOnly = !c.empty();
        if (planeOnly) plane = c[static_cast<size_t>(std::clamp<int>(s.planeIndex, 1, static_cast<int>(c.size())) - 1)];
    }
    for (int i = 1; i <= n; ++i) {
        const auto& at = results.nearFieldPoints[static_cast<size_t>(i)];
        if (planeOnly && at[static_cast<size_t>(s.gridType - 1)] != plane) continue;
        const double v = results.nearFieldValues[static_cast<size_t>(i)][component];
        if (std::isnan(v) || !std::isfinite(at[0] + at[1] + at[2])) continue; // missing: never drawn as 0
        const double f = largest > 0 ? std::clamp(v / largest, 0.0, 1.0) : 0;
        marks.push_back({p.x(at[0], at[1]), p.y(at[0], at[1], at[2]), f * full, f});
    }
    return marks;
}

std::string nearPlaneLabel(const Results& results, const Summary& summary, const GeometryViewState& s) {
    if (s.gridType < 1 || s.gridType > 3) return "";
    const std::vector<float> c = nearAxisCoordinates(results, summary, s.gridType - 1);
    if (c.empty()) return "";
    static const char* const kAxes[] = {"X = ", "Y = ", "Z = "};
    const float v = c[static_cast<size_t>(std::clamp<int>(s.planeIndex, 1, static_cast<int>(c.size())) - 1)];
    return kAxes[s.gridType - 1] + formatNumber(v, 5) + " mtr.";
}

std::string nearQuantityLabel(const Summary& summary, int component) {
    static const char* const kComponents[] = {"(x)", "(y)", "(z)", "tot"};
    const std::string name = component >= 1 && component <= 4 ? kComponents[component - 1] : "";
    return summary.nearFieldMagnetic ? "H" + name + " field [Amp/m]" : "E" + name + " field [Volt/m]";
}

} // namespace wavra
