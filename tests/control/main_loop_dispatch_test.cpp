// The main loop's dispatch without Qt: scripted windows post the action
// codes a user would and record what the loop asked of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>

#include "control/main_loop.h"
#include "control/startup.h"
#include "support/test_support.h"

namespace wavra::test {
namespace {

namespace fs = std::filesystem;

// A program that is never started: the dispatch tests run no outside
// program, so any start is a fault.
class NoProcesses : public ProcessRunner {
public:
    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string&,
                                          std::string& error) override {
        started.push_back(argv.front());
        error = "no programs in this test";
        return nullptr;
    }
    std::vector<std::string> started;
};

// Windows whose user is a list of action codes: each idleWait takes the
// next one (Esc when the list is empty); every call is logged.
class ScriptedWindows : public Windows {
public:
    explicit ScriptedWindows(Model& model) : m_model(model) {}

    std::deque<int16_t> codes;
    std::set<int16_t> views; // the window codes this program has
    std::vector<std::string> log;
    std::function<void()> onCalcDialog;

    void idleWait() override {
        if (m_model.actionCode < 0) {
            m_model.actionCode = kActionEscape;
            return;
        }
        m_model.actionCode = kActionEscape;
        if (!codes.empty()) {
            m_model.actionCode = codes.front();
            codes.pop_front();
        }
    }
    void processEvents() override {}
    void setBusy(bool) override {}
    void setStatusCaption(const std::string& text) override {
        if (!text.empty()) log.push_back("status " + text);
    }
    void showMainWindow() override { log.push_back("main"); }
    void hideResultWindows() override {}
    bool runWindow(int16_t code, bool once) override {
        if (!views.count(code)) return false;
        log.push_back(std::string(once ? "draw " : "run ") + std::to_string(code));
        if (!once) idleWait(); // the view hands the next code back
        return true;
    }
    void showAbout() override { log.push_back("about"); }
    void showHelpPage(const std::string& path) override { log.push_back("help " + fs::path(path).filename().string()); }
    void runCalcDialog() override {
        log.push_back("calc dialog");
        if (onCalcDialog) onCalcDialog();
    }
    void openStatus() override { log.push_back("status window"); }
    void addStatusLine(const std::string&) override {}
    void showProgress(int) override {}
    bool cancelPressed() override { return false; }
    void closeStatus() override {}
    ProcessRunner& processRunner() override { return processes; }

    NoProcesses processes;

private:
    Model& m_model;
};

struct Dispatch : ::testing::Test {
    InstallTree tree;
    Model model;
    RecordingUi ui;
    ScriptedWindows windows{model};
    MainLoop loop{model, ui, windows};

    Dispatch() {
        startUp(model, ui, tree.file("exe/wavra"));
        fs::copy_file(sourcePath("examples/dipole.nec"), tree.file("dipole.nec"));
        takeModelName(model, tree.file("dipole.nec"), tree.path());
        loop.setPendingModel();
    }
    bool logged(const std::string& entry) const {
        return std::find(windows.log.begin(), windows.log.end(), entry) != windows.log.end();
    }
};

TEST_F(Dispatch, FunctionKeysReachTheirWindowsAndEscAsksBeforeTheEnd) {
    windows.views = {kActionGeometry, kActionPattern};
    windows.codes = {kActionPattern, kActionGeometry, kActionHelp};
    ui.queueAnswer(Answer::Yes);
    EXPECT_EQ(loop.run(), MainLoop::Ending::Exit);
    // After the load the current view (geometry) opens; the deck has no
    // pattern, so the pattern view is not drawn in the background.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"main", "run 114", "run 115", "run 114", "help wavra_help.html"}));
    EXPECT_TRUE(ui.saw("Do you want to exit wavra ?"));
    EXPECT_TRUE(windows.processes.started.empty());
}

TEST_F(Dispatch, AMissingWindowShowsTheMainWindowAndSaysSo) {
    windows.codes = {kActionSweep, kActionSmith};
    ui.queueAnswer(Answer::Yes);
    loop.run();
    EXPECT_TRUE(logged("status The frequency sweep graphs (F5) is not available in this version of wavra."));
    EXPECT_TRUE(logged("status The Smith chart (F11) is not available in this version of wavra."));
}

TEST_F(Dispatch, NoToTheExitQuestionReloadsTheModel) {
    windows.views = {kActionGeometry};
    ui.queueAnswer(Answer::No);
    ui.queueAnswer(Answer::Yes);
    loop.run();
    // One load at the start, one after No.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"main", "run 114", "main", "run 114"}));
}

TEST_F(Dispatch, ACancelledCalculationDialogRunsNothing) {
    windows.codes = {kActionCalculate};
    windows.onCalcDialog = [this] { model.actionCode = kActionEscape; };
    // The dialog's Esc is its own Cancel; the next Esc is the user's.
    ui.queueAnswer(Answer::Yes);
    loop.run();
    EXPECT_TRUE(logged("calc dialog"));
    EXPECT_FALSE(logged("status window"));
    EXPECT_TRUE(windows.processes.started.empty());
}

TEST_F(Dispatch, TheSmithChartsEscGoesToTheGeometryView) {
    windows.views = {kActionGeometry, kActionSmith};
    windows.codes = {kActionSmith, kActionEscape};
    ui.queueAnswer(Answer::Yes);
    loop.run();
    const auto smith = std::find(windows.log.begin(), windows.log.end(), "run 122");
    ASSERT_NE(smith, windows.log.end());
    EXPECT_NE(std::find(smith, windows.log.end(), "run 114"), windows.log.end());
}

TEST_F(Dispatch, CtrlOWithTheDialogCancelledKeepsTheModel) {
    windows.codes = {kActionOpen};
    ui.queueAnswer(Answer::Yes);
    EXPECT_EQ(loop.run(), MainLoop::Ending::Exit);
    ASSERT_EQ(ui.fileRequests().size(), 1u);
    EXPECT_EQ(ui.fileRequests()[0].caption, "Open file");
    EXPECT_EQ(model.modelName, "dipole");
}

} // namespace
} // namespace wavra::test
