#include "engine/engine_run.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

using test::readText;
using test::writeText;
using Argv = std::vector<std::string>;

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
    }
    std::string report() const { return tree.report("my yagi.out"); }
    // The engine's part: write the report named in nec2d.tmp.
    void engineWritesReport(const std::string& text = "report\n") {
        runner.program = [this, text](const test::ScriptedRunner::Call&) {
            writeText(report(), text);
            return 0;
        };
    }
    EngineStatus run() { return runEngine(m, ui, runner, "my yagi.inp", "my yagi.out", nullptr); }
};

TEST_F(EngineRunTest, WritesTheControlFileAndCallsTheLauncherWithReleasedTables) {
    int capacityDuringRun = 0;
    runner.program = [&](const test::ScriptedRunner::Call&) {
        capacityDuringRun = m.wireCapacity();
        writeText(report(), "fresh\n");
        return 0;
    };
    writeText(report() + ".old", "older\n");
    EXPECT_EQ(run(), EngineStatus::Finished);
    ASSERT_EQ(runner.calls.size(), 1u);
    EXPECT_EQ(runner.calls[0].argv, (Argv{tree.file("exe/wavra.sh"), "gen", "my yagi", "NEC2D512"}));
    EXPECT_EQ(runner.calls[0].workingDir, tree.path());
    EXPECT_EQ(readText(tree.file("exe/nec2d.tmp")), "../out/my yagi.inp\n../out/my yagi.out\n");
    EXPECT_EQ(capacityDuringRun, 1);
    EXPECT_EQ(m.wireCapacity(), 512);
    EXPECT_EQ(m.farFieldCapacity(), 6000);
    EXPECT_FALSE(pathExists(report() + ".old"));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(EngineRunTest, SommerfeldGroundWritesItsRequestOrUsesAnExistingGroundFile) {
    engineWritesReport();
    m.groundType = 2;
    m.groundEpsilon = 13;
    m.groundSigma = 0.005;
    m.frequencyMHz = 7.1;
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(runner.calls.back().argv, (Argv{tree.file("exe/wavra.sh"), "som", "out/135710.gnd", "NEC2D512"}));
    EXPECT_EQ(readText(tree.file("exe/som2d.tmp")), "13,0.005,7.1,0\n");
    writeText(tree.file("out/135710.gnd"), "ground");
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(runner.calls.back().argv[1], "cop");
}

TEST_F(EngineRunTest, AnEngineThatLeavesNoReportFailsAndTheOldReportIsSetAside) {
    writeText(report(), "older result\n");
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_FALSE(pathExists(report()));
    EXPECT_EQ(readText(report() + ".old"), "older result\n");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"The NEC-2 engine NEC2D512 wrote no output file " + report() +
                                                      ".\nThe previous output is kept as " + report() + ".old."});
}

TEST_F(EngineRunTest, AFailingEngineIsReportedWithItsOwnErrorText) {
    runner.errors = "nec2c: ../out/x.inp: No such file or directory\n";
    runner.program = [this](const test::ScriptedRunner::Call&) {
        writeText(report(), "  GEOMETRY DATA CARD ERROR:\n  CARD'S MNEMONIC CODE TOO SHORT OR MISSING.\nmore\n");
        return 255;
    };
    EXPECT_EQ(run(), EngineStatus::Failed);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0],
              "The NEC-2 engine NEC2D512 failed (exit status 255).\n"
              "nec2c: ../out/x.inp: No such file or directory\n"
              "GEOMETRY DATA CARD ERROR:\n"
              "CARD'S MNEMONIC CODE TOO SHORT OR MISSING.");
}

TEST_F(EngineRunTest, ALauncherThatCannotStartIsReported) {
    runner.refuseStart = true;
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"The NEC-2 engine NEC2D512 could not be started: " +
                                                      tree.file("exe/wavra.sh") + ": No such file or directory"});
    EXPECT_EQ(m.wireCapacity(), 512); // tables are back after a failure too
}

TEST_F(EngineRunTest, ACancelledGroundQuestionRunsNothingAndLeavesTheReportAlone) {
    writeText(report(), "older result\n");
    m.groundRadials = 4; // with RP mode 0: no ground screen option
    m.groundType = 0;
    ui.queueAnswer(Answer::Cancel);
    EXPECT_EQ(run(), EngineStatus::Cancelled);
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_EQ(readText(report()), "older result\n");
    EXPECT_FALSE(pathExists(tree.file("exe/nec2d.tmp")));
}

TEST_F(EngineRunTest, AnInvalidEngineNameOrALineBreakInANameRunsNothing) {
    m.engineName = "&../../x";
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Engine name '../../x' is not valid."});
    m.engineName = "&NEC2D512";
    EXPECT_EQ(runEngine(m, ui, runner, "a\nb.inp", "a\nb.out", nullptr), EngineStatus::Failed);
    EXPECT_TRUE(runner.calls.empty());
}

TEST_F(EngineRunTest, TheWaitFlagShowsTheEngineConsole) {
    m.engineName = "?NEC2D512";
    runner.output = "wavra.sh: engine NEC2D512 ended with exit status 0\n";
    engineWritesReport();
    EXPECT_EQ(run(), EngineStatus::Finished);
    EXPECT_EQ(runner.calls[0].argv.back(), "pause");
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"NEC2D512 finished.\nwavra.sh: engine NEC2D512 ended with exit status 0"});
}

TEST_F(EngineRunTest, TheEnginesStderrNotesOfAFinishedRunGoToTheStatusList) {
    m.engineName = "&NEC2D_LA";
    runner.errors = "NEC2D_LA: the lapack engine /w/exe/nec2c-lapack is missing; running plain nec2c\n\n";
    engineWritesReport();
    std::vector<std::string> status;
    const StatusLineFn addStatus = [&](const std::string& line) { status.push_back(line); };
    EXPECT_EQ(runEngine(m, ui, runner, "my yagi.inp", "my yagi.out", nullptr, addStatus), EngineStatus::Finished);
    EXPECT_EQ(status,
              std::vector<std::string>{"NEC2D_LA: the lapack engine /w/exe/nec2c-lapack is missing; running plain nec2c"});
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(EngineRunTest, TheSpecialEngineRunsOnItsOwnThenItsReportIsTakenOver) {
    m.engineName = "&NEC32   ";
    engineWritesReport();
    EXPECT_EQ(run(), EngineStatus::Finished);
    ASSERT_EQ(runner.calls.size(), 2u);
    EXPECT_EQ(runner.calls[0].argv, (Argv{tree.file("exe/NEC32"), "../out/my yagi.inp", "-autodma"}));
    EXPECT_EQ(runner.calls[0].workingDir, tree.file("exe"));
    EXPECT_EQ(runner.calls[1].argv, (Argv{tree.file("exe/wavra.sh"), "ren", "my yagi", "my yagi.out"}));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Wait till NEC32 ready, then close window and enter OK"});
}

TEST_F(EngineRunTest, ProgressRunsAgainstThePreviousRunTime) {
    engineWritesReport();
    runner.pollsBeforeEnd = 3;
    m.summary.hasRunTime = true;
    m.summary.runTimeSeconds = 2.0;
    std::vector<int> seen;
    int expectedDuringRun = -1;
    auto progress = [&](int percent) {
        seen.push_back(percent);
        expectedDuringRun = m.expectedRunTime;
    };
    EXPECT_EQ(runEngine(m, ui, runner, "my yagi.inp", "my yagi.out", progress), EngineStatus::Finished);
    EXPECT_EQ(seen.size(), 4u); // cleared once, then once per time-out
    EXPECT_EQ(expectedDuringRun, 20);
    EXPECT_EQ(m.expectedRunTime, 0);

    m.summary.runTimeSeconds = 0.4; // below one second: no estimate
    seen.clear();
    runEngine(m, ui, runner, "my yagi.inp", "my yagi.out", progress);
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
