// The geometry view ("geometry" on the command line): the wire structure in
// a rotatable 3-D view with its currents, marks, validation results and the
// 3-D far-field pattern or near field, as the window G and the batch
// command line show it.
#pragma once

#include "present/geometry_controller.h"
#include "present/geometry_scene.h"
#include "render/result_view.h"

namespace wavra {

class GeometryView : public ResultView {
public:
    GeometryView(Model& model, Ui& ui) : m_model(model), m_controller(model, ui) {}

    std::string name() const override { return "geometry"; }
    void open() override { m_controller.open(); }
    bool command(int16_t code) override { return m_controller.command(code); }
    void paint(QPainter& painter, const QRect& area) const override;
    nlohmann::json describe() const override;
    std::string statusText() const override { return m_controller.status(); }

    GeometryController& controller() { return m_controller; }
    const GeometryController& controller() const { return m_controller; }

private:
    Model& m_model;
    GeometryController m_controller;
    mutable GeometryScene m_scene; // kept between pictures for its memory
};

std::unique_ptr<ResultView> makeGeometryView(Model& model, Ui& ui);

} // namespace wavra
