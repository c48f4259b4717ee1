#include "present/pattern_cut.h"

#include <gtest/gtest.h>

#include "pattern_test_support.h"

namespace wavra {
namespace {

using test::allColumns;
using test::gridModel;
using test::range;

constexpr int16_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// Value = 1000 theta + phi, so every point names its own direction.
Model labelled(const std::vector<double>& thetas, const std::vector<double>& phis) {
    return gridModel(thetas, phis, allColumns([](double t, double p) { return 1000 * t + p; }));
}

TEST(PatternCut, PointIndexOfBothLayouts) {
    Model m = labelled(range(0, 20, 10), range(0, 30, 10)); // 3 theta, 4 phi
    EXPECT_EQ(pointIndex(m, m, 2, 3), 8);
    EXPECT_EQ(m.farFieldAngles[8][0], 10);
    EXPECT_EQ(m.farFieldAngles[8][1], 20);
    // A frequency loop of horizontal cuts: 4 phi per pattern, patterns in a row.
    m.sweepPatternAxis = 1;
    EXPECT_EQ(pointIndex(m, m, 2, 3), 7);
    // A grid the loaded points do not fill is cut back to whole rows.
    m.sweepPatternAxis = 0;
    m.patternCount = 10;
    EXPECT_EQ(phiCount(m, m), 3);
}

TEST(PatternCut, CutsRunAlongTheirAngleWithTheirPlotDirections) {
    Model m = labelled(range(0, 180, 30), range(0, 330, 30));
    PatternState s = test::openedOn(m, kVerticalCut);
    s.view.phiIndex = 2;
    Cut v = extractCut(m, m, s, 0);
    ASSERT_EQ(v.points.size(), 7u);
    EXPECT_EQ(v.angle, 30);
    EXPECT_EQ(v.points[3].value, 90030);
    EXPECT_NEAR(v.points[3].ux, 1, 1e-12); // theta 90 on the right
    EXPECT_NEAR(v.points[0].uy, 1, 1e-12); // theta 0 at the top
    EXPECT_FALSE(v.closed);                // a half plane

    s.view.cutPlane = kHorizontalCut;
    s.view.thetaIndex = 4;
    const Cut h = extractCut(m, m, s, 0);
    ASSERT_EQ(h.points.size(), 12u);
    EXPECT_EQ(h.angle, 90);
    EXPECT_NEAR(h.points[3].uy, 1, 1e-12); // phi 90 at the top
    EXPECT_TRUE(h.closed);
    EXPECT_FALSE(h.duplicateEnd);

    // phi 0 to 360 repeats its first direction; theta below zero is seen
    // from the other side.
    Model full = labelled({-60}, range(0, 360, 30));
    PatternState f = test::openedOn(full, kHorizontalCut);
    const Cut mirrored = extractCut(full, full, f, 0);
    EXPECT_TRUE(mirrored.closed);
    EXPECT_TRUE(mirrored.duplicateEnd);
    EXPECT_EQ(mirrored.ringSize(), 12u);
    EXPECT_EQ(mirrored.points[1].angle, 150);
    EXPECT_NEAR(mirrored.points[1].ux, -std::cos(30 * 3.14159265358979323846 / 180), 1e-12);
}

TEST(PatternCut, ArrowKeysWrapAlongTheCutAndStopAtTheOtherAngle) {
    Model m = labelled(range(0, 180, 30), range(0, 330, 30)); // 7 theta, 12 phi
    PatternViewState v;
    v.cutPlane = kVerticalCut;
    v.phiIndex = 12;
    moveCursor(v, m, m, kRight);
    EXPECT_EQ(v.phiIndex, 12); // the last phi of a vertical cut stays
    v.thetaIndex = 7;
    moveCursor(v, m, m, kUp);
    EXPECT_EQ(v.thetaIndex, 1); // the last theta wraps to the first
    moveCursor(v, m, m, kDown);
    EXPECT_EQ(v.thetaIndex, 7);

    v.cutPlane = kHorizontalCut;
    v.phiIndex = 1;
    moveCursor(v, m, m, kRight); // clockwise: phi falls, 1 wraps to the last
    EXPECT_EQ(v.phiIndex, 12);
    moveCursor(v, m, m, kLeft);
    EXPECT_EQ(v.phiIndex, 1);
    moveCursor(v, m, m, kUp);
    EXPECT_EQ(v.thetaIndex, 7); // clamped at the last theta
    EXPECT_FALSE(moveCursor(v, m, m, 71));
}

TEST(PatternCut, ArrowKeysStepTheFrequencyOfALoopOfCuts) {
    Model m = labelled(range(0, 90, 30), {0, 1, 2}); // a vertical cut for each of 3 frequencies
    m.sweepPatternAxis = -1;
    PatternViewState v;
    for (int i = 0; i < 4; ++i) moveCursor(v, m, m, kRight);
    EXPECT_EQ(v.phiIndex, 3);
    m.sweepPatternAxis = 1;
    v.cutPlane = kHorizontalCut;
    moveCursor(v, m, m, kRight);
    EXPECT_EQ(v.thetaIndex, 2);
    EXPECT_EQ(frequencyIndex(m, v), 2);
}

TEST(PatternCut, PointerFindsTheNearestDirection) {
    Model m = labelled({90}, range(0, 350, 10));
    PatternState s = test::openedOn(m, kHorizontalCut);
    const Cut cut = extractCut(m, m, s, 0);
    const auto i = nearestCutPoint(cut, 0, -100, kPlotRadius, false, 1); // straight down: phi 270
    ASSERT_TRUE(i.has_value());
    EXPECT_EQ(cut.points[*i].angle, 270);
    EXPECT_FALSE(nearestCutPoint(cut, 0, 0, kPlotRadius, false, 1)); // the centre has no direction
    EXPECT_FALSE(nearestCutPoint(cut, 300, 0, kPlotRadius, false, 1));
}

} // namespace
} // namespace wavra
