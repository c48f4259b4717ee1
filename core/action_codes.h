// The action codes through which windows hand control to the main loop and
// the view loops: 100 x modifier state (Shift 1, Ctrl 2, Alt 4) + key code,
// so Esc is 27, F1 to F12 are 112 to 123, Ctrl+O is 279 and Ctrl+S is 283.
#pragma once

#include <cstdint>

namespace wavra {

enum ActionCode : int16_t {
    kActionRedrawOnce = -1,
    kActionNone = 0,
    kActionGenerate = 13,
    kActionEscape = 27,
    kActionHelp = 112,
    kActionMainWindow = 113,
    kActionGeometry = 114,
    kActionPattern = 115,
    kActionSweep = 116,
    kActionEditInput = 117,
    kActionCalculate = 118,
    kActionShowOutput = 119,
    kActionCardReference = 120,
    kActionBuild = 121,
    kActionSmith = 122,
    kActionOptimizer = 123,
    kActionOpen = 279,
    kActionLoadMeasured = 276, // Ctrl+L: a measured Touchstone file over the sweep graphs and Smith chart
    kActionPrint = 280,        // Ctrl+P
    kActionSaveOutput = 283,
    // Codes the views post for themselves, beyond the keys.
    kActionWireCancel = 501,   // the wire dialog's Cancel (its OK is kActionGenerate)
    kActionLeftClick = 502,    // a left click in the geometry view
    kActionRightClick = 503,   // a right click in the geometry view
    kActionPointerMoved = 504, // the mouse moved over a view's picture
    kActionWheelIn = 505,      // the mouse wheel zooms the geometry in
    kActionWheelOut = 506,     // and out
    kActionModelChanged = 507, // the model file was saved by another program (setting WATCH)
};

} // namespace wavra
