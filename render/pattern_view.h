// The far-field pattern view without its window: the state it keeps between
// calls, its commands, its picture and what it computed (cut, scale, lobes).
#pragma once

#include <QPointF>

#include "present/pattern_state.h"
#include "render/result_view.h"

namespace wavra {

class PatternView : public ResultView {
public:
    PatternView(Model& model, Ui& ui) : m_model(model), m_ui(ui) {}

    std::string name() const override { return "pattern"; }
    void open() override;
    bool command(int16_t code) override;
    void paint(QPainter& painter, const QRect& area) const override;
    nlohmann::json describe() const override;
    std::string statusText() const override { return m_pointer; }

    // The pointer at a pixel of a picture painted into `area`: the status
    // line then reads the angle and value of the nearest point of the cut.
    void pointAt(QPointF pixel, const QRect& area);

    const PatternState& state() const { return m_state; }
    const Model& model() const { return m_model; }

private:
    Model& m_model;
    Ui& m_ui;
    PatternState m_state;
    std::string m_pointer;
};

} // namespace wavra
