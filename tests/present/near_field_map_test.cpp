#include "present/near_field_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/config.h"
#include "present/plot_math.h"

namespace wavra {
namespace {

using Field = std::function<std::array<float, 3>(double x, double y, double z)>;

// A near-field grid as the engine prints it (x fastest, then y, then z):
// the coordinates start, start + step, ... along each axis; the total is
// worked out from the components as the report reader does.
Model nearModel(std::array<int, 3> count, std::array<double, 3> start, std::array<double, 3> step, const Field& f,
                bool magnetic = false) {
    Model m;
    m.requestMode = kNearRequest;
    m.allocateFieldTables(count[0] * count[1] * count[2]);
    int row = 0;
    for (int k = 0; k < count[2]; ++k)
        for (int j = 0; j < count[1]; ++j)
            for (int i = 0; i < count[0]; ++i) {
                const double x = start[0] + i * step[0], y = start[1] + j * step[1], z = start[2] + k * step[2];
                const auto e = f(x, y, z);
                const size_t r = static_cast<size_t>(++row);
                m.nearFieldPoints[r] = {float(x), float(y), float(z)};
                m.nearFieldValues[r] = {e[0], e[1], e[2], std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2])};
                for (size_t c = 1; c <= 4; ++c)
                    m.summary.nearFieldMax[c] =
                        row == 1 ? m.nearFieldValues[r][c - 1]
                                 : std::max(m.summary.nearFieldMax[c], double(m.nearFieldValues[r][c - 1]));
            }
    for (size_t a = 0; a < 3; ++a) m.requestCount[a + 1] = static_cast<int16_t>(count[a]);
    m.summary.nearFieldCount = row;
    m.summary.nearFieldMagnetic = magnetic;
    ++m.loadSerial;
    return m;
}

// 3 x 4 x 2 points, 1 m apart, field growing with x along x and with z along z.
Model cube() {
    return nearModel({3, 4, 2}, {-1, 0, 0}, {1, 1, 1}, [](double x, double y, double z) {
        return std::array<float, 3>{float(x + 2), float(y), float(10 * z + 1)};
    });
}

NearFieldState openedOn(const Model& m) {
    NearFieldState s;
    openNearField(s, m);
    return s;
}

TEST(NearFieldGrid, PointsRunXFastestAndStopAtThePointsLoaded) {
    Model m = cube();
    EXPECT_EQ(nearPointRow(m, m, m.summary, {1, 1, 1}), 1);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {3, 1, 1}), 3);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {1, 2, 1}), 4);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {2, 3, 2}), 12 + 6 + 2);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {4, 1, 1}), std::nullopt);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {0, 1, 1}), std::nullopt);
    EXPECT_DOUBLE_EQ(nearCoordinate(m, m, m.summary, 1, 4), 3);
    // A report cut short: the missing points are not made up.
    m.summary.nearFieldCount = 20;
    EXPECT_EQ(nearPointRow(m, m, m.summary, {2, 3, 2}), 20);
    EXPECT_EQ(nearPointRow(m, m, m.summary, {3, 3, 2}), std::nullopt);
    EXPECT_EQ(planeValues(m, m, m.summary, NearFieldState{.plane = kPlaneXY, .position = {1, 1, 2}}).samples.size(),
              8u);
}

TEST(NearFieldUnits, TheLargestValueChoosesTheUnitAndNhReadsAmperes) {
    Model m = nearModel({2, 1, 1}, {0, 0, 0}, {1, 0, 0}, [](double x, double, double) {
        return std::array<float, 3>{float(x ? 5e-4 : 1e-4), 0, 0};
    });
    const FieldUnit micro = nearFieldUnit(m.summary, 1);
    EXPECT_EQ(micro.label, "[uV/m]");
    EXPECT_EQ(micro.divisor, 1e-6);
    NearFieldState s = openedOn(m);
    s.component = 1;
    const NearValues v = planeValues(m, m, m.summary, s);
    EXPECT_EQ(nearRangeLabel(m.summary, s, v), "100.0 < [uV/m] < 500");
    EXPECT_EQ(nearFieldTitle(m.summary, 1), "Near Field in [uV/m]  E(x)");

    m.summary.nearFieldMax = {0, 2e-9, 0.02, 1, 1.5};
    m.summary.nearFieldMagnetic = true;
    EXPECT_EQ(nearFieldUnit(m.summary, 1).label, "[nA/m]");
    EXPECT_EQ(nearFieldUnit(m.summary, 2).label, "[mA/m]");
    EXPECT_EQ(nearFieldUnit(m.summary, 3).label, "[ A/m]");
    EXPECT_EQ(nearFieldUnit(m.summary, 4).divisor, 1);
    EXPECT_EQ(nearFieldTitle(m.summary, 4), "Near Field in [ A/m]  H(tot.)");
    // A largest value the engine did not print does not pick a unit from NaN.
    m.summary.nearFieldMax[4] = std::nan("");
    EXPECT_EQ(nearFieldUnit(m.summary, 4).label, "[nA/m]");
}

TEST(NearFieldScale, LogFactorStepsByTenthsBetweenTheLimits) {
    double f = kLinearNearFactor;
    std::vector<double> seen;
    for (int k = 0; k < 5; ++k) seen.push_back(f = moreLogarithmic(f));
    EXPECT_EQ(seen, (std::vector<double>{0.4, 0.3, 0.2, 0.1, 0.1}));
    for (int k = 0; k < 5; ++k) f = moreLinear(f);
    EXPECT_EQ(f, 0.5);
    // The legend's inverse scale puts every value back where scaleRadius drew it.
    for (double factor : {0.5, 0.3, 0.1})
        for (double v : {2.0, 3.5, 7.0})
            EXPECT_NEAR(valueAtFraction(2, 7, scaleRadius(2, 7, v, factor), factor), v, 1e-9) << factor;
}

TEST(NearFieldKeys, PositionsWrapAtBothEnds) {
    const Model m = cube();
    NearFieldState s = openedOn(m);
    RecordingUi ui;
    ASSERT_EQ(s.plane, kPlaneXY);
    // XY: Right and Left move the z plane, Up and Down the line along x.
    EXPECT_TRUE(nearFieldCommand(s, m, m, m.summary, ui, 39));
    EXPECT_EQ(s.position[2], 2);
    nearFieldCommand(s, m, m, m.summary, ui, 39);
    EXPECT_EQ(s.position[2], 1);
    nearFieldCommand(s, m, m, m.summary, ui, 37);
    EXPECT_EQ(s.position[2], 2);
    nearFieldCommand(s, m, m, m.summary, ui, 40);
    EXPECT_EQ(s.position[1], 4);
    nearFieldCommand(s, m, m, m.summary, ui, 38);
    EXPECT_EQ(s.position[1], 1);
    EXPECT_EQ(nearPositionLabel(m, m, m.summary, s), "Z = 1.0 mtr.");
    nearFieldCommand(s, m, m, m.summary, ui, 33);
    EXPECT_FALSE(s.map2D);
    EXPECT_EQ(nearPositionLabel(m, m, m.summary, s), "Y = 0.0 mtr. ; Z = 1.0 mtr.");
    nearFieldCommand(s, m, m, m.summary, ui, 34);
    EXPECT_TRUE(s.map2D);
    // YZ: the fixed axis is x (3 coordinates), the graph runs along y.
    s.plane = kPlaneYZ;
    for (int k = 0; k < 3; ++k) nearFieldCommand(s, m, m, m.summary, ui, 39);
    EXPECT_EQ(s.position[0], 1);
    EXPECT_EQ(graphAxis(m, m, m.summary, kPlaneYZ), 1);
    nearFieldCommand(s, m, m, m.summary, ui, 38);
    EXPECT_EQ(s.position[2], 1); // z has two coordinates: 2 + 1 wraps to 1
    EXPECT_FALSE(nearFieldCommand(s, m, m, m.summary, ui, 'L'));
    EXPECT_TRUE(ui.messages().empty());
}

TEST(NearFieldKeys, PlanesComponentsAndStructureCycle) {
    const Model m = cube();
    NearFieldState s = openedOn(m);
    RecordingUi ui;
    std::vector<int> planes;
    for (int k = 0; k < 3; ++k) {
        nearFieldCommand(s, m, m, m.summary, ui, 32);
        planes.push_back(s.plane);
    }
    EXPECT_EQ(planes, (std::vector<int>{kPlaneXZ, kPlaneYZ, kPlaneXY}));
    nearFieldCommand(s, m, m, m.summary, ui, 190);
    EXPECT_EQ(s.component, 1);
    nearFieldCommand(s, m, m, m.summary, ui, 188);
    nearFieldCommand(s, m, m, m.summary, ui, 188);
    EXPECT_EQ(s.component, 3);
    nearFieldCommand(s, m, m, m.summary, ui, 'G');
    EXPECT_TRUE(s.showStructure);
    // A new load starts afresh; entering again keeps the state but shows the map.
    s.map2D = false;
    openNearField(s, m);
    EXPECT_TRUE(s.map2D);
    EXPECT_EQ(s.component, 3);
    Model reloaded = cube();
    reloaded.loadSerial = m.loadSerial + 1;
    openNearField(s, reloaded);
    EXPECT_EQ(s.component, kComponentTotal);
    EXPECT_FALSE(s.showStructure);
}

TEST(NearFieldKeys, ALineOfPointsShowsOnlyThePlanesThatHoldIt) {
    // The line along z of examples/nearfield.nec: XY holds a single point.
    const Model line = nearModel({1, 1, 21}, {1, 0, -5}, {0, 0, 0.5}, [](double, double, double z) {
        return std::array<float, 3>{0, 0, float(1 + z * z)};
    });
    NearFieldState s = openedOn(line);
    EXPECT_EQ(s.plane, kPlaneXZ);
    EXPECT_FALSE(planeDisplayable(line, line, line.summary, kPlaneXY));
    EXPECT_EQ(graphAxis(line, line, line.summary, kPlaneXZ), 2);
    RecordingUi ui;
    nearFieldCommand(s, line, line, line.summary, ui, 32);
    EXPECT_EQ(s.plane, kPlaneYZ);
    nearFieldCommand(s, line, line, line.summary, ui, 32);
    EXPECT_EQ(s.plane, kPlaneXZ);
    s.map2D = false;
    const NearValues graph = lineValues(line, line, line.summary, s);
    ASSERT_EQ(graph.samples.size(), 21u);
    EXPECT_DOUBLE_EQ(graph.samples.front().across, -5);
    EXPECT_DOUBLE_EQ(graph.max, 26);
    EXPECT_DOUBLE_EQ(graph.min, 1);

    const Model point = nearModel({1, 1, 1}, {0, 0, 0}, {0, 0, 0}, [](double, double, double) {
        return std::array<float, 3>{1, 1, 1};
    });
    for (int16_t plane : {kPlaneXY, kPlaneXZ, kPlaneYZ})
        EXPECT_FALSE(planeDisplayable(point, point, point.summary, plane));
    // Two equal coordinates are a single point too.
    const Model same = nearModel({1, 1, 3}, {0, 0, 2}, {0, 0, 0}, [](double, double, double) {
        return std::array<float, 3>{1, 1, 1};
    });
    EXPECT_FALSE(planeDisplayable(same, same, same.summary, kPlaneXZ));
}

TEST(NearFieldCutoff, DeleteAsksAndClipsTheHotSpots) {
    const Model m = cube();
    NearFieldState s = openedOn(m);
    s.component = 3;
    s.logFactor = 0.2;
    RecordingUi ui;
    // No answer given: the default, the largest value, is taken.
    nearFieldCommand(s, m, m, m.summary, ui, 46);
    ASSERT_EQ(ui.messages(), std::vector<std::string>{"Ignore points with field-strength above: "});
    EXPECT_EQ(s.cutoff, 11);
    EXPECT_EQ(s.logFactor, 0.2);
    ui.queueInput(std::string("5"));
    nearFieldCommand(s, m, m, m.summary, ui, 46);
    EXPECT_EQ(s.cutoff, 5);
    EXPECT_EQ(s.logFactor, kLinearNearFactor);
    s.position[2] = 2; // z = 1: every Ez is 11, shown as 5
    NearValues v = planeValues(m, m, m.summary, s);
    EXPECT_EQ(v.max, 5);
    EXPECT_EQ(v.largest->value, 11);
    EXPECT_EQ(nearMaxLabel(m, m.summary, s, v), "Max: 11.0 at X=-1.0 ; Y=0.0 ; Z=1.0 m.");

    ui.queueInput(std::nullopt); // Cancel keeps it
    nearFieldCommand(s, m, m, m.summary, ui, 46);
    EXPECT_EQ(s.cutoff, 5);
    for (const char* reset : {"0", "", "-3", "none"}) {
        s.cutoff = 5;
        ui.queueInput(std::string(reset));
        nearFieldCommand(s, m, m, m.summary, ui, 46);
        EXPECT_EQ(s.cutoff, 11) << reset;
    }
    // Small fields: the default keeps its decimals, so taking it keeps the cut-off.
    NearFieldState small = openedOn(m);
    small.cutoff = 0.0123;
    askCutoff(small, m.summary, ui);
    EXPECT_DOUBLE_EQ(small.cutoff, 0.0123);
}

TEST(NearFieldMap, CellsTileThePlaneInRampColours) {
    const Model m = cube();
    NearFieldState s = openedOn(m);
    s.component = 1; // x + 2: 1, 2, 3 across x
    const NearValues v = planeValues(m, m, m.summary, s);
    const NearMap map = nearFieldMap(m, m, m.summary, s, v);
    ASSERT_EQ(map.cells.size(), 12u);
    EXPECT_DOUBLE_EQ(map.left, -1.5);
    EXPECT_DOUBLE_EQ(map.right, 1.5);
    EXPECT_DOUBLE_EQ(map.bottom, -0.5);
    EXPECT_DOUBLE_EQ(map.top, 3.5);
    EXPECT_EQ(map.cells[0].colour, displayTables().colourRamp[0]);
    EXPECT_EQ(map.cells[1].colour, colourOf(0.5));
    EXPECT_EQ(map.cells[2].colour, displayTables().colourRamp[16]);
    const auto legend = nearFieldLegend(m.summary, s, v, 5);
    ASSERT_EQ(legend.size(), 5u);
    EXPECT_EQ(legend.front().text, "1.0");
    EXPECT_EQ(legend[2].text, "2.0");
    EXPECT_EQ(legend.back().text, "3.0");
    EXPECT_EQ(legend.back().colour, displayTables().colourRamp[16]);

    // A row of points: the cells are as high as they are wide.
    const Model row = nearModel({4, 1, 1}, {0, 0, 0}, {0.2, 0, 0}, [](double x, double, double) {
        return std::array<float, 3>{float(x), 0, 0};
    });
    const NearFieldState rs = openedOn(row);
    const NearMap rowMap = nearFieldMap(row, row, row.summary, rs, planeValues(row, row, row.summary, rs));
    ASSERT_EQ(rowMap.cells.size(), 4u);
    EXPECT_NEAR(rowMap.cells[0].halfUp, 0.1, 1e-6);
    EXPECT_NEAR(rowMap.top - rowMap.bottom, 0.2, 1e-6);
}

TEST(NearFieldMap, ValuesTheEngineDidNotPrintAreLeftOut) {
    Model m = cube();
    m.nearFieldValues[2][3] = std::nanf("");
    NearFieldState s = openedOn(m);
    const NearValues v = planeValues(m, m, m.summary, s);
    EXPECT_EQ(v.samples.size(), 11u);
    EXPECT_FALSE(std::isnan(v.min));
    // The structure seen on the plane.
    m.allocateModelTables(4, 2, 1, 1, 1);
    m.wireCount = 1;
    m.wireX1[1] = 1, m.wireY1[1] = 2, m.wireZ1[1] = 3;
    m.wireX2[1] = 4, m.wireY2[1] = 5, m.wireZ2[1] = 6;
    const auto yz = structureOnPlane(m, kPlaneYZ);
    ASSERT_EQ(yz.size(), 1u);
    EXPECT_EQ(yz[0].fromAcross, 2);
    EXPECT_EQ(yz[0].toUp, 6);
}

} // namespace
} // namespace wavra
