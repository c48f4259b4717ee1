#include <gtest/gtest.h>

#include <cmath>

#include "build_test_support.h"
#include "builder/grid_patch.h"
#include "builder/radial_disc.h"
#include "builder/shapes.h"

using namespace wavra::build;
using namespace wavra::build::test;

namespace {

int radialsFromCentre(const WireWriter& w) {
    int n = 0;
    for (const WrittenWire& wire : w.wires()) n += near(wire.end1, {0, 0, 0});
    return n;
}

bool tagsRunWithoutGaps(const WireWriter& w, int first) {
    for (size_t i = 0; i < w.wires().size(); ++i)
        if (w.wires()[i].tag != first + static_cast<int>(i)) return false;
    return w.nextTag() == first + static_cast<int>(w.wires().size());
}

} // namespace

TEST(Plane, DefaultsGive32WiresAnd176Segments) {
    WireWriter w = plainWriter();
    writePlane(w, PlaneShape{});
    EXPECT_EQ(w.wires().size(), 32u);
    EXPECT_EQ(w.totalSegments(), 176);
    EXPECT_EQ(radialsFromCentre(w), 16);
    EXPECT_EQ(duplicateSpans(w.wires()), 0);
    // The ring closes on the point where it started.
    EXPECT_TRUE(near(w.wires().back().end2, w.wires()[16].end1));
}

TEST(Plane, WithoutCircularWiresOnlyRadialsToTheRim) {
    PlaneShape s;
    s.circularWires = 0;
    s.radius = -4;
    WireWriter w = plainWriter();
    writePlane(w, s);
    ASSERT_EQ(w.wires().size(), 16u);
    for (const WrittenWire& wire : w.wires()) EXPECT_NEAR(std::hypot(wire.end2.x, wire.end2.y), 4, 1e-9);
}

TEST(RadialDisc, AngleRanges) {
    WireWriter full = plainWriter();
    writeRadialDisc(full, {-90, 270, 2, 8, 2, 1, 1});
    EXPECT_EQ(radialsFromCentre(full), 8);
    EXPECT_EQ(duplicateSpans(full.wires()), 0);

    WireWriter part = plainWriter();
    writeRadialDisc(part, {0, 270, 2, 6, 1, 1, 1});
    EXPECT_EQ(radialsFromCentre(part), 7);
    EXPECT_EQ(part.wires().size(), 7u + 6u);

    WireWriter backwards = plainWriter();
    writeRadialDisc(backwards, {90, 0, 1, 3, 1, 1, 1});
    EXPECT_EQ(radialsFromCentre(backwards), 4);

    WireWriter empty = plainWriter();
    writeRadialDisc(empty, {30, 30, 1, 4, 3, 1, 1});
    EXPECT_EQ(empty.wires().size(), 3u); // one radial, rings of no length
}

TEST(RadialDisc, NegativeRadiusLeavesOutTheOuterRing) {
    WireWriter w = plainWriter();
    writeRadialDisc(w, {0, 360, -3, 4, 3, 1, 1});
    EXPECT_EQ(w.wires().size(), 4u * 3u + 2u * 4u);
    for (const WrittenWire& wire : w.wires()) EXPECT_LE(std::hypot(wire.end2.x, wire.end2.y), 3 + 1e-9);
}

TEST(RadialDisc, NoDivisionsWritesNothing) {
    for (RadialDisc d :
         {RadialDisc{0, 360, 1, 4, 0, 1, 1}, RadialDisc{0, 360, 1, 0, 2, 1, 1}, RadialDisc{0, 360, 1, -4, 2, 1, 1}})
        EXPECT_TRUE(wiresOf(writeRadialDisc, d).empty());
}

TEST(Helix, TenTurnsOfSixteenSegments) {
    WireWriter w = plainWriter();
    writeHelix(w, HelixShape{});
    ASSERT_EQ(w.wires().size(), 162u);
    EXPECT_EQ(w.totalSegments(), 162);
    EXPECT_TRUE(near(w.wires().front().end2, {0.1, 0, 0}));
    EXPECT_TRUE(near(w.wires().back().end2, {0, 0, 1.2}));
    EXPECT_TRUE(tagsRunWithoutGaps(w, 1));
}

TEST(Helix, RadiusTapersFromR1ToR2) {
    WireWriter w = plainWriter();
    writeHelix(w, {2, 0.2, 0.1, 2, 4});
    ASSERT_EQ(w.wires().size(), 10u);
    const Vec3 top = w.wires()[8].end2;
    EXPECT_NEAR(std::hypot(top.x, top.y), 0.1, 1e-9);
    EXPECT_NEAR(top.z, 2, 1e-9);
}

TEST(Patch, TriangleWritesNoZeroLengthSpans) {
    WireWriter w = plainWriter();
    writePatch(w, {2, 0, 1, 4, 1, 2, 1});
    // 5 lengthwise lines of 2 spans and 3 crosswise lines of 4 spans, of
    // which the top one has no length.
    EXPECT_EQ(w.wires().size(), 5u * 2u + 2u * 4u);
    for (const WrittenWire& wire : w.wires()) EXPECT_FALSE(near(wire.end1, wire.end2, 1e-7));
    EXPECT_TRUE(tagsRunWithoutGaps(w, 1));
}

TEST(GridPatch, SkipMaskDropsWholeLines) {
    const GridPatch base{2, 2, 2, 2, 2, 1, 1, 0};
    auto count = [&](int skip) {
        GridPatch p = base;
        p.skip = skip;
        WireWriter w = plainWriter();
        writeGridPatch(w, p);
        return w.wires().size();
    };
    EXPECT_EQ(count(0), 12u);
    EXPECT_EQ(count(SkipInner), 8u);
    EXPECT_EQ(count(SkipFirstRow | SkipLastRow), 8u);
    EXPECT_EQ(count(SkipFirstColumn | SkipLastColumn | SkipInner), 4u);
    EXPECT_EQ(count(31), 0u);
}

TEST(Box, EveryEdgeIsWrittenOnce) {
    for (int mask = 0; mask < 64; ++mask) {
        BoxShape s;
        s.lengthX2 = 1; // tapered, so the faces are tilted
        s.lengthZ2 = 0.5;
        bool* faces[] = {&s.front, &s.back, &s.left, &s.right, &s.up, &s.down};
        for (int f = 0; f < 6; ++f) *faces[f] = (mask >> f & 1) != 0;
        EXPECT_EQ(duplicateSpans(wiresOf(writeBox, s)), 0) << "faces " << mask;
    }
}

TEST(Box, FacesMeetAtTheCorners) {
    BoxShape s;
    s.lengthX2 = 1;
    s.lengthZ2 = 0.4;
    WireWriter w = plainWriter();
    writeBox(w, s);
    // 12 edges of 2 spans each plus the inner lines of six 2x2 faces.
    EXPECT_EQ(w.wires().size(), 12u * 2u + 6u * 4u);
    const Vec3 corners[] = {{-1, -1.5, 0.5}, {1, -1.5, -0.5}, {-0.5, 1.5, 0.2}, {0.5, 1.5, -0.2}};
    for (const Vec3& c : corners) {
        int ends = 0;
        for (const WrittenWire& wire : w.wires()) ends += near(wire.end1, c, 1e-6) + near(wire.end2, c, 1e-6);
        EXPECT_EQ(ends, 3) << c.x << " " << c.y << " " << c.z;
    }
}

TEST(Box, AllFacesUncheckedWritesNothing) {
    BoxShape s;
    s.front = s.back = s.left = s.right = s.up = s.down = false;
    EXPECT_TRUE(wiresOf(writeBox, s).empty());
}

TEST(Cylinder, DefaultsAndClosedPart) {
    const auto part = wiresOf(writeCylinder, CylinderShape{});
    EXPECT_EQ(part.size(), 9u * 3u + 4u * 8u + 2u * 9u);
    EXPECT_EQ(duplicateSpans(part), 0);

    CylinderShape full;
    full.stopAngle = 360;
    const auto closed = wiresOf(writeCylinder, full);
    EXPECT_EQ(closed.size(), 8u * 3u + 4u * 8u + 2u * 8u);
    EXPECT_EQ(duplicateSpans(closed), 0);
}

TEST(Cylinder, ConeApexHasNoRingAndCapsNeedRadialSections) {
    CylinderShape cone;
    cone.radius2 = 0;
    cone.radialSections = 0;
    const auto wires = wiresOf(writeCylinder, cone);
    EXPECT_EQ(wires.size(), 9u * 3u + 3u * 8u);
    for (const WrittenWire& wire : wires) EXPECT_LE(wire.end2.z, 1.2 + 1e-9);
}

TEST(Parabola, CircularGridLiesOnTheParaboloid) {
    WireWriter w = plainWriter();
    RecordingSink sink;
    writeParabola(w, ParabolaShape{}, sink);
    EXPECT_EQ(w.wires().size(), 16u * 10u + 10u * 16u);
    EXPECT_TRUE(sink.notes.empty());
    for (const WrittenWire& wire : w.wires())
        EXPECT_NEAR(wire.end2.z, (wire.end2.x * wire.end2.x + wire.end2.y * wire.end2.y) / 1.0, 1e-9);
}

TEST(Parabola, RoundRectangularGridStaysInTheAperture) {
    ParabolaShape s;
    s.grid = ParabolaGrid::RoundRectangular;
    s.wiresX = 10, s.wiresY = 10;
    WireWriter w = plainWriter();
    RecordingSink sink;
    writeParabola(w, s, sink);
    ASSERT_FALSE(w.wires().empty());
    for (const WrittenWire& wire : w.wires())
        for (const Vec3& p : {wire.end1, wire.end2}) EXPECT_LE(std::hypot(p.x, p.y), 1 + 1e-9);
    EXPECT_EQ(sink.notes, std::vector<std::string>{kCleanUpNote});
    EXPECT_EQ(duplicateSpans(w.wires()), 0);
}

TEST(Parabola, RectangularGridAndBends) {
    ParabolaShape s;
    s.grid = ParabolaGrid::Rectangular;
    s.wiresX = 3, s.wiresY = 4, s.lengthX = 2, s.lengthY = 3;
    s.bentY = false;
    WireWriter w = plainWriter();
    RecordingSink sink;
    writeParabola(w, s, sink);
    EXPECT_EQ(w.wires().size(), 3u * 3u + 4u * 2u);
    for (const WrittenWire& wire : w.wires()) EXPECT_NEAR(wire.end2.z, wire.end2.x * wire.end2.x, 1e-9);
    EXPECT_TRUE(near(w.wires().front().end1, {-1, -1.5, 1}));

    s.segmentsX = 0;
    WireWriter alongYOnly = plainWriter();
    writeParabola(alongYOnly, s, sink);
    EXPECT_EQ(alongYOnly.wires().size(), 3u * 3u);
}

TEST(Shapes, HugeCountsStopAtTheDeckLimit) {
    PatchShape s{1, 1, 1, 32767, 1, 32767, 1};
    WireWriter w = plainWriter();
    writePatch(w, s);
    EXPECT_EQ(w.limit(), WriterLimit::TagsOrSegments);

    PatchShape point{0, 0, 0, 32767, 1, 32767, 1};
    WireWriter degenerate = plainWriter();
    writePatch(degenerate, point);
    EXPECT_EQ(degenerate.limit(), WriterLimit::ZeroLengthWires);
    EXPECT_TRUE(degenerate.wires().empty());
}
