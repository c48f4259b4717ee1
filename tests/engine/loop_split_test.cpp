// Which frequency loops are split, and the part decks' frequencies.
#include "engine/loop_split.h"

#include <gtest/gtest.h>

#include "engine/engine_choice.h"
#include "engine/run_plan.h"

namespace wavra {
namespace {

TEST(EngineCardTest, FieldsAreReadAsTheEngineReadsThem) {
    const auto card = readEngineCard("fr,0\t11  0,0 +14.05 .1E0");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->mnemonic, "FR");
    EXPECT_EQ(card->ints, (std::array<int, 4>{0, 11, 0, 0}));
    EXPECT_EQ(card->reals[0], 14.05);
    EXPECT_EQ(card->reals[1], 0.1);
    EXPECT_EQ(card->reals[2], 0.0); // missing fields are 0
    EXPECT_EQ(readEngineCard("XQ")->ints[0], 0);
    // The engine stops on a letter in a number and on a lone letter.
    EXPECT_FALSE(readEngineCard("FR 0 1x 0 0 14 0"));
    EXPECT_FALSE(readEngineCard("FR 0 1 0 0 14 0.1q"));
    EXPECT_FALSE(readEngineCard("F"));
    // Beyond 132 characters the engine reads nothing.
    EXPECT_EQ(readEngineCard("FR 0 1 0 0 " + std::string(121, ' ') + "14")->reals[0], 0.0);
}

TEST(EngineCardTest, AWrittenCardReadsBackToTheSameDoubles) {
    EngineCard card{"FR", {1, 7, 0, 0}, {14.299999999999999, 1.0 / 3, 0, 0, 0, 0}};
    const std::string line = engineCardLine(card);
    EXPECT_EQ(line, "FR 1 7 0 0 14.299999999999999 0.3333333333333333");
    EXPECT_EQ(readEngineCard(line)->reals, card.reals);
}

// A dipole deck with the given control cards.
std::string deck(const std::string& control) {
    return "CM test\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\n" + control + "EN\n";
}

struct SplitCase {
    std::string name;
    std::string control;
    bool split;
};

// Failure messages and `ctest -N` name the case, not its bytes.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplittableLoopTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplittableLoopTest, IsSplitOnlyWhenEveryStepPrintsAlike) {
    EXPECT_EQ(splittableLoop(deck(GetParam().control)).has_value(), GetParam().split);
}

INSTANTIATE_TEST_SUITE_P(
    Decks, SplittableLoopTest,
    ::testing::Values(SplitCase{"PatternLoop", "EX 0 1 6 0 1 0\nFR 0 11 0 0 14 0.1\nRP 0 19 1 1000 0 0 5 0\n", true},
                      SplitCase{"NearFieldWaitsForTheLoop", "FR 0 4 0 0 14 0.1\nNE 0 1 1 1 0 0 1 0 0 0\nXQ\n", true},
                      SplitCase{"SkippedXqAfterThePattern", "FR 0 4 0 0 14 0.1\nRP 0 19 1 1000 0 0 5 0\nXQ 0\n", true},
                      SplitCase{"OneFrequencyBeforeTheLoop",
                                "FR 0 1 0 0 7 0\nXQ\nPQ -1\nPT -1\nFR 0 4 0 0 14 0.1\nXQ\n", true},
                      SplitCase{"ThreeStepsOnly", "FR 0 3 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"TwoLoops", "FR 0 4 0 0 7 0.1\nXQ\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"PatternAfterTheLoop", "FR 0 4 0 0 14 0.1\nXQ\nRP 0 19 1 1000 0 0 5 0\n", false},
                      SplitCase{"NoCalculation", "FR 0 4 0 0 14 0.1\nNE 0 1 1 1 0 0 1 0 0 0\n", false},
                      SplitCase{"PlaneWave", "EX 1 1 1 0 90 0 0\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"NormalisedImpedanceTable", "EX 0 1 6 1 1 0\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"ReceivingPatternPrint", "PT 2 0 0 0\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"SommerfeldGround", "GN 2 0 0 0 13 0.005\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"PlotFile", "PL 3 1 0 0\nFR 0 4 0 0 14 0.1\nXQ\n", false},
                      SplitCase{"NextJob", "FR 0 4 0 0 14 0.1\nXQ\nNX\n", false},
                      SplitCase{"UnreadableCard", "FR 0 4 0 0 14 0.1x\nXQ\n", false}),
    [](const ::testing::TestParamInfo<SplitCase>& testCase) { return testCase.param.name; });

TEST(SplittableLoopTest, NoEnCardNoSplit) {
    EXPECT_FALSE(splittableLoop("CM\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\nFR 0 4 0 0 14 0.1\nXQ\n"));
}

TEST(SplitStepsTest, PartsAreConsecutiveNeverShorterThanTwoSteps) {
    auto sizes = [](int steps, int parts) {
        std::vector<int> found;
        int next = 0;
        for (const LoopPart& p : splitSteps(steps, parts)) {
            EXPECT_EQ(p.first, next);
            next += p.steps;
            found.push_back(p.steps);
        }
        EXPECT_EQ(next, steps);
        return found;
    };
    EXPECT_EQ(sizes(11, 2), (std::vector<int>{5, 6}));
    EXPECT_EQ(sizes(11, 7), (std::vector<int>{2, 2, 2, 2, 3}));
    EXPECT_EQ(sizes(16, 2), (std::vector<int>{8, 8}));
    EXPECT_EQ(sizes(3, 4), (std::vector<int>{3}));
    EXPECT_EQ(sizes(11, 1), (std::vector<int>{11}));
    EXPECT_EQ(sizes(11, 0), (std::vector<int>{11}));
}

TEST(SplitStepsTest, TheHeaderCountsAsStepsOfTheFirstPartOnly) {
    auto parts = [](int steps, int count, int header) {
        std::vector<std::pair<int, bool>> found;
        int next = 0;
        for (const LoopPart& p : splitSteps(steps, count, header)) {
            EXPECT_EQ(p.first, next);
            next += p.steps;
            found.emplace_back(p.steps, p.header);
        }
        EXPECT_EQ(next, steps);
        return found;
    };
    using Parts = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(parts(8, 2, 1), (Parts{{3, true}, {5, false}}));
    EXPECT_EQ(parts(11, 2, 1), (Parts{{5, true}, {6, false}}));
    EXPECT_EQ(parts(9, 3, 2), (Parts{{2, true}, {3, false}, {4, false}}));
    // Never below two steps, whatever the header costs.
    EXPECT_EQ(parts(6, 3, 5), (Parts{{2, true}, {2, false}, {2, false}}));
    EXPECT_EQ(parts(11, 1, 1), (Parts{{11, true}}));
    // A header that costs nothing (its matrix kept for the loop), and one
    // that every part makes.
    EXPECT_EQ(parts(8, 2, 0), (Parts{{4, true}, {4, false}}));
    EXPECT_EQ(parts(8, 2, -1), (Parts{{4, true}, {4, true}}));
}

TEST(PartDeckTest, PartsWithoutTheHeaderRepeatTheFrequencyCardInPlaceOfItsCalculations) {
    const auto loop = splittableLoop(
        deck("FR 0 1 0 0 7 0\nXQ\nRP 0 1 1 1000 0 0 0 0\nFR 0 1 0 0 9 0\nXQ\nPQ -1\nFR 0 4 0 0 14 0.1\nXQ\n"));
    ASSERT_TRUE(loop);
    EXPECT_EQ(loop->headerSolutions, 2);
    const std::string withHeader = *partDeck(*loop, {0, 2, true});
    EXPECT_NE(withHeader.find("FR 0 1 0 0 7 0\nXQ\nRP 0 1 1 1000 0 0 0 0\nFR 0 1 0 0 9 0\nXQ\n"), std::string::npos);
    const std::string without = *partDeck(*loop, {2, 2, false});
    EXPECT_NE(without.find("FR 0 1 0 0 7 0\nFR 0 1 0 0 7 0\nFR 0 1 0 0 7 0\nFR 0 1 0 0 9 0\nFR 0 1 0 0 9 0\nPQ -1\n"),
              std::string::npos)
        << without;
    EXPECT_NE(without.find("FR 0 2 0 0 14.2 0.1\nXQ\nEN"), std::string::npos) << without;
}

TEST(SplittableLoopTest, AHeaderAtTheLoopsFirstFrequencyCanKeepItsMatrixForTheLoop) {
    const auto at = [](const std::string& control) { return splittableLoop(deck(control))->headerAtLoopStart; };
    EXPECT_TRUE(at("FR 0 1 0 0 14 0\nXQ\nPQ -1\nPT -1\nFR 0 4 0 0 14 0.1\nRP 0 1 1 1000 0 0 0 0\n"));
    EXPECT_FALSE(at("FR 0 1 0 0 14 0\nXQ\nLD 0 1 5 5 30\nFR 0 4 0 0 14 0.1\nXQ\n"));          // a new load
    EXPECT_FALSE(at("FR 0 1 0 0 7 0\nXQ\nFR 0 4 0 0 14 0.1\nXQ\n"));                          // another frequency
    EXPECT_FALSE(at("NT 1 5 1 6 0 1 0 0 0 0\nFR 0 1 0 0 14 0\nXQ\nFR 0 4 0 0 14 0.1\nXQ\n")); // a network
    EXPECT_FALSE(at("FR 0 4 0 0 14 0.1\nXQ\n"));                                              // no header
}

TEST(PartDeckTest, EveryPartMakesTheHeaderWhenAPartWithoutItWouldDiffer) {
    // A conductivity scaled at the calculation before the loop.
    EXPECT_TRUE(
        splittableLoop(deck("GN 0 0 0 0 13 -0.3\nFR 0 1 0 0 7 0\nXQ\nFR 0 4 0 0 14 0.1\nXQ\n"))->header.empty());
    // A calculation at the engine's own first frequency: no FR card to repeat.
    EXPECT_TRUE(splittableLoop(deck("XQ\nFR 0 4 0 0 14 0.1\nXQ\n"))->header.empty());
    EXPECT_FALSE(
        splittableLoop(deck("GN 0 0 0 0 13 0.3\nFR 0 1 0 0 7 0\nXQ\nFR 0 4 0 0 14 0.1\nXQ\n"))->header.empty());
}

TEST(PartDeckTest, EachPartStartsWhereTheEnginesOwnAccumulationGets) {
    for (const char* card : {"FR 0 11 0 0 14.0 0.05", "FR 1 11 0 0 3.5 1.1"}) {
        const auto loop = splittableLoop(deck(std::string(card) + "\nXQ\n"));
        ASSERT_TRUE(loop);
        const EngineCard fr = *readEngineCard(card);
        double engine = fr.reals[0]; // as nec2c steps: fmhz += step, or fmhz *= step
        for (int i = 0; i < 7; ++i) engine = fr.ints[0] == 1 ? engine * fr.reals[1] : engine + fr.reals[1];
        EXPECT_EQ(loopFrequency(fr, 7), engine);
        const std::string part = *partDeck(*loop, {7, 4});
        const EngineCard written = *readEngineCard(part.substr(part.find("FR")));
        EXPECT_EQ(written.reals[0], engine) << part;
        EXPECT_EQ(written.ints[1], 4);
    }
}

TEST(PartDeckTest, PartsAfterTheFirstGetTheConductivityOfTheFirstStep) {
    const auto loop = splittableLoop(deck("GN 0 0 0 0 13 -0.3\nFR 0 4 0 0 14.0 0.1\nXQ\n"));
    ASSERT_TRUE(loop);
    const std::string first = *partDeck(*loop, {0, 2});
    const std::string second = *partDeck(*loop, {2, 2});
    EXPECT_NE(first.find("GN 0 0 0 0 13 -0.3\n"), std::string::npos);
    const EngineCard ground = *readEngineCard(second.substr(second.find("GN")));
    // nec2c: sig = -sig / (59.96 * wavelength) with the wavelength 299.8 / MHz.
    EXPECT_EQ(ground.reals[1], 0.3 / (59.96 * (299.8 / 14.0)));
    // A ground calculated before the loop was scaled there, alike in every part.
    const auto scaledBefore = splittableLoop(deck("GN 0 0 0 0 13 -0.3\nXQ\nFR 0 4 0 0 14.0 0.1\nXQ\n"));
    ASSERT_TRUE(scaledBefore);
    EXPECT_FALSE(scaledBefore->groundLine);
}

TEST(RunPlanTest, TheHeaderIsAStepOfTheFirstPartUnlessTheEngineKeepsItsMatrixForTheLoop) {
    Model m;
    m.parallelRuns = 2;
    const std::string sweep = deck("FR 0 1 0 0 14 0\nXQ\nPQ -1\nPT -1\nFR 0 8 0 0 14 0.1\nRP 0 1 1 1000 0 0 0 0\n");
    selectEngine(m, "NEC2D512");
    EXPECT_EQ(planRun(m, sweep).steps, (std::vector<int>{3, 5}));
    selectEngine(m, kLapackEngine);
    const RunPlan plan = planRun(m, sweep);
    EXPECT_EQ(plan.steps, (std::vector<int>{4, 4}));
    EXPECT_EQ(plan.headers, (std::vector<bool>{true, false}));
}

TEST(RunPlanTest, TheCoresAreSharedAmongTheParts) {
    Model m;
    m.parallelRuns = 2;
    const RunPlan plan = planRun(m, deck("FR 0 16 0 0 14 0.1\nXQ\n"));
    EXPECT_EQ(plan.decks.size(), 2u);
    EXPECT_EQ(plan.totalSteps(), 16);
    EXPECT_GE(plan.threads, 1);
    m.parallelRuns = 1;
    EXPECT_EQ(planRun(m, deck("FR 0 16 0 0 14 0.1\nXQ\n")).decks.size(), 1u);
    EXPECT_EQ(planRun(m, deck("FR 0 16 0 0 14 0.1\nXQ\n")).threads, 0);
}

} // namespace
} // namespace wavra
