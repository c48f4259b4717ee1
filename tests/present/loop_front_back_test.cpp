// A frequency loop with a horizontal cut per step: the gain page's largest
// gain and front-to-back ratio per step.
#include "report/loop_front_back.h"

#include <gtest/gtest.h>

#include "present/sweep_graphs.h"
#include "sweep_test_support.h"

namespace wavra {
namespace {

using Q = SweepQuantity;

// Two steps whose cut at theta 90 (or `theta`) holds the azimuths `phis`
// with these total gains.
Model cutLoop(const std::vector<double>& phis, const std::vector<std::vector<double>>& gains, double theta = 90) {
    Model m = sweepModel({{14.0, 50, 0}, {14.1, 60, 5}});
    m.allocateFieldTables(64);
    m.requestMode = 0;
    m.sweepPatternAxis = 1;
    m.requestCount[1] = static_cast<int16_t>(gains.size());
    m.requestCount[2] = static_cast<int16_t>(phis.size());
    size_t i = 1;
    for (const auto& step : gains)
        for (size_t p = 0; p < phis.size(); ++p, ++i) {
            m.farFieldAngles[i] = {theta, phis[p]};
            m.farFieldGains[i][kGainTotal] = step[p];
        }
    m.patternCount = static_cast<int16_t>(i - 1);
    m.patternMax[kGainTotal + 1] = 6;
    return m;
}

TEST(LoopFrontBack, LargestGainAgainstTheOppositeAzimuthPerStep) {
    const Model m = cutLoop({0, 90, 180, 270}, {{1, 5, 0, -10}, {6, 2, -3, 1}});
    EXPECT_EQ(loopCutGains(m, m, 1).maximum, 5);
    EXPECT_EQ(loopCutGains(m, m, 1).frontToBack, 15); // 90 against 270
    EXPECT_EQ(loopCutGains(m, m, 2).frontToBack, 9);  // 0 against 180
    EXPECT_TRUE(std::isnan(loopCutGains(m, m, 3).maximum));
    // The gain page: the step's largest gain, the ratio beside the gain to MAX.
    EXPECT_EQ(sweepValue(m, Q::Gain, 2), 6);
    EXPECT_EQ(sweepValue(m, Q::GainToMax, 1), -1);
    EXPECT_EQ(paneQuantities(m, m, kPageGain, kPaneLower), (std::vector<Q>{Q::GainToMax, Q::FrontToBack}));
    SweepState s;
    s.page = kPageGain;
    EXPECT_EQ(sweepMessage(m, m, m.summary, s), "");
    EXPECT_EQ(sweepTitle(m, Q::Gain), "Max. gain [dB] of the cut; The= 90");
}

TEST(LoopFrontBack, NoRatioWithoutTheBackDirection) {
    // Half a cut: the maximum at 90 has no point at 270.
    const Model half = cutLoop({0, 45, 90, 135, 180}, {{0, 1, 5, 1, 0}, {0, 1, 5, 1, 0}});
    EXPECT_EQ(loopCutGains(half, half, 1).maximum, 5);
    EXPECT_TRUE(std::isnan(loopCutGains(half, half, 1).frontToBack));
    // Below the horizon (theta -90) a point looks at azimuth 540 - phi: the
    // back of phi 0 (looking at 180) is phi 180 (looking at 0).
    const Model below = cutLoop({0, 90, 180}, {{7, 0, 2}, {7, 0, 2}}, -90);
    EXPECT_EQ(loopCutGains(below, below, 1).frontToBack, 5);
    // A loop of one direction per step has no cuts and no ratio curve.
    const Model direction = sweepModel({{14.0, 50, 0}, {14.1, 60, 5}}, true);
    EXPECT_FALSE(loopHasCuts(direction, direction));
    EXPECT_EQ(paneQuantities(direction, direction, kPageGain, kPaneLower), (std::vector<Q>{Q::GainToMax}));
}

} // namespace
} // namespace wavra
