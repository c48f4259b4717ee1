#include "control/main_loop.h"

#include <cstdint>
#include <filesystem>
#include <optional>

#include "base/files.h"
#include "base/text.h"
#include "control/main_loop_programs.h"
#include "control/model_loading.h"
#include "core/config.h"
#include "deck/reader.h"
#include "engine/calculate.h"
#include "export/itshf_files.h"
#include "present/near_field_map.h"
#include "present/wire_edit.h"

namespace wavra {

namespace {

constexpr int kWaitStepMs = 200;

const char* windowName(int16_t code) {
    switch (code) {
    case kActionGeometry: return "The geometry view (F3)";
    case kActionPattern: return "The pattern view (F4)";
    case kActionSweep: return "The frequency sweep graphs (F5)";
    case kActionSmith: return "The Smith chart (F11)";
    case kActionOptimizer: return "The optimizer (F12)";
    default: return "This window";
    }
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Moves a file, also across file systems. The target is replaced only once
// the source is known to exist; the source goes only once the copy stands.
bool moveFile(const std::string& from, const std::string& to) {
    if (!pathExists(from)) return false;
    if (renameFile(from, to)) return true;
    if (!copyFile(from, to)) return false;
    deleteFile(from);
    return true;
}

// The model as it was loaded comes back after a window that changed
// nothing, with the optimizer's entries of this session kept.
void restoreLoadedModel(Model& m, Model&& loaded) {
    loaded.optimizerText1 = std::move(m.optimizerText1);
    loaded.optimizerText2 = std::move(m.optimizerText2);
    loaded.optimizerVarCount = m.optimizerVarCount;
    m = std::move(loaded);
}

} // namespace

// The programs started here (the text editor, `build`) are not watched like
// the engine: they hold the user's unsaved work, so they run on when wavra
// ends, however it ends.
bool runAndWait(ViewState& viewState, Windows& windows, const std::vector<std::string>& argv, std::string& error) {
    viewState.actionCode = 0;
    auto process = windows.processRunner().start(argv, "", error);
    if (!process) return false;
    waitInSteps(*process, kWaitStepMs, [&] {
        windows.processEvents();
        return viewState.actionCode == 0;
    });
    viewState.actionCode = 0;
    return true;
}

bool patternViewHasData(const Model& m) { return m.patternCount >= 1 || hasNearField(m, m, m.summary); }

std::vector<int16_t> backgroundViews(const Model& m) {
    std::vector<int16_t> views;
    if (m.currentView != kActionSweep && m.freqCount >= 2) views.push_back(kActionSweep);
    if (m.currentView != kActionPattern && patternViewHasData(m)) views.push_back(kActionPattern);
    if (m.currentView != kActionGeometry) views.push_back(kActionGeometry);
    return views;
}

MainLoop::MainLoop(Model& model, Ui& ui, Windows& windows) : m_model(model), m_ui(ui), m_windows(windows) {}

MainLoop::Ending MainLoop::run() {
    Next next = Next::ChooseFile;
    while (next != Next::End) {
        if (next == Next::ChooseFile) {
            if (!chooseFile()) return Ending::Cancelled;
            next = importForeignModel();
            if (next == Next::ChooseFile) continue;
        }
        if (next == Next::Load) {
            if (!load()) {
                next = Next::ChooseFile;
                continue;
            }
            refreshBackgroundViews();
            m_model.actionCode = m_model.currentView;
        }
        next = dispatchLoop();
    }
    return Ending::Exit;
}

// Step 1: the model file, from the command line or the open dialog.
bool MainLoop::chooseFile() {
    if (m_pendingName.empty()) {
        FileRequest request{"Open file", "Filename", m_model.modelDir, "", "*" + toLower(m_model.modelExt)};
        const auto choice = m_ui.openFile(request);
        if (choice) {
            m_model.modelDir = choice->dir;
            m_model.modelName = choice->name;
            m_model.modelExt = choice->ext;
        } else {
            if (m_previousName.empty()) return false;
            m_model.modelName = m_previousName;
        }
    }
    m_pendingName.clear();
    m_model.reloadInput = 0;
    m_model.inputModified = 0;
    return true;
}

// Step 2: a foreign .ant model goes to the card editor, which converts it
// and saves it as a deck. When it was not saved under a new name, the file
// is chosen again (a cancelled choice then goes back to the last model).
MainLoop::Next MainLoop::importForeignModel() {
    if (toLower(m_model.modelExt) != ".ant") return Next::Load;
    m_windows.runWindow(kActionEditInput, false);
    if (toLower(m_model.modelExt) != ".ant") {
        m_model.reloadInput = 1;
        return Next::Load;
    }
    if (!m_previousName.empty()) {
        m_model.modelDir = m_previousDir;
        m_model.modelExt = m_previousExt;
    }
    return Next::ChooseFile;
}

// Step 3: the engine report when there is one, else the input deck. After
// a run the model already holds the report that run read: it is kept, since
// out/ may hold another run's report by now.
bool MainLoop::load() {
    const bool runResult = m_runResult;
    m_runResult = false;
    if (!runResult) {
        m_model.wireCount = 0;
        m_model.patternCount = 0;
        m_model.freqCount = 0;
    }
    m_windows.hideResultWindows();
    m_windows.setStatusCaption("");
    m_windows.setBusy(true);
    std::string why;
    const bool loaded =
        runResult || loadModel(m_model, m_ui, m_model.reloadInput == 1, m_outputExt, &why) != LoadedFrom::Nothing;
    if (!why.empty()) m_notice = why;
    m_windows.setBusy(false);
    if (!loaded) return false;
    m_previousName = m_model.modelName;
    m_previousDir = m_model.modelDir;
    m_previousExt = m_model.modelExt;
    m_model.reloadInput = 0;
    m_windows.showMainWindow();
    m_windows.setStatusCaption(m_notice);
    m_notice.clear();
    m_windows.watchModelFile(m_model.modelPath());
    return true;
}

// Step 4: the views that have data are drawn once in the background.
void MainLoop::refreshBackgroundViews() {
    if (m_model.currentView == kActionPattern && !patternViewHasData(m_model)) m_model.currentView = kActionGeometry;
    for (int16_t view : backgroundViews(m_model)) {
        m_model.actionCode = kActionRedrawOnce;
        m_windows.runWindow(view, true);
    }
}

// Step 5: act on the codes the windows post until a new pass is due.
MainLoop::Next MainLoop::dispatchLoop() {
    for (;;) {
        m_windows.processEvents();
        const Next next = act(m_model.actionCode);
        if (next != Next::Dispatch) return next;
        const Next after = afterAction();
        if (after != Next::Dispatch) return after;
    }
}

MainLoop::Next MainLoop::act(int16_t code) {
    switch (code) {
    case kActionOpen: m_outputExt = ".out"; return Next::ChooseFile;
    case kActionSaveOutput: saveOutput(); break;
    case kActionHelp: showHelp(); break;
    case kActionMainWindow:
        showMain();
        m_windows.idleWait();
        break;
    case kActionGeometry:
    case kActionPattern:
    case kActionSweep:
    case kActionSmith: showView(code); break;
    case kActionEditInput: return editInput();
    case kActionCalculate: return calculate();
    case kActionModelChanged: return recalculate();
    case kActionShowOutput: showOutput(); break;
    case kActionCardReference:
        m_windows.showHelpPage(m_model.installDir + "exe/nec2_cards.html");
        m_windows.idleWait();
        break;
    case kActionBuild: runBuild(); break;
    case kActionOptimizer: return runOptimizer();
    case kActionEscape: break;
    default: m_windows.idleWait(); break;
    }
    return Next::Dispatch;
}

MainLoop::Next MainLoop::afterAction() {
    if (m_model.actionCode == kActionEscape) return confirmExit();
    return m_model.reloadInput == 0 ? Next::Dispatch : Next::Load;
}

MainLoop::Next MainLoop::confirmExit() {
    if (!m_ui.askYesNo("wavra", "Do you want to exit wavra ?", Icon::Question)) return Next::Load;
    return endProgram();
}

MainLoop::Next MainLoop::endProgram() {
    if (m_model.reloadInput == 0) readConfiguration(m_model, m_ui, ConfigMode::Write);
    return Next::End;
}

void MainLoop::showMain() {
    m_windows.showMainWindow();
    m_model.currentView = kActionMainWindow;
}

// A window this build does not have: the main window stands in for it and
// its status line says so.
void MainLoop::missingWindow(int16_t code) {
    showMain();
    m_windows.setStatusCaption(std::string(windowName(code)) + " is not available in this version of wavra.");
    m_windows.idleWait();
}

void MainLoop::showView(int16_t code) {
    // The view is the current one while it runs: its window tells by this
    // whether a mouse press is meant for it.
    const int16_t previous = m_model.currentView;
    m_model.previousView = previous;
    m_model.currentView = code;
    if (!m_windows.runWindow(code, false)) {
        m_model.currentView = previous;
        missingWindow(code);
        return;
    }
    // Wires changed in the geometry view go back into the input file, or
    // Cancel returns to the view with the changes kept.
    if (code == kActionGeometry && m_model.inputModified != 0 && !m_model.editedWires.empty())
        saveWireGeometry(m_model, m_ui);
    if (code == kActionSmith && m_model.actionCode == kActionEscape) m_model.actionCode = kActionGeometry;
}

void MainLoop::showHelp() {
    if (m_model.helpMode == 1) m_windows.showAbout();
    else m_windows.showHelpPage(m_model.installDir + "exe/wavra_help.html");
    m_windows.idleWait();
}

MainLoop::Next MainLoop::editInput() {
    const std::string path = m_model.modelPath();
    if (!pathExists(path)) {
        m_ui.message("Input file " + path + " does not exist.");
        m_model.actionCode = m_model.currentView;
        return Next::Dispatch;
    }
    // The card editor when the settings ask for it and this build has one;
    // the user's text editor otherwise.
    const std::optional<std::string> before = fileBytes(path);
    if (m_model.useNotepad != 0 || !m_windows.runWindow(kActionEditInput, false)) showInEditor(path);
    // Left without a change: the loaded report and the result windows stay.
    if (before && m_model.modelPath() == path && fileBytes(path) == before) {
        m_model.actionCode = m_model.currentView;
        return Next::Dispatch;
    }
    m_model.reloadInput = 1;
    return Next::Load;
}

// The optimizer works on the input deck as it stands, so the deck is read
// first. After a run the model holds the report of the last accepted trial,
// read at the end of the run: it is kept, as after F7, also when the deck
// was saved with the new values. Left without a run and without a change of
// the deck, the model as it was loaded comes back and the result windows stay
// as they were.
MainLoop::Next MainLoop::runOptimizer() {
    const std::string deck = m_model.modelPath();
    const std::optional<std::string> deckBefore = fileBytes(deck);
    Model loaded = m_model;
    m_model.optimizerResultRead = false;
    if (!readInputFileShown(m_model, m_ui)) {
        restoreLoadedModel(m_model, std::move(loaded));
    } else if (!m_windows.runWindow(kActionOptimizer, false)) {
        restoreLoadedModel(m_model, std::move(loaded));
        missingWindow(kActionOptimizer);
        return Next::Dispatch;
    } else if (m_model.optimizerResultRead) {
        m_outputExt = ".out";
        m_runResult = true;
        return Next::Load;
    } else if (m_model.modelPath() != deck || fileBytes(deck) != deckBefore) {
        m_outputExt = ".out";
        return Next::Load;
    } else {
        restoreLoadedModel(m_model, std::move(loaded));
    }
    m_model.actionCode = m_model.currentView;
    return Next::Dispatch;
}

MainLoop::Next MainLoop::calculate() {
    m_model.actionCode = 0;
    m_windows.runCalcDialog();
    if (m_model.actionCode != kActionGenerate) {
        // Cancelled: nothing was written or run; the results shown stay.
        m_model.actionCode = m_model.currentView;
        return Next::Dispatch;
    }
    return runChoice();
}

// The model file was saved by another program: the last calculation choice
// runs again on it, or, before any calculation, the deck is read again.
MainLoop::Next MainLoop::recalculate() {
    if (m_model.calcKind == 0) {
        m_model.reloadInput = 1;
        return Next::Load;
    }
    // As after the dialog's Generate: menu items post nothing while it runs.
    m_model.actionCode = kActionGenerate;
    return runChoice();
}

// The engine run of the calculation choice in the model, its report read.
MainLoop::Next MainLoop::runChoice() {
    m_windows.openStatus();
    RunHooks hooks;
    hooks.statusLine = [this](const std::string& line) { m_windows.addStatusLine(line); };
    hooks.control.progress = [this](int percent) { m_windows.showProgress(percent); };
    hooks.control.stop = [this] { return stopRequest(); };
    hooks.control.stepText = [this](const std::string& text) { m_windows.showProgressText(text); };
    hooks.control.readReport = [this](const std::string&, std::string_view bytes) {
        return readRunReport(m_model, m_ui, bytes);
    };
    hooks.itsHf = [this](Model& model, Ui& ui, const std::string& report) { exportToItsHf(model, ui, report); };
    RunSummary run;
    hooks.control.summary = &run;
    const EngineStatus status = wavra::calculate(m_model, m_ui, m_windows.processRunner(), hooks);
    m_windows.closeStatus();
    if (status == EngineStatus::Exiting) return endProgram();
    if (status == EngineStatus::Cancelled) {
        // A question before the run was cancelled: nothing ran and the model
        // is as it was, so the results shown stay, as after the dialog's
        // Cancel.
        m_windows.setStatusCaption("Calculation cancelled; the model and its results are as they were.");
        m_model.actionCode = m_model.currentView;
        return Next::Dispatch;
    }
    if (status != EngineStatus::Finished) {
        // An older report must not be shown as the result of this run: the
        // model is read from its input deck instead.
        m_model.reloadInput = 1;
        m_notice = status == EngineStatus::Failed ? "Calculation failed; the model was read from its input file."
                                                  : "Calculation cancelled; the model was read from its input file.";
        return Next::Load;
    }
    m_outputExt = ".out";
    m_runResult = true;
    if (run.reused) m_notice = "Deck and engine unchanged since the last run: its report was read again.";
    if (m_model.calcKind == kCalcFrequencyLoop) m_model.currentView = kActionSweep;
    if (m_model.calcKind == kCalcFarField || m_model.calcKind == kCalcNearField) m_model.currentView = kActionPattern;
    return Next::Load;
}

// After an ItsHF run: the antenna and input files and the package's
// programs, their steps in the status window; its Cancel stops the waiting
// for a program (which runs on).
void MainLoop::exportToItsHf(Model& model, Ui& ui, const std::string& report) {
    ItsHfProgress progress;
    progress.caption = [this](const std::string& line) { m_windows.addStatusLine(line); };
    progress.bar = [this](int percent) { m_windows.showProgress(percent); };
    progress.waiting = [this] {
        m_windows.processEvents();
        return !m_windows.cancelPressed();
    };
    exportItsHf(model, ui, m_windows.processRunner(), {report}, progress);
}

// While the engine runs: the status window's Cancel, and Esc or a closed
// main window, which end the program once the user confirms.
StopReason MainLoop::stopRequest() {
    if (m_windows.cancelPressed()) return StopReason::Cancel;
    if (m_model.actionCode != kActionEscape) return StopReason::None;
    // Until the run ends the code stays that of the calculation, so menu
    // items post nothing meanwhile.
    m_model.actionCode = kActionGenerate;
    const bool exit = m_ui.askYesNo("wavra", "The NEC-2 engine is still running. Stop it and exit wavra ?");
    return exit ? StopReason::Exit : StopReason::None;
}

void MainLoop::runOutside(const std::vector<std::string>& argv) {
    std::string error;
    if (!runAndWait(m_model, m_windows, argv, error))
        m_ui.message("Cannot start " + argv.front() + ": " + error, "wavra", Icon::Exclamation);
}

bool MainLoop::showInEditor(const std::string& path) {
    const std::string editor = locateEditor(m_model, m_ui);
    if (editor == kProgramNotFound) return false;
    runOutside({editor, path});
    return true;
}

void MainLoop::showOutput() {
    const std::string report = m_model.outDir() + m_model.modelName + m_outputExt;
    if (!pathExists(report)) {
        m_ui.message("Output file " + report + " does not exist.");
    } else {
        const std::string viewer = locateReportViewer(m_model, m_ui);
        if (viewer != kProgramNotFound) runOutside({viewer, report});
    }
    m_model.actionCode = m_model.currentView;
}

void MainLoop::runBuild() {
    const std::string deck = m_model.modelDir + "Build.nec";
    deleteFile(deck);
    runOutside({m_model.installDir + "exe/build", deck});
    if (pathExists(deck)) showInEditor(deck);
    m_model.actionCode = m_model.currentView;
}

// Ctrl+S: the engine report moves to a place and name of the user's choice.
void MainLoop::saveOutput() {
    const std::string report = m_model.outDir() + m_model.modelName + m_outputExt;
    m_model.actionCode = m_model.currentView;
    if (!pathExists(report)) {
        m_ui.message("Output file " + report + " does not exist.");
        return;
    }
    FileRequest request{"Save file (as)", "Filename", m_model.outDir(), m_model.modelName, "*" + m_outputExt};
    const auto choice = m_ui.saveFile(request);
    if (!choice || sameFile(report, choice->path())) return;
    if (!moveFile(report, choice->path()))
        m_ui.message("Cannot move " + report + " to " + choice->path() + ".", "wavra", Icon::Exclamation);
}

} // namespace wavra
