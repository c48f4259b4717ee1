#include "engine/engine_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "engine/process.h"
#include "engine/report_keeping.h"
#include "engine/result_reuse.h"
#include "engine/run_plan.h"
#include "engine_test_support.h"
#include "report/report_merge.h"

namespace wavra {
namespace {

using test::readText;
using test::writeText;
using Argv = std::vector<std::string>;

const std::string kDeck = "CM my yagi\nCE\nGW, 1, 11, 0.0, -5.0, 0.0, 0.0, 5.0, 0.0, 0.001\nGE, 0\nXQ\nEN\n";

// A report as the engine ends one: with its closing run-time line.
std::string completeReport(const std::string& body) { return body + "\n\n  TOTAL RUN TIME: 10 msec\n"; }

class EngineRunTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    test::ScriptedRunner runner;
    void SetUp() override {
        tree.prepare(m);
        m.modelName = "my yagi";
        m.requestMode = 0;
        m.reuseResults = 0; // every run here starts the engine
    }
    std::string report() const { return tree.report("my yagi.out"); }
    // The engine's part: write the report named in the run's control file.
    void engineWrites(const std::string& text, int exitCode = 0) {
        runner.program = [text, exitCode](const test::ScriptedRunner::Call& call) {
            const test::ControlledFiles files = test::controlledFiles(call);
            if (!files.report.empty()) writeText(files.report, text);
            return exitCode;
        };
    }
    EngineStatus run(const RunControl& control = {}) { return runEngine(m, ui, runner, kDeck, "my yagi.out", control); }
};

TEST_F(EngineRunTest, TheEngineRunsOnFilesOfItsOwnAndItsReportBecomesTheModelsReport) {
    int capacityDuringRun = 0;
    test::ControlledFiles seen;
    std::string deckSeen, controlSeen;
    runner.program = [&](const test::ScriptedRunner::Call& call) {
        capacityDuringRun = m.wireCapacity();
        seen = test::controlledFiles(call);
        deckSeen = readText(seen.deck);
        controlSeen = readText(seen.control);
        writeText(seen.report, completeReport("fresh"));
        return 0;
    };
    EXPECT_EQ(run(), EngineStatus::Finished);
    ASSERT_EQ(runner.calls.size(), 1u);
    // The engine program itself, in the run's folder, on the files the
    // control file names; no environment of its own for plain nec2c.
    EXPECT_EQ(runner.calls[0].argv, (Argv{findInPath("nec2c"), "-i", "run.inp", "-o", "run.out"}));
    EXPECT_EQ(runner.calls[0].workingDir, directoryOf(seen.control));
    EXPECT_TRUE(runner.calls[0].environment.empty());
    // The control file, deck and report lie in a work directory below out/
    // under short names; the model's name reaches the engine nowhere.
    EXPECT_EQ(seen.control.rfind(tree.file("out/.run-"), 0), 0u) << seen.control;
    EXPECT_EQ(deckSeen, kDeck);
    EXPECT_EQ(controlSeen, "run.inp\nrun.out\n");
    EXPECT_FALSE(pathExists(tree.file("exe/nec2d.tmp")));
    EXPECT_EQ(readText(report()), completeReport("fresh"));
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
    EXPECT_EQ(capacityDuringRun, 1);
    EXPECT_EQ(m.wireCapacity(), 512);
    EXPECT_EQ(m.farFieldCapacity(), 6000);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(EngineRunTest, SommerfeldGroundWritesItsRequestOrUsesAnExistingGroundFile) {
    std::string request;
    runner.program = [&](const test::ScriptedRunner::Call& call) {
        const test::ControlledFiles files = test::controlledFiles(call);
        request = readText(directoryOf(files.control) + "som2d.tmp");
        writeText(files.report, completeReport("ground"));
        return 0;
    };
    m.groundType = 2;
    m.groundEpsilon = 13;
    m.groundSigma = 0.005;
    m.frequencyMHz = 7.1;
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(request, "13,0.005,7.1,0\n");
    EXPECT_FALSE(pathExists(tree.file("exe/som2d.tmp")));
    writeText(tree.file("out/135710.gnd"), "ground");
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(request, ""); // the ground file is there ("cop")
}

// Also for a model name whose side files would pass the file-name limit.
TEST_F(EngineRunTest, AFailedRunsReportIsKeptAsideAndTheLastCompleteReportAndItsRecordStay) {
    for (const std::string& name : {std::string("my yagi"), std::string(250, 'y')}) {
        SCOPED_TRACE(name.size());
        const std::string target = tree.report(name + ".out");
        const std::string failed = sideFileName(target, ".failed");
        const std::string good = completeReport("the last good result");
        engineWrites(good);
        ASSERT_EQ(runEngine(m, ui, runner, kDeck, name + ".out", {}), EngineStatus::Finished);
        const std::string record = readText(runRecordFile(target));
        ASSERT_FALSE(record.empty());
        const std::string kept = "\nThe report of this run is kept as out/" +
                                 failed.substr(directoryOf(failed).size()) + "; the last complete report out/" + name +
                                 ".out stays as it was.";
        // A crash, and a report cut off (a full disk) with exit status 0.
        for (const auto& [text, exitCode] : {std::pair{"failure, cut off", 139}, std::pair{"stops in the middle", 0}}) {
            ui.clear();
            engineWrites(text, exitCode);
            EXPECT_EQ(runEngine(m, ui, runner, kDeck, name + ".out", {}), EngineStatus::Failed);
            EXPECT_EQ(readText(target), good);
            EXPECT_EQ(readText(runRecordFile(target)), record);
            EXPECT_EQ(readText(failed), text);
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_EQ(ui.messages()[0].substr(ui.messages()[0].size() - std::min(kept.size(), ui.messages()[0].size())),
                      kept);
            // The cut-off report is named where it is kept, not as the
            // out/<name>.out this run never wrote.
            if (exitCode == 0) {
                EXPECT_EQ(ui.messages()[0].substr(0, ui.messages()[0].find('\n')),
                          "The report out/" + failed.substr(directoryOf(failed).size()) +
                              " is incomplete (the engine stopped early): the closing run-time line.");
            }
        }
        for (const std::string& side : {failed, runRecordFile(target)})
            EXPECT_LE(side.size() - directoryOf(side).size(), kMaxFileNameBytes);
    }
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
    // Long names that differ only at the end keep their side files apart.
    const std::string shared(240, 'n');
    EXPECT_NE(sideFileName(tree.report(shared + "-one.out"), ".failed"),
              sideFileName(tree.report(shared + "-two.out"), ".failed"));
}

TEST_F(EngineRunTest, AFailureShowsTheEnginesErrorOutputAndTheEndOfItsReport) {
    runner.errors = "warming up\nnec2c: something went wrong\n";
    std::string text = "  NUMERICAL ELECTROMAGNETICS CODE (nec2c)\n";
    for (int i = 1; i <= 20; ++i) text += "  segment line " + std::to_string(i) + "\n";
    text += "  DATA CARD No:   3 ZO   0     1\n\n  FAULTY DATA CARD LABEL AFTER GEOMETRY SECTION\n";
    engineWrites(text, 255);
    EXPECT_EQ(run(), EngineStatus::Failed);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0],
              "The NEC-2 engine NEC2D512 failed (exit status 255).\n"
              "warming up\n"
              "nec2c: something went wrong\n"
              "The report ends with:\n"
              "segment line 17\nsegment line 18\nsegment line 19\nsegment line 20\n"
              "DATA CARD No:   3 ZO   0     1\n"
              "FAULTY DATA CARD LABEL AFTER GEOMETRY SECTION\n"
              "The report of this run is kept as out/my yagi.out.failed.");
}

TEST_F(EngineRunTest, AnEngineThatCannotStartIsReported) {
    runner.refuseStart = true;
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"The NEC-2 engine NEC2D512 could not be started: " +
                                                      findInPath("nec2c") + ": No such file or directory"});
    EXPECT_EQ(m.wireCapacity(), 512); // tables are back after a failure too
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
}

TEST_F(EngineRunTest, AnInstallTreeWithoutOutRunsNothingAndSaysWhy) {
    std::filesystem::remove_all(tree.file("out"));
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Cannot make a work directory for the engine in " +
                                                      tree.file("out/") + ": No such file or directory."});
    EXPECT_TRUE(runner.calls.empty());
}

TEST_F(EngineRunTest, ACancelledGroundQuestionRunsNothingAndLeavesTheReportAlone) {
    writeText(report(), "older result\n");
    m.groundRadials = 4; // with RP mode 0: no ground screen option
    m.groundType = 0;
    ui.queueAnswer(Answer::Cancel);
    EXPECT_EQ(run(), EngineStatus::Cancelled);
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_EQ(readText(report()), "older result\n");
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
}

TEST_F(EngineRunTest, AnInvalidEngineNameRunsNothing) {
    m.engineName = "&../../x";
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Engine name '../../x' is not valid."});
    EXPECT_TRUE(runner.calls.empty());
}

TEST_F(EngineRunTest, CancelAndTheEndOfTheProgramStopTheEngineAndLeaveTheReportsAsTheyWere) {
    const std::string good = completeReport("the last good result");
    writeText(report(), good);
    engineWrites("half a report");
    runner.pollsBeforeEnd = 1000;
    int asked = 0;
    RunControl control;
    control.stop = [&] { return ++asked == 3 ? StopReason::Cancel : StopReason::None; };
    EXPECT_EQ(run(control), EngineStatus::Stopped);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(runner.terminated, 1);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Calculation cancelled: the NEC-2 engine NEC2D512 was stopped."});
    EXPECT_EQ(readText(report()), good);
    EXPECT_FALSE(pathExists(sideFileName(report(), ".failed")));
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());

    ui.clear();
    control.stop = [] { return StopReason::Exit; };
    EXPECT_EQ(run(control), EngineStatus::Exiting);
    EXPECT_EQ(runner.terminated, 2);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(readText(report()), good);
}

TEST_F(EngineRunTest, TheWaitFlagShowsTheEngineConsole) {
    m.engineName = "?NEC2D512";
    runner.output = "wavra.sh: engine NEC2D512 ended with exit status 0\n";
    engineWrites(completeReport("report"));
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(runner.calls[0].argv.back(), "pause");
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"NEC2D512 finished.\nwavra.sh: engine NEC2D512 ended with exit status 0"});
}

TEST_F(EngineRunTest, TheEnginesStderrNotesOfAFinishedRunGoToTheStatusList) {
    m.engineName = "&NEC2D_LA";
    runner.errors = "NEC2D_LA: the lapack engine /w/exe/nec2c-lapack is missing; running plain nec2c\n\n";
    engineWrites(completeReport("report"));
    std::vector<std::string> status;
    RunControl control;
    control.statusLine = [&](const std::string& line) { status.push_back(line); };
    EXPECT_EQ(run(control), EngineStatus::Finished);
    EXPECT_EQ(status, std::vector<std::string>{
                          "NEC2D_LA: the lapack engine /w/exe/nec2c-lapack is missing; running plain nec2c"});
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(EngineRunTest, TheSpecialEngineRunsOnItsOwnThenItsReportIsTakenOver) {
    m.engineName = "&NEC32   ";
    engineWrites(completeReport("report"));
    EXPECT_EQ(run(), EngineStatus::Finished);
    ASSERT_EQ(runner.calls.size(), 2u);
    const Argv& special = runner.calls[0].argv;
    ASSERT_EQ(special.size(), 3u);
    EXPECT_EQ(special[0], tree.file("exe/NEC32"));
    EXPECT_EQ(special[1], "run.inp");
    EXPECT_EQ(special[2], "-autodma");
    EXPECT_EQ(runner.calls[0].workingDir.rfind(tree.file("out/.run-"), 0), 0u) << runner.calls[0].workingDir;
    const std::string control = test::controlledFiles(runner.calls[1]).control;
    EXPECT_EQ(runner.calls[1].argv,
              (Argv{tree.file("exe/wavra.sh"), "--control", control, "ren", "my yagi", "my yagi.out"}));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Wait till NEC32 ready, then close window and enter OK"});
    EXPECT_EQ(readText(report()), completeReport("report"));
}

TEST_F(EngineRunTest, ProgressRunsAgainstThePreviousRunTime) {
    engineWrites(completeReport("report"));
    runner.pollsBeforeEnd = 3;
    m.summary.hasRunTime = true;
    m.summary.runTimeSeconds = 2.0;
    std::vector<int> seen;
    int expectedDuringRun = -1;
    RunControl control;
    control.progress = [&](int percent) {
        seen.push_back(percent);
        expectedDuringRun = m.expectedRunTime;
    };
    EXPECT_EQ(run(control), EngineStatus::Finished);
    EXPECT_EQ(seen.size(), 4u); // cleared once, then once per time-out
    EXPECT_EQ(expectedDuringRun, 20);
    EXPECT_EQ(m.expectedRunTime, 0);

    m.summary.runTimeSeconds = 0.4; // below one second: no estimate
    seen.clear();
    run(control);
    EXPECT_EQ(seen, std::vector<int>(4, -1));
}

TEST(ProgressPercent, IsElapsedTimeAgainstTheExpectedTenthsCappedAt100) {
    EXPECT_EQ(progressPercent(2500, 50), 50);
    EXPECT_EQ(progressPercent(0, 50), 0);
    EXPECT_EQ(progressPercent(60000, 50), 100);
    EXPECT_EQ(progressPercent(1000, 0), -1);
}

} // namespace
} // namespace wavra

namespace wavra {
namespace {

// A stand-in for the parts of a split loop: each writes a report with one
// frequency section per step of its deck; the part starting at `failing`
// MHz ends with exit status 1.
std::string partReport(const std::string& deck) {
    const std::string fr = deck.substr(deck.find("FR "));
    const int steps = std::stoi(fr.substr(5, fr.find(' ', 5) - 5));
    std::string text = "header\n";
    for (int i = 0; i < steps; ++i) text += "\n\n\n  --------- FREQUENCY --------\n  step\n";
    return text + "\n  DATA CARD No:   4 EN   0\n\n  TOTAL RUN TIME: 10 msec\n";
}

TEST_F(EngineRunTest, APartOfASplitLoopThatFailsFailsTheRunAndKeepsTheLastReport) {
    const std::string loop =
        "CM loop\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
        "FR 0 9 0 0 14 0.1\nXQ\nEN\n";
    writeText(report(), completeReport("the last good result"));
    int part = 0;
    runner.program = [&part](const test::ScriptedRunner::Call& call) {
        const test::ControlledFiles files = test::controlledFiles(call);
        writeText(files.report, partReport(readText(files.deck)));
        return ++part == 2 ? 1 : 0;
    };
    m.parallelRuns = 3;
    EXPECT_EQ(runEngine(m, ui, runner, loop, "my yagi.out", {}), EngineStatus::Failed);
    EXPECT_EQ(runner.calls.size(), 3u);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("failed (exit status 1).\nThis was engine run 2 of 3 of the split frequency loop."),
              std::string::npos)
        << ui.messages()[0];
    EXPECT_EQ(readText(report()), completeReport("the last good result"));

    // All parts well: one report with the nine sections in order.
    part = 10;
    ui.clear();
    EXPECT_EQ(runEngine(m, ui, runner, loop, "my yagi.out", {}), EngineStatus::Finished);
    const std::string joined = readText(report());
    EXPECT_EQ(frequencySections(joined), 9);
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
}

} // namespace
} // namespace wavra

namespace wavra {
namespace {

// A loop the engine runs as one process (too short to split) still shows
// its progress by steps, on the bar and in the line beside it.
TEST_F(EngineRunTest, AFrequencyLoopInOneProcessShowsTheStepsDone) {
    const std::string deck =
        "CM loop\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
        "FR 0 1 0 0 10 0\nXQ\nFR 0 2 0 0 14 0.1\nXQ\nEN\n";
    EXPECT_EQ(loopStepCount(deck), 3);
    std::string sections;
    for (int i = 0; i < 3; ++i) sections += "\n  --------- FREQUENCY --------\n  step\n";
    engineWrites(completeReport(sections));
    runner.pollsBeforeEnd = 2;
    std::vector<int> percents;
    std::vector<std::string> texts;
    RunControl control;
    control.progress = [&](int percent) { percents.push_back(percent); };
    control.stepText = [&](const std::string& text) { texts.push_back(text); };
    EXPECT_EQ(runEngine(m, ui, runner, deck, "my yagi.out", control), EngineStatus::Finished) << ui.messages()[0];
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "Frequency step 2 of 3 done"); // the last section may still grow
    EXPECT_EQ(texts.back(), "Frequency step 3 of 3 done");
    EXPECT_EQ(percents.back(), 100);
}

} // namespace
} // namespace wavra
