// The geometry view's commands without its window: the view state kept
// between calls, the keys, menu items and mouse codes acting on it, the
// validation runs, the input/output switch, the optimizer log, the hand-over
// to the POV-Ray export and the wire edit of a picked input wire.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "present/geometry_view_state.h"
#include "present/pov_export_request.h"
#include "present/wire_edit.h"

namespace wavra {

class GeometryController {
public:
    GeometryController(Model& model, Ui& ui) : m_model(model), m_ui(ui) {}

    // Entry from the main loop: the first call after a load initialises the
    // state and validates the geometry with all checks; an edit confirmed
    // while another window had control is applied now.
    void open();

    // One code; false when it belongs to the main loop (actionCode then
    // holds the code the loop is to act on).
    bool command(int16_t code);

    const GeometryViewState& state() const { return m_state; }
    const std::string& status() const { return m_status; }

    // The wire the wire dialog is to show after a pick on input wires, once.
    std::optional<int16_t> takeWireDialogRequest();
    // The scene the user chose to render after Shift+G or Shift+R, once.
    std::optional<PovRenderRequest> takeRenderRequest();
    // The dialog's fields on OK for wire `row`, moving `end`; applied by
    // code 13, or by open() when another window had control.
    void setPendingEdit(int16_t row, int end, const WireFields& fields);
    // The end the dialog's End field chose.
    void setEditEnd(int end);

private:
    Model& m_model;
    Ui& m_ui;
    GeometryViewState m_state;
    bool m_initialised = false;
    std::string m_status;
    std::optional<int16_t> m_dialogRequest;
    struct PendingEdit {
        int16_t row, end;
        uint32_t loadSerial;
        WireFields fields;
    };
    std::optional<PendingEdit> m_pending;
    std::optional<PovRenderRequest> m_renderRequest;

    bool nearRequest() const { return m_model.requestMode == kNearRequest; }
    bool letter(int16_t code);
    bool viewKey(int16_t code);
    bool switchFile(bool toInput);
    void toggleCurrents(bool phase);
    void togglePattern();
    void stepPlane(int delta);
    void pick(bool rightButton);
    void applyPending();
    void clearSelection();
    void showOptimizerLog();
    void exportPov(bool wires, bool pattern);
};

} // namespace wavra
