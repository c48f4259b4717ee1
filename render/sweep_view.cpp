#include "render/sweep_view.h"

#include <cmath>
#include <ctime>

#include "base/json_number.h"
#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/sweep_compare.h"
#include "present/sweep_export.h"
#include "render/sweep_renderer.h"
#include "report/loop_front_back.h"

namespace wavra {

namespace {

const char* quantityName(SweepQuantity q) {
    static const char* const names[kSweepQuantityCount] = {
        "R", "X", "Z", "phase", "swr", "reflectionDb", "gain", "gainToMax", "frontToBack"};
    return names[static_cast<size_t>(q)];
}

const char* paneName(int pane) { return pane == kPaneUpper ? "upper" : pane == kPaneLower ? "lower" : "both"; }

} // namespace

void SweepView::open() {
    if (!m_state.scaled || m_state.loadSerial != m_model.loadSerial || m_state.measuredSerial != m_model.measuredSerial)
        rescaleSweep(m_model, m_state);
    if (m_model.previousView != kActionSweep) m_state.grid = {};
    m_state.pointerStep = 0;
}

bool SweepView::command(int16_t code) {
    if (code == kActionExportSweep) {
        exportSweepDialog(m_model, m_ui);
        return true;
    }
    if (code == kActionLoadMeasured) {
        if (loadMeasuredDialog(m_model, m_model, m_ui)) rescaleSweep(m_model, m_state);
        return true;
    }
    if (code == kActionUnloadMeasured) {
        if (unloadMeasured(m_model)) rescaleSweep(m_model, m_state);
        return true;
    }
    if (code == kActionKeepSweep) {
        keepSweep(m_model, std::time(nullptr));
        return true;
    }
    if (code == kActionClearKeptSweeps) {
        m_model.keptSweeps.clear();
        return true;
    }
    if (code == kActionPointerMoved) {
        m_state.pointerStep = sweepPointerStep(m_model, m_state, sweepLayout(m_pointer.width, m_pointer.height),
                                               m_pointer.x, m_pointer.y);
        return true;
    }
    // Other keys of the window change nothing and keep it open.
    sweepCommand(m_model, m_state, code);
    return true;
}

void SweepView::paint(QPainter& painter, const QRect& area) const { paintSweep(painter, area, m_model, m_state); }

nlohmann::json SweepView::describe() const {
    nlohmann::json j;
    j["page"] = m_state.page;
    j["activePane"] = paneName(m_state.activePane);
    j["markers"] = m_state.markers;
    j["grid"] = {{"R", m_state.grid[0]}, {"X", m_state.grid[1]}, {"Z", m_state.grid[2]}, {"phase", m_state.grid[3]}};
    if (const std::string message = sweepMessage(m_model, m_model, m_model.summary, m_state); !message.empty())
        j["message"] = message;
    j["frequency"] = {{"min", m_state.freqMin}, {"max", m_state.freqMax}};
    j["z0"] = m_model.referenceZ0();
    nlohmann::json panes = nlohmann::json::array();
    for (int pane : {kPaneUpper, kPaneLower}) {
        nlohmann::json curves = nlohmann::json::array();
        for (SweepQuantity q : paneQuantities(m_model, m_model, m_state.page, pane)) {
            const SweepScale& s = m_state.scales[static_cast<size_t>(q)];
            curves.push_back({{"quantity", quantityName(q)},
                              {"title", sweepTitle(m_model, q)},
                              {"min", s.lo},
                              {"max", s.hi},
                              {"step", s.step}});
        }
        panes.push_back({{"pane", paneName(pane)}, {"curves", curves}});
    }
    j["panes"] = panes;
    nlohmann::json steps = nlohmann::json::array();
    for (int step = 1; step <= sweepSteps(m_model); ++step) {
        const double r = m_model.sweepR[static_cast<size_t>(step)], x = m_model.sweepX[static_cast<size_t>(step)];
        steps.push_back({{"frequency", m_model.sweepFreq[static_cast<size_t>(step)]},
                         {"R", r},
                         {"X", x},
                         {"swr", finiteOrNull(swr(r, x, m_model.referenceZ0()))},
                         {"reflection", std::abs(reflection(r, x, m_model.referenceZ0()))},
                         {"reflectionDb", finiteOrNull(reflectionDb(r, x, m_model.referenceZ0()))}});
        if (loopHasCuts(m_model, m_model)) {
            const CutGains cut = loopCutGains(m_model, m_model, step);
            steps.back()["maxGain"] = finiteOrNull(cut.maximum);
            steps.back()["frontToBack"] = finiteOrNull(cut.frontToBack);
        }
    }
    j["steps"] = steps;
    if (!m_model.keptSweeps.empty()) j["kept"] = keptJson();
    if (m_state.pointerStep > 0) j["pointerStep"] = m_state.pointerStep;
    return j;
}

// The kept loops, each with its legend text and its steps against today's z0.
nlohmann::json SweepView::keptJson() const {
    nlohmann::json kept = nlohmann::json::array();
    for (const KeptSweep& k : m_model.keptSweeps) {
        nlohmann::json steps = nlohmann::json::array();
        for (size_t i = 0; i < keptSteps(k); ++i)
            steps.push_back({{"frequency", k.frequency[i]},
                             {"R", k.r[i]},
                             {"X", k.x[i]},
                             {"swr", finiteOrNull(swr(k.r[i], k.x[i], m_model.referenceZ0()))},
                             {"gain", finiteOrNull(k.gain[i])}});
        kept.push_back({{"label", k.label}, {"steps", steps}});
    }
    return kept;
}

std::string SweepView::statusText() const {
    if (const std::string text = sweepStepText(m_model, m_state, m_state.pointerStep); !text.empty()) return text;
    return std::string("Active pane: ") + paneName(m_state.activePane) + " (Tab)";
}

bool SweepView::pointerAt(double x, double y, double width, double height) {
    m_pointer = {x, y, width, height};
    return true;
}

std::unique_ptr<ResultView> makeSweepView(Model& model, Ui& ui) { return std::make_unique<SweepView>(model, ui); }

} // namespace wavra
