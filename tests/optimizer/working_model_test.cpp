// The working model: SY lines with new values and the execution cards.
#include <gtest/gtest.h>

#include "engine/card_text.h"
#include "optimizer/exec_cards.h"
#include "optimizer/sy_lines.h"
#include "optimizer/trial_values.h"

namespace wavra {
namespace {

TEST(SyLinesTest, ChosenDefinitionsGetTheirNewValueWithTheirUnitAndTheRestStays) {
    const std::vector<std::string> names{"R", "drv"};
    std::vector<WrittenValue> values;
    std::string problem;
    const std::vector<std::string> deck{"CM test", "SY f=14.15, lam=299.8/f", "SY r=12.5mm ' wire",
                                        "SY drv=0.473, ref=1.05*drv, *x=1, y=2", "GW 1 11 0 0 0 0 0 1 r"};
    ASSERT_TRUE(findWrittenValues(deck, names, values, problem));
    EXPECT_DOUBLE_EQ(values[0].number, 12.5);
    EXPECT_EQ(values[0].unit, "mm");
    EXPECT_EQ(values[1].unit, "");
    values[0].number = 12.75;
    values[1].number = 0.4812345678901;
    const auto out = rewriteSyLines(deck, names, values);
    EXPECT_EQ(out[1], deck[1]);
    EXPECT_EQ(out[2], "SY r = 12.75mm ' wire");
    EXPECT_EQ(out[3], "SY drv = 0.4812345679, ref=1.05*drv, *x=1, y=2");
    EXPECT_EQ(out[4], deck[4]);
    EXPECT_DOUBLE_EQ(heldValue(0.4812345678901), 0.4812345679);
}

TEST(SyLinesTest, AVariableComputedFromAnExpressionOrNotDefinedIsRefused) {
    std::vector<WrittenValue> values;
    std::string problem;
    EXPECT_FALSE(findWrittenValues({"SY a=1, b=2*a"}, {"b"}, values, problem));
    EXPECT_EQ(problem, "b");
    EXPECT_FALSE(findWrittenValues({"SY a=1"}, {"a", "c"}, values, problem));
    EXPECT_EQ(problem, "c");
}

CardFields rp(double resolution, bool ground, int mode = 0, Direction forward = {80, 30}) {
    OptimizerSetup s;
    s.forward = forward;
    s.resolution = resolution;
    return optimizerRpFields(s, mode, ground, mode == 1 ? 2000 : 0);
}

TEST(ExecCardsTest, TheRpCardAtResolutionZeroAsksForTheForwardAndOppositeDirections) {
    EXPECT_EQ(cardText("RP", rp(0, false)), "RP, 0, 2, 2, 1000, 80.0, 30.0, 100.0, 180.0");
    EXPECT_EQ(cardText("RP", rp(0, true)), "RP, 0, 1, 2, 1000, 80.0, 30.0, 0.0, 180.0");
}

TEST(ExecCardsTest, TheRpCardOfAResolutionIsAGridThroughTheForwardDirection) {
    // Phi from 35 mod 10 = 5 to 355; theta from 85 mod 10 - 90 = -85 to 265,
    // or to 85 over a ground.
    EXPECT_EQ(cardText("RP", rp(10, false, 0, {85, 35})), "RP, 0, 36, 36, 1000, -85.0, 5.0, 10.0, 10.0");
    EXPECT_EQ(cardText("RP", rp(10, true, 0, {85, 35})), "RP, 0, 18, 36, 1000, -85.0, 5.0, 10.0, 10.0");
    EXPECT_EQ(cardText("RP", rp(5, false)), "RP, 0, 73, 73, 1000, -90.0, 0.0, 5.0, 5.0");
}

TEST(ExecCardsTest, ASurfaceWaveAsksForTheForwardHeightAndZeroAtItsDistance) {
    EXPECT_EQ(cardText("RP", rp(0, true, 1)), "RP, 1, 2, 2, 1000, 80.0, 30.0, -80.0, 180.0, 2000.0");
}

TEST(ExecCardsTest, TheWorkingModelEndsAtTheFirstExecutionCardWithThePrintCardsAndItsOwnRequest) {
    const std::vector<std::string> deck{
        "CM x", "CE", "GW 1 5 0 0 0 0 0 1 .001", "EX 0 1 3 0", "FR 0 1 0 0 14", "RP 0 1 1 1000 90 0", "EN"};
    const auto lines = firstWorkingModel(deck, "RP, 0, 2, 2, 1000, 90.0, 0.0, 90.0, 180.0");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[4], "FR 0 1 0 0 14");
    EXPECT_EQ(lines[5], "PQ -1");
    EXPECT_EQ(lines[6], "PT -1");
    EXPECT_EQ(lines[7], "RP, 0, 2, 2, 1000, 90.0, 0.0, 90.0, 180.0");
    // Without gain and F/B weights no RP card; an EN card ends the source as well.
    EXPECT_EQ(firstWorkingModel({"GW 1", "EN", "RP 0"}, "").back(), "PT -1");
}

TEST(DirectionMeanTest, TheWindowIsAMeanOverEachDirectionOnceWithPhiOnTheCircle) {
    DirectionMean m({90, 0}, {10, 10}, 2);
    for (double theta : {80.0, 90.0, 100.0, 110.0})
        for (double phi : {-10.0, 0.0, 10.0, 350.0, 360.0, 20.0}) m.add(theta, phi, {0, 0, theta + phi / 1000, 0, 0});
    // Theta 80..100; phi -10 and 350 are one direction, 0 and 360 too.
    double sum = 0;
    for (double theta : {80.0, 90.0, 100.0}) sum += 3 * theta + (-10.0 + 0 + 10) / 1000;
    EXPECT_DOUBLE_EQ(m.mean(), sum / 9);
    DirectionMean empty({45, 0}, {0, 0}, 2);
    empty.add(40, 0, {});
    EXPECT_TRUE(std::isnan(empty.mean()));
}

} // namespace
} // namespace wavra
