#include "engine/calculate.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "engine/deck_adapter.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

using test::readText;
using test::writeText;

class CalculateTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    test::ScriptedRunner runner;
    std::vector<std::string> status;
    std::vector<std::string> engineDecks; // as each run's engine read them
    RunHooks hooks;
    void SetUp() override {
        hooks.statusLine = [this](const std::string& line) { status.push_back(line); };
        runner.program = [this](const test::ScriptedRunner::Call& call) {
            const test::ControlledFiles files = test::controlledFiles(call);
            engineDecks.push_back(readText(files.deck));
            writeText(files.report, "report\n  TOTAL RUN TIME: 0 msec\n");
            return 0;
        };
    }
};

TEST_F(CalculateTest, FarFieldRunWritesTheAdaptedDeckAndReportsEachStep) {
    test::loadModel(m, tree, "yagi.nec", "yagi");
    m.calcKind = kCalcFarField;
    m.calcRange = {0, 90, 5, 0, 360, 5};
    EXPECT_EQ(runCalculation(m, ui, runner, hooks), std::optional<std::string>(".out"));
    const auto deck = test::readLinesOf(tree.file("out/yagi.inp"));
    ASSERT_GE(deck.size(), 2u);
    EXPECT_EQ(deck.rbegin()[1], "RP, 0, 19, 73, 1000, 0.0, 0.0, 5.0, 5.0");
    EXPECT_EQ(deck.back(), "EN");
    EXPECT_EQ(status,
              (std::vector<std::string>{"Converting yagi.nec to yagi.inp", "RP, 0, 19, 73, 1000, 0.0, 0.0, 5.0, 5.0",
                                        "Generating nec-2 output file yagi.out"}));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CalculateTest, ALongNameRunsOnItsShortDeckAndReportsUnderTheFullName) {
    test::loadModel(m, tree, "dipole.nec", "dipole-12chr");
    writeText(tree.report("dipole-1.out"), "another model's report\n");
    m.calcKind = kCalcOriginal;
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Finished);
    EXPECT_EQ(engineDecks.at(0), readText(tree.file("out/dipole-1.inp")));
    EXPECT_EQ(readText(tree.report("dipole-1.out")), "another model's report\n");
    EXPECT_TRUE(pathExists(tree.report("dipole-12chr.out")));
    // The deck runs unchanged: the engine input writer's deck.
    EXPECT_EQ(test::readLinesOf(tree.file("out/dipole-1.inp")).rbegin()[1], "RP, 0, 37, 73, 1000, 0, 0, 5, 5");
}

TEST_F(CalculateTest, AnEngineDeckModelIsNeverOverwrittenByItsAdaptation) {
    const std::string deck = "GW 1 11 0 -5 0 0 5 0 0.001\nEX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\nXQ\nEN\n";
    writeText(tree.file("out/deck.inp"), deck);
    tree.prepare(m);
    m.modelDir = tree.file("out/");
    m.modelName = "deck";
    m.modelExt = ".inp";
    m.calcKind = kCalcFarField;
    m.calcRange = {0, 90, 90, 0, 0, 1};
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Finished);
    EXPECT_EQ(readText(tree.file("out/deck.inp")), deck);
    EXPECT_EQ(test::readLinesOf(tree.file("out/deck-calc.inp")).rbegin()[1], "RP, 0, 2, 1, 0, 0.0, 0.0, 90.0, 1.0");
    EXPECT_EQ(engineDecks.at(0), readText(tree.file("out/deck-calc.inp")));
    EXPECT_TRUE(pathExists(tree.report("deck.out")));
}

TEST_F(CalculateTest, MissingModelsAndReportsAsModelsAreRefusedClearly) {
    tree.prepare(m);
    m.modelName = "absent";
    m.calcKind = kCalcOriginal;
    EXPECT_EQ(runCalculation(m, ui, runner, hooks), std::nullopt);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Open failure on NEC-2 input file " + tree.file("absent.nec") +
                                                      ": No such file or directory"});
    ui.clear();
    writeText(tree.report("absent.out"), "report\n");
    m.modelDir = tree.file("out/");
    m.modelExt = ".out";
    EXPECT_EQ(runCalculation(m, ui, runner, hooks), std::nullopt);
    EXPECT_EQ(readText(tree.report("absent.out")), "report\n");
    m.modelExt = ".nec";
    m.calcKind = 7;
    EXPECT_EQ(runCalculation(m, ui, runner, hooks), std::nullopt);
    EXPECT_EQ(ui.messages().back(), "Unknown calculation choice 7.");
    EXPECT_TRUE(runner.calls.empty());
}

TEST_F(CalculateTest, ItsHfRunsHandTheReportOnButNotWithASurfaceWave) {
    test::loadModel(m, tree, "dipole.nec", "dipole");
    int handedOn = 0;
    // The run's own report, as it read it, never a file found by name.
    hooks.itsHf = [&](Model&, Ui&, const std::string& report) {
        EXPECT_EQ(report, "report\n  TOTAL RUN TIME: 0 msec\n");
        ++handedOn;
    };
    m.calcKind = kCalcItsHfArea;
    m.calcRange = {30, 0, 0, 14.2};
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Finished);
    EXPECT_EQ(handedOn, 1);
    m.surfaceWaveFlag = -1;
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Surface wave selected in RP card, ItsHF generation not possible."});
    EXPECT_EQ(handedOn, 1);
    EXPECT_EQ(runner.calls.size(), 1u);
}

TEST_F(CalculateTest, ACardTheEngineDoesNotKnowIsNamedWithItsLineBeforeTheRun) {
    tree.prepare(m);
    m.modelName = "foreign";
    m.calcKind = kCalcOriginal;
    const std::string head =
        "CM a card from another program\nCE\n' the length\nSY len=5\n"
        "GW 1 11 0 -len 0 0 len 0 0.001\nGE 0\nEX 0 1 6 0 1 0\n";
    writeText(tree.file("foreign.nec"), head + "zz 0 1\nFR 0 1 0 0 14 0\nEN\n");
    const std::string question =
        "Card 'ZZ' in line 8 is not a NEC-2 card; nec2c stops at it. Remove it or turn it into a comment.";
    // Cancel leaves the model as it was, although the question comes after
    // the deck was converted and adapted to a far field at 7 MHz.
    m.calcKind = kCalcFarField;
    m.calcRange = {0, 90, 5, 0, 360, 5};
    m.calcFrequencyMHz = 7;
    m.frequencyMHz = 3.5;
    m.freqCount = 4;
    m.requestMode = kNoRequest;
    m.requestXnda = 1000; // no gain recommendation before the question
    m.wireCount = 1;      // the wire table of the model shown, not the deck's
    m.wireTag[1] = 7;
    m.wireY1[1] = -2.5;
    const Model before = m;
    ui.queueAnswer(Answer::Cancel);
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Cancelled);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{question});
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_EQ(m.frequencyMHz, 3.5);
    EXPECT_EQ(m.freqCount, 4);
    EXPECT_EQ(m.requestMode, kNoRequest);
    EXPECT_EQ(m.calcPresets[1][0], before.calcPresets[1][0]);
    EXPECT_EQ(m.constCount, before.constCount);
    EXPECT_EQ(m.wireCount, 1);
    EXPECT_EQ(m.wireTag[1], 7);
    EXPECT_EQ(m.wireY1[1], -2.5);
    EXPECT_EQ(m.wireY1[2], 0); // beyond the used rows
    EXPECT_EQ(m.wireCapacity(), before.wireCapacity());
    m.calcKind = kCalcOriginal;

    ui.clear();
    ui.queueAnswer(Answer::Ok); // runs the deck as it is
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Finished);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{question});
    EXPECT_NE(engineDecks.at(0).find("\nZZ, 0, 1\n"), std::string::npos) << engineDecks.at(0);

    ui.clear(); // after EN the engine reads nothing
    writeText(tree.file("foreign.nec"), head + "FR 0 1 0 0 14 0\nEN\nZZ 0 1\n");
    EXPECT_EQ(calculate(m, ui, runner, hooks), EngineStatus::Finished);
    EXPECT_TRUE(ui.messages().empty()) << ui.messages().front();
}

std::vector<std::string> warningsFor(const Model& m) {
    RecordingUi ui;
    showCalcWarnings(m, ui);
    return ui.messages();
}

TEST(CalcWarnings, XndaRecommendationComesAloneForPatternRuns) {
    Model m;
    m.calcKind = kCalcFarField;
    m.requestXnda = 0;
    m.calcRange = {0, 10, 5, 0, 10, 5};
    EXPECT_EQ(warningsFor(m), std::vector<std::string>{"Horizontal and Vertical gain option (XNDA=1xxx) recommended."});
    m.calcKind = kCalcFrequencyLoop;
    m.calcSubMode = 0; // no pattern, no recommendation
    EXPECT_TRUE(warningsFor(m).empty());
}

TEST(CalcWarnings, AverageGainDoubtsNameTheRangeAndTheLoads) {
    Model m;
    m.calcKind = kCalcFarField;
    m.requestXnda = 1001;
    m.calcRange = {0, 45, 5, 0, 360, 5};
    m.loadTag[1] = 3;
    EXPECT_EQ(warningsFor(m),
              (std::vector<std::string>{"Aver-gain test may be unreliable, use Theta from 0 to 90 or 180",
                                        "All loads should be removed for average gain test."}));
    m.calcRange = {0, 90, 5, 0, 180, 5};
    m.loadTag[1] = kEmptyTag;
    EXPECT_EQ(warningsFor(m), std::vector<std::string>{"Aver-gain test may be unreliable, use Phi from 0 to 360"});
    m.surfaceWaveFlag = -1;
    EXPECT_TRUE(warningsFor(m).empty());
}

} // namespace
} // namespace wavra
