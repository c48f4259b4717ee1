#include "present/geometry_controller.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "deck/validation.h"
#include "present/geometry_marks.h"
#include "present/geometry_picking.h"
#include "present/near_field_marks.h"
#include "present/pattern_mesh.h"
#include "present/pov_export_request.h"
#include "present/segment_currents.h"

namespace wavra {

namespace {

constexpr int kRotationStep = 5;

// Codes of the keys the view serves besides the letters.
enum Key : int16_t {
    kSpace = 32,
    kPgUp = 33,
    kPgDn = 34,
    kHome = 36,
    kLeft = 37,
    kUp = 38,
    kRight = 39,
    kDown = 40,
    kPrevious = 188,
    kNext = 190,
    kShiftLeft = 137,
    kShiftRight = 139,
    kShiftG = 171,
    kShiftR = 182,
    kCtrlPgUp = 233,
    kCtrlPgDn = 234,
    kCtrlLeft = 237,
    kCtrlUp = 238,
    kCtrlRight = 239,
    kCtrlDown = 240,
    kAltLeft = 437,
    kAltRight = 439,
};

} // namespace

void GeometryController::open() {
    if (!m_initialised || m_state.loadSerial != m_model.loadSerial) {
        m_state = initialGeometryState(m_model, m_model);
        m_initialised = true;
        m_dialogRequest.reset();
        validateGeometry(m_model, m_model.maxSegments, kValidateAll);
    }
    applyPending();
}

std::optional<int16_t> GeometryController::takeWireDialogRequest() {
    auto request = m_dialogRequest;
    m_dialogRequest.reset();
    return request;
}

void GeometryController::setPendingEdit(int16_t row, int end, const WireFields& fields) {
    m_pending = PendingEdit{row, static_cast<int16_t>(end), m_model.loadSerial, fields};
}

void GeometryController::setEditEnd(int end) { m_state.editEnd = end == 2 ? 2 : 1; }

void GeometryController::applyPending() {
    if (!m_pending) return;
    PendingEdit edit = std::move(*m_pending);
    m_pending.reset();
    // An edit of a model that has since been loaded again belongs to no wire.
    if (edit.loadSerial != m_model.loadSerial || showsReportSegments(m_model)) return;
    applyWireEdit(m_model, m_model, edit.row, edit.end, edit.fields);
    clearSelection();
}

void GeometryController::clearSelection() {
    m_state.selectedSegment = 0;
    m_state.editEnd = 1;
}

bool GeometryController::command(int16_t code) {
    m_status.clear();
    switch (code) {
    case kActionGeometry: return true;
    case kActionGenerate: applyPending(); return true;
    case kActionWireCancel:
        m_pending.reset();
        clearSelection();
        return true;
    case kActionLeftClick: pick(false); return true;
    case kActionRightClick: pick(true); return true;
    case kActionWheelIn:
    case kActionWheelOut:
        zoomGeometryAbout(m_state, code == kActionWheelIn, m_model.pointerX, m_model.pointerY);
        return true;
    default: break;
    }
    if (code >= '0' && code <= 'Z') return letter(code);
    return viewKey(code);
}

bool GeometryController::letter(int16_t code) {
    GeometryViewState& s = m_state;
    switch (code) {
    case 'I': return switchFile(true);
    case 'O': return switchFile(false);
    case 'E': s.showEnds = !s.showEnds; break;
    case 'J':
        if (showsReportSegments(m_model) || s.showJunctions) s.showJunctions = !s.showJunctions;
        else m_status = "Junctions are known from the output file only ('O').";
        break;
    case 'W': s.showLoads = !s.showLoads; break;
    case 'S': s.showSegments = !s.showSegments; break;
    case 'M': s.multiColour = !s.multiColour; break;
    case 'X': m_model.cartesianCurrents = m_model.cartesianCurrents != 0 ? 0 : -1; break;
    case 'C': toggleCurrents(false); break;
    case 'P': toggleCurrents(true); break;
    case 'R': togglePattern(); break;
    case 'L': m_model.linLogFactor = m_model.linLogFactor == 0.5 ? 0.8 : 0.5; break;
    case 'V': showOptimizerLog(); break;
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
        s.validationMode = static_cast<int16_t>(code - '0');
        validateGeometry(m_model, m_model.maxSegments, s.validationMode);
        break;
    case '9': showGeometryLog(m_ui, validateGeometryToLog(m_model, m_model.maxSegments, m_model)); break;
    default: break;
    }
    return true;
}

bool GeometryController::viewKey(int16_t code) {
    GeometryViewState& s = m_state;
    switch (code) {
    case kPgUp: zoomView(s, m_model, true); break;
    case kPgDn: zoomView(s, m_model, false); break;
    case kCtrlLeft: shiftView(s, 1, 0); break;
    case kCtrlRight: shiftView(s, -1, 0); break;
    case kCtrlUp: shiftView(s, 0, -1); break;
    case kCtrlDown: shiftView(s, 0, 1); break;
    case kHome: s = initialGeometryState(m_model, m_model); break;
    case kUp: rotateView(s, kRotationStep, 0); break;
    case kDown: rotateView(s, -kRotationStep, 0); break;
    case kLeft: rotateView(s, 0, kRotationStep); break;
    case kRight: rotateView(s, 0, -kRotationStep); break;
    case kSpace:
        s.gridType = nearRequest() ? wrapStep(s.gridType, 1, 0, 3) : wrapStep(s.gridType, 1, 1, 3);
        if (nearRequest() && s.gridType > 0) stepPlane(0);
        break;
    case kNext: s.patternQuantity = wrapStep(s.patternQuantity, 1, 1, nearRequest() ? 4 : 5); break;
    case kPrevious: s.patternQuantity = wrapStep(s.patternQuantity, -1, 1, nearRequest() ? 4 : 5); break;
    case kCtrlPgUp: s.lineStep = moreGridLines(s.lineStep); break;
    case kCtrlPgDn: s.lineStep = fewerGridLines(s.lineStep); break;
    case kShiftRight: stepPlane(1); break;
    case kShiftLeft: stepPlane(-1); break;
    case kAltRight: s.selectedSegment = nextSelection(s.selectedSegment, m_model.wireCount); break;
    case kAltLeft: s.selectedSegment = previousSelection(s.selectedSegment, m_model.wireCount); break;
    case kShiftG: exportPov(true, false); break;
    case kShiftR: exportPov(false, true); break;
    default: break;
    }
    return true;
}

// The main loop reads the chosen file and calls the view again.
bool GeometryController::switchFile(bool toInput) {
    const bool report = showsReportSegments(m_model);
    if (toInput == !report) return true;
    // A file that is not there would send the main loop back to the open
    // dialog; the view stays instead.
    const std::string file = toInput ? m_model.modelPath() : m_model.outDir() + m_model.modelName + ".out";
    if (!pathExists(file) || (toInput && toLower(m_model.modelExt) == ".out")) {
        m_status = (toInput ? "No input file " : "No output file ") + file + ".";
        return true;
    }
    m_model.reloadInput = toInput ? 1 : -1;
    m_model.actionCode = kActionGeometry;
    return false;
}

// 'C' and 'P': the bars of one kind, never both at once.
void GeometryController::toggleCurrents(bool phase) {
    GeometryViewState& s = m_state;
    bool& shown = phase ? s.showPhase : s.showCurrent;
    if (shown) {
        shown = false;
        return;
    }
    if (!showsReportSegments(m_model)) {
        m_status = "The input file has no currents; the output file ('O') has.";
        return;
    }
    if (phase ? !hasPhases(m_model) : !hasCurrents(m_model)) {
        m_ui.message(phase ? "No phase values available; PQ -1 card specified"
                           : "No currents available; PT -1 card specified");
        return;
    }
    if (phase ? s.showCurrent : s.showPhase) {
        m_status = phase ? "Switch the current bars off first ('C')." : "Switch the phase bars off first ('P').";
        return;
    }
    shown = true;
}

void GeometryController::togglePattern() {
    GeometryViewState& s = m_state;
    if (s.showPattern) {
        s.showPattern = false;
        return;
    }
    if (m_model.requestMode == kSurfaceWaveRequest && m_model.patternCount > 0) {
        m_status = "A surface-wave pattern holds heights, not directions: see it in the pattern view (F4).";
        return;
    }
    const bool points = nearRequest() ? m_model.summary.nearFieldCount > 0 : !patternGridOf(m_model, m_model).empty();
    if (points) s.showPattern = true;
}

// Shift+Right/Left: the next or previous coordinate of the near-field
// plane's axis, with wrap-around; 0 keeps the index within the axis.
void GeometryController::stepPlane(int delta) {
    GeometryViewState& s = m_state;
    if (!nearRequest() || s.gridType < 1 || s.gridType > 3) return;
    const int count = static_cast<int>(nearAxisCoordinates(m_model, m_model.summary, s.gridType - 1).size());
    if (count < 1) return;
    s.planeIndex =
        delta == 0 ? static_cast<int16_t>(std::min<int>(s.planeIndex, count)) : wrapStep(s.planeIndex, delta, 1, count);
}

// A click picks the wire nearest to the pointer; on input wires it opens the
// wire dialog, and the right button also chooses the nearer end to move.
void GeometryController::pick(bool rightButton) {
    const Projection p = modelProjection(m_state);
    const int16_t row = pickWire(m_model, p, m_model.pointerX, m_model.pointerY);
    if (row != m_state.selectedSegment) m_state.editEnd = 1;
    m_state.selectedSegment = row;
    if (row == 0 || showsReportSegments(m_model)) return;
    if (rightButton) m_state.editEnd = nearerEnd(m_model, p, row, m_model.pointerX, m_model.pointerY);
    m_dialogRequest = row;
}

// Shift+G the wires, Shift+R the far-field pattern: pov/<model>.pov, then
// the offer to render it.
void GeometryController::exportPov(bool wires, bool pattern) {
    const PovExportResult result = exportPovScene(m_model, m_ui, m_state, wires, pattern, povScenePath(m_model));
    m_status = result.status;
    if (!result.scene.empty()) m_renderRequest = offerPovRender(m_model, m_ui, result.scene);
}

std::optional<PovRenderRequest> GeometryController::takeRenderRequest() {
    auto request = std::move(m_renderRequest);
    m_renderRequest.reset();
    return request;
}

void GeometryController::showOptimizerLog() {
    const std::string path = m_model.modelDir + "Optimizer.log";
    if (pathExists(path)) m_ui.showTextFile(path);
    else m_ui.message("Optimizer log " + path + " not found.");
}

} // namespace wavra
