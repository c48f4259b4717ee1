#include "present/main_menu_rules.h"

#include <cmath>
#include <map>

#include "base/text.h"
#include "core/action_codes.h"
#include "core/capacity.h"
#include "engine/engine_choice.h"

namespace wavra {

namespace {

constexpr double kLogScaleFactor = 0.8;
constexpr double kLinearScaleFactor = 0.5;

// A whole-number setting asked for with askNumber.
struct NumberSetting {
    const char* prompt;
    int16_t Model::*field;
    int lowest;
    bool needsRestart;
};

const std::map<std::string_view, NumberSetting>& numberSettings() {
    static const std::map<std::string_view, NumberSetting> table = {
        {"list", {"Enter default stepsize LIN scale:", &Model::linearStepDb, 1, false}},
        {"mnlin", {"Enter min-value for LIN scale:", &Model::minLinearDb, -1, false}},
        {"lost", {"Enter default stepsize LOG scale:", &Model::logStepDb, 1, false}},
        {"mnlog", {"Enter min-value for LOG scale:", &Model::minLogDb, -1, false}},
        {"tmo", {"Engine time-out [s] (0 = none):", &Model::engineTimeout, 0, false}},
        {"par", {"Parallel engine runs (0 = one per core, 1 = off):", &Model::parallelRuns, 0, false}},
        {"mxl", {"Max nr of calculation points for far/near field plot:", &Model::maxFarFieldPoints, 1, true}},
        {"mxf", {"Max nr of steps for frequency loop:", &Model::maxFreqSteps, 1, true}},
        {"mex", {"Max nr of EX cards:", &Model::maxSources, 1, true}},
        {"mld", {"Max nr of LD cards:", &Model::maxLoads, 1, true}},
        {"mtl", {"Max nr of TL cards:", &Model::maxTransLines, 1, true}},
    };
    return table;
}

// The model is read again the normal way (report first) and the main
// window is shown, so every field reflects the new setting.
void reloadIntoMainWindow(ViewState& viewState) {
    viewState.reloadInput = -1;
    viewState.currentView = kActionMainWindow;
    viewState.actionCode = kActionMainWindow;
}

int16_t toggled(int16_t flag) { return flag != 0 ? 0 : -1; }

int signOf(double v) { return (v > 0) - (v < 0); }

void askPower(Settings& settings, ViewState& viewState, Ui& ui) {
    settings.power =
        askNumber(viewState, ui, "Power for current and near field calculation :", settings.power, 0, false);
    if (settings.power == 0) ui.message("Power value < 1 defaults to constant voltage source");
    reloadIntoMainWindow(viewState);
}

void askSegments(Model& m, Ui& ui) {
    const int16_t value =
        askNumber(m, ui, "Max number of segments for selection of nec2d executable:", m.maxSegments, 1, false);
    if (value == m.maxSegments) return;
    if (m.engineName.find("NEC2D") != std::string::npos) setexe(m, ui, value);
    else m.maxSegments = value;
    m.allocateModelTables(m.maxSegments, m.maxFreqSteps, m.maxSources, m.maxLoads, m.maxTransLines);
    reloadIntoMainWindow(m);
}

// The optimizer's step sizes are fractions; the user gives them in percent.
void askPercent(Ui& ui, const std::string& prompt, double& fraction) {
    const auto answer = ui.inputBox("wavra", prompt, str(fraction * 100));
    if (!answer || trim(*answer).empty()) return;
    if (!isNumeric(*answer)) {
        ui.message("'" + trim(*answer) + "' is not a number.");
        return;
    }
    const double percent = readNumber(*answer);
    if (percent > 0 && percent <= 100) fraction = percent / 100;
}

void askText(Ui& ui, const std::string& prompt, std::string& value) {
    const auto answer = ui.inputBox("ItsHF", prompt, value);
    if (answer && !trim(*answer).empty()) value = trim(*answer);
}

void toggleWaitFlag(Settings& settings) {
    if (settings.engineName.empty()) settings.engineName = "&";
    settings.engineName[0] = settings.engineName[0] == '?' ? '&' : '?';
}

// Area coverage items 1 to 3 form a ladder: an unchecked item checks all up
// to it, a checked one unchecks itself and those above.
void chooseAreaItem(Settings& settings, int item) {
    settings.itsHfArea = static_cast<int16_t>(settings.itsHfArea >= item ? item - 1 : item);
}

// Point-to-point items toggle their bit; any calculation needs the input
// file (bit 1), and without the input file nothing can be calculated.
void choosePointToPointItem(Settings& settings, int item) {
    const int bit = 1 << (item - 1);
    int bits = settings.itsHfPtop ^ bit;
    if (item == 1 && (bits & 1) == 0) bits = 0;
    if (item > 1 && (bits & bit) != 0) bits |= 1;
    settings.itsHfPtop = static_cast<int16_t>(bits);
}

// Items with an index: "area2" is item 2 of "area".
bool indexedItem(std::string_view name, std::string_view prefix, int last, int& index) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) return false;
    index = name.back() - '0';
    return index >= 1 && index <= last;
}

bool chooseItsHfSetting(Settings& settings, Ui& ui, std::string_view name) {
    int index = 0;
    if (indexedItem(name, "area", 3, index)) chooseAreaItem(settings, index);
    else if (indexedItem(name, "ptp", 4, index)) choosePointToPointItem(settings, index);
    else if (indexedItem(name, "its", 3, index)) settings.itsHfType = static_cast<int16_t>(index);
    else if (name == "itsd") askText(ui, "Enter ItsFH home/main directory:", settings.itsHfDir);
    else if (name == "itss") askText(ui, "Enter ItsHF sub-directory for nec-2 specific files", settings.itsHfSub);
    else return false;
    return true;
}

bool chooseToggle(Settings& settings, ViewState& viewState, std::string_view name) {
    if (name == "npad") settings.useNotepad = toggled(settings.useNotepad);
    else if (name == "fast") settings.redrawMode = toggled(settings.redrawMode);
    else if (name == "astp") settings.optimizerAbs = toggled(settings.optimizerAbs);
    else if (name == "reuse") settings.reuseResults = toggled(settings.reuseResults);
    else if (name == "watch") settings.watchModelFile = toggled(settings.watchModelFile);
    else if (name == "logs") settings.linLogFactor = logScaleOn(settings) ? kLinearScaleFactor : kLogScaleFactor;
    else if (name == "wait") toggleWaitFlag(settings);
    else if (name == "cart") {
        viewState.complexNotation = toggled(viewState.complexNotation);
        reloadIntoMainWindow(viewState);
    } else return false;
    return true;
}

bool chooseEngine(Model& m, Ui& ui, std::string_view name) {
    if (name == "nec2d") setexe(m, ui, m.maxSegments);
    else if (name == "lapack") selectEngine(m, kLapackEngine);
    else if (name == "nec32") selectEngine(m, kSpecialEngine);
    else return false;
    return true;
}

} // namespace

void mainWindowKey(Settings& settings, ViewState& viewState, int16_t code) {
    const bool functionKey = code >= kActionHelp && code <= kActionOptimizer;
    if (code == 'X') {
        chooseToggle(settings, viewState, "cart");
        return;
    }
    if (code == kActionEscape || code == kActionOpen || code == kActionSaveOutput || functionKey)
        viewState.actionCode = code;
}

void postAction(ViewState& viewState, int16_t code) {
    if (viewState.actionCode == 0) viewState.actionCode = code;
}

int16_t menuAction(std::string_view name) {
    static const std::map<std::string_view, int16_t> table = {
        {"open", kActionOpen},        {"save", kActionSaveOutput},   {"exit", kActionEscape},
        {"input", kActionEditInput},  {"output", kActionShowOutput}, {"nec2info", kActionCardReference},
        {"necgen", kActionCalculate}, {"gnd", kActionOptimizer},     {"main", kActionMainWindow},
        {"geo", kActionGeometry},     {"pat", kActionPattern},       {"imp", kActionSweep},
        {"smi", kActionSmith},        {"about", kActionHelp},        {"general", kActionHelp},
        {"build", kActionBuild},
    };
    const auto it = table.find(name);
    return it == table.end() ? 0 : it->second;
}

int16_t askNumber(ViewState& viewState, Ui& ui, const std::string& prompt, int16_t current, int lowest,
                  bool needsRestart) {
    const auto answer = ui.inputBox("wavra", prompt, str(current));
    if (!answer || trim(*answer).empty()) return current;
    if (!isNumeric(*answer)) {
        ui.message("'" + trim(*answer) + "' is not a number.");
        return current;
    }
    const double value = readNumber(*answer);
    if (signOf(value) < lowest) return current;
    const int16_t number = clampedInt16(ui, std::round(value), "The entry");
    if (!needsRestart || number == current) return number;
    if (!ui.askYesNo("WAVRA memory settings", "Are you sure ?", Icon::Question)) return current;
    ui.message("Please restart wavra");
    viewState.actionCode = kActionEscape;
    return number;
}

bool chooseSetting(Model& m, Ui& ui, std::string_view name) {
    const auto& table = numberSettings();
    if (const auto it = table.find(name); it != table.end()) {
        const NumberSetting& s = it->second;
        m.*s.field = askNumber(m, ui, s.prompt, m.*s.field, s.lowest, s.needsRestart);
        return true;
    }
    if (name == "Z0i") {
        m.z0 = askNumber(m, ui, "Characteristic impedance", m.z0, 1, false);
        if (m.deckZ0 > 0)
            ui.message("This model's ZO card sets Z0 =" + str(m.deckZ0) +
                       " ohm; the setting applies to models without the card.");
        return true;
    }
    if (name == "pwer") askPower(m, m, ui);
    else if (name == "mxs") askSegments(m, ui);
    else if (name == "istp") askPercent(ui, "Maximimum size (first) optimizer step(s) [%] :", m.optimizerMaxStep);
    else if (name == "fstp") askPercent(ui, "Final stepsize [%] to decide optimization done :", m.optimizerMinStep);
    else return chooseToggle(m, m, name) || chooseEngine(m, ui, name) || chooseItsHfSetting(m, ui, name);
    return true;
}

bool logScaleOn(const Settings& settings) { return settings.linLogFactor == kLogScaleFactor; }

MenuChecks menuChecks(const Settings& settings, const ViewState& viewState) {
    MenuChecks c;
    const std::string fromFifth = settings.engineName.size() > 4 ? settings.engineName.substr(4) : std::string();
    c.lapack = settings.lapackEngine();
    c.nec2d = fromFifth.rfind("2D", 0) == 0;
    c.special = fromFifth.rfind("32", 0) == 0;
    c.waitForEngine = !settings.engineName.empty() && settings.engineName.front() == '?';
    c.logScale = logScaleOn(settings);
    c.fastDraw = settings.redrawMode != 0;
    c.notepad = settings.useNotepad != 0;
    c.absoluteSteps = settings.optimizerAbs != 0;
    c.reuseResults = settings.reuseResults != 0;
    c.watchModelFile = settings.watchModelFile != 0;
    c.cartesian = viewState.complexNotation == 0; // 0 shows complex numbers as R j X
    for (size_t i = 1; i <= 3; ++i) c.area[i] = settings.itsHfArea >= static_cast<int>(i);
    for (size_t i = 1; i <= 4; ++i) c.pointToPoint[i] = (settings.itsHfPtop & (1 << (i - 1))) != 0;
    for (size_t i = 1; i <= 3; ++i) c.itsHfType[i] = settings.itsHfType == static_cast<int>(i);
    return c;
}

} // namespace wavra
