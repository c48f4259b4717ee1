#include "present/pov_export_request.h"

#include <gtest/gtest.h>

#include <cmath>

#include "pattern_test_support.h"

namespace wavra {
namespace {

GeometryViewState stateWith(int16_t elevation, int16_t azimuth, int16_t shiftX, int16_t shiftY) {
    GeometryViewState s;
    s.viewElevation = elevation;
    s.viewAzimuth = azimuth;
    s.shiftX = shiftX;
    s.shiftY = shiftY;
    s.geometryScale = 2;
    return s;
}

// The camera looks at the model point in the centre of the view: the target,
// taken back to model metres (scene x, y, z = model x, z, y at 100 scene
// units per view half size), projects onto the view's shift.
TEST(PovViewOf, TargetIsTheModelPointInTheViewCentre) {
    for (const auto& s : {stateWith(80, 280, 42, -84), stateWith(0, 90, 0, 42), stateWith(90, 0, 42, 0),
                          stateWith(35, 200, -126, 84), stateWith(300, 45, 42, 42)}) {
        const PovSceneView v = povViewOf(s);
        const auto t = povTarget(v);
        const double perMetre = v.scale();
        const double x = t[0] / perMetre, y = t[2] / perMetre, z = t[1] / perMetre;
        const Projection p = modelProjection(s);
        EXPECT_NEAR(p.x(x, y), s.shiftX, 1e-9) << s.viewElevation << " " << s.viewAzimuth;
        EXPECT_NEAR(p.y(x, y, z), s.shiftY, 1e-9) << s.viewElevation << " " << s.viewAzimuth;
        // The camera's own direction (T, P) is the direction the view looks from.
        EXPECT_NEAR(std::sin(v.theta * M_PI / 180), std::sin(s.viewElevation * M_PI / 180), 1e-12);
    }
    EXPECT_EQ(povViewOf(stateWith(350, 0, 0, 0)).theta, -10); // beyond the zenith
    EXPECT_EQ(povViewOf(stateWith(180, 0, 0, 0)).theta, 180);
    EXPECT_DOUBLE_EQ(povViewOf(stateWith(80, 0, 0, 0)).zoom, 0.5);
}

// 0 dB at theta 90, phi 0, -40 dB elsewhere, phi going once round in 90-degree steps.
TEST(PovPatternOf, ViewRadiusOnAClosedGrid) {
    Model m = test::gridModel(test::range(0, 180, 45), test::range(0, 270, 90),
                              test::allColumns([](double t, double p) { return t == 90 && p == 0 ? 0.0 : -40.0; }));
    m.linLogFactor = 0.5;
    GeometryViewState s = initialGeometryState(m, m);
    s.geometryScale = 2;
    s.patternSize = s.viewSize / 2; // half the view: 1 m at 2 m per half view
    const PovPatternMesh mesh = povPatternOf(m, m, m, s);
    ASSERT_EQ(mesh.rows, 5);
    ASSERT_EQ(mesh.columns, 5); // four phi columns and the first again
    const auto& strongest = mesh.point(2, 0);
    EXPECT_NEAR(strongest[0], 1, 1e-12);
    EXPECT_NEAR(strongest[1], 0, 1e-12);
    EXPECT_NEAR(strongest[2], 0, 1e-12);
    EXPECT_EQ(mesh.point(2, 4), strongest);
    EXPECT_EQ(mesh.angles[2 * 5 + 4], (std::array<double, 2>{90, 0}));
    EXPECT_LT(std::hypot(mesh.point(2, 1)[0], mesh.point(2, 1)[1]), 1);

    m.requestMode = kNearRequest;
    EXPECT_EQ(povPatternOf(m, m, m, s).rows, 0);
}

} // namespace
} // namespace wavra
