#include "present/near_field_map.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "present/plot_math.h"

namespace wavra {

namespace {

constexpr int16_t kKeySpace = 32, kKeyPgUp = 33, kKeyPgDn = 34, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39,
                  kKeyDown = 40, kKeyDelete = 46, kKeyStructure = 'G', kKeyPrevious = 188, kKeyNext = 190,
                  kKeyCtrlPgUp = 233, kKeyCtrlPgDn = 234;
constexpr int16_t kShifted = 100;
constexpr int kComponents = 4;
constexpr const char* kAxisLetters[] = {"X", "Y", "Z"};

size_t at(int i) { return static_cast<size_t>(i); }

// One step up or down through 1..count, wrapping round.
int16_t wrapped(int16_t index, int delta, int count) {
    const int n = std::max(count, 1);
    const int i = std::clamp<int>(index, 1, n) - 1 + delta;
    return static_cast<int16_t>(((i % n) + n) % n + 1);
}

// The largest value of a component as the reader kept it; NaN or
// infinity (a field the engine did not print) counts as none.
double componentMax(const Summary& summary, int component) {
    if (component < 1 || component > kComponents) return 0;
    const double v = summary.nearFieldMax[at(component)];
    return std::isfinite(v) ? v : 0;
}

// The grid spacing along an axis, metres; 0 for a single coordinate.
double spacing(const Geometry& geometry, const Results& results, const Summary& summary, int axis) {
    const int n = nearAxisCount(geometry, axis);
    if (n < 2) return 0;
    return std::fabs(nearCoordinate(geometry, results, summary, axis, n) -
                     nearCoordinate(geometry, results, summary, axis, 1)) /
           (n - 1);
}

// The samples at the indices `index` takes while `first` (and `second`,
// when it is an axis) run through their coordinates; the other indices stay.
NearValues collect(const Geometry& geometry, const Results& results, const Summary& summary, const NearFieldState& s,
                   std::array<int, 3> index, int first, int second) {
    NearValues v;
    const size_t component = at(std::clamp<int>(s.component, 1, kComponents) - 1);
    const int secondCount = second >= 0 ? nearAxisCount(geometry, second) : 1;
    bool any = false;
    for (int j = 1; j <= secondCount; ++j) {
        if (second >= 0) index[at(second)] = j;
        for (int i = 1; i <= nearAxisCount(geometry, first); ++i) {
            index[at(first)] = i;
            const auto row = nearPointRow(geometry, results, summary, index);
            if (!row) continue;
            const double value = results.nearFieldValues[at(*row)][component];
            if (std::isnan(value)) continue; // not printed: left out, never drawn as 0
            const auto& p = results.nearFieldPoints[at(*row)];
            NearSample sample{p[at(first)], second >= 0 ? p[at(second)] : 0.0, value, std::min(value, s.cutoff), *row};
            v.min = any ? std::min(v.min, sample.shown) : sample.shown;
            v.max = any ? std::max(v.max, sample.shown) : sample.shown;
            if (!v.largest || value > v.largest->value) v.largest = sample;
            any = true;
            v.samples.push_back(sample);
        }
    }
    return v;
}

std::array<int, 3> positionIndex(const NearFieldState& s) { return {s.position[0], s.position[1], s.position[2]}; }

} // namespace

PlaneAxes planeAxes(int16_t plane) {
    switch (plane) {
    case kPlaneXZ: return {0, 2, 1};
    case kPlaneYZ: return {1, 2, 0};
    default: return {0, 1, 2};
    }
}

int nearPointCount(const Results& results, const Summary& summary) {
    return std::clamp<int>(summary.nearFieldCount, 0, std::max(0, results.nearFieldCapacity()));
}

bool hasNearField(const Geometry& geometry, const Results& results, const Summary& summary) {
    return geometry.requestMode == kNearRequest && nearPointCount(results, summary) > 0;
}

int nearAxisCount(const Geometry& geometry, int axis) {
    if (axis < 0 || axis > 2) return 1;
    return std::max<int>(geometry.requestCount[at(axis + 1)], 1);
}

std::optional<int> nearPointRow(const Geometry& geometry, const Results& results, const Summary& summary,
                                const std::array<int, 3>& index) {
    long long row = 0, stride = 1;
    for (int axis = 0; axis < 3; ++axis) {
        const int n = nearAxisCount(geometry, axis);
        if (index[at(axis)] < 1 || index[at(axis)] > n) return std::nullopt;
        row += (index[at(axis)] - 1) * stride;
        stride *= n;
    }
    if (row + 1 > nearPointCount(results, summary)) return std::nullopt;
    return static_cast<int>(row + 1);
}

double nearCoordinate(const Geometry& geometry, const Results& results, const Summary& summary, int axis, int index) {
    std::array<int, 3> i{1, 1, 1};
    i[at(axis)] = index;
    const auto row = nearPointRow(geometry, results, summary, i);
    return row ? static_cast<double>(results.nearFieldPoints[at(*row)][at(axis)]) : 0.0;
}

bool nearAxisSpans(const Geometry& geometry, const Results& results, const Summary& summary, int axis) {
    const int n = nearAxisCount(geometry, axis);
    return n > 1 &&
           nearCoordinate(geometry, results, summary, axis, 1) != nearCoordinate(geometry, results, summary, axis, n);
}

bool planeDisplayable(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane) {
    const PlaneAxes a = planeAxes(plane);
    return nearAxisSpans(geometry, results, summary, a.across) || nearAxisSpans(geometry, results, summary, a.up);
}

int graphAxis(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane) {
    const PlaneAxes a = planeAxes(plane);
    return !nearAxisSpans(geometry, results, summary, a.across) && nearAxisSpans(geometry, results, summary, a.up)
               ? a.up
               : a.across;
}

int lineAxis(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane) {
    const PlaneAxes a = planeAxes(plane);
    return graphAxis(geometry, results, summary, plane) == a.across ? a.up : a.across;
}

void openNearField(NearFieldState& s, const Model& m) {
    if (!s.initialised || s.loadSerial != m.loadSerial) {
        s = NearFieldState{};
        s.initialised = true;
        s.loadSerial = m.loadSerial;
        for (int16_t plane : {kPlaneXY, kPlaneXZ, kPlaneYZ})
            if (planeDisplayable(m, m, m.summary, plane)) {
                s.plane = plane;
                break;
            }
    }
    s.map2D = true;
}

FieldUnit nearFieldUnit(const Summary& summary, int component) {
    FieldUnit unit = fieldUnitOf(false, componentMax(summary, component));
    if (summary.nearFieldMagnetic) unit.label[2] = 'A';
    return unit;
}

std::string nearFieldLetter(const Summary& summary) { return summary.nearFieldMagnetic ? "H" : "E"; }

std::string componentName(int component) {
    static const char* const kNames[] = {"(x)", "(y)", "(z)", "(tot.)"};
    return component >= 1 && component <= kComponents ? kNames[component - 1] : "";
}

std::string nearFieldTitle(const Summary& summary, int component) {
    return "Near Field in " + nearFieldUnit(summary, component).label + "  " + nearFieldLetter(summary) +
           componentName(component);
}

std::string axisPositionLabel(int axis, double coordinate) {
    return std::string(kAxisLetters[std::clamp(axis, 0, 2)]) + " = " + formatNumber(coordinate, 5) + " mtr.";
}

double valueAtFraction(double min, double max, double x, double factor) {
    if (factor == kLinearNearFactor || x <= 0) return min + (max - min) * std::max(x, 0.0);
    const double exponent = std::log(2.0) / std::log(1.0 / factor);
    return min + (max - min) * std::pow(x, 1.0 / exponent);
}

double moreLogarithmic(double factor) { return std::max(std::round(factor * 10 - 1) / 10, kMostLogNearFactor); }
double moreLinear(double factor) { return std::min(std::round(factor * 10 + 1) / 10, kLinearNearFactor); }

bool nearFieldCommand(NearFieldState& s, const Geometry& geometry, const Results& results, const Summary& summary,
                      Ui& ui, int16_t code) {
    // '>' and '<' are typed with Shift on most keyboards.
    if (code == kKeyNext + kShifted || code == kKeyPrevious + kShifted) code -= kShifted;
    const PlaneAxes axes = planeAxes(s.plane);
    auto step = [&](int axis, int delta) {
        s.position[at(axis)] = wrapped(s.position[at(axis)], delta, nearAxisCount(geometry, axis));
    };
    switch (code) {
    case kKeyRight: step(axes.fixed, 1); break;
    case kKeyLeft: step(axes.fixed, -1); break;
    case kKeyUp: step(lineAxis(geometry, results, summary, s.plane), 1); break;
    case kKeyDown: step(lineAxis(geometry, results, summary, s.plane), -1); break;
    case kKeyPgUp: s.map2D = false; break;
    case kKeyPgDn: s.map2D = !s.map2D; break;
    case kKeyCtrlPgUp: s.logFactor = moreLogarithmic(s.logFactor); break;
    case kKeyCtrlPgDn: s.logFactor = moreLinear(s.logFactor); break;
    case kKeySpace: {
        // The next plane that shows more than one point; a grid of a single
        // point keeps stepping, and the range check then tells.
        int16_t next = s.plane;
        for (int k = 0; k < 3; ++k) {
            next = wrapped(next, 1, 3);
            if (planeDisplayable(geometry, results, summary, next)) break;
        }
        s.plane = next;
        break;
    }
    case kKeyNext: s.component = wrapped(s.component, 1, kComponents); break;
    case kKeyPrevious: s.component = wrapped(s.component, -1, kComponents); break;
    case kKeyDelete: askCutoff(s, summary, ui); break;
    case kKeyStructure: s.showStructure = !s.showStructure; break;
    default: return false;
    }
    return true;
}

void askCutoff(NearFieldState& s, const Summary& summary, Ui& ui) {
    const double largest = componentMax(summary, s.component);
    if (s.cutoff == kNoCutoff) s.cutoff = largest;
    // Below 1 the whole-number default would read 0, which resets.
    const std::string shown = s.cutoff >= 1 ? formatPicture(s.cutoff, "####0") : formatNumber(s.cutoff, 8);
    const auto answer = ui.inputBox("wavra", "Ignore points with field-strength above: ", shown);
    if (!answer) return;
    const double v = readNumber(*answer);
    s.cutoff = v > 0 && std::isfinite(v) ? v : largest;
    if (s.cutoff < largest) s.logFactor = kLinearNearFactor;
}

double NearValues::fraction(double shown, double factor) const { return scaleRadius(min, max, shown, factor); }

NearValues planeValues(const Geometry& geometry, const Results& results, const Summary& summary,
                       const NearFieldState& s) {
    const PlaneAxes a = planeAxes(s.plane);
    return collect(geometry, results, summary, s, positionIndex(s), a.across, a.up);
}

NearValues lineValues(const Geometry& geometry, const Results& results, const Summary& summary,
                      const NearFieldState& s) {
    return collect(geometry, results, summary, s, positionIndex(s), graphAxis(geometry, results, summary, s.plane), -1);
}

NearMap nearFieldMap(const Geometry& geometry, const Results& results, const Summary& summary, const NearFieldState& s,
                     const NearValues& v) {
    const PlaneAxes a = planeAxes(s.plane);
    double halfAcross = spacing(geometry, results, summary, a.across) / 2,
           halfUp = spacing(geometry, results, summary, a.up) / 2;
    if (halfAcross == 0) halfAcross = halfUp;
    if (halfUp == 0) halfUp = halfAcross;
    if (halfAcross == 0) halfAcross = halfUp = 0.5;
    NearMap map;
    for (const NearSample& sample : v.samples) {
        const double f = v.fraction(sample.shown, s.logFactor);
        map.cells.push_back({sample.across, sample.up, halfAcross, halfUp, f, colourOf(f)});
        const bool first = map.cells.size() == 1;
        map.left = first ? sample.across - halfAcross : std::min(map.left, sample.across - halfAcross);
        map.right = first ? sample.across + halfAcross : std::max(map.right, sample.across + halfAcross);
        map.bottom = first ? sample.up - halfUp : std::min(map.bottom, sample.up - halfUp);
        map.top = first ? sample.up + halfUp : std::max(map.top, sample.up + halfUp);
    }
    return map;
}

std::vector<LegendBar> nearFieldLegend(const Summary& summary, const NearFieldState& s, const NearValues& v, int bars) {
    std::vector<LegendBar> legend;
    const double divisor = nearFieldUnit(summary, s.component).divisor;
    for (int k = 0; k < bars; ++k) {
        const double f = bars > 1 ? static_cast<double>(k) / (bars - 1) : 1.0;
        legend.push_back({f, colourOf(f), formatNumber(valueAtFraction(v.min, v.max, f, s.logFactor) / divisor, 4)});
    }
    return legend;
}

std::vector<NearLine> structureOnPlane(const Geometry& geometry, int16_t plane) {
    const PlaneAxes a = planeAxes(plane);
    std::vector<NearLine> lines;
    const int rows = std::min<int>(geometry.wireCount, geometry.wireCapacity());
    for (int r = 1; r <= rows; ++r) {
        const std::array<double, 3> p1{geometry.wireX1[at(r)], geometry.wireY1[at(r)], geometry.wireZ1[at(r)]};
        const std::array<double, 3> p2{geometry.wireX2[at(r)], geometry.wireY2[at(r)], geometry.wireZ2[at(r)]};
        lines.push_back({p1[at(a.across)], p1[at(a.up)], p2[at(a.across)], p2[at(a.up)]});
    }
    return lines;
}

std::string nearMaxLabel(const Results& results, const Summary& summary, const NearFieldState& s, const NearValues& v) {
    if (!v.largest) return "";
    const auto& p = results.nearFieldPoints[at(v.largest->row)];
    const double divisor = nearFieldUnit(summary, s.component).divisor;
    return "Max: " + formatNumber(v.largest->value / divisor, 4) + " at X=" + formatNumber(p[0], 5) +
           " ; Y=" + formatNumber(p[1], 5) + " ; Z=" + formatNumber(p[2], 5) + " m.";
}

std::string nearRangeLabel(const Summary& summary, const NearFieldState& s, const NearValues& v) {
    if (v.samples.empty()) return "";
    const FieldUnit unit = nearFieldUnit(summary, s.component);
    return formatNumber(v.min / unit.divisor, 4) + " < " + unit.label + " < " + formatNumber(v.max / unit.divisor, 4);
}

std::string nearPositionLabel(const Geometry& geometry, const Results& results, const Summary& summary,
                              const NearFieldState& s) {
    const int fixed = planeAxes(s.plane).fixed;
    const std::string plane =
        axisPositionLabel(fixed, nearCoordinate(geometry, results, summary, fixed, s.position[at(fixed)]));
    if (s.map2D) return plane;
    const int line = lineAxis(geometry, results, summary, s.plane);
    return axisPositionLabel(line, nearCoordinate(geometry, results, summary, line, s.position[at(line)])) + " ; " +
           plane;
}

} // namespace wavra
