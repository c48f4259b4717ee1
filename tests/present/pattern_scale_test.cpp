#include "present/pattern_scale.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/config.h"
#include "present/plot_math.h"

namespace wavra {
namespace {

struct Scale : ::testing::Test {
    Model m;
    Scale() { m.linLogFactor = 0.5; }
};

void expectScale(const PatternScale& s, double min, double max, double step) {
    EXPECT_DOUBLE_EQ(s.min, min);
    EXPECT_DOUBLE_EQ(s.max, max);
    EXPECT_DOUBLE_EQ(s.step, step);
}

TEST_F(Scale, DbScaleStartsFromTheLargestGain) {
    expectScale(initialDbScale(m, 7.3), -24, 12, 6);
    expectScale(initialDbScale(m, -5), -30, 0, 6);
    expectScale(initialDbScale(m, 0), -24, 6, 6);
    // The top stops at its first value above 24 dB, however large the gain.
    expectScale(initialDbScale(m, 40), -24, 30, 6);
    toggleLinLog(m);
    ASSERT_TRUE(logScale(m));
    expectScale(initialDbScale(m, 7.3), -100, 10, 10);
    expectScale(initialDbScale(m, -25), -130, -20, 10);
}

TEST_F(Scale, UnusableSettingsAndValuesStillGiveAScale) {
    m.linearStepDb = 0; // a broken ini file
    expectScale(initialDbScale(m, 7.3), -24, 12, 6);
    const PatternScale s = initialDbScale(m, std::nan(""));
    EXPECT_TRUE(std::isfinite(s.min) && std::isfinite(s.max));
}

TEST_F(Scale, FieldScaleRoundsUpOnTheSeriesAndPicksItsUnit) {
    expectScale(initialFieldScale(m, 0.0034), 0, 0.005, 0.001);
    toggleLinLog(m);
    expectScale(initialFieldScale(m, 0.0034), 0, 0.005, 0.0005);
    EXPECT_EQ(fieldUnitOf(false, 0.005).label, "[mV/m]");
    EXPECT_EQ(fieldUnitOf(false, 0.005).divisor, 1e-3);
    EXPECT_EQ(fieldUnitOf(false, 5e-7).label, "[nV/m]");
    EXPECT_EQ(fieldUnitOf(false, 5e-4).name(), "uV/m");
    EXPECT_EQ(fieldUnitOf(false, 1).name(), "V/m");
    EXPECT_EQ(fieldUnitOf(true, 1e-9).name(), "dB");
}

TEST_F(Scale, RingsAreEvenOnTheLinearScaleAndHalfwayAtEightyPercentOnLog) {
    const PatternScale s = initialDbScale(m, 7.3);
    const std::vector<double> rings = ringValues(s);
    ASSERT_EQ(rings.size(), 7u);
    for (size_t k = 1; k < rings.size(); ++k)
        EXPECT_NEAR(scaleRadius(s.min, s.max, rings[k], 0.5) - scaleRadius(s.min, s.max, rings[k - 1], 0.5), 1.0 / 6,
                    1e-12);
    EXPECT_NEAR(scaleRadius(-100, 10, -12, 0.8), 0.5, 1e-12);
    EXPECT_TRUE(ringValues({0, 10, 0}).empty());
}

TEST_F(Scale, StepHalvingAndDoublingStopAtTheirLimits) {
    PatternScale lin{-24, 12, 6};
    EXPECT_TRUE(halveStep(lin, false)); // 12 steps now
    EXPECT_FALSE(halveStep(lin, false));
    EXPECT_EQ(lin.step, 3);
    PatternScale log{-100, 10, 10};
    EXPECT_TRUE(halveStep(log, true)); // 22 steps
    EXPECT_FALSE(halveStep(log, true));
    EXPECT_EQ(log.step, 5);

    lin = {-24, 12, 6};
    EXPECT_TRUE(doubleStep(lin, false)); // 3 steps
    EXPECT_TRUE(doubleStep(lin, false)); // 1.5 steps
    EXPECT_FALSE(doubleStep(lin, false));
    log = {-100, 10, 10};
    EXPECT_TRUE(doubleStep(log, true)); // 5.5 steps
    EXPECT_TRUE(doubleStep(log, true)); // 2.75 steps
    EXPECT_FALSE(doubleStep(log, true));
    EXPECT_EQ(log.step, 40);
}

TEST_F(Scale, RangeKeysKeepOneStepBetweenTopAndBottom) {
    PatternScale s{-24, -12, 6};
    lowerMax(s);
    lowerMax(s);
    EXPECT_EQ(s.max, -18); // never below min + step
    raiseMin(s);
    EXPECT_EQ(s.min, -24); // never above max - step
    raiseMax(s);
    raiseMin(s);
    expectScale(s, -18, -12, 6);
    lowerMin(s);
    EXPECT_EQ(s.min, -24);
}

} // namespace
} // namespace wavra
