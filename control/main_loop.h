// The main control loop of wavra: choose a model file, load it from its
// engine report or its input deck, show the windows, then carry out the
// action codes that the windows post in the model store until the user
// loads another model or ends the program.
//
// The loop knows the windows only through the Windows interface, so the
// same sequence runs with the Qt windows and with scripted windows in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/action_codes.h"
#include "core/model.h"
#include "core/ui.h"
#include "engine/engine_wait.h"
#include "engine/process.h"

namespace wavra {

// The windows as the main loop sees them.
class Windows {
public:
    virtual ~Windows() = default;

    // Blocks in the event loop until a window posts an action code. An
    // actionCode of 0 or more is first set to 0; a negative one counts as
    // Esc (27) and returns at once.
    virtual void idleWait() = 0;
    // Handles the window events that are pending, without blocking.
    virtual void processEvents() = 0;
    // The hourglass pointer while a model loads.
    virtual void setBusy(bool busy) = 0;
    // The status line of the main window.
    virtual void setStatusCaption(const std::string& text) = 0;
    // Fills the main window from the model store and its summary, shows it
    // and brings it to the front.
    virtual void showMainWindow() = 0;
    // Hides the about, pattern, sweep and Smith windows before a load.
    virtual void hideResultWindows() = 0;

    // Runs one of the other windows: a result view (114, 115, 116, 122) until
    // it hands back a code, or the card editor (117) and the optimizer (123)
    // as modal windows. With `once` a view draws itself in the background
    // and returns. False when this build has no such window.
    virtual bool runWindow(int16_t code, bool once) = 0;

    // The about window; the help window with an HTML page.
    virtual void showAbout() = 0;
    virtual void showHelpPage(const std::string& path) = 0;

    // The calculation options dialog, modal; it leaves actionCode at 13
    // (generate) or 27 (cancel).
    virtual void runCalcDialog() = 0;

    // Watches the model file just loaded: when another program saves it
    // with other bytes and the setting WATCH is on, the windows post
    // kActionModelChanged once the program waits for the user (a save
    // during a calculation waits for it; saves in a row give one code).
    virtual void watchModelFile(const std::string& path) { (void)path; }

    // The status window of an engine run.
    virtual void openStatus() = 0;
    virtual void addStatusLine(const std::string& line) = 0;
    // Percentage of the expected run time; -1 when none is expected.
    virtual void showProgress(int percent) = 0;
    // The text beside the bar (the frequency steps done of a loop).
    virtual void showProgressText(const std::string& text) { (void)text; }
    // True once the user pressed the status window's Cancel (or closed it)
    // since it was opened.
    virtual bool cancelPressed() = 0;
    virtual void closeStatus() = 0;

    // Starts the engine and the outside programs.
    virtual ProcessRunner& processRunner() = 0;
};

// Starts a program and waits for it in steps of 200 ms, handling window
// events in between, until it ends or a window posts an action code (the
// program then runs on). actionCode is 0 afterwards. False, with the reason
// in `error`, when the program could not be started.
bool runAndWait(ViewState& viewState, Windows& windows, const std::vector<std::string>& argv, std::string& error);

// The pattern window (F4) has a far-field pattern or a near field to show.
bool patternViewHasData(const Model& model);
// The views that step 4 of a pass draws in the background, in order.
std::vector<int16_t> backgroundViews(const Model& model);

class MainLoop {
public:
    MainLoop(Model& model, Ui& ui, Windows& windows);

    // The model named on the command line (already taken into modelDir,
    // modelName and modelExt): the first pass shows no open dialog.
    void setPendingModel() { m_pendingName = m_model.modelName; }
    // A line for the status caption after the first load (where a user's
    // files are, on the first start of a shared install).
    void setNotice(const std::string& text) { m_notice = text; }

    enum class Ending {
        Exit,      // the user confirmed the exit; the configuration was written back
        Cancelled, // the first open dialog was cancelled; nothing was written
    };
    // Runs passes until the program is to end.
    Ending run();

    const std::string& outputExt() const { return m_outputExt; }

private:
    enum class Next { Dispatch, Load, ChooseFile, End };

    Model& m_model;
    Ui& m_ui;
    Windows& m_windows;
    std::string m_outputExt = ".out";
    std::string m_pendingName;
    std::string m_previousName;
    std::string m_previousDir, m_previousExt; // of the model loaded last
    std::string m_notice;                     // shown in the status line after the next load
    bool m_runResult = false;                 // the next load keeps the report the run just read
    bool m_configWritten = false;

    bool chooseFile();
    Next importForeignModel();
    bool load();
    void refreshBackgroundViews();
    Next dispatchLoop();
    Next act(int16_t code);
    Next afterAction();
    Next confirmExit();

    void showView(int16_t code);
    void showMain();
    void missingWindow(int16_t code);
    void showHelp();
    Next editInput();
    Next runOptimizer();
    Next calculate();
    Next runChoice();
    Next recalculate();
    void exportToItsHf(Model& model, Ui& ui, const std::string& report);
    StopReason stopRequest();
    Next endProgram();
    void showOutput();
    void runBuild();
    void saveOutput();
    bool showInEditor(const std::string& path);
    void runOutside(const std::vector<std::string>& argv);
};

} // namespace wavra
