#include <gtest/gtest.h>

#include "build_test_support.h"
#include "builder/wire_writer.h"

using namespace wavra::build;
using namespace wavra::build::test;

TEST(WireWriter, CardLayoutAndCounting) {
    WireWriter w = plainWriter(7);
    w.wire(3, {0, 0, 0}, {0.5, -12.3456, 10000.04});
    ASSERT_EQ(w.cards().size(), 1u);
    EXPECT_EQ(w.cards()[0], "GW    7   3       .0       .0       .0       .5  -12.346  10000.0     .001");
    EXPECT_EQ(w.nextTag(), 8);
    EXPECT_EQ(w.totalSegments(), 3);
}

TEST(WireWriter, DropsEmptyAndZeroLengthWiresWithoutUsingATag) {
    WireWriter w = plainWriter();
    w.wire(0, {0, 0, 0}, {1, 0, 0});
    w.wire(-2, {0, 0, 0}, {1, 0, 0});
    w.wire(5, {1, 1, 1}, {1, 1, 1});
    w.wire(10, {0, 0, 0}, {5e-6, 0, 0}); // 5e-7 m per segment
    w.wire(1, {0, 0, 0}, {2e-6, 0, 0});
    ASSERT_EQ(w.wires().size(), 1u);
    EXPECT_EQ(w.wires()[0].tag, 1);
    EXPECT_EQ(w.nextTag(), 2);
    EXPECT_EQ(w.totalSegments(), 1);
}

TEST(WireWriter, RefusesNonFiniteEnds) {
    WireWriter w = plainWriter();
    w.wire(1, {0, 0, 0}, {INFINITY, 0, 0});
    w.wire(1, {NAN, 0, 0}, {1, 0, 0});
    EXPECT_TRUE(w.wires().empty());
    EXPECT_EQ(w.nonFiniteWires(), 2);
}

TEST(WireWriter, UserRotationThenMove) {
    Placement p;
    p.userRotation = {0, 0, 90};
    p.move = {1, 2, 3};
    WireWriter w(p, 1);
    w.wire(1, {0, 0, 0}, {1, 0, 0});
    // About Z: X' = X cos + Y sin, Y' = Y cos - X sin, so +x turns to -y.
    EXPECT_TRUE(near(w.wires()[0].end1, {1, 2, 3}));
    EXPECT_TRUE(near(w.wires()[0].end2, {1, 1, 3}));
}

TEST(WireWriter, FaceIsPlacedBeforeTheUserRotation) {
    Placement p;
    p.userRotation = {90, 0, 0};
    WireWriter w(p, 1);
    w.setFace({0, 0, 0}, {0, 0, 2}); // a cap lifted to z = 2
    w.wire(1, {0, 0, 0}, {1, 0, 0});
    w.clearFace();
    w.wire(1, {0, 0, 0}, {1, 0, 0});
    // About X by 90: Y' = Z, Z' = -Y. The lifted cap turns with the shape.
    EXPECT_TRUE(near(w.wires()[0].end1, {0, 2, 0}));
    EXPECT_TRUE(near(w.wires()[1].end1, {0, 0, 0}));
}

TEST(WireWriter, SymbolicFields) {
    Placement p;
    p.moveSymbol = {"dx", "", "h"};
    p.radiusSymbol = "rad";
    p.radiusSymbolNumber = 0.002;
    WireWriter w(p, 1);
    w.wire(1, {-0.25, 0, 1.5}, {0.25, 0, 1.5});
    EXPECT_EQ(w.cards()[0], "GW    1   1     dx-.25       .0     h+1.5     dx+.25       .0     h+1.5    rad+.002");
}

TEST(WireWriter, StopsAtTheTagAndSegmentLimits) {
    WireWriter tags = plainWriter(WireWriter::kMaxTag);
    tags.wire(1, {0, 0, 0}, {1, 0, 0});
    tags.wire(1, {1, 0, 0}, {2, 0, 0});
    EXPECT_EQ(tags.wires().size(), 1u);
    EXPECT_EQ(tags.limit(), WriterLimit::TagsOrSegments);

    WireWriter segments = plainWriter();
    segments.wire(30000, {0, 0, 0}, {1, 0, 0});
    segments.wire(2768, {1, 0, 0}, {2, 0, 0});
    EXPECT_EQ(segments.wires().size(), 1u);
    EXPECT_TRUE(segments.stopped());
}
