#include "present/pattern_mesh.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/config.h"
#include "present/near_field_marks.h"

namespace wavra {
namespace {

// Theta 0, 45, 90 and phi 0, 90, 180, 270: total gain 0 dB at theta 90,
// phi 0 and -12 dB elsewhere.
Model threeByFour() {
    Model m;
    m.requestMode = 0;
    m.requestCount = {0, 3, 4, 1};
    m.patternCount = 12;
    m.linLogFactor = 0.5;
    int i = 0;
    for (double phi : {0, 90, 180, 270})
        for (double theta : {0, 45, 90}) {
            ++i;
            m.farFieldAngles[i] = {theta, phi};
            m.farFieldGains[i] = {0, 0, theta == 90 && phi == 0 ? 0.0 : -12.0, 0, 0};
        }
    m.patternMax[3] = 0;
    return m;
}

PatternMesh meshOf(const PatternGrid& g, const PatternStyle& s, const Projection& p) {
    PatternMesh mesh;
    buildPatternMesh(g, s, p, mesh);
    return mesh;
}

PatternStyle styleOf(const Model& m, int gridType, int lineStep) {
    PatternStyle s;
    s.quantity = 3;
    s.lower = patternLowerLimit(m, m, 3);
    s.factor = m.linLogFactor;
    s.size = 100;
    s.gridType = gridType;
    s.lineStep = lineStep;
    return s;
}

TEST(PatternMesh, GridOfTheModelStore) {
    Model m = threeByFour();
    PatternGrid g = patternGridOf(m, m);
    EXPECT_EQ(g.thetaCount, 3);
    EXPECT_EQ(g.phiCount, 4);
    EXPECT_EQ(g.point(2, 3), 8u);
    m.patternCount = 10; // a table shorter than announced: whole phi columns only
    EXPECT_EQ(patternGridOf(m, m).phiCount, 3);
    m.patternCount = 12;
    m.sweepPatternAxis = 1; // one cut per frequency: the first frequency's
    EXPECT_EQ(patternGridOf(m, m).thetaCount, 1);
    m.sweepPatternAxis = -1;
    EXPECT_EQ(patternGridOf(m, m).phiCount, 1);
    m.requestMode = kSurfaceWaveRequest;
    EXPECT_TRUE(patternGridOf(m, m).empty());
    m.requestMode = 0;
    m.patternCount = 0;
    EXPECT_TRUE(patternGridOf(m, m).empty());
}

TEST(PatternMesh, GridTypesAndLineSteps) {
    const Model m = threeByFour();
    const PatternGrid g = patternGridOf(m, m);
    const Projection p(90, 90, 1);
    // Rings: 3 theta rows of 4 phi points closed round; meridians: 4 phi
    // columns of 3 theta points.
    const PatternMesh full = meshOf(g, styleOf(m, 1, 1), p);
    EXPECT_EQ(full.curveEnds.size(), 3u + 4u);
    EXPECT_EQ(full.segmentCount(), 12u + 8u);
    EXPECT_EQ(std::vector<uint32_t>(full.points.begin(), full.points.begin() + 5),
              (std::vector<uint32_t>{1, 4, 7, 10, 1})); // the ring at theta 0, closed
    EXPECT_EQ(meshOf(g, styleOf(m, 2, 1), p).segmentCount(), 12u);
    EXPECT_EQ(meshOf(g, styleOf(m, 3, 1), p).segmentCount(), 8u);
    EXPECT_EQ(meshOf(g, styleOf(m, 1, 2), p).segmentCount(), 8u + 4u); // rows 1, 3 and columns 1, 3
}

TEST(PatternMesh, PointsLieAtTheirScaledRadius) {
    const Model m = threeByFour();
    const PatternMesh mesh = meshOf(patternGridOf(m, m), styleOf(m, 3, 1), Projection(90, 90, 1));
    ASSERT_EQ(mesh.curveEnds.size(), 4u);
    EXPECT_EQ(std::vector<uint32_t>(mesh.points.begin(), mesh.points.begin() + 3), (std::vector<uint32_t>{1, 2, 3}));
    // Meridian phi 0 at theta 45 and 90: from the side (X = -x, Y = z) the
    // largest gain lies at the full size, -12 dB at half of it (-24 .. 0).
    EXPECT_NEAR(mesh.x[2], -50 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(mesh.y[2], 50 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(mesh.x[3], -100, 1e-9);
    EXPECT_NEAR(mesh.y[3], 0, 1e-9);
    EXPECT_DOUBLE_EQ(mesh.fraction[2], 0.5);
    EXPECT_DOUBLE_EQ(mesh.fraction[3], 1);
}

TEST(PatternMesh, LowerLimitFollowsTheScale) {
    Model m = threeByFour();
    m.patternMax[3] = 7.3;
    m.linLogFactor = 0.5;
    EXPECT_EQ(patternLowerLimit(m, m, 3), -24);
    m.linLogFactor = 0.8;
    EXPECT_EQ(patternLowerLimit(m, m, 3), -100);
    m.patternMax[2] = -30; // a weak pattern keeps its depth
    EXPECT_EQ(patternLowerLimit(m, m, 2), -130);
    EXPECT_EQ(patternLowerLimit(m, m, 4), 0); // field strengths start at 0
    EXPECT_EQ(patternQuantityLabel(3), "Total gain [dB]");
    EXPECT_EQ(patternQuantityLabel(5), "E (phi) [V/m]");
}

// Four points of the plane z = 0 on a 1 m grid, total fields 1 to 4.
Model fourNearPoints() {
    Model m;
    m.requestMode = kNearRequest;
    m.allocateFieldTables(10);
    const float at[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 1; i <= 4; ++i) {
        m.nearFieldPoints[i] = {at[i - 1][0], at[i - 1][1], 0};
        m.nearFieldValues[i] = {0, 0, 0, static_cast<float>(i)};
    }
    m.summary.nearFieldCount = 4;
    m.summary.nearFieldMax[4] = 4;
    return m;
}

TEST(NearFieldMarks, MarksScaleWithTheValueAndThePlaneFilters) {
    const Model m = fourNearPoints();
    GeometryViewState s = initialGeometryState(m, m);
    s.geometryScale = 1; // 168 drawing units per metre
    auto marks = nearFieldMarks(m, m.summary, s);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_NEAR(marks[3].radius, 0.33333 * 168, 1e-9); // the largest: a third of the spacing
    EXPECT_NEAR(marks[1].radius, 0.33333 * 168 / 2, 1e-9);
    EXPECT_DOUBLE_EQ(marks[0].fraction, 0.25);
    s.gridType = 1; // the x plane at the second x coordinate
    s.planeIndex = 2;
    marks = nearFieldMarks(m, m.summary, s);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(nearPlaneLabel(m, m.summary, s), "X = 1.0 mtr.");
    s.gridType = 3; // z: one coordinate only
    EXPECT_EQ(nearFieldMarks(m, m.summary, s).size(), 4u);
    EXPECT_EQ(nearAxisCoordinates(m, m.summary, 1), (std::vector<float>{0, 1}));
}

TEST(NearFieldMarks, QuantityLabels) {
    Model m = fourNearPoints();
    EXPECT_EQ(nearQuantityLabel(m.summary, 1), "E(x) field [Volt/m]");
    EXPECT_EQ(nearQuantityLabel(m.summary, 4), "Etot field [Volt/m]");
    m.summary.nearFieldMagnetic = true;
    EXPECT_EQ(nearQuantityLabel(m.summary, 3), "H(z) field [Amp/m]");
}

} // namespace
} // namespace wavra
