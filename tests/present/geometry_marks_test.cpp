#include "present/geometry_marks.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "present/geometry_scene.h"

namespace wavra {
namespace {

// Input wires: an L of tags 1 (5 segments, along x) and 2 (2 segments, up
// from the corner), and tag 3 (4 segments) apart.
Model inputWires() {
    Model m;
    m.wireCount = 3;
    auto set = [&](int i, int tag, int segments, Point3 a, Point3 b) {
        m.wireTag[i] = static_cast<int16_t>(tag);
        m.wireSegments[i] = static_cast<int16_t>(segments);
        m.wireX1[i] = a.x, m.wireY1[i] = a.y, m.wireZ1[i] = a.z;
        m.wireX2[i] = b.x, m.wireY2[i] = b.y, m.wireZ2[i] = b.z;
        m.wireEnd1Link[i] = m.wireEnd2Link[i] = kNoLink;
    };
    set(1, 1, 5, {0, 0, 0}, {5, 0, 0});
    set(2, 2, 2, {5, 0, 1e-9}, {5, 0, 2}); // meets the corner within the tolerance
    set(3, 3, 4, {0, 4, 0}, {4, 4, 0});
    m.modelExtent = 5;
    return m;
}

std::vector<double> xs(const std::vector<Point3>& points) {
    std::vector<double> x;
    for (const Point3& p : points) x.push_back(p.x);
    return x;
}

TEST(GeometryMarks, OpenEndsOfInputWires) {
    const Model m = inputWires();
    EXPECT_FALSE(showsReportSegments(m));
    const std::vector<Point3> open = openEnds(m);
    ASSERT_EQ(open.size(), 4u); // the corner is joined
    EXPECT_EQ(xs(open), (std::vector<double>{0, 5, 0, 4}));
    EXPECT_EQ(open[1].z, 2);
    EXPECT_TRUE(junctionEnds(m).empty()); // known from a report only
    EXPECT_EQ(segmentDivisions(m).size(), 6u + 3u + 5u);
}

TEST(GeometryMarks, SourcesAndLoadsBySegmentOfTheirTag) {
    Model m = inputWires();
    m.sourceCount = 2;
    m.sourceTag[1] = 1, m.sourceSegment[1] = 3; // third segment of tag 1
    m.sourceTag[2] = 0, m.sourceSegment[2] = 7; // seventh of the structure: second of tag 2
    const std::vector<Point3> sources = sourcePoints(m);
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_DOUBLE_EQ(sources[0].x, 2.5);
    EXPECT_NEAR(sources[1].z, 1.5, 1e-9);
    m.loadCount = 2;
    m.loadTag[1] = 3, m.loadFirstSegment[1] = 0, m.loadLastSegment[1] = 0; // every segment of tag 3
    m.loadTag[2] = 1, m.loadFirstSegment[2] = 4, m.loadLastSegment[2] = 5;
    EXPECT_EQ(xs(loadPoints(m)), (std::vector<double>{3.5, 4.5, 0.5, 1.5, 2.5, 3.5}));
    m.loadTag[2] = kEmptyTag;
    EXPECT_EQ(loadPoints(m).size(), 4u);
}

// Report segments: 1-2-3 in a row with an open start, segment 3 ending in
// a junction of more than two wires, segment 4 standing on a ground plane.
Model reportSegments() {
    Model m;
    m.wireCount = 4;
    for (int i = 1; i <= 4; ++i) {
        m.wireTag[i] = 1;
        m.wireSegments[i] = 1;
        m.wireX1[i] = i - 1;
        m.wireX2[i] = i;
    }
    m.wireEnd1Link[1] = 0, m.wireEnd2Link[1] = 2;
    m.wireEnd1Link[2] = 1, m.wireEnd2Link[2] = 3;
    m.wireEnd1Link[3] = 2, m.wireEnd2Link[3] = -7;
    m.wireEnd1Link[4] = -4, m.wireEnd2Link[4] = 0;
    return m;
}

TEST(GeometryMarks, EndsAndJunctionsOfReportSegments) {
    const Model m = reportSegments();
    EXPECT_TRUE(showsReportSegments(m));
    EXPECT_EQ(xs(openEnds(m)), (std::vector<double>{0, 4}));
    EXPECT_EQ(xs(junctionEnds(m)), (std::vector<double>{3})); // not the ground plane's -4
}

TEST(GeometryScene, CurrentColoursGiveWayToThePattern) {
    Model m = reportSegments();
    m.modelExtent = 4;
    for (int i = 1; i <= 4; ++i) m.wireCurrentMag[i] = 0.25 * i;
    m.maxCurrentMag = 1;
    m.maxCurrentPhase = 0;
    GeometryViewState s = initialGeometryState(m, m);
    s.multiColour = true;
    GeometryScene scene;
    auto batchOf = [&](Rgb colour, double width) -> const LineBatch* {
        for (const LineBatch& b : scene.batches)
            if (b.colour == colour && b.width == width && !b.lines.empty()) return &b;
        return nullptr;
    };
    buildGeometryScene(m, s, PatternGrid{}, scene);
    ASSERT_NE(batchOf(displayTables().colourRamp[16], 2), nullptr); // the largest current
    ASSERT_NE(batchOf(displayTables().colourRamp[4], 2), nullptr);  // a quarter of it
    EXPECT_EQ(batchOf(standardColour(kWireColour), 1), nullptr);
    s.showPattern = true;
    buildGeometryScene(m, s, PatternGrid{}, scene);
    ASSERT_NE(batchOf(standardColour(kWireColour), 1), nullptr);
    EXPECT_EQ(batchOf(standardColour(kWireColour), 1)->lines.size(), 4u);
    EXPECT_EQ(batchOf(displayTables().colourRamp[16], 2), nullptr);
    s.selectedSegment = 2;
    buildGeometryScene(m, s, PatternGrid{}, scene);
    EXPECT_EQ(scene.currentLabel, "Seg: 2, Tag: 1, Curr: .5 amp @ 0.0 \u00b0 (report)");
    // With a power budget the read-out adds the current at the settings'
    // power, scaled as the main window's source current.
    m.summary.hasPower = true;
    m.summary.fieldScale = 4;
    m.power = 50;
    buildGeometryScene(m, s, PatternGrid{}, scene);
    EXPECT_EQ(scene.currentLabel, "Seg: 2, Tag: 1, Curr: .5 amp @ 0.0 \u00b0 (report)   at 50 W: 2.0 amp @ 0.0 \u00b0");
    EXPECT_EQ(scene.thetaLabel, "Theta: 80");
    EXPECT_EQ(scene.phiLabel, "Phi: 280");
    EXPECT_EQ(scene.axisLabel, "Axis : 2.5 m");
}

} // namespace
} // namespace wavra
