// The main loop with the real windows, a scripted Ui and the real engine:
// start-up by command line or open dialog, loads, calculations, the exit
// question, the outside programs and the report's move.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/files.h"
#include "engine/deck_adapter.h"
#include "gui_test_support.h"
#include "windows/help_window.h"
#include "windows/main_window.h"
#include "windows/model_file_watch.h"
#include "windows/optimizer_window.h"
#include "windows/status_window.h"
#include "windows/view_window.h"

using namespace wavra;
using namespace wavra::test;
namespace fs = std::filesystem;

namespace {

// R and X of the first source in the ANTENNA INPUT PARAMETERS block of a
// nec2c report: the seventh and eighth numbers of the first data line.
std::pair<double, double> reportImpedance(const std::string& path) {
    std::vector<std::string> lines = readLinesOf(path);
    for (size_t i = 0; i + 3 < lines.size(); ++i) {
        if (lines[i].find("ANTENNA INPUT PARAMETERS") == std::string::npos) continue;
        std::istringstream in(lines[i + 3]);
        double v[8] = {};
        int tag = 0, seg = 0;
        in >> tag >> seg;
        for (double& x : v) in >> x;
        return {v[4], v[5]};
    }
    return {0, 0};
}

// The first number of a main-window field.
double leadingNumber(const QString& text) { return readNumber(text.toStdString()); }

void setField(QWidget& dialog, const char* name, const char* text) {
    auto* field = dialog.findChild<QLineEdit*>(name);
    field->setText(QString::fromLatin1(text));
}

struct MainLoopTest : ::testing::Test {
    Program p;
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};

    MainWindow& main() { return p.windows->mainWindow(); }
    QString field(const char* caption) { return main().fieldText(QString::fromLatin1(caption)); }
    QString status() { return main().statusCaption(); }

    // Presses a key once the loop waits for the user.
    void press(int16_t code) {
        script.add("press " + std::to_string(code), [this, code] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            pressKey(*p.windows, code);
            return true;
        });
    }
    void whenIdle(std::function<void()> check) {
        script.add("check", [this, check] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            check();
            return true;
        });
    }
    // Esc with the exit question answered.
    void escape(Answer answer) {
        script.add("escape", [this, answer] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            p.ui.queueAnswer(answer);
            pressKey(*p.windows, kActionEscape);
            return true;
        });
    }
    void quit() { escape(Answer::Yes); }
    // F7, then the dialog with the given choice filled in by `fill`.
    void calculate(const char* choice, std::function<void(QWidget&)> fill) {
        press(kActionCalculate);
        script.add("dialog", [choice, fill] {
            QWidget* dialog = modalDialog("Gen");
            if (!dialog) return false;
            dialog->findChild<QRadioButton*>(choice)->click();
            fill(*dialog);
            dialog->findChild<QPushButton*>("generate")->click();
            return true;
        });
    }
    // F7 with a frequency loop of 8 steps, 14 to 14.35 MHz, without patterns.
    void calculateLoop() {
        calculate("OptFR", [](QWidget& d) {
            d.findChild<QRadioButton*>("Opt0")->click();
            for (auto [name, text] : {std::pair{"txtXYZ1", "14"}, {"txtXYZ2", "14.35"}, {"txtXYZ3", "0.05"}})
                setField(d, name, text);
        });
    }
    MainLoop::Ending run() {
        const MainLoop::Ending ending = loop.run();
        std::string shown;
        for (const auto& m : p.ui.messages()) shown += "\n  " + m;
        EXPECT_FALSE(script.timedOut()) << "stuck at " << script.pending() << "; messages:" << shown;
        EXPECT_TRUE(script.done()) << "not reached: " << script.pending();
        return ending;
    }
};

} // namespace

TEST_F(MainLoopTest, CommandLineModelLoadsWithoutOpenDialogAndExitSavesSettings) {
    p.nameModel(loop, "dipole");
    whenIdle([this] {
        EXPECT_EQ(field("Filename"), "dipole.nec");
        EXPECT_EQ(field("Nr of segments"), "11");
        EXPECT_EQ(field("Frequency"), "14.20 Mhz");
        // The first view is the geometry view.
        EXPECT_EQ(p.model.currentView, kActionGeometry);
        EXPECT_EQ(status(), "");
        p.model.z0 = 75;
    });
    quit();
    EXPECT_EQ(run(), MainLoop::Ending::Exit);
    EXPECT_TRUE(p.ui.fileRequests().empty());
    EXPECT_TRUE(p.ui.saw("Do you want to exit wavra ?"));
    EXPECT_NE(readText(p.tree.file("exe/wavra.ini")).find("Z0= 75"), std::string::npos);
}

TEST_F(MainLoopTest, CancellingTheFirstOpenDialogEndsWithoutWritingSettings) {
    const std::string ini = p.tree.file("exe/wavra.ini");
    const std::string before = readText(ini);
    const auto stamp = fs::last_write_time(ini);
    p.model.z0 = 75;
    EXPECT_EQ(loop.run(), MainLoop::Ending::Cancelled);
    ASSERT_EQ(p.ui.fileRequests().size(), 1u);
    EXPECT_EQ(p.ui.fileRequests()[0].caption, "Open file");
    EXPECT_EQ(p.ui.fileRequests()[0].pattern, "*.nec");
    EXPECT_EQ(readText(ini), before);
    EXPECT_EQ(fs::last_write_time(ini), stamp);
}

TEST_F(MainLoopTest, OpenDialogChoiceLoadsAndCancelledReopenKeepsTheModel) {
    p.ui.queueFile(splitPath(p.modelPath("yagi")));
    whenIdle([this] { EXPECT_EQ(field("Filename"), "yagi.nec"); });
    press(kActionOpen); // the second dialog is cancelled: the yagi stays
    whenIdle([this] { EXPECT_EQ(field("Filename"), "yagi.nec"); });
    quit();
    EXPECT_EQ(run(), MainLoop::Ending::Exit);
    EXPECT_EQ(p.ui.fileRequests().size(), 2u);
}

TEST_F(MainLoopTest, AnsweringNoToTheExitQuestionReloadsTheModel) {
    p.nameModel(loop, "dipole");
    whenIdle([this] { p.model.summary.fileName = " changed"; });
    escape(Answer::No);
    whenIdle([this] { EXPECT_EQ(field("Filename"), "dipole.nec"); });
    quit();
    EXPECT_EQ(run(), MainLoop::Ending::Exit);
}

TEST_F(MainLoopTest, FarFieldRunFillsTheMainWindowFromTheReport) {
    p.nameModel(loop, "yagi");
    calculate("OptFF", [](QWidget& d) {
        for (auto [name, text] : {std::pair{"txtXYZ1", "90"},
                                  {"txtXYZ2", "90"},
                                  {"txtXYZ3", "1"},
                                  {"txtXYZ4", "0"},
                                  {"txtXYZ5", "360"},
                                  {"txtXYZ6", "5"}})
            setField(d, name, text);
        setField(d, "TxtXNDA", "1000");
    });
    whenIdle([this] {
        const std::string report = p.tree.file("out/yagi.out");
        ASSERT_TRUE(pathExists(report));
        const auto [r, x] = reportImpedance(report);
        EXPECT_NEAR(leadingNumber(field("Impedance")), r, 0.01 * std::abs(r) + 0.01);
        EXPECT_NE(field("Impedance").indexOf(x < 0 ? " - j " : " + j "), -1);
        EXPECT_EQ(field("Filename").left(4), "yagi");
        EXPECT_EQ(p.model.calcKind, 2);
        EXPECT_EQ(p.model.currentView, kActionPattern); // the pattern view opens on the new pattern
        EXPECT_TRUE(p.windows->viewWindow(kActionPattern)->isVisible());
        EXPECT_GE(p.model.patternCount, 73);
        EXPECT_NE(field("Input power"), "");
        const QStringList lines = p.windows->statusWindow().lines();
        EXPECT_TRUE(lines.contains("Converting yagi.nec to yagi.inp"));
        EXPECT_TRUE(lines.contains("Generating nec-2 output file yagi.out"));
        EXPECT_FALSE(p.windows->statusWindow().isVisible());
    });
    quit();
    run();
    EXPECT_EQ(p.model.calcPresets[1][0].substr(0, 3), "RP,");
}

// Qt takes the C library's locale from the environment, and a German
// desktop writes numbers with a decimal comma; the windows and the engine
// deck must still show and write points.
TEST_F(MainLoopTest, CommaLocaleStillWritesDecimalPoints) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the set-up generates the de_DE.UTF-8 locale";
    p.nameModel(loop, "dipole");
    calculate("OptFF", [](QWidget& d) {
        for (auto [name, text] : {std::pair{"txtXYZ1", "0"},
                                  {"txtXYZ2", "90"},
                                  {"txtXYZ3", "7.5"},
                                  {"txtXYZ4", "0"},
                                  {"txtXYZ5", "90"},
                                  {"txtXYZ6", "22.5"}})
            setField(d, name, text);
    });
    whenIdle([this] {
        const std::regex decimalComma("[0-9],[0-9]");
        const std::string time = field("Calculation time").toStdString();
        EXPECT_NE(time.find('.'), std::string::npos) << time;
        EXPECT_FALSE(std::regex_search(time, decimalComma)) << time;
        for (const char* caption : {"Impedance", "Input power", "Efficiency", "Wavelength"})
            EXPECT_FALSE(std::regex_search(field(caption).toStdString(), decimalComma)) << caption;
        const std::string deck = readText(p.tree.file("out/dipole.inp"));
        ASSERT_FALSE(deck.empty());
        EXPECT_FALSE(std::regex_search(deck, decimalComma)) << deck;
        EXPECT_NE(deck.find("RP"), std::string::npos) << deck;
    });
    quit();
    run();
    std::setlocale(LC_ALL, before.c_str());
}

TEST_F(MainLoopTest, FrequencyLoopNearFieldAndOriginalRunsEachReadTheirReport) {
    p.nameModel(loop, "dipole");
    calculateLoop();
    whenIdle([this] {
        EXPECT_EQ(p.model.freqCount, 8);
        EXPECT_EQ(field("Frequency steps"), "8");
        EXPECT_EQ(p.model.currentView, kActionSweep);
    });
    calculate("OptNF", [](QWidget& d) {
        for (auto [name, text] : {std::pair{"txtXYZ1", "-1"},
                                  {"txtXYZ2", "1"},
                                  {"txtXYZ3", "1"},
                                  {"txtXYZ4", "0"},
                                  {"txtXYZ5", "0"},
                                  {"txtXYZ6", "1"},
                                  {"txtXYZ7", "1"},
                                  {"txtXYZ8", "1"},
                                  {"txtXYZ9", "1"}})
            setField(d, name, text);
    });
    whenIdle([this] {
        EXPECT_EQ(p.model.requestMode, kNearRequest);
        EXPECT_EQ(p.model.summary.nearFieldCount, 3);
        EXPECT_EQ(p.model.calcPresets[6][0].substr(0, 3), "NE,");
    });
    calculate("OptDef", [](QWidget&) {});
    whenIdle([this] {
        const auto [r, x] = reportImpedance(p.tree.file("out/dipole.out"));
        EXPECT_NEAR(leadingNumber(field("Impedance")), r, 0.01 * std::abs(r) + 0.01);
        EXPECT_EQ(p.model.requestMode, 0); // the deck's own RP card
    });
    quit();
    run();
}

TEST_F(MainLoopTest, CancelledGroundQuestionDoesNotShowAnOlderReport) {
    writeText(p.modelPath("ground"),
              "CM Dipole over a ground with a negative conductivity\nCE\n"
              "GW 1 11 0 -5.15 10 0 5.15 10 0.001\nGE 0\nGN 2 0 0 0 13 -0.005\n"
              "EX 0 1 6 0 1 0\nFR 0 1 0 0 14.2 0\nRP 0 10 1 1000 0 0 10 0\nEN\n");
    // An older report of the model, made to look like a result.
    writeText(p.tree.file("out/ground.out"), "not a report of this run\n");
    p.nameModel(loop, "ground");
    script.add("answer", [this] {
        p.ui.queueAnswer(Answer::Cancel);
        return true;
    });
    calculate("OptDef", [](QWidget&) {});
    whenIdle([this] {
        EXPECT_TRUE(p.ui.saw("Conductivity in GN card is negative."));
        EXPECT_EQ(status(), "Calculation cancelled; the model and its results are as they were.");
        EXPECT_EQ(field("Impedance"), "");
        EXPECT_EQ(field("Filename"), "ground.nec");
    });
    quit();
    run();
}

TEST_F(MainLoopTest, FailedEngineRunKeepsTheOldReportInPlaceAndReadsTheInput) {
    fs::remove(p.tree.file("exe/NEC2D_LA")); // the engine of the shipped settings
    p.script("exe/NEC2D_LA", "echo 'engine broke' >&2\nexit 3\n");
    const std::string older = "older report\n  TOTAL RUN TIME: 10 msec\n";
    writeText(p.tree.file("out/dipole.out"), older);
    p.nameModel(loop, "dipole");
    calculate("OptDef", [](QWidget&) {});
    whenIdle([this, older] {
        EXPECT_EQ(status(), "Calculation failed; the model was read from its input file.");
        EXPECT_EQ(field("Impedance"), "");
        EXPECT_EQ(readText(p.tree.file("out/dipole.out")), older);
        bool reported = false;
        for (const auto& m : p.ui.messages()) reported |= m.find("engine broke") != std::string::npos;
        EXPECT_TRUE(reported);
    });
    quit();
    run();
}

TEST_F(MainLoopTest, CancelInTheStatusWindowStopsAHangingEngineAndKeepsTheReport) {
    replaceEngine(p.tree.path(), hangingEngineScript(p.tree.path()));
    const std::string older = "older report\n  TOTAL RUN TIME: 10 msec\n";
    writeText(p.tree.file("out/dipole.out"), older);
    p.nameModel(loop, "dipole");
    calculate("OptDef", [](QWidget&) {});
    script.add("cancel", [this] {
        StatusWindow& status = p.windows->statusWindow();
        if (!status.isVisible() || !pathExists(p.tree.file("helper.pid"))) return false;
        status.findChild<QPushButton*>("Cancel")->click();
        return true;
    });
    whenIdle([this, older] {
        EXPECT_TRUE(p.ui.saw("Calculation cancelled: the NEC-2 engine NEC2D_LA was stopped."));
        EXPECT_EQ(status(), "Calculation cancelled; the model was read from its input file.");
        EXPECT_TRUE(processGone(p.tree.file("engine.pid")));
        EXPECT_TRUE(processGone(p.tree.file("helper.pid")));
        EXPECT_EQ(readText(p.tree.file("out/dipole.out")), older);
        EXPECT_FALSE(p.windows->statusWindow().isVisible());
    });
    quit();
    run();
}

TEST_F(MainLoopTest, ClosingTheMainWindowWhileTheEngineRunsAsksThenEndsBoth) {
    replaceEngine(p.tree.path(), hangingEngineScript(p.tree.path()));
    p.nameModel(loop, "dipole");
    calculate("OptDef", [](QWidget&) {});
    const std::string question = "The NEC-2 engine is still running. Stop it and exit wavra ?";
    for (Answer answer : {Answer::No, Answer::Yes}) {
        script.add("close", [this, answer, question] {
            if (!pathExists(p.tree.file("helper.pid")) || p.model.actionCode == kActionEscape) return false;
            p.ui.queueAnswer(answer);
            main().close();
            return true;
        });
    }
    EXPECT_EQ(run(), MainLoop::Ending::Exit);
    EXPECT_EQ(std::count(p.ui.messages().begin(), p.ui.messages().end(), question), 2);
    EXPECT_FALSE(p.ui.saw("Do you want to exit wavra ?"));
    EXPECT_TRUE(processGone(p.tree.file("engine.pid")));
    EXPECT_TRUE(processGone(p.tree.file("helper.pid")));
}

TEST_F(MainLoopTest, CancelledCalculationDialogChangesNothing) {
    p.nameModel(loop, "dipole");
    p.model.calcKind = kCalcFarField;
    p.model.calcRange = {0, 90, 5, 0, 360, 10, 0, 0, 0};
    press(kActionCalculate);
    script.add("cancel", [] {
        QWidget* dialog = modalDialog("Gen");
        if (!dialog) return false;
        dialog->findChild<QRadioButton*>("OptNF")->click();
        setField(*dialog, "txtXYZ1", "7");
        dialog->findChild<QPushButton*>("Cancel")->click();
        return true;
    });
    whenIdle([this] {
        EXPECT_EQ(p.model.calcKind, kCalcFarField);
        EXPECT_EQ(p.model.calcRange[0], 0);
        EXPECT_FALSE(pathExists(p.tree.file("out/dipole.out")));
    });
    quit();
    run();
}

// With WATCH on, saves of the deck by another program run the last
// calculation choice again: once for saves in a row, on the deck as last
// saved, with the kept loop still there for comparison.
TEST_F(MainLoopTest, OutsideSavesOfTheDeckRunTheLastCalculationOnce) {
    p.model.watchModelFile = -1;
    p.nameModel(loop, "dipole");
    calculateLoop();
    uint32_t serial = 0;
    double before = 0;
    script.add("loop shown", [this] {
        return loopIsIdle(*p.windows, p.model) && p.model.currentView == kActionSweep && p.model.freqCount == 8;
    });
    whenIdle([this] { p.windows->viewWindow(kActionSweep)->postKey('K'); });
    whenIdle([this, &serial, &before] {
        ASSERT_EQ(p.model.keptSweeps.size(), 1u);
        serial = p.model.loadSerial;
        before = p.model.sweepR[1];
        const std::string deck = readText(p.modelPath("dipole"));
        for (const char* half : {"5.05", "5.0", "4.95"}) {
            std::string shorter = deck;
            for (size_t at = shorter.find("5.15"); at != std::string::npos; at = shorter.find("5.15"))
                shorter.replace(at, 4, half);
            writeText(p.modelPath("dipole"), shorter);
        }
    });
    script.add("recalculated",
               [this, &serial] { return loopIsIdle(*p.windows, p.model) && p.model.loadSerial != serial; });
    // Long enough for a second run, were one to follow.
    QElapsedTimer settle;
    script.add("settle", [&settle] {
        if (!settle.isValid()) settle.start();
        return settle.elapsed() > 4 * ModelFileWatch::kSettleMs;
    });
    whenIdle([this, &serial, &before] {
        EXPECT_EQ(p.model.loadSerial, serial + 1);
        EXPECT_EQ(p.model.freqCount, 8);
        EXPECT_GT(p.model.sweepR[1], 0);
        EXPECT_LT(p.model.sweepR[1], before); // the 4.95 m halves: shorter, lower resistance
        EXPECT_EQ(p.model.currentView, kActionSweep);
        EXPECT_EQ(p.model.keptSweeps.size(), 1u);
    });
    quit();
    run();
}

// Cancel in the F7 dialog, Quit in the card editor without a change and
// Exit from the optimizer without a run keep the loaded report and its
// windows; the deck's ZO card is no setting, so it is not written at exit.
TEST_F(MainLoopTest, LeavingWithoutAChangeKeepsTheResultAndItsWindows) {
    std::string deck = readText(p.modelPath("dipole"));
    deck.insert(deck.find("GW"), "ZO 75\n");
    writeText(p.modelPath("dipole"), deck);
    p.nameModel(loop, "dipole");
    calculateLoop();
    uint32_t serial = 0;
    whenIdle([this, &serial] {
        EXPECT_EQ(p.model.freqCount, 8);
        EXPECT_DOUBLE_EQ(p.model.referenceZ0(), 75);
        serial = p.model.loadSerial;
    });
    auto expectUnchanged = [this, &serial](const char* after) {
        whenIdle([this, &serial, after] {
            EXPECT_EQ(p.model.loadSerial, serial) << after;
            EXPECT_EQ(p.model.freqCount, 8) << after;
            EXPECT_DOUBLE_EQ(p.model.referenceZ0(), 75) << after;
            EXPECT_EQ(p.model.currentView, kActionSweep) << after;
            EXPECT_TRUE(p.windows->viewWindow(kActionSweep)->isVisible()) << after;
        });
    };
    press(kActionCalculate);
    script.add("cancel F7", [] {
        QWidget* dialog = modalDialog("Gen");
        if (!dialog) return false;
        dialog->findChild<QPushButton*>("Cancel")->click();
        return true;
    });
    expectUnchanged("F7 Cancel");
    press(kActionEditInput);
    script.add("quit editor", [] {
        QWidget* editor = modalDialog("Ed");
        if (!editor) return false;
        editor->findChild<QPushButton*>("CmdQuit")->click();
        return true;
    });
    expectUnchanged("card editor Quit");
    press(kActionOptimizer);
    script.add("exit optimizer", [this] {
        auto* optimizer = qobject_cast<OptimizerWindow*>(QApplication::activeModalWidget());
        if (!optimizer) return false;
        optimizer->startButton()->click(); // refused: no variable chosen
        p.ui.queueAnswer(Answer::Yes);     // "Exit optimizer ?"
        optimizer->reject();
        return true;
    });
    expectUnchanged("optimizer Exit");
    quit();
    run();
    EXPECT_TRUE(p.ui.saw("No variable(s) selected."));
    EXPECT_NE(readText(p.tree.file("exe/wavra.ini")).find("Z0= 50"), std::string::npos);
}

TEST_F(MainLoopTest, SaveOutputMovesTheReport) {
    p.nameModel(loop, "dipole");
    writeText(p.tree.file("out/dipole.out"), "report\n");
    fs::create_directories(p.tree.file("kept"));
    p.ui.queueFile(FileChoice{p.tree.file("kept/"), "first", ".out"});
    p.ui.queueFile(FileChoice{p.tree.file("out/"), "dipole", ".out"});
    press(kActionSaveOutput);
    whenIdle([this] {
        EXPECT_EQ(readText(p.tree.file("kept/first.out")), "report\n");
        EXPECT_FALSE(pathExists(p.tree.file("out/dipole.out")));
        writeText(p.tree.file("out/dipole.out"), "second\n");
    });
    press(kActionSaveOutput); // saved onto itself: nothing may be lost
    whenIdle([this] {
        EXPECT_EQ(readText(p.tree.file("out/dipole.out")), "second\n");
        ASSERT_EQ(p.ui.fileRequests().size(), 2u);
        EXPECT_EQ(p.ui.fileRequests()[0].caption, "Save file (as)");
        EXPECT_EQ(p.ui.fileRequests()[0].name, "dipole");
        EXPECT_EQ(p.ui.fileRequests()[0].pattern, "*.out");
        fs::remove(p.tree.file("out/dipole.out"));
    });
    press(kActionSaveOutput);
    whenIdle([this] { EXPECT_TRUE(p.ui.saw("Output file " + p.tree.file("out/dipole.out") + " does not exist.")); });
    quit();
    run();
}

TEST_F(MainLoopTest, OutsideProgramsGetTheirFilesAsArguments) {
    const std::string log = p.tree.file("calls.log");
    p.model.notepadPath = p.script("editor", "printf 'edit %s\\n' \"$1\" >> '" + log + "'\n");
    p.model.useNotepad = -1; // the text editor, not the card editor
    p.model.wordpadPath = p.script("viewer", "printf 'view %s\\n' \"$1\" >> '" + log + "'\n");
    p.script("exe/build", "printf 'build %s\\n' \"$1\" >> '" + log + "'\necho 'CM built' > \"$1\"\n");
    writeText(p.tree.file("out/dipole.out"), "report\n");
    p.nameModel(loop, "dipole");
    press(kActionEditInput);
    press(kActionShowOutput);
    press(kActionBuild);
    whenIdle([this, log] {
        const std::string models = p.tree.file("models/");
        EXPECT_EQ(readText(log), "edit " + models + "dipole.nec\nview " + p.tree.file("out/dipole.out") + "\nbuild " +
                                     models + "Build.nec\nedit " + models + "Build.nec\n");
    });
    quit();
    run();
}

TEST_F(MainLoopTest, MissingInputFileForEditIsReported) {
    p.nameModel(loop, "dipole");
    whenIdle([this] { fs::remove(p.modelPath("dipole")); });
    press(kActionEditInput);
    whenIdle([this] { EXPECT_TRUE(p.ui.saw("Input file " + p.modelPath("dipole") + " does not exist.")); });
    quit();
    run();
}

TEST_F(MainLoopTest, HelpAboutAndCardReferenceWindows) {
    p.nameModel(loop, "dipole");
    press(kActionHelp);
    whenIdle([this] {
        EXPECT_TRUE(p.windows->helpWindow().isVisible());
        EXPECT_EQ(p.windows->helpWindow().pageTitle(), "wavra help");
        p.windows->helpWindow().hide();
        p.model.helpMode = 1;
    });
    press(kActionHelp);
    whenIdle([this] { EXPECT_TRUE(p.windows->aboutWindow().isVisible()); });
    press(kActionCardReference);
    whenIdle([this] { EXPECT_EQ(p.windows->helpWindow().pageTitle(), "NEC-2 card reference"); });
    press(kActionSmith);
    whenIdle([this] { EXPECT_TRUE(p.windows->viewWindow(kActionSmith)->isVisible()); });
    press(kActionMainWindow); // Esc in the Smith chart would go to the geometry view
    quit();
    run();
}

TEST_F(MainLoopTest, SettingsThatCannotBeRewrittenKeepTheOldFile) {
    const std::string ini = p.tree.file("exe/wavra.ini");
    const std::string before = readText(ini);
    fs::create_directories(p.tree.file("exe/wavra.new/blocked")); // the new copy cannot be written
    p.nameModel(loop, "dipole");
    whenIdle([this] { p.model.z0 = 75; });
    quit();
    EXPECT_EQ(run(), MainLoop::Ending::Exit);
    EXPECT_EQ(readText(ini), before);
    EXPECT_TRUE(p.ui.saw("Settings not saved: exe/wavra.new could not be written."));
}
