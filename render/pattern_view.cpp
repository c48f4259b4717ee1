#include "render/pattern_view.h"

#include <QPainter>

#include "base/text.h"
#include "present/pattern_commands.h"
#include "present/pattern_cut.h"
#include "present/pattern_picture.h"
#include "render/pattern_renderer.h"

namespace wavra {

namespace {

using nlohmann::json;

json optionalNumber(const std::optional<double>& v) { return v ? json(*v) : json(nullptr); }

json lobeJson(const Lobe& lobe, const Cut& cut, double divisor) {
    auto angleOf = [&cut](const std::optional<size_t>& i) { return i ? json(cut.points[*i].angle) : json(nullptr); };
    return {{"angle", lobe.angle},
            {"value", lobe.value / divisor},
            {"minus3dB", {angleOf(lobe.low), angleOf(lobe.high)}},
            {"beamwidth", optionalNumber(lobe.beamwidth)},
            {"frontToBack", optionalNumber(lobe.frontToBack)}};
}

json cutJson(const Model& m, const PatternState& s, const PatternAnalysis& a) {
    const Cut& cut = a.selectedCut();
    const PatternScale& scale = s.window.scale;
    const double d = a.unit.divisor;
    json j = {{"plane", cut.plane == kHorizontalCut ? "horizontal" : "vertical"},
              {"angle", cut.angle},
              {"thetaIndex", s.view.thetaIndex},
              {"phiIndex", s.view.phiIndex},
              {"quantity", shownQuantity(s)},
              {"quantityLabel", trim(quantityLabel(m, shownQuantity(s)))},
              {"unit", a.unit.name()},
              {"scale", {{"min", scale.min / d}, {"max", scale.max / d}, {"step", scale.step / d}}},
              {"linLog", logScale(m) ? "log" : "lin"},
              {"normMode", s.window.normMode},
              {"normOffset", s.window.normOffset},
              {"points", cut.points.size()}};
    if (const auto range = cutRange(cut)) {
        j["lowest"] = range->lowest / d;
        j["highest"] = range->highest / d;
    }
    if (const int f = frequencyIndex(m, s.view); f >= 1 && f <= m.freqCount)
        j["frequencyMHz"] = m.sweepFreq[static_cast<size_t>(f)];
    return j;
}

} // namespace

void PatternView::open() {
    openPatternView(m_state, m_model, m_model, m_model, m_model);
    m_pointer.clear();
}

bool PatternView::command(int16_t code) {
    if (returnsToMainLoop(code)) return false;
    applyPatternCommand(m_state, m_model, m_ui, code);
    return true;
}

void PatternView::paint(QPainter& painter, const QRect& area) const {
    paintPattern(painter, area, buildPatternPicture(m_model, m_state));
}

nlohmann::json PatternView::describe() const {
    if (m_model.patternCount < 1) return {{"noData", true}, {"text", kNoPatternText}};
    const PatternAnalysis a = analysePattern(m_model, m_model, m_state);
    if (a.selectedCut().points.empty()) return {{"noData", true}, {"text", kNoPatternText}};
    json j = {{"cut", cutJson(m_model, m_state, a)},
              {"structure", m_state.view.showStructure},
              {"info", m_state.view.showInfo},
              {"indicator", m_state.window.showIndicator}};
    if (m_state.view.showInfo) {
        json lobes = json::array();
        for (const Lobe& lobe : a.lobes) lobes.push_back(lobeJson(lobe, a.selectedCut(), a.unit.divisor));
        j["lobes"] = lobes;
    }
    if (comparing(m_state)) {
        json compared = json::array();
        for (const ComparedPattern& c : m_state.window.compared) compared.push_back({{"name", c.name}, {"max", c.max}});
        j["compared"] = compared;
        j["selectedPattern"] = m_state.window.selectedPattern;
    }
    return j;
}

void PatternView::pointAt(QPointF pixel, const QRect& area) {
    const PatternLayout layout(area, patternsShown(m_state), m_state.window.plotRadius);
    const PlotPoint at = layout.toDrawing(pixel);
    m_pointer = pointerText(m_model, m_model, m_state, at.x, at.y);
}

} // namespace wavra
