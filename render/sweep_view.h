// The frequency sweep graphs (F5) as a result view: the window state, the
// keys and menu codes of the window, the picture and its description.
#pragma once

#include <memory>

#include "present/sweep_graphs.h"
#include "render/result_view.h"

namespace wavra {

// Ctrl+E: "File -> Export sweep..." of the window.
inline constexpr int16_t kActionExportSweep = 269;

class SweepView : public ResultView {
public:
    SweepView(Model& model, Ui& ui) : m_model(model), m_ui(ui) {}

    std::string name() const override { return "sweep"; }
    // A new load sets page 2, markers, both panes and the scales afresh;
    // coming from another view switches the grids off.
    void open() override;
    bool command(int16_t code) override;
    void paint(QPainter& painter, const QRect& area) const override;
    nlohmann::json describe() const override;
    // The values under the mouse pointer, else the active pane.
    std::string statusText() const override;

    const SweepState& state() const { return m_state; }
    bool pointerAt(double x, double y, double width, double height) override;

private:
    Model& m_model;
    Ui& m_ui;
    SweepState m_state;
    nlohmann::json keptJson() const;
    struct Pointer {
        double x = -1, y = -1, width = 0, height = 0;
    } m_pointer;
};

std::unique_ptr<ResultView> makeSweepView(Model& model, Ui& ui);

} // namespace wavra
