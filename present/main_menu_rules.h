// What the main window's menus and keys do to the model store: the items
// that post action codes, the settings menu with its number questions and
// check marks, and the key filter. The window only draws and calls these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/model.h"
#include "core/ui.h"
#include "present/key_names.h"

namespace wavra {

// The main window's key handler: Esc, Ctrl+O, Ctrl+S and F1 to F12 are
// posted as action codes, X toggles the complex notation, every other key
// is ignored.
void mainWindowKey(Settings& settings, ViewState& viewState, int16_t code);

// A menu item or tool button posts its code, but only while no other code
// waits for the main loop.
void postAction(ViewState& viewState, int16_t code);

// The action code of a menu item or tool button by its control name
// ("open", "necgen", "geo", ...); 0 when the item is a setting.
int16_t menuAction(std::string_view name);

// Asks for a whole number in an input box titled "wavra" with the current
// value as default. An empty answer keeps the value; so does a number whose
// sign is below `lowest` (1: positive only, 0: not negative, -1: any).
// Values are rounded and kept within the 16-bit range (40000 gives 32767).
// With needsRestart the user confirms "Are you sure ?"; Yes stores the
// value, says "Please restart wavra" and requests the exit.
int16_t askNumber(ViewState& viewState, Ui& ui, const std::string& prompt, int16_t current, int lowest,
                  bool needsRestart);

// Carries out a settings item by its control name: "npad", "Z0i", "pwer",
// "logs", "list", "mnlin", "lost", "mnlog", "fast", "wait", "mxs", "nec2d",
// "lapack", "nec32", "tmo", "par", "reuse", "watch", "mxl", "mxf", "mex", "mld", "mtl", "astp", "istp",
// "fstp", "area1".."area3", "ptp1".."ptp4", "its1".."its3", "itsd", "itss",
// "cart". False for an unknown name.
bool chooseSetting(Model& model, Ui& ui, std::string_view name);

// The check marks of the settings menu, as the model store has them now.
struct MenuChecks {
    bool lapack = false, nec2d = false, special = false, waitForEngine = false;
    bool logScale = false, fastDraw = false, notepad = false, absoluteSteps = false;
    bool reuseResults = false;           // "Reuse unchanged results"
    bool watchModelFile = false;         // "Recalculate when the model file changes"
    bool cartesian = false;              // complex numbers shown as R j X (complexNotation 0)
    FixedColumn<bool, 4> area{};         // [1..3]
    FixedColumn<bool, 5> pointToPoint{}; // [1..4]
    FixedColumn<bool, 4> itsHfType{};    // [1..3]
};
MenuChecks menuChecks(const Settings& settings, const ViewState& viewState);

// The log pattern scale is on exactly when linLogFactor is 0.8.
bool logScaleOn(const Settings& settings);

} // namespace wavra
