// The minimum SWR and the bandwidth at a limit, edges interpolated between
// the steps.
#include "present/swr_band.h"

#include <cmath>
#include <gtest/gtest.h>

namespace wavra {
namespace {

TEST(SwrBand, EdgesAreInterpolatedBetweenSteps) {
    // SWR 3, 1.5, 1.1, 1.8, 4 at 14.0 ... 14.4 MHz: SWR 2 is crossed a third
    // of the way from 14.0 to 14.1 (3 -> 1.5) and a ninth of the way from
    // 14.3 to 14.4 (1.8 -> 4: 0.2 of 2.2); 1.5 exactly at 14.1 and
    // 0.3/0.7 of the way from 14.2 to 14.3.
    const std::vector<double> f = {14.0, 14.1, 14.2, 14.3, 14.4}, s = {3, 1.5, 1.1, 1.8, 4};
    const auto m = swrMatch(f, s, 1.5);
    ASSERT_TRUE(m && m->band && m->second);
    EXPECT_EQ(m->minimumSwr, 1.1);
    EXPECT_EQ(m->minimumFrequency, 14.2);
    EXPECT_NEAR(m->band->low, 14.0 + 0.1 * (1.0 / 1.5), 1e-12);
    EXPECT_NEAR(m->band->high, 14.3 + 0.1 * (0.2 / 2.2), 1e-12);
    EXPECT_FALSE(m->band->openLow || m->band->openHigh);
    EXPECT_NEAR(m->band->percent(), 100 * m->band->width() / m->band->centre(), 1e-12);
    EXPECT_NEAR(m->second->low, 14.1, 1e-12);
    EXPECT_NEAR(m->second->high, 14.2 + 0.1 * (0.4 / 0.7), 1e-12);
    EXPECT_EQ(m->second->stretches, 1);
}

TEST(SwrBand, OpenEndsNoBandAndSeveralDips) {
    // The curve still falls at the last step: the band is open at the top.
    const auto open = swrMatch({1, 2, 3}, {2.5, 1.8, 1.2}, 1.5);
    ASSERT_TRUE(open && open->band);
    EXPECT_TRUE(open->band->openHigh);
    EXPECT_FALSE(open->band->openLow);
    EXPECT_EQ(open->band->high, 3);
    // Never below the limits: a minimum, but no band.
    const auto none = swrMatch({1, 2, 3}, {5, 2.2, 7}, 1.5);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->minimumSwr, 2.2);
    EXPECT_FALSE(none->band || none->second);
    // Two dips: the band around the deeper one, with the count of stretches.
    const auto two = swrMatch({1, 2, 3, 4, 5, 6, 7}, {3, 1.9, 3, 3, 1.2, 3, 1.4}, 1.5);
    ASSERT_TRUE(two && two->band && two->second);
    EXPECT_EQ(two->minimumFrequency, 5);
    EXPECT_GT(two->band->low, 4);
    EXPECT_LT(two->band->high, 6);
    EXPECT_EQ(two->band->stretches, 3);
    EXPECT_EQ(two->second->stretches, 2);
    // A step without a value ends the band there as an open edge; nothing
    // finite gives no match at all.
    const auto gap = swrMatch({1, 2, 3}, {NAN, 1.2, 3}, 1.5);
    ASSERT_TRUE(gap && gap->band);
    EXPECT_TRUE(gap->band->openLow);
    EXPECT_EQ(gap->band->low, 2);
    EXPECT_FALSE(swrMatch({1, 2}, {NAN, NAN}, 1.5));
}

} // namespace
} // namespace wavra
