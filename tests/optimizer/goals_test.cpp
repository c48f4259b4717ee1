#include <gtest/gtest.h>

#include <cmath>

#include "optimizer/goals.h"
#include "optimizer/setup.h"

namespace wavra {
namespace {

TEST(GoalsTest, TheDistanceOfAMinimizedSwrIsMeasuredFromOneOverTheRangeToHundred) {
    Goals g;
    EXPECT_DOUBLE_EQ(g.goodness(kSwr, 1.5), 10000 - 0.5 * 9999 / 99);
    EXPECT_DOUBLE_EQ(g.goodness(kSwr, 1), 10000);
    EXPECT_DOUBLE_EQ(g.goodness(kSwr, 999), 1); // the distance stops at 9999
    EXPECT_DOUBLE_EQ(g.goodness(kSwr, std::nan("")), 1);
}

TEST(GoalsTest, TargetsAreBoundsForMaximizeAndMinimizeAndWidenTheRangeOtherwise) {
    Goals g;
    EXPECT_DOUBLE_EQ(g.goodness(kGain, 10), 10000 - 90 * 9999.0 / 1099); // aims at 100 dB
    EXPECT_DOUBLE_EQ(g.goodness(kReactance, -30), 10000 - 30);           // |X| aims at 0
    g.targets[kResistance] = 50;
    EXPECT_DOUBLE_EQ(g.goodness(kResistance, 60), 10000 - 10);
    g.targets[kFrontBack] = 150; // beyond the bound: the range reaches it
    EXPECT_DOUBLE_EQ(g.goodness(kFrontBack, 20), 10000 - 130 * 9999.0 / 249);
}

TEST(GoalsTest, TheImprovementSumsTheWeightedRelativeGoodnessChanges) {
    Goals g;
    g.weights[kSwr] = 0.5;
    g.weights[kGain] = 1;
    const ParamValues ref{2, 5, 0, 0, 0, 0}, trial{1.5, 6, 0, 0, 0, 0};
    const double expected = 0.5 * (g.goodness(kSwr, 1.5) - g.goodness(kSwr, 2)) / g.goodness(kSwr, 2) +
                            (g.goodness(kGain, 6) - g.goodness(kGain, 5)) / g.goodness(kGain, 5);
    EXPECT_DOUBLE_EQ(g.improvement(ref, trial), expected);
    EXPECT_LT(g.improvement(trial, ref), 0);
}

TEST(GoalsTest, FieldValuesAreScaledByAPowerOfTenFixedAtTheFirstValueAndSoIsTheirTarget) {
    Goals g;
    g.gainKind = GainKind::FieldTheta;
    g.fixFieldFactor(0.0034);
    EXPECT_DOUBLE_EQ(g.fieldFactor, 1000); // 10 ^ (1 - (-2))
    EXPECT_DOUBLE_EQ(g.goodness(kGain, 0.0034), 10000 - (9999 - 3.4));
    g.targets[kGain] = 0.005; // V/m
    EXPECT_NEAR(g.goodness(kGain, 0.0034), 10000 - 1.6, 1e-9);
    Goals gains;
    gains.fixFieldFactor(12);
    EXPECT_DOUBLE_EQ(gains.fieldFactor, 1);
}

TEST(SetupTest, TheStartChecksRefuseWithTheirMessages) {
    OptimizerSetup s;
    EXPECT_EQ(startProblem(s), "No variable(s) selected.");
    s.variables = {"len"};
    EXPECT_EQ(startProblem(s), "No parameter(s) selected.");
    s.weightPercent[kGain] = -50; // the sign does not count
    EXPECT_EQ(startProblem(s), "");
    EXPECT_DOUBLE_EQ(s.goals().weights[kGain], 0.5);
    s.backWidth.phi = 10;
    EXPECT_EQ(startProblem(s), "Delta Theta/Pi specified but no stepsize.");
    s.resolution = 5;
    EXPECT_EQ(startProblem(s), "");
    s.firstRun = FirstRun::AreaCoverage;
    EXPECT_EQ(startProblem(s), "No stepsize set.");
}

TEST(SetupTest, FieldChecksGiveTheRangeAndTheMultipleOfTheResolution) {
    EXPECT_EQ(fieldProblem(AngleField::Theta, 91, 0), "0 <= Theta <= 90");
    EXPECT_EQ(fieldProblem(AngleField::Phi, -1, 0), "0 <= Phi <= 360");
    EXPECT_EQ(fieldProblem(AngleField::DeltaTheta, 95, 0), "0 <= delta Theta <= 90");
    EXPECT_EQ(fieldProblem(AngleField::DeltaPhi, 90, 0), "");
    EXPECT_EQ(fieldProblem(AngleField::Resolution, 181, 0), "0 <= Stepsize <= 180");
    EXPECT_EQ(fieldProblem(AngleField::Theta, 45, 10), "Theta not a multiple for resolution.");
    EXPECT_EQ(fieldProblem(AngleField::Phi, 35, 5), "");
    EXPECT_EQ(fieldProblem(AngleField::Phi, 35, 10), "Phi not a multiple for resolution.");
}

TEST(SetupTest, TheEntriesSurviveTheirTwoSettingTextsAndTheBackDirectionDefaultsToTheOpposite) {
    OptimizerSetup s;
    s.weightPercent = {100, 50, 25, 0, 10, 5};
    s.surfaceWave = true;
    s.forward = {80, 270};
    s.surfaceDistanceKm = 2.5;
    s.resolution = 5;
    s.forwardWidth = {10, 20};
    s.backWidth = {5, 15};
    EXPECT_EQ(setupText1(s), "100, 50, 25, 0, 10, 5, 1, 80, 270, , , 2.5");
    EXPECT_EQ(setupText2(s), "5, 10, 20, 5, 15");
    EXPECT_DOUBLE_EQ(s.backDirection().theta, 100);
    EXPECT_DOUBLE_EQ(s.backDirection().phi, 90);
    OptimizerSetup read;
    readSetupTexts(read, setupText1(s), setupText2(s));
    EXPECT_EQ(setupText1(read), setupText1(s));
    EXPECT_EQ(setupText2(read), setupText2(s));
    EXPECT_FALSE(read.back.has_value());
    s.back = Direction{90, 180};
    readSetupTexts(read, setupText1(s), "garbage, x");
    ASSERT_TRUE(read.back.has_value());
    EXPECT_DOUBLE_EQ(read.back->phi, 180);
    EXPECT_DOUBLE_EQ(read.resolution, 5); // unreadable entries keep their values
}

} // namespace
} // namespace wavra
