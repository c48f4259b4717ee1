#include "present/pattern_picture.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

// The colour of compared curve k, the colours repeating after the fifth.
int curveColour(size_t k) {
    const auto& colours = displayTables().curveColours;
    return colours[k % colours.size()];
}

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;
constexpr double kGraphHalf = 0.85; // the surface-wave graph spans +-0.85 plotRadius
constexpr double kLineHeight = 7;   // drawing units between the lines of the marks
constexpr double kRingLabelGap = 8; // rings closer than this to the last labelled one stay unlabelled

std::string whole(double v) { return formatPicture(v, "##0"); }
std::string degrees(double v) { return whole(v) + " dg"; }

class Painting {
public:
    Painting(const Model& model, const PatternState& state, const PatternAnalysis& analysis)
        : m(model), s(state), a(analysis), R(state.window.plotRadius), scale(state.window.scale) {}

    double radiusOf(double v) const {
        return scaleRadius(scale.min, scale.max, std::max(v, scale.min), m.linLogFactor) * R;
    }
    PlotPoint onCurve(const CutPoint& p) const {
        const double r = radiusOf(p.value);
        if (a.heightGraph) return {heightGraphX(r, R), heightGraphY(p.height, a.graphTop, R)};
        return {r * p.ux, r * p.uy};
    }
    PlotPoint onRing(const CutPoint& p) const { return {R * p.ux, R * p.uy}; }
    PlotLine fromCentre(const CutPoint& p) const { return {{0, 0}, onRing(p)}; }
    std::string value(double v, int width) const { return formatNumber(v / a.unit.divisor, width); }

    void grid(PatternPicture& pic) const;
    void polarGrid(PatternPicture& pic) const;
    void heightGrid(PatternPicture& pic) const;
    void curves(PatternPicture& pic) const;
    void lobes(PatternPicture& pic) const;
    void indicator(PatternPicture& pic) const;
    void structure(PatternPicture& pic) const;
    void labels(PatternPicture& pic) const;

private:
    const Model& m;
    const PatternState& s;
    const PatternAnalysis& a;
    double R;
    PatternScale scale;

    // Texts at a point on the outer ring, one below the other, starting at
    // (x - 10, y + 8).
    static void markTexts(LobeMark& mark, PlotPoint at, const std::vector<std::string>& lines) {
        mark.blocks.push_back({at, mark.texts.size(), lines.size()});
        for (size_t i = 0; i < lines.size(); ++i)
            mark.texts.push_back({{at.x - 10, at.y + 8 - kLineHeight * static_cast<double>(i)}, lines[i], true, false});
    }
    double patternMaximum(int pattern) const {
        if (comparing(s)) return s.window.compared[static_cast<size_t>(pattern)].max;
        return m.patternMax[static_cast<size_t>(std::clamp<int>(s.view.patternQuantity, 1, kQuantityCount))];
    }
    std::string frequencyText() const;
    // Where the cut reaches the largest value of its pattern.
    std::string maxText(const CutPoint& top, bool horizontal) const {
        if (a.heightGraph) return "Max at height: " + formatPicture(top.height, "##0.0") + " m";
        return std::string(horizontal ? "Max gain Phi: " : "Max gain The: ") + whole(top.angle);
    }
};

void Painting::grid(PatternPicture& pic) const {
    if (a.heightGraph) heightGrid(pic);
    else polarGrid(pic);
}

// Rings at the scale values, radial lines every 5 degrees (the centre kept
// clear), angle labels every 15 degrees and the axis letters.
void Painting::polarGrid(PatternPicture& pic) const {
    const std::vector<double> values = ringValues(scale);
    double labelled = -1e9;
    for (double v : values) {
        const double r = radiusOf(v);
        pic.rings.push_back(r);
        if (r - labelled < kRingLabelGap) continue;
        labelled = r;
        pic.gridTexts.push_back({{1.5, r - 1}, formatPicture(v / a.unit.divisor, "##0.0"), true, false});
    }
    const double first = values.size() > 1 ? radiusOf(values[1]) : 0;
    const double second = values.size() > 2 ? radiusOf(values[2]) : first;
    const bool vertical = s.view.cutPlane != kHorizontalCut;
    for (int angle = 0; angle < 360; angle += 5) {
        const double c = std::cos(angle * kDeg), sn = std::sin(angle * kDeg);
        if (angle % 90 == 0) {
            if (angle < 180) pic.grid.push_back({{-R * c, -R * sn}, {R * c, R * sn}});
        } else {
            const double from = angle % 15 == 0 ? first : second;
            pic.grid.push_back({{from * c, from * sn}, {R * c, R * sn}});
        }
        if (angle % 15 != 0) continue;
        double label = angle;
        if (vertical) {
            label = 90 - angle;
            if (label < -180) label += 360;
        }
        pic.gridTexts.push_back({{1.06 * R * c, 1.06 * R * sn}, formatPicture(label, "#0"), false, true});
    }
    pic.gridTexts.push_back({{14, 1.06 * R}, vertical ? "Z" : "Y", false, true});
    pic.gridTexts.push_back({{1.06 * R, 12}, vertical ? "XY" : "X", false, true});
}

// The surface-wave graph: heights upwards (six lines, 0 to the top), the
// field to the right (a line at every scale value).
void Painting::heightGrid(PatternPicture& pic) const {
    const double edge = kGraphHalf * R;
    const char* picture = a.graphTop < 10 ? "##0.0" : "##0";
    for (int i = 0; i <= 5; ++i) {
        const double h = i / 5.0 * a.graphTop;
        const double y = heightGraphY(h, a.graphTop, R);
        pic.grid.push_back({{-edge, y}, {edge, y}});
        const std::string text = i == 0 ? std::string("0.0") : formatPicture(h, picture);
        pic.gridTexts.push_back({{-edge - 30, y + 4}, text + " m.", true, false});
    }
    double labelled = -1e9;
    for (double v : ringValues(scale)) {
        const double x = heightGraphX(radiusOf(v), R);
        pic.grid.push_back({{x, -edge}, {x, edge}});
        if (x - labelled < 2 * kRingLabelGap) continue;
        labelled = x;
        pic.gridTexts.push_back({{x, -edge - 8}, formatPicture(v / a.unit.divisor, "##0.0"), true, true});
    }
    pic.gridTexts.push_back({{edge + 4, -edge + 4}, "E", false, false});
}

void Painting::curves(PatternPicture& pic) const {
    for (size_t k = 0; k < a.cuts.size(); ++k) {
        PatternCurve curve;
        curve.colour = curveColour(k);
        curve.closed = a.cuts[k].closed && !a.cuts[k].duplicateEnd;
        for (const CutPoint& p : a.cuts[k].points) curve.points.push_back(onCurve(p));
        pic.curves.push_back(std::move(curve));
    }
}

// Each marked lobe: its direction, angle and value, the lines to its -3 dB
// points with their angles, the beamwidth and the front-to-back ratio.
void Painting::lobes(PatternPicture& pic) const {
    const Cut& cut = a.selectedCut();
    for (const Lobe& lobe : a.lobes) {
        LobeMark mark;
        const CutPoint& p = cut.points[lobe.index];
        mark.direction = fromCentre(p);
        std::vector<std::string> lines{degrees(lobe.angle), value(lobe.value, 5)};
        if (lobe.beamwidth) lines.push_back("bw: " + degrees(*lobe.beamwidth));
        if (lobe.frontToBack) lines.push_back("fb: " + formatNumber(*lobe.frontToBack, 4) + " dB");
        markTexts(mark, onRing(p), lines);
        for (const auto& side : {lobe.low, lobe.high}) {
            if (!side) continue;
            const CutPoint& q = cut.points[*side];
            mark.minus3db.push_back(fromCentre(q));
            markTexts(mark, onRing(q), {degrees(q.angle)});
        }
        pic.lobes.push_back(std::move(mark));
    }
}

// The cursor point of the selected pattern: its direction, angle and value.
void Painting::indicator(PatternPicture& pic) const {
    const Cut& cut = a.selectedCut();
    if (cut.points.empty()) return;
    const int cursor = cut.plane == kHorizontalCut ? s.view.phiIndex : s.view.thetaIndex;
    const CutPoint& p =
        cut.points[static_cast<size_t>(std::clamp<int>(cursor, 1, static_cast<int>(cut.points.size())) - 1)];
    IndicatorMark mark;
    mark.direction = fromCentre(p);
    mark.dot = onCurve(p);
    const PlotPoint at = onRing(p);
    mark.texts.push_back({{at.x - 10, at.y + 8}, degrees(p.angle), true, false});
    mark.texts.push_back({{at.x - 10, at.y - 2}, value(p.value, 5) + " " + a.unit.name(), true, false});
    pic.indicator = std::move(mark);
}

void Painting::structure(PatternPicture& pic) const {
    const Projection proj = overlayProjection(s.view.cutPlane, a.selectedCut().angle, s.window.structureZoom);
    for (int i = 1; i <= m.wireCount; ++i) {
        const size_t r = static_cast<size_t>(i);
        pic.structure.push_back({{proj.x(m.wireX1[r], m.wireY1[r]), proj.y(m.wireX1[r], m.wireY1[r], m.wireZ1[r])},
                                 {proj.x(m.wireX2[r], m.wireY2[r]), proj.y(m.wireX2[r], m.wireY2[r], m.wireZ2[r])}});
    }
}

std::string Painting::frequencyText() const {
    if (surfaceWaveMode(m)) return "Distance: " + formatNumber(m.requestDistance / 1000, 5) + " km.";
    double mhz = m.frequencyMHz;
    if (const int f = frequencyIndex(m, s.view); f >= 1 && f <= m.freqCount) mhz = m.sweepFreq[static_cast<size_t>(f)];
    return mhz > 0 ? formatPicture(mhz, "###0.0##") + " Mhz" : std::string();
}

void Painting::labels(PatternPicture& pic) const {
    PatternLabels& l = pic.labels;
    l.frequency = frequencyText();
    if (s.window.normMode != 0)
        l.norm = std::string(s.window.normMode == 1 ? "Norm. ALL : " : "Norm. MAX : ") +
                 formatNumber(s.window.normOffset, 5) + " dB";
    const Cut& cut = a.selectedCut();
    const bool horizontal = cut.plane == kHorizontalCut;
    if (!horizontal) l.cut = "Phi  : " + whole(cut.angle);
    else if (surfaceWaveMode(m)) l.cut = "Height: " + formatPicture(cut.angle, "##0.0") + " m";
    else l.cut = "Theta: " + whole(cut.angle);
    for (size_t k = 0; k < a.cuts.size(); ++k) {
        PatternRangeLabel label;
        label.colour = curveColour(k);
        label.caption = comparing(s) ? s.window.compared[k].name : m.modelName;
        if (const auto range = cutRange(a.cuts[k])) {
            label.range =
                value(std::max(range->lowest, -999.0), 4) + " < " + a.unit.label + " < " + value(range->highest, 4);
            const bool reachesMax = range->highest + s.window.normOffset >= patternMaximum(static_cast<int>(k)) - 1e-9;
            if (k == a.selected && reachesMax) l.maxAngle = maxText(a.cuts[k].points[range->highestAt], horizontal);
        }
        l.patterns.push_back(std::move(label));
    }
}

} // namespace

double heightGraphX(double r, double plotRadius) { return 2 * kGraphHalf * r - kGraphHalf * plotRadius; }

double heightGraphY(double height, double top, double plotRadius) {
    return 2 * kGraphHalf * plotRadius * (top > 0 ? height / top : 0) - kGraphHalf * plotRadius;
}

Projection overlayProjection(int16_t plane, double cutAngle, double zoom) {
    if (plane == kHorizontalCut) return Projection(cutAngle < 0 ? 90 : -90, 90 - cutAngle, zoom);
    return Projection(cutAngle - 90, 90, zoom);
}

PatternAnalysis analysePattern(const Geometry& geometry, const Results& results, const PatternState& s) {
    PatternAnalysis a;
    a.unit = patternUnit(geometry, s);
    for (int k = 1; k <= patternsShown(s); ++k)
        a.cuts.push_back(extractCut(geometry, results, s, comparing(s) ? k : 0));
    a.selected =
        comparing(s) ? static_cast<size_t>(std::clamp<int>(s.window.selectedPattern, 1, patternsShown(s)) - 1) : 0;
    a.heightGraph = surfaceWaveMode(geometry) && s.view.cutPlane != kHorizontalCut;
    if (a.heightGraph) {
        // The heights of the field points, up to the structure's height or
        // the highest point, whichever is higher.
        a.graphTop = std::max(geometry.extentZ, 0.0);
        for (const Cut& cut : a.cuts)
            for (const CutPoint& p : cut.points) a.graphTop = std::max(a.graphTop, p.height);
        if (!(a.graphTop > 0)) a.graphTop = 1;
    }
    if (s.view.showInfo && !a.heightGraph && !a.cuts.empty()) {
        LobeRules rules;
        rules.db = isDbQuantity(geometry, shownQuantity(s));
        rules.floor = s.window.scale.min + 2 * s.window.scale.step;
        rules.freeSpace = geometry.groundType == -1;
        a.lobes = findLobes(a.selectedCut(), rules);
    }
    return a;
}

PatternPicture buildPatternPicture(const Model& m, const PatternState& s) {
    PatternPicture pic;
    pic.plotRadius = s.window.plotRadius;
    const PatternAnalysis a = analysePattern(m, m, s);
    if (m.patternCount < 1 || a.cuts.empty() || a.selectedCut().points.empty()) {
        pic.noData = true;
        return pic;
    }
    const Painting painting(m, s, a);
    pic.heightGraph = a.heightGraph;
    pic.title =
        a.heightGraph ? "Surface wave" : (s.view.cutPlane == kHorizontalCut ? "Horizontal cut" : "Vertical cut");
    pic.quantity = quantityLabel(m, shownQuantity(s)) + a.unit.label;
    painting.grid(pic);
    painting.curves(pic);
    painting.lobes(pic);
    if (s.window.showIndicator && !a.heightGraph) painting.indicator(pic);
    if (s.view.showStructure) painting.structure(pic);
    painting.labels(pic);
    return pic;
}

std::string pointerText(const Geometry& geometry, const Results& results, const PatternState& s, double x, double y) {
    if (results.patternCount < 1) return {};
    const PatternAnalysis a = analysePattern(geometry, results, s);
    if (a.cuts.empty()) return {};
    const Cut& cut = a.selectedCut();
    const auto i = nearestCutPoint(cut, x, y, s.window.plotRadius, a.heightGraph, a.graphTop);
    if (!i) return {};
    const CutPoint& p = cut.points[*i];
    std::string where;
    if (a.heightGraph) where = "Height: " + formatPicture(p.height, "##0.0#") + " m";
    else where = std::string(cut.plane == kHorizontalCut ? "Phi: " : "Theta: ") + degrees(p.angle);
    return where + "   " + trim(quantityLabel(geometry, shownQuantity(s))) + ": " +
           trim(formatNumber(p.value / a.unit.divisor, 6)) + " " + a.unit.name();
}

} // namespace wavra
