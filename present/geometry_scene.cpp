#include "present/geometry_scene.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "present/geometry_marks.h"
#include "present/near_field_marks.h"
#include "present/segment_currents.h"

namespace wavra {

namespace {

constexpr double kMarkRadius = 2;

bool colouredByPhase(const Model& m, const GeometryViewState& s) {
    return s.multiColour && !s.showPattern && s.showPhase && hasPhases(m);
}
bool colouredByCurrent(const Model& m, const GeometryViewState& s) {
    return s.multiColour && !s.showPattern && !colouredByPhase(m, s) && hasCurrents(m);
}

// Ramp entries first..16 from the lowest value up.
ColourLegend rampLegend(std::string title, int first, std::string low, std::string high) {
    ColourLegend legend{std::move(title), {}, std::move(low), std::move(high)};
    for (int k = first; k <= 16; ++k) legend.colours.push_back(displayTables().colourRamp[static_cast<size_t>(k)]);
    return legend;
}

std::string legendValue(double v) { return formatSignificant(v, 3); }
constexpr double kDivisionRadius = 1;

class SceneBuilder {
public:
    SceneBuilder(const Model& model, const GeometryViewState& state, const PatternGrid& patternGrid, GeometryScene& out)
        : m(model), s(state), grid(patternGrid), p(modelProjection(state)), scene(out) {}

    void build();

private:
    const Model& m;
    const GeometryViewState& s;
    const PatternGrid& grid;
    const Projection p;
    GeometryScene& scene;

    double px(int i, bool second) const {
        return second ? p.x(m.wireX2[i], m.wireY2[i]) : p.x(m.wireX1[i], m.wireY1[i]);
    }
    double py(int i, bool second) const {
        return second ? p.y(m.wireX2[i], m.wireY2[i], m.wireZ2[i]) : p.y(m.wireX1[i], m.wireY1[i], m.wireZ1[i]);
    }
    std::array<double, 4> wireLine(int i) const { return {px(i, false), py(i, false), px(i, true), py(i, true)}; }
    void circles(const std::vector<Point3>& points, int colour, double radius, bool filled);

    void axes();
    void wires();
    void validationMarks();
    void selection();
    void bars();
    void pattern();
    void nearField();
    void marks();
    void labels();
};

void SceneBuilder::circles(const std::vector<Point3>& points, int colour, double radius, bool filled) {
    for (const Point3& q : points)
        scene.circles.push_back({p.x(q.x, q.y), p.y(q.x, q.y, q.z), radius, standardColour(colour), filled});
}

void SceneBuilder::axes() {
    static const char* const kLetters[3] = {"X", "Y", "Z"};
    const Projection unit(s.viewAzimuth, s.viewElevation, s.axisLength);
    const Point3 ends[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int k = 0; k < 3; ++k) {
        const double x = unit.x(ends[k].x, ends[k].y), y = unit.y(ends[k].x, ends[k].y, ends[k].z);
        scene.batches[scene.batch(standardColour(kAxisColours[k]))].lines.push_back({0, 0, x, y});
        scene.axisLetters.push_back({x, y, kLetters[k], standardColour(kAxisColours[k])});
    }
}

// One colour, or with multiColour (and no pattern shown) the ramp entry of
// each segment's current, or of its phase while the phase bars are shown.
void SceneBuilder::wires() {
    const bool byPhase = colouredByPhase(m, s), byCurrent = colouredByCurrent(m, s);
    if (!byCurrent && !byPhase) {
        auto& lines = scene.batches[scene.batch(standardColour(kWireColour))].lines;
        lines.reserve(static_cast<size_t>(std::max<int>(m.wireCount, 0)));
        for (int i = 1; i <= m.wireCount; ++i) lines.push_back(wireLine(i));
        return;
    }
    std::array<size_t, 17> entry{};
    for (int k = byPhase ? 0 : 1; k <= 16; ++k)
        entry[static_cast<size_t>(k)] = scene.batch(displayTables().colourRamp[static_cast<size_t>(k)], 2);
    for (int i = 1; i <= m.wireCount; ++i) {
        const int k = byPhase ? phaseRampEntry(m.wireCurrentPhase[i], m.maxCurrentPhase)
                              : currentRampEntry(m.wireCurrentMag[i], m.maxCurrentMag);
        scene.batches[entry[static_cast<size_t>(k)]].lines.push_back(wireLine(i));
    }
}

// Errors over warnings, drawn over the wire.
void SceneBuilder::validationMarks() {
    for (int i = 1; i <= m.wireCount; ++i) {
        if (m.wireMark[i] == 0) continue;
        const int colour = (m.wireMark[i] & 2) != 0 ? kErrorColour : kWarningColour;
        scene.batches[scene.batch(standardColour(colour), 3)].lines.push_back(wireLine(i));
    }
}

// The picked wire; on input wires also the end the wire edit moves.
void SceneBuilder::selection() {
    const int i = s.selectedSegment;
    if (i < 1 || i > m.wireCount) return;
    scene.batches[scene.batch(standardColour(kSelectedColour), 3)].lines.push_back(wireLine(i));
    if (showsReportSegments(m)) return;
    const bool second = s.editEnd == 2;
    scene.circles.push_back({px(i, second), py(i, second), kDivisionRadius, standardColour(kSelectedColour), false});
}

void SceneBuilder::bars() {
    if (!s.showCurrent && !s.showPhase) return;
    const int colour = s.showCurrent ? kCurrentBarColour : kPhaseBarColour;
    auto& lines = scene.batches[scene.batch(standardColour(colour))].lines;
    for (int i = 1; i <= m.wireCount; ++i) {
        const double length =
            s.showCurrent ? currentBarLength(m, i, s.currentSize) : phaseBarLength(m, i, s.currentSize);
        if (const auto bar = segmentBar(m, p, i, length)) lines.push_back({bar->x1, bar->y1, bar->x2, bar->y2});
    }
}

void SceneBuilder::pattern() {
    buildPatternMesh(grid, geometryPatternStyle(m, m, s), patternProjection(s), scene.mesh);
    const PatternMesh& mesh = scene.mesh;
    // One colour: a polyline per curve. Multi-colour: each segment takes the
    // colour of its ends' mean fraction, and a curve is cut where it changes.
    const size_t colours = s.multiColour ? 17 : 1;
    scene.curves.resize(colours);
    for (size_t k = 0; k < colours; ++k)
        scene.curves[k].colour = s.multiColour ? displayTables().colourRamp[k] : standardColour(kPatternColour);
    auto colourOfSegment = [&](size_t a, size_t b) -> size_t {
        return s.multiColour ? static_cast<size_t>(colourRampEntry((mesh.fraction[a] + mesh.fraction[b]) / 2)) : 0;
    };
    size_t begin = 0;
    for (size_t end : mesh.curveEnds) {
        PolylineBatch* open = nullptr;
        for (size_t k = begin + 1; k < end; ++k) {
            const size_t a = mesh.points[k - 1], b = mesh.points[k];
            PolylineBatch& batch = scene.curves[colourOfSegment(a, b)];
            if (&batch != open) {
                if (open) open->ends.push_back(open->xy.size() / 2);
                open = &batch;
                batch.xy.push_back(mesh.x[a]);
                batch.xy.push_back(mesh.y[a]);
            }
            batch.xy.push_back(mesh.x[b]);
            batch.xy.push_back(mesh.y[b]);
        }
        if (open) open->ends.push_back(open->xy.size() / 2);
        begin = end;
    }
}

void SceneBuilder::nearField() {
    for (const NearFieldMark& mark : nearFieldMarks(m, m.summary, s)) {
        const Rgb colour = s.multiColour ? colourOf(mark.fraction) : standardColour(kNearFieldColour);
        scene.circles.push_back({mark.x, mark.y, mark.radius, colour, s.multiColour});
    }
    scene.planeLabel = nearPlaneLabel(m, m.summary, s);
}

void SceneBuilder::marks() {
    if (s.showSegments) circles(segmentDivisions(m), kDivisionColour, kDivisionRadius, false);
    if (s.showEnds) circles(openEnds(m), kOpenEndColour, kMarkRadius, false);
    if (s.showJunctions) circles(junctionEnds(m), kJunctionColour, kMarkRadius, false);
    if (s.showLoads) circles(loadPoints(m), kLoadColour, kMarkRadius, true);
    circles(sourcePoints(m), kSourceColour, kMarkRadius + 0.5, true);
}

void SceneBuilder::labels() {
    const bool report = showsReportSegments(m);
    scene.fileLabel = m.modelName + (report ? ".out" : m.modelExt);
    scene.frequencyLabel = m.summary.frequencyText;
    scene.axisLabel = axisLabelText(s);
    scene.thetaLabel = "Theta: " + formatPicture(s.viewElevation, "##0");
    scene.phiLabel = "Phi: " + formatPicture(s.viewAzimuth, "##0");
    if (s.showPattern) scene.patternLabel = displayQuantityLabel(m, s);
    scene.currentLabel = selectionText(m, s);
    scene.legend = colourLegend(m, s);
}

void SceneBuilder::build() {
    // The pattern behind the structure, the marks on top.
    axes();
    if (s.showPattern && m.requestMode != kNearRequest) pattern();
    wires();
    validationMarks();
    selection();
    bars();
    if (s.showPattern && m.requestMode == kNearRequest) nearField();
    marks();
    labels();
}

} // namespace

size_t GeometryScene::batch(Rgb colour, double width) {
    for (size_t k = 0; k < batches.size(); ++k)
        if (batches[k].colour == colour && batches[k].width == width) return k;
    if (m_spare.empty()) {
        batches.push_back({colour, width, {}});
    } else {
        batches.push_back(std::move(m_spare.back()));
        m_spare.pop_back();
        batches.back().colour = colour;
        batches.back().width = width;
    }
    return batches.size() - 1;
}

void GeometryScene::clear() {
    for (LineBatch& b : batches) {
        b.lines.clear();
        m_spare.push_back(std::move(b));
    }
    batches.clear();
    for (PolylineBatch& c : curves) {
        c.xy.clear();
        c.ends.clear();
    }
    circles.clear();
    axisLetters.clear();
    legend.reset();
    for (std::string* label :
         {&fileLabel, &frequencyLabel, &currentLabel, &patternLabel, &planeLabel, &axisLabel, &thetaLabel, &phiLabel})
        label->clear();
}

PatternStyle geometryPatternStyle(const Settings& settings, const Results& results, const GeometryViewState& s) {
    PatternStyle style;
    style.quantity = s.patternQuantity;
    style.lower = patternLowerLimit(settings, results, s.patternQuantity);
    style.factor = settings.linLogFactor;
    style.size = s.patternSize;
    style.gridType = s.gridType;
    style.lineStep = s.lineStep;
    return style;
}

void buildGeometryScene(const Model& model, const GeometryViewState& state, const PatternGrid& grid,
                        GeometryScene& scene) {
    scene.clear();
    SceneBuilder(model, state, grid, scene).build();
}

std::string displayQuantityLabel(const Model& model, const GeometryViewState& state) {
    return model.requestMode == kNearRequest ? nearQuantityLabel(model.summary, state.patternQuantity)
                                             : patternQuantityLabel(state.patternQuantity);
}

std::string selectionText(const Model& m, const GeometryViewState& s) {
    const int i = s.selectedSegment;
    if (i < 1 || i > m.wireCount) return "";
    if (showsReportSegments(m)) {
        const bool cartesian = m.cartesianCurrents != 0;
        const std::string atPower = segmentPowerCurrentText(m, m, m.summary, i, cartesian);
        return segmentCurrentText(m, m, i, cartesian) + " (report)" + (atPower.empty() ? "" : "   " + atPower);
    }
    return "Wire: " + formatPicture(i, "##0") + ", Tag: " + std::to_string(m.wireTag[i]) +
           ", End: " + std::to_string(s.editEnd);
}

std::optional<ColourLegend> colourLegend(const Model& m, const GeometryViewState& s) {
    if (colouredByPhase(m, s))
        return rampLegend("Phase [deg]", 0, legendValue(-m.maxCurrentPhase), legendValue(m.maxCurrentPhase));
    if (colouredByCurrent(m, s)) {
        const auto scale = powerCurrentScale(m.summary);
        const std::string title = "Current [A] " + (scale ? powerCurrentLabel(m) : std::string("as reported"));
        return rampLegend(title, 1, "0", legendValue(m.maxCurrentMag * scale.value_or(1)));
    }
    if (s.multiColour && s.showPattern && m.requestMode != kNearRequest) {
        const PatternStyle style = geometryPatternStyle(m, m, s);
        const double top = m.patternMax[static_cast<size_t>(std::clamp<int>(style.quantity, 1, 5))];
        return rampLegend(trim(displayQuantityLabel(m, s)), 0, legendValue(style.lower), legendValue(top));
    }
    return std::nullopt;
}

std::string axisLabelText(const GeometryViewState& state) {
    return "Axis : " + formatPicture(state.axisLength * state.geometryScale / state.viewSize, "##0.0##") + " m";
}

} // namespace wavra
