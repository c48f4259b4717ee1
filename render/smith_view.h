// The Smith chart (F11) as a result view: the chart file, the points and
// cursor, the keys and menu codes of the window, the picture and its
// description. Printing is the window's: it hands the view a printer.
#pragma once

#include <functional>
#include <memory>

#include "present/smith_chart.h"
#include "render/result_view.h"

namespace wavra {

class SmithView : public ResultView {
public:
    SmithView(Model& model, Ui& ui) : m_model(model), m_ui(ui) {}

    std::string name() const override { return "smith"; }
    // Loads the chart file when none is loaded or the grid was switched; a
    // new load clears the cursor, the added points and the line step.
    void open() override;
    bool command(int16_t code) override;
    void paint(QPainter& painter, const QRect& area) const override;
    nlohmann::json describe() const override;

    const SmithState& state() const { return m_state; }
    const SmithChartFile& chart() const { return m_chart; }
    bool pointerAt(double x, double y, double width, double height) override;

    // The window's printing (Ctrl+P) and its caption while the chart loads.
    void setPrinter(std::function<void()> print) { m_print = std::move(print); }
    void setCaption(std::function<void(const std::string&)> caption) { m_caption = std::move(caption); }

private:
    Model& m_model;
    Ui& m_ui;
    SmithState m_state;
    SmithChartFile m_chart;
    ChartGrid m_grid;
    bool m_chartLoaded = false;
    int16_t m_chartMode = 0;
    struct Pointer {
        double x = -1, y = -1, width = 0, height = 0;
    } m_pointer;
    std::function<void()> m_print;
    std::function<void(const std::string&)> m_caption;

    void loadChart();
    void makeGrid();
};

std::unique_ptr<ResultView> makeSmithView(Model& model, Ui& ui);

} // namespace wavra
