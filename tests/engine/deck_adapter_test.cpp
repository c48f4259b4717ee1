#include "engine/deck_adapter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"

namespace wavra {
namespace {

using test::deckLines;
using Lines = std::vector<std::string>;

// A numeric deck as the engine input writer leaves it: a dipole in free
// space with its own 11-step frequency loop and a far-field request.
const std::string kHead = "CM test\nCE\nGW, 1, 11, 0, -5, 0, 0, 5, 0, 0.001\nGE, 0\nEX, 0, 1, 6, 0, 1, 0\n";
const std::string kDeck = kHead + "FR, 0, 11, 0, 0, 14.0, 0.05\nRP, 0, 37, 73, 1000, 0, 0, 5, 5\nEN\n";
const Lines kHeadLines = {"CM test", "CE", "GW, 1, 11, 0, -5, 0, 0, 5, 0, 0.001", "GE, 0", "EX, 0, 1, 6, 0, 1, 0"};
const std::string kReducedFr = "FR, 0, 1, 0, 0, 14.0, 0.0, 0.0, 0.0";

Lines concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DeckAdapterTest : public ::testing::Test {
protected:
    Model m;
    void SetUp() override {
        m.requestMode = 0;
        m.requestXnda = 1000;
    }
    void choose(int kind, int sub, std::array<double, 9> range) {
        m.calcKind = static_cast<int16_t>(kind);
        m.calcSubMode = static_cast<int16_t>(sub);
        m.calcRange = range;
    }
    Lines adapt(const std::string& deck) { return deckLines(adaptDeck(m, deck).text); }
};

TEST_F(DeckAdapterTest, FarFieldReducesTheDecksLoopAndWritesItsPattern) {
    choose(kCalcFarField, 0, {0, 90, 5, 0, 360, 5});
    const AdaptedDeck a = adaptDeck(m, kDeck);
    const std::string rp = "RP, 0, 19, 73, 1000, 0.0, 0.0, 5.0, 5.0";
    EXPECT_EQ(deckLines(a.text), concat(kHeadLines, {"PQ, -1", "PT, -1", kReducedFr, rp, "EN"}));
    EXPECT_EQ(a.generated, (Lines{"PQ, -1", "PT, -1", kReducedFr, rp}));
    EXPECT_EQ(m.freqCount, 1);
    EXPECT_DOUBLE_EQ(m.frequencyMHz, 14.0);
    EXPECT_EQ(m.groundType, -1);
    EXPECT_EQ(m.calcPresets[1][0], rp);
}

TEST_F(DeckAdapterTest, FarFieldStopsAtTheSecondExecutionCardAndKeepsASingleFrequency) {
    choose(kCalcFarField, 0, {0, 90, 90, 0, 0, 1});
    m.requestDistance = 5000;
    m.surfaceWaveFlag = -1;
    const Lines out = adapt(kHead + "FR, 0, 1, 0, 0, 7.1, 0\nXQ\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\nNE, 0, 1, 1, 1\nEN\n");
    EXPECT_EQ(out, concat(kHeadLines,
                          {"FR, 0, 1, 0, 0, 7.1, 0", "RP, 1, 2, 1, 1000, 0.0, 0.0, 90.0, 1.0, 5000.0", "XQ", "EN"}));
    EXPECT_EQ(m.requestMode, 1);
    EXPECT_FALSE(m.calcPresets[1][1].empty()); // surface wave: column 1
    EXPECT_TRUE(m.calcPresets[1][0].empty());
}

TEST_F(DeckAdapterTest, FrequencyLoopWritesTheSweepAndTheVerticalCutAtTheEnd) {
    choose(kCalcFrequencyLoop, 1, {14.0, 14.35, 0.05, 0, 90, 5, 30, 60, 5});
    const Lines out = adapt(kDeck);
    const std::string sweep = "FR, 0, 8, 0, 0, 14.0, 0.05, 0.0, 0.0";
    const std::string cut = "RP, 0, 19, 1, 1000, 0.0, 30.0, 5.0, 1.0";
    EXPECT_EQ(out, concat(kHeadLines, {"PQ, -1", "PT, -1", kReducedFr, "XQ", "PQ, -1", "PT, -1", sweep, cut, "EN"}));
    EXPECT_EQ(m.freqCount, 8);
    EXPECT_EQ(m.calcPresets[2][0], sweep);
    EXPECT_EQ(m.calcPresets[3][0], cut);
    EXPECT_DOUBLE_EQ(m.calcRange[7], 30); // phi fixed at its start
}

TEST_F(DeckAdapterTest, FrequencyLoopSubOptionsFixTheirAngles) {
    const std::array<double, 9> range = {14.0, 14.35, 0.05, 10, 90, 5, 0, 355, 5};
    choose(kCalcFrequencyLoop, 2, range); // horizontal cut: theta fixed
    EXPECT_EQ(adapt(kDeck).rbegin()[1], "RP, 0, 1, 72, 1000, 10.0, 0.0, 1.0, 5.0");
    EXPECT_EQ(adapt(kDeck).rbegin()[5], "XQ"); // the deck's pattern became a plain run
    choose(kCalcFrequencyLoop, 3, range);      // one direction: both fixed, the deck's pattern stays
    const Lines gain = adapt(kDeck);
    EXPECT_EQ(gain.rbegin()[1], "RP, 0, 1, 1, 1000, 10.0, 0.0, 1.0, 1.0");
    EXPECT_EQ(gain.rbegin()[5], "RP, 0, 37, 73, 1000, 0, 0, 5, 5");
    EXPECT_EQ(m.calcPresets[5][0], gain.rbegin()[1]);
}

TEST_F(DeckAdapterTest, FrequencyLoopWithoutPatternEndsWithXqAndKeepsTheSweepPreset) {
    choose(kCalcFrequencyLoop, 0, {14.0, 14.35, 0.05});
    const Lines out = adapt(kDeck);
    EXPECT_EQ(out, concat(kHeadLines, {"PQ, -1", "PT, -1", kReducedFr, "RP, 0, 37, 73, 1000, 0, 0, 5, 5", "PQ, -1",
                                       "PT, -1", "FR, 0, 8, 0, 0, 14.0, 0.05, 0.0, 0.0", "XQ", "EN"}));
    EXPECT_EQ(m.calcPresets[2][0], "FR, 0, 8, 0, 0, 14.0, 0.05, 0.0, 0.0");
}

TEST_F(DeckAdapterTest, FrequencyLoopPutsTheSweepBeforeThePatternWhenTheDeckHasTwoExecutionCards) {
    choose(kCalcFrequencyLoop, 1, {7.0, 7.3, 0.1, 0, 90, 10, 0, 0, 1});
    const Lines out = adapt(kHead + "FR, 0, 1, 0, 0, 7.0, 0\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\nXQ\nEN\n");
    EXPECT_EQ(out, concat(kHeadLines,
                          {"FR, 0, 1, 0, 0, 7.0, 0", "XQ", "PQ, -1", "PT, -1", "FR, 0, 4, 0, 0, 7.0, 0.1, 0.0, 0.0",
                           "RP, 0, 10, 1, 1000, 0.0, 0.0, 10.0, 1.0", "EN"}));
}

TEST_F(DeckAdapterTest, ALoopEndingInANearFieldRequestIsExecutedAtEveryStep) {
    choose(kCalcFrequencyLoop, 0, {7.0, 7.2, 0.1});
    const std::string ne = "NE, 0, 5, 1, 1, -2, 0, 1, 1, 0, 0";
    const Lines out = adapt(kHead + "FR, 0, 1, 0, 0, 7.0, 0\nRP, 0, 1, 1, 1000, 90, 0, 0, 0\n" + ne + "\nEN\n");
    EXPECT_EQ(Lines(out.end() - 4, out.end()), (Lines{"FR, 0, 3, 0, 0, 7.0, 0.1, 0.0, 0.0", ne, "XQ", "EN"}));
}

TEST_F(DeckAdapterTest, FarFieldRunsAtTheAskedFrequencyWithOrWithoutAnFrCardAndStopsBeforeAnotherOne) {
    choose(kCalcFarField, 0, {0, 90, 45, 0, 0, 1});
    m.calcFrequencyMHz = 21.2;
    const Lines out = adapt(kHead +
                            "FR, 0, 1, 0, 0, 14.0, 0\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\n"
                            "FR, 0, 1, 0, 0, 28.0, 0\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\nEN\n");
    EXPECT_EQ(out, concat(kHeadLines, {"PQ, -1", "PT, -1", "FR, 0, 1, 0, 0, 21.2, 0.0, 0.0, 0.0",
                                       "RP, 0, 3, 1, 1000, 0.0, 0.0, 45.0, 1.0", "EN"}));
    EXPECT_DOUBLE_EQ(m.frequencyMHz, 21.2);

    // A deck without an FR card gets one, or the engine would run at its own.
    const Lines bare = adapt(kHead + "RP, 0, 1, 1, 1000, 0, 0, 0, 0\nEN\n");
    EXPECT_EQ(bare, concat(kHeadLines, {"PQ, -1", "PT, -1", "FR, 0, 1, 0, 0, 21.2, 0.0, 0.0, 0.0",
                                        "RP, 0, 3, 1, 1000, 0.0, 0.0, 45.0, 1.0", "EN"}));
}

TEST_F(DeckAdapterTest, GroundClampsTheThetaRangeOfTheChoiceOnly) {
    choose(kCalcFarField, 0, {-180, 180, 5, 0, 0, 1});
    adapt(kHead + "GN, 1\nFR, 0, 1, 0, 0, 14.0, 0\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\nEN\n");
    EXPECT_DOUBLE_EQ(m.calcRange[0], -90);
    EXPECT_DOUBLE_EQ(m.calcRange[1], 90);
    EXPECT_EQ(m.groundType, 1);

    choose(kCalcFrequencyLoop, 1, {144, 148, 0.5, -20, 120, 5, 0, 0, 1});
    const Lines out = adapt(kHead + "GN, 1\nFR, 0, 1, 0, 0, 144, 0\nRP, 0, 1, 1, 1000, 0, 0, 0, 0\nEN\n");
    EXPECT_DOUBLE_EQ(m.calcRange[1], 148); // the frequency stop is no angle
    EXPECT_DOUBLE_EQ(m.calcRange[3], -20);
    EXPECT_DOUBLE_EQ(m.calcRange[4], 90);
    EXPECT_EQ(out.rbegin()[2], "FR, 0, 9, 0, 0, 144.0, 0.5, 0.0, 0.0");
}

TEST_F(DeckAdapterTest, SommerfeldGroundKeepsItsPositiveConductivityInALoop) {
    choose(kCalcFrequencyLoop, 0, {7.0, 7.2, 0.1});
    const std::string gn = "GN, 2, 0, 0, 0, 13, 0.005";
    const Lines out = adapt(kHead + gn + "\nFR, 0, 1, 0, 0, 7.0, 0\nXQ\nEN\n");
    EXPECT_EQ(std::count(out.begin(), out.end(), gn), 1);
    EXPECT_EQ(std::count_if(out.begin(), out.end(), [](const std::string& l) { return l.substr(0, 2) == "GN"; }), 1);
    EXPECT_DOUBLE_EQ(m.groundSigma, 0.005);
    EXPECT_DOUBLE_EQ(m.groundEpsilon, 13);
    EXPECT_EQ(m.groundType, 2);
}

TEST_F(DeckAdapterTest, RadialsTurnTheGroundScreenModeOn) {
    choose(kCalcFarField, 0, {0, 90, 5, 0, 0, 1});
    m.requestMode = 2;
    const Lines out = adapt(kHead +
                            "GN, 0, 4, 0, 0, 13, 0.005, 10, 0.001\nFR, 0, 1, 0, 0, 7.1, 0\n"
                            "RP, 2, 1, 1, 1000, 0, 0, 0, 0\nEN\n");
    EXPECT_EQ(m.groundRadials, 4);
    EXPECT_EQ(m.requestMode, 5);
    EXPECT_EQ(out.rbegin()[1], "RP, 5, 19, 1, 1000, 0.0, 0.0, 5.0, 1.0");
}

TEST_F(DeckAdapterTest, NearFieldWritesAnEOrHFieldGrid) {
    choose(kCalcNearField, 1, {-5, 5, 1, -5, 5, 1, 1, 1, 1});
    const std::string ne = "NE, 0, 11, 11, 1, -5.0, -5.0, 1.0, 1.0, 1.0, 1.0";
    EXPECT_EQ(adapt(kDeck), concat(kHeadLines, {"PQ, -1", "PT, -1", kReducedFr, ne, "EN"}));
    EXPECT_EQ(m.requestMode, kNearRequest);
    EXPECT_EQ(m.calcPresets[6][0], ne);

    choose(kCalcNearField, 2, {0, 0, 1, 0, 0, 1, -2, 2, 0.5});
    EXPECT_EQ(adapt(kDeck).rbegin()[1], "NH, 0, 1, 1, 9, 0.0, 0.0, -2.0, 1.0, 1.0, 0.5");
    EXPECT_EQ(m.calcPresets[6][1], "NH, 0, 1, 1, 9, 0.0, 0.0, -2.0, 1.0, 1.0, 0.5");
}

TEST_F(DeckAdapterTest, ItsHfAreaCoverageAsksOneFrequencyAndAFullCircle) {
    choose(kCalcItsHfArea, 0, {30, 0, 0, 14.2});
    const AdaptedDeck a = adaptDeck(m, kDeck);
    EXPECT_EQ(deckLines(a.text), concat(kHeadLines, {"PQ, -1", "PT, -1", "FR, 0, 1, 0, 0, 14.2, 0.0, 0.0, 0.0",
                                                     "RP, 0, 91, 360, 0, 90.0, 390.0, -1.0, -1.0", "EN"}));
    EXPECT_DOUBLE_EQ(m.frequencyMHz, 14.2);
    for (int row = 1; row <= 6; ++row) EXPECT_TRUE(m.calcPresets[static_cast<size_t>(row)][0].empty());
}

TEST_F(DeckAdapterTest, ItsHfPointToPointSweepsTheHfBandTowardsTheDesiredDirection) {
    choose(kCalcItsHfPointToPoint, 0, {30, 0, 0, 10});
    EXPECT_EQ(adapt(kDeck), concat(kHeadLines, {"PQ, -1", "PT, -1", "FR, 0, 30, 0, 0, 1.0, 1.0, 0.0, 0.0",
                                                "RP, 0, 91, 1, 0, 90.0, 20.0, -1.0, 0.0", "EN"}));
    EXPECT_EQ(m.freqCount, 30);
}

TEST_F(DeckAdapterTest, ADeckWithoutExecutionCardStillGetsItsRequest) {
    choose(kCalcFarField, 0, {0, 90, 45, 0, 0, 1});
    const Lines out = adapt(kHead + "FR, 0, 1, 0, 0, 14.0, 0\n\n   \nEN\nGW, 9, 1, 0, 0, 0, 0, 0, 1, 0.1\n");
    EXPECT_EQ(out, concat(kHeadLines, {"FR, 0, 1, 0, 0, 14.0, 0", "RP, 0, 3, 1, 1000, 0.0, 0.0, 45.0, 1.0", "EN"}));
}

TEST_F(DeckAdapterTest, AnyBytesAreAdaptedWithoutHarmAndEndWithEn) {
    const std::string inputs[] = {
        std::string("\0\xff\xfe\r\n\x01GN\n", 9),
        "FR\nGN\nRP\nNE\nXQ\nFR\nRP\n",
        "GN 1e400 -1e400 0 0 nan inf\nFR 0 1e300 0 0 1e308 -1e308\nRP 99999 1 1 99999999\n",
        "fr,0,5,0,0,14,0.1\nrp 0 1 1 1000\n" + std::string(100000, 'x') + "\n",
        "\n\n\r\n   \t\n",
    };
    for (int kind : {2, 3, 4, 13, 14})
        for (int sub = 0; sub <= 3; ++sub)
            for (const auto& input : inputs) {
                choose(kind, sub, {1e308, -1e308, 0, -1e300, 1e300, 1e-300, 0, 0, 0});
                const Lines out = adapt(input);
                ASSERT_FALSE(out.empty());
                EXPECT_EQ(out.back(), "EN");
            }
}

TEST(EffectiveRpMode, FollowsTheGroundScreenAndTheSurfaceWave) {
    Model m;
    const int16_t without[] = {0, 0, 2, 3, 0, 2, 3, 7};
    const int16_t with[] = {4, 4, 5, 6, 4, 5, 6, 7};
    for (int16_t mode = 0; mode <= 7; ++mode) {
        m.requestMode = mode;
        m.groundRadials = 0;
        EXPECT_EQ(effectiveRpMode(m, kCalcFarField), without[mode]) << mode;
        m.groundRadials = 8;
        EXPECT_EQ(effectiveRpMode(m, kCalcFarField), with[mode]) << mode;
    }
    m.requestMode = kNoRequest; // no far-field request in the deck: normal mode
    EXPECT_EQ(effectiveRpMode(m, kCalcFarField), 4);
    m.requestMode = kNearRequest;
    m.groundRadials = 0;
    EXPECT_EQ(effectiveRpMode(m, kCalcItsHfArea), 0);
    m.surfaceWaveFlag = -1;
    EXPECT_EQ(effectiveRpMode(m, kCalcFrequencyLoop), 1);
    EXPECT_EQ(effectiveRpMode(m, kCalcNearField), kNearRequest);
}

TEST(PresetEntry, RowByChoiceAndColumnBySurfaceWaveOrHField) {
    Model m;
    auto entry = [&m](int kind, int sub, int16_t wave) {
        m.calcKind = static_cast<int16_t>(kind);
        m.calcSubMode = static_cast<int16_t>(sub);
        m.surfaceWaveFlag = wave;
        const PresetEntry e = presetEntry(m);
        return std::pair(e.row, e.column);
    };
    EXPECT_EQ(entry(kCalcFarField, 0, 0), std::pair(1, 0));
    EXPECT_EQ(entry(kCalcFarField, 0, -1), std::pair(1, 1));
    EXPECT_EQ(entry(kCalcFrequencyLoop, 3, 0), std::pair(5, 0));
    EXPECT_EQ(entry(kCalcNearField, 2, 0), std::pair(6, 1));
    EXPECT_EQ(entry(kCalcNearField, 1, -1), std::pair(6, 0));
    EXPECT_EQ(entry(kCalcItsHfArea, 0, 0).first, 0);
    EXPECT_EQ(entry(kCalcOriginal, 0, 0).first, 0);
}

TEST(ReadRunValues, ReadsGroundAndFirstFrequencyWithoutTouchingTheRequest) {
    Model m;
    m.requestMode = 0;
    m.groundType = 1;
    readRunValues(m, "GN 2 0 0 0 13 -0.005\nFR 0 5 0 0 7.1 0.1\nFR 0 1 0 0 9 0\nRP 2 1 1 1000\nEN\nGN 1\n");
    EXPECT_EQ(m.groundType, 2);
    EXPECT_DOUBLE_EQ(m.groundSigma, -0.005);
    EXPECT_EQ(m.freqCount, 5);
    EXPECT_DOUBLE_EQ(m.frequencyMHz, 7.1);
    EXPECT_EQ(m.requestMode, 0);
    readRunValues(m, "GW 1 1 0 0 0 0 0 1 0.1\nXQ\n");
    EXPECT_EQ(m.groundType, -1);
}

} // namespace
} // namespace wavra
