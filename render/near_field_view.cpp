#include "render/near_field_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "render/near_field_renderer.h"

namespace wavra {

namespace {

using nlohmann::json;

const char* const kPlaneNames[] = {"XY", "XZ", "YZ"};
const char* const kAxisNames[] = {"X", "Y", "Z"};

json pointJson(const Results& results, const NearSample& s, double divisor) {
    const auto& p = results.nearFieldPoints[static_cast<size_t>(s.row)];
    return {{"value", s.value / divisor}, {"x", p[0]}, {"y", p[1]}, {"z", p[2]}};
}

json positionJson(const Geometry& geometry, const Results& results, const Summary& summary, const NearFieldState& s,
                  int axis) {
    const int16_t index = s.position[static_cast<size_t>(axis)];
    return {{"axis", kAxisNames[axis]},
            {"index", index},
            {"coordinate", nearCoordinate(geometry, results, summary, axis, index)}};
}

} // namespace

void NearFieldView::open() {
    openNearField(m_state, m_model);
    m_pointerText.clear();
    // A redraw in the background shows no message; the entry will.
    if (m_model.actionCode != kActionRedrawOnce) handsOver();
}

bool NearFieldView::command(int16_t code) {
    if (returnsToMainLoop(code)) return false;
    if (code == kActionPointerMoved) {
        m_pointerText = pointerText();
        return true;
    }
    // Other keys change nothing and keep the window open.
    if (nearFieldCommand(m_state, m_model, m_model, m_model.summary, m_ui, code)) m_pointerText.clear();
    return !handsOver();
}

bool NearFieldView::handsOver() {
    if (!hasNearField(m_model, m_model, m_model.summary) ||
        planeDisplayable(m_model, m_model, m_model.summary, m_state.plane))
        return false;
    m_ui.message(kNearRangeMessage);
    m_model.actionCode = kActionGeometry;
    return true;
}

void NearFieldView::paint(QPainter& painter, const QRect& area) const {
    paintNearField(painter, area, m_model, m_model, m_model.summary, m_state);
}

nlohmann::json NearFieldView::describe() const {
    const NearValues v = m_state.map2D ? planeValues(m_model, m_model, m_model.summary, m_state)
                                       : lineValues(m_model, m_model, m_model.summary, m_state);
    if (!hasNearField(m_model, m_model, m_model.summary) || v.samples.empty())
        return {{"noData", true}, {"text", kNoNearFieldText}};
    const FieldUnit unit = nearFieldUnit(m_model.summary, m_state.component);
    const PlaneAxes axes = planeAxes(m_state.plane);
    json j = {{"field", nearFieldLetter(m_model.summary)},
              {"plane", kPlaneNames[std::clamp<int>(m_state.plane, 1, 3) - 1]},
              {"position", positionJson(m_model, m_model, m_model.summary, m_state, axes.fixed)},
              {"mode", m_state.map2D ? "map" : "graph"},
              {"component", m_state.component},
              {"componentName", componentName(m_state.component)},
              {"title", nearFieldTitle(m_model.summary, m_state.component)},
              {"unit", unit.name()},
              {"min", v.min / unit.divisor},
              {"max", v.max / unit.divisor},
              {"largest", pointJson(m_model, *v.largest, unit.divisor)},
              {"points", v.samples.size()},
              {"logFactor", m_state.logFactor},
              {"cutoff", m_state.cutoff == kNoCutoff ? json(nullptr) : json(m_state.cutoff / unit.divisor)},
              {"structure", m_state.showStructure}};
    if (!m_state.map2D) {
        j["graph"] = {{"axis", kAxisNames[graphAxis(m_model, m_model, m_model.summary, m_state.plane)]},
                      {"line", positionJson(m_model, m_model, m_model.summary, m_state,
                                            lineAxis(m_model, m_model, m_model.summary, m_state.plane))}};
    }
    if (!planeDisplayable(m_model, m_model, m_model.summary, m_state.plane)) j["message"] = kNearRangeMessage;
    return j;
}

bool NearFieldView::pointerAt(double x, double y, double width, double height) {
    m_pointer = {x, y, width, height};
    return true;
}

// "X = 0.5 mtr. ; Y = 1 mtr. : 12.3 [mV/m]" for the cell under the pointer.
std::string NearFieldView::pointerText() const {
    if (!m_state.map2D || !hasNearField(m_model, m_model, m_model.summary)) return "";
    const NearValues v = planeValues(m_model, m_model, m_model.summary, m_state);
    const NearMap map = nearFieldMap(m_model, m_model, m_model.summary, m_state, v);
    const QRect area(0, 0, static_cast<int>(m_pointer.width), static_cast<int>(m_pointer.height));
    const auto [across, up] = NearMapLayout(area, map).toMetres(QPointF(m_pointer.x, m_pointer.y));
    const PlaneAxes axes = planeAxes(m_state.plane);
    const FieldUnit unit = nearFieldUnit(m_model.summary, m_state.component);
    for (size_t i = 0; i < map.cells.size(); ++i) {
        const NearCell& c = map.cells[i];
        if (std::fabs(across - c.across) > c.halfAcross || std::fabs(up - c.up) > c.halfUp) continue;
        return axisPositionLabel(axes.across, c.across) + " ; " + axisPositionLabel(axes.up, c.up) + " : " +
               formatNumber(v.samples[i].value / unit.divisor, 5) + " " + unit.label;
    }
    return "";
}

std::unique_ptr<ResultView> makeNearFieldView(Model& model, Ui& ui) {
    return std::make_unique<NearFieldView>(model, ui);
}

} // namespace wavra
