#include "present/plot_math.h"

#include <gtest/gtest.h>

#include "core/config.h"

namespace wavra {
namespace {

TEST(PlotMath, PolarAnglesFollowTheQuadrantRules) {
    EXPECT_EQ(toPolar(0, 0).angle, 180);
    EXPECT_EQ(toPolar(0, 0).magnitude, 0);
    EXPECT_EQ(toPolar(0, 2).angle, 90);
    EXPECT_EQ(toPolar(0, -2).angle, -90);
    EXPECT_NEAR(toPolar(-1, -1).angle, 225, 1e-12); // atan + 180, not -135
    EXPECT_NEAR(toPolar(-1, 1).angle, 135, 1e-12);
    EXPECT_NEAR(toPolar(3, 4).magnitude, 5, 1e-12);
    const Cartesian c = toCartesian(2, 90);
    EXPECT_NEAR(c.re, 0, 1e-12);
    EXPECT_NEAR(c.im, 2, 1e-12);
}

TEST(PlotMath, ComplexTextInBothNotations) {
    EXPECT_EQ(formatComplex(50, -25, "ohm", 5, true), "50.0 - j 25.0 ohm");
    EXPECT_EQ(formatComplex(0, 1, "amp", 3, false), "1.0 amp @ 90.0 \u00b0");
    EXPECT_EQ(formatComplex(-1, -1, "V", 5, false), "1.414 V @ 225 \u00b0");
}

TEST(PlotMath, RadialScaleLinearAndLog) {
    EXPECT_EQ(scaleRadius(-24, 12, 0, 0.5), 24.0 / 36.0);
    // On the log scale a value at 80 % of the range lies at half the radius.
    EXPECT_NEAR(scaleRadius(0, 10, 8, 0.8), 0.5, 1e-12);
    EXPECT_NEAR(scaleRadius(0, 10, 10, 0.8), 1.0, 1e-12);
    EXPECT_EQ(scaleRadius(5, 5, 7, 0.8), 0); // empty range: the centre
    EXPECT_EQ(scaleRadius(0, 10, 0, 0.8), 0);
}

TEST(PlotMath, SeriesRoundingStopsAtTheEnds) {
    EXPECT_EQ(seriesBelow(1), 0.5);
    EXPECT_EQ(seriesAbove(1), 2);
    EXPECT_EQ(seriesAbove(3), 5);
    EXPECT_EQ(seriesBelow(-3), -2);
    EXPECT_EQ(seriesBelow(1e-9), 1e-9); // none below: the first value
    EXPECT_EQ(seriesAbove(1e5), 1e5);   // none above: the last value
}

TEST(PlotMath, RampColourOfAFraction) {
    const auto& ramp = displayTables().colourRamp;
    EXPECT_EQ(colourOf(0), ramp[0]);
    EXPECT_EQ(colourOf(1.0 / 17), ramp[1]);
    EXPECT_EQ(colourOf(1), ramp[16]);
    EXPECT_EQ(colourOf(2), ramp[16]);
    EXPECT_EQ(colourOf(-1), ramp[0]);
    EXPECT_EQ(standardColour(12), (Rgb{255, 0, 0}));
    EXPECT_EQ(standardColour(9), (Rgb{0, 0, 255}));
}

TEST(PlotMath, ProjectionFromTheSideAndFromAbove) {
    // Side view (E = 90, A = 0): y to the right, z up.
    const Projection side(0, 90, 2);
    EXPECT_NEAR(side.x(1, 3), 6, 1e-12);
    EXPECT_NEAR(side.y(1, 3, 5), 10, 1e-12);
    // From above (E = 0): z does not count.
    const Projection above(0, 0, 1);
    EXPECT_NEAR(above.y(1, 3, 5), -1, 1e-12);
    // Shifts move the picture the other way.
    const Projection shifted(0, 90, 1, 1, 2);
    EXPECT_NEAR(shifted.x(0, 0), -1, 1e-12);
    EXPECT_NEAR(shifted.y(0, 0, 0), -2, 1e-12);
}

} // namespace
} // namespace wavra
