#include "engine/card_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace wavra {
namespace {

TEST(CardText, WritesFourIntegersAndFourRealsWithOneToFiveDecimals) {
    EXPECT_EQ(cardText("FR", {.i2 = 30, .f1 = 1.0, .f2 = 1.0}), "FR, 0, 30, 0, 0, 1.0, 1.0, 0.0, 0.0");
    EXPECT_EQ(cardText("RP", {.i1 = 0, .i2 = 91, .i3 = 360, .f1 = 90, .f2 = 390, .f3 = -1, .f4 = -1}),
              "RP, 0, 91, 360, 0, 90.0, 390.0, -1.0, -1.0");
    EXPECT_EQ(cardText("GN", {.i1 = 2, .f1 = 13, .f2 = -0.005}), "GN, 2, 0, 0, 0, 13.0, -0.005, 0.0, 0.0");
    EXPECT_EQ(cardText("FR", {.f1 = 14.123456789}), "FR, 0, 0, 0, 0, 14.12346, 0.0, 0.0, 0.0");
}

TEST(CardText, SmallRealsKeepTheDigitsTheyNeed) {
    EXPECT_EQ(cardText("FR", {.i2 = 11, .f1 = 2400, .f2 = 0.000004}), "FR, 0, 11, 0, 0, 2400.0, 4e-06, 0.0, 0.0");
    EXPECT_EQ(cardText("NE", {.f4 = -0.0000125, .f5 = 0.000123}), "NE, 0, 0, 0, 0, 0.0, 0.0, 0.0, -1.25e-05, 0.000123");
}

TEST(CardText, AddsF5WhenF5OrF6IsSetAndF6OnlyWhenSet) {
    EXPECT_EQ(cardText("RP", {.f5 = 1000}), "RP, 0, 0, 0, 0, 0.0, 0.0, 0.0, 0.0, 1000.0");
    EXPECT_EQ(cardText("RP", {.f6 = 2.5}), "RP, 0, 0, 0, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 2.5");
    EXPECT_EQ(cardText("XQ", {}, " "), "XQ 0 0 0 0 0.0 0.0 0.0 0.0");
}

TEST(PointCount, CountsBothEndsAndForgivesRoundingNoise) {
    EXPECT_EQ(pointCount(14.0, 14.35, 0.05), 8);
    EXPECT_EQ(pointCount(0, 90, 5), 19);
    EXPECT_EQ(pointCount(0, 360, 1), 361);
    EXPECT_EQ(pointCount(-5, 5, 1), 11);
    EXPECT_EQ(pointCount(90, 0, -1), 91);
    EXPECT_EQ(pointCount(0, 10, 3), 4); // whole part: 4.33 points
}

TEST(PointCount, DegenerateRangesGiveOnePointAndHugeOnesAreCapped) {
    EXPECT_EQ(pointCount(0, 10, 0), 1);
    EXPECT_EQ(pointCount(10, 0, 1), 1);
    EXPECT_EQ(pointCount(0, 1e9, 1e-9), 32767);
    EXPECT_EQ(pointCount(0, 1, std::numeric_limits<double>::quiet_NaN()), 1);
}

} // namespace
} // namespace wavra
