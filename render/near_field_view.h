// The near-field view without its window: the plane, line, component,
// cut-off and scale it keeps between calls, its keys, its picture and what
// it shows ("view" in --json). It hands over to the geometry view when the
// grid holds no plane it can draw.
#pragma once

#include <memory>

#include "present/near_field_map.h"
#include "render/result_view.h"

namespace wavra {

class NearFieldView : public ResultView {
public:
    NearFieldView(Model& model, Ui& ui) : m_model(model), m_ui(ui) {}

    std::string name() const override { return "nearfield"; }
    void open() override;
    bool command(int16_t code) override;
    void paint(QPainter& painter, const QRect& area) const override;
    nlohmann::json describe() const override;
    // The point under the mouse pointer on the colour map.
    std::string statusText() const override { return m_pointerText; }
    bool pointerAt(double x, double y, double width, double height) override;

    const NearFieldState& state() const { return m_state; }

private:
    Model& m_model;
    Ui& m_ui;
    NearFieldState m_state;
    struct Pointer {
        double x = -1, y = -1, width = 0, height = 0;
    } m_pointer;
    std::string m_pointerText;

    // A grid whose every plane is a single point cannot be drawn: the
    // message, and the geometry view is asked for. True when it was.
    bool handsOver();
    std::string pointerText() const;
};

std::unique_ptr<ResultView> makeNearFieldView(Model& model, Ui& ui);

} // namespace wavra
