// Runs of the real nec2c through the real launcher in a temporary install
// tree with the staged engine links.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/files.h"
#include "engine/calculate.h"
#include "engine/deck_adapter.h"
#include "engine/engine_choice.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

using test::readText;
using test::writeText;

class EndToEndTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();

    void load(const std::string& example, const std::string& name, int kind) {
        test::loadModel(m, tree, example, name);
        m.calcKind = static_cast<int16_t>(kind);
    }
    std::optional<std::string> calc() { return runCalculation(m, ui, *runner, {}); }
    std::string report() const { return readText(tree.report(m.modelName + ".out")); }
    std::vector<std::string> messagesWith(const std::string& part) const {
        std::vector<std::string> found;
        for (const auto& text : ui.messages())
            if (text.find(part) != std::string::npos) found.push_back(text);
        return found;
    }
};

// The report is nec2c's and holds no error.
void expectCleanReport(const std::string& text) {
    EXPECT_NE(text.find("NUMERICAL ELECTROMAGNETICS CODE (nec2c)"), std::string::npos);
    EXPECT_EQ(text.find("ERROR"), std::string::npos);
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

TEST_F(EndToEndTest, OriginalDeckRunsAndAnOlderReportIsReplaced) {
    load("dipole.nec", "dipole", kCalcOriginal);
    writeText(tree.report("dipole.out"), "older report\n");
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
    EXPECT_TRUE(ui.messages().empty()) << ui.messages().front();
}

TEST_F(EndToEndTest, FarFieldOfTheYagiWithSymbols) {
    load("yagi.nec", "yagi", kCalcFarField);
    m.calcRange = {0, 90, 5, 0, 355, 5};
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    const std::string text = report();
    expectCleanReport(text);
    EXPECT_NE(text.find("RADIATION PATTERNS"), std::string::npos);
}

TEST_F(EndToEndTest, FrequencyLoopOverSommerfeldGroundKeepsTheGroundAtEveryFrequency) {
    load("vertical.nec", "vertical", kCalcFrequencyLoop);
    m.calcSubMode = 1;
    m.calcRange = {7.0, 7.2, 0.1, 0, 90, 10, 0, 0, 1};
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    const std::string text = report();
    expectCleanReport(text);
    // Sommerfeld solution with 5 mS/m at each of the three sweep
    // frequencies and at the deck's own frequency before the sweep.
    EXPECT_EQ(occurrences(text, "FINITE GROUND - SOMMERFELD SOLUTION"), 4u);
    EXPECT_EQ(occurrences(text, "CONDUCTIVITY:  5.000E-03 MHOS/METER"), 4u);
    EXPECT_EQ(m.freqCount, 3);
}

TEST_F(EndToEndTest, NearFieldRunsWithTheElectricAndTheMagneticField) {
    load("nearfield.nec", "nearfield", kCalcNearField);
    m.calcSubMode = 1;
    m.calcRange = {-1, 1, 0.5, 1, 1, 1, -2, 2, 1};
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
    EXPECT_NE(report().find("NEAR ELECTRIC FIELDS"), std::string::npos);
    m.calcSubMode = 2;
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
    EXPECT_NE(report().find("NEAR MAGNETIC FIELDS"), std::string::npos);
}

TEST_F(EndToEndTest, PhasedArraySweepWithLoadsAndLine) {
    load("phased.nec", "phased", kCalcFrequencyLoop);
    m.calcSubMode = 3;
    m.calcRange = {21.0, 21.4, 0.2, 90, 90, 1, 0, 0, 1};
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
}

TEST_F(EndToEndTest, AModelNameWithBlanksQuotesSemicolonsAndNonAsciiLettersIsOnlyAName) {
    const std::string name = "Yagi-ÄÖÜ 'q' \"x\"; rm -rf y";
    load("yagi.nec", name, kCalcFarField);
    m.calcRange = {0, 90, 45, 0, 90, 45};
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(readText(tree.report(name + ".out")));
    EXPECT_TRUE(pathExists(tree.file(name + ".nec")));
}

TEST_F(EndToEndTest, ModelNamesLongerThanTheEnginesFileNameLimitAreCalculated) {
    // nec2c takes file names of up to 80 bytes, "../out/" and ".out" included.
    const std::string ascii = "a-dipole-with-a-name-much-longer-than-the-sixty-four-bytes-of-the-engine";
    std::string letters;
    for (int i = 0; i < 40; ++i) letters += "\xC3\x84"; // 40 times Ä: 80 bytes
    for (const std::string& name : {ascii, letters}) {
        load("dipole.nec", name, kCalcOriginal);
        ui.clear();
        EXPECT_EQ(calc(), std::optional<std::string>(".out")) << (ui.messages().empty() ? "" : ui.messages()[0]);
        expectCleanReport(readText(tree.report(name + ".out")));
    }
}

TEST_F(EndToEndTest, TheLauncherStartedOnItsOwnReadsExeNec2dTmp) {
    writeText(tree.file("out/alone.inp"),
              "CM alone\nCE\nGW 1 11 0 -5 0 0 5 0 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
              "FR 0 1 0 0 14 0\nXQ\nEN\n");
    writeText(tree.file("exe/nec2d.tmp"), "../out/alone.inp\n../out/alone.out\n");
    const test::RunResult r = test::runProgram({tree.file("exe/wavra.sh"), "gen", "alone", "NEC2D512"}, tree.path());
    EXPECT_EQ(r.status, 0) << r.err;
    expectCleanReport(readText(tree.report("alone.out")));
}

TEST_F(EndToEndTest, ThePlotFileOfAPlCardLandsBesideTheEngineDeck) {
    tree.prepare(m);
    m.modelName = "plotted";
    m.calcKind = kCalcOriginal;
    writeText(tree.file("plotted.nec"),
              "CM plot\nCE\nGW 1 11 0 -5 0 0 5 0 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
              "FR 0 1 0 0 14 0\nPL 3 1 0 0\nRP 0 1 1 1000 0 0 0 0\nEN\n");
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    EXPECT_TRUE(pathExists(tree.file("out/plotted.inp.plt")));
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
}

TEST_F(EndToEndTest, EveryEngineNameRunsNec2cAndTheLapackCapacityCardIsHandled) {
    load("dipole.nec", "dipole", kCalcOriginal);
    for (const auto& engine : engineNames()) {
        selectEngine(m, engine);
        const bool lapack = engine == kLapackEngine;
        if (lapack) m.maxSegments = 3000;
        ui.clear();
        EXPECT_EQ(calc(), std::optional<std::string>(".out")) << engine;
        expectCleanReport(report());
        const auto deck = test::readLinesOf(tree.file("out/dipole.inp"));
        EXPECT_EQ(std::count(deck.begin(), deck.end(), "SZ 3000 0"), lapack ? 1 : 0) << engine;
    }
}

TEST_F(EndToEndTest, TheEngineChosenBySegmentCountRuns) {
    load("dipole.nec", "dipole", kCalcOriginal);
    setexe(m, ui, 1393);
    EXPECT_EQ(m.engineName, "&NEC2D1K9");
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
}

TEST_F(EndToEndTest, DecksTheEngineRejectsAreFailuresWithTheEnginesWordsAndTheLastGoodReportStays) {
    tree.prepare(m);
    m.modelName = "broken";
    m.calcKind = kCalcOriginal;
    const std::string head = "CM broken\nCE\nGW 1 11 0 0 0 0 0 1 0.001\nGE 0\n";
    const std::string tail = "FR 0 1 0 0 14 0\nXQ\nEN\n";
    writeText(tree.file("broken.nec"), head + tail);
    ASSERT_EQ(calc(), std::optional<std::string>(".out"));
    const std::string good = report();

    writeText(tree.file("broken.nec"), head + "ZZ 0 1\n" + tail); // a card of another program
    EXPECT_EQ(calc(), std::nullopt);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0],
              "Card 'ZZ' in line 5 is not a NEC-2 card; nec2c stops at it. Remove it or turn "
              "it into a comment.");
    const std::string& failure = ui.messages()[1];
    EXPECT_EQ(failure.rfind("The NEC-2 engine NEC2D512 failed (exit status 255).\nThe report ends with:\n", 0), 0u)
        << failure;
    EXPECT_NE(failure.find("FAULTY DATA CARD LABEL AFTER GEOMETRY SECTION\nThe report of this run is kept as "
                           "out/broken.out.failed; the last complete report out/broken.out stays as it was."),
              std::string::npos)
        << failure;
    EXPECT_NE(readText(tree.report("broken.out.failed")).find("FAULTY DATA CARD LABEL"), std::string::npos);
    EXPECT_EQ(report(), good);

    ui.clear();
    writeText(tree.file("broken.nec"), "CM broken\nCE\nGW 1 0 0 0 0 0 0 1 0.001\nGE 0\n" + tail); // no segments
    EXPECT_EQ(calc(), std::nullopt);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("nec2c: floating point exception"), std::string::npos) << ui.messages()[0];
    EXPECT_EQ(report(), good); // two failures later
}

TEST_F(EndToEndTest, AMissingEngineIsAFailureAndTheLastReportStays) {
    load("dipole.nec", "dipole", kCalcOriginal);
    ASSERT_EQ(calc(), std::optional<std::string>(".out"));
    const std::string good = report();
    deleteFile(tree.file("exe/NEC2D512"));
    EXPECT_EQ(calc(), std::nullopt);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"The NEC-2 engine NEC2D512 failed (exit status 127).\n"
                                                      "wavra.sh: no engine NEC2D512 in " +
                                                      tree.path() +
                                                      "exe\n"
                                                      "The last complete report out/dipole.out stays as it was."});
    EXPECT_EQ(report(), good);
    EXPECT_FALSE(pathExists(tree.report("dipole.out.failed")));

    ui.clear();
    deleteFile(tree.file("exe/wavra.sh"));
    EXPECT_EQ(calc(), std::nullopt);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("The NEC-2 engine NEC2D512 could not be started: ", 0), 0u);
}

TEST_F(EndToEndTest, ACancelledGroundQuestionRunsNoEngine) {
    load("dipole.nec", "dipole", kCalcFarField);
    m.calcRange = {0, 90, 5, 0, 0, 1};
    writeText(tree.file("dipole.nec"),
              "GW 1 11 0 -5 0 0 5 0 0.001\nGE 0\nGN 1\nEX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\n"
              "RP 0 1 1 1000 0 0 0 0\nEN\n");
    m.wireZ1[1] = 0; // a wire on the ground without the ground-plane option
    ui.queueAnswer(Answer::Cancel);
    writeText(tree.report("dipole.out"), "older report\n");
    EXPECT_EQ(calc(), std::nullopt);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Note: Ground(plane) option for GE card not set."});
    EXPECT_EQ(report(), "older report\n");
}

TEST_F(EndToEndTest, TheSpecialEngineReportIsTakenOverByTheLauncher) {
    load("dipole.nec", "dipole", kCalcOriginal);
    selectEngine(m, kSpecialEngine);
    EXPECT_EQ(calc(), std::optional<std::string>(".out"));
    expectCleanReport(report());
    EXPECT_FALSE(pathExists(tree.report("dipole.n32")));
}

} // namespace
} // namespace wavra
