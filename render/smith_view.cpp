#include "render/smith_view.h"

#include <ctime>

#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "present/sweep_compare.h"
#include "render/smith_renderer.h"

namespace wavra {

void SmithView::open() {
    if (!m_state.opened || m_state.loadSerial != m_model.loadSerial) resetSmith(m_model, m_state);
    if (!m_chartLoaded || m_chartMode != m_model.smithMode) loadChart();
    else makeGrid(); // z0 may have changed in the settings
}

void SmithView::loadChart() {
    if (m_caption) m_caption("Loading Smith Chart Data...");
    m_chart = {};
    if (!loadSmithChart(m_model, m_chart))
        m_ui.message("Smith-chart initialisation file " + smithChartFileName(m_model) + " not found.");
    m_chartLoaded = true;
    m_chartMode = m_model.smithMode;
    makeGrid();
    if (m_caption) m_caption("Smith Chart");
}

void SmithView::makeGrid() { m_grid = chartGrid(m_chart, m_model.referenceZ0(), m_state.normalise == 1); }

bool SmithView::command(int16_t code) {
    switch (code) {
    case 'G':
        m_model.smithMode = m_model.smithMode != 0 ? 0 : 1;
        loadChart();
        return true;
    case 45: insertSmithPoint(m_model, m_state, m_ui); return true; // Ins
    case 46: deleteSmithPoint(m_model, m_state); return true;       // Del
    case kActionLoadMeasured: loadMeasuredDialog(m_model, m_model, m_ui); return true;
    case kActionUnloadMeasured: unloadMeasured(m_model); return true;
    case kActionKeepSweep: keepSweep(m_model, std::time(nullptr)); return true;
    case kActionClearKeptSweeps: m_model.keptSweeps.clear(); return true;
    case kActionPrint:
        if (m_print) m_print();
        else m_ui.message("The Smith chart is printed from its window.");
        return true;
    case kActionPointerMoved:
        setSmithPointer(m_state, chartFrame(m_pointer.width, m_pointer.height), m_pointer.x, m_pointer.y);
        return true;
    default:
        // Home changes the labels between ohms and normalised values; other
        // keys of the window change nothing and keep it open.
        if (smithCommand(m_model, m_state, code) && code == 36) makeGrid();
        return true;
    }
}

void SmithView::paint(QPainter& painter, const QRect& area) const {
    paintSmith(painter, area, m_model, {m_chart, m_grid, m_state, smithReadout(m_model, m_state)});
}

nlohmann::json SmithView::describe() const {
    nlohmann::json j;
    j["chartFile"] = smithChartFileName(m_model);
    j["gridValues"] = m_chart.grid.size();
    nlohmann::json rulers = nlohmann::json::array();
    for (const ChartRuler& r : m_chart.rulers) rulers.push_back(rulerStyle(r.kind).name);
    j["rulers"] = rulers;
    j["z0"] = m_model.referenceZ0();
    j["normalised"] = m_state.normalise == 1;
    j["cartesian"] = m_model.complexNotation == 0;
    j["lineStep"] = m_state.lineStep;
    j["cursor"] = m_state.cursor;
    nlohmann::json points = nlohmann::json::array();
    for (const SmithPoint& p : smithPoints(m_model, m_state)) {
        const std::complex<double> g = plottedGamma(m_model.referenceZ0(), m_state, p);
        const Polar polar = toPolar(g.real(), g.imag());
        points.push_back({{"frequency", p.frequency},
                          {"R", p.r},
                          {"X", p.x},
                          {"added", p.added},
                          {"gammaMagnitude", polar.magnitude},
                          {"gammaAngle", polar.angle}});
    }
    j["pointCount"] = points.size();
    j["points"] = points;
    j["readout"] = smithReadout(m_model, m_state);
    return j;
}

bool SmithView::pointerAt(double x, double y, double width, double height) {
    m_pointer = {x, y, width, height};
    return true;
}

std::unique_ptr<ResultView> makeSmithView(Model& model, Ui& ui) { return std::make_unique<SmithView>(model, ui); }

} // namespace wavra
