#include "render/geometry_view.h"

#include <QPainter>

#include "present/geometry_marks.h"
#include "present/pattern_mesh.h"
#include "render/geometry_renderer.h"

namespace wavra {

void GeometryView::paint(QPainter& painter, const QRect& area) const {
    const GeometryViewState& s = m_controller.state();
    buildGeometryScene(m_model, s, patternGridOf(m_model, m_model), m_scene);
    paintGeometry(painter, area, s, m_scene);
}

nlohmann::json GeometryView::describe() const {
    const GeometryViewState& s = m_controller.state();
    nlohmann::json j;
    j["wires"] = showsReportSegments(m_model) ? "output" : "input";
    j["viewElevation"] = s.viewElevation;
    j["viewAzimuth"] = s.viewAzimuth;
    j["shiftX"] = s.shiftX;
    j["shiftY"] = s.shiftY;
    j["viewSize"] = s.viewSize;
    j["geometryScale"] = s.geometryScale;
    j["axis"] = axisLabelText(s);
    j["selectedSegment"] = s.selectedSegment;
    j["current"] = selectionText(m_model, s);
    j["showCurrent"] = s.showCurrent;
    j["showPhase"] = s.showPhase;
    j["currentSize"] = s.currentSize;
    j["multiColour"] = s.multiColour;
    j["showPattern"] = s.showPattern;
    j["patternQuantity"] = s.patternQuantity;
    j["quantity"] = displayQuantityLabel(m_model, s);
    j["patternSize"] = s.patternSize;
    j["gridType"] = s.gridType;
    j["lineStep"] = s.lineStep;
    j["validationMode"] = s.validationMode;
    if (const auto legend = colourLegend(m_model, s))
        j["legend"] = {{"title", legend->title}, {"low", legend->low}, {"high", legend->high}};
    return j;
}

std::unique_ptr<ResultView> makeGeometryView(Model& model, Ui& ui) { return std::make_unique<GeometryView>(model, ui); }

} // namespace wavra
