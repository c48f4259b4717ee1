#include "present/pattern_lobes.h"

#include <gtest/gtest.h>

#include <map>

#include "pattern_test_support.h"

namespace wavra {
namespace {

using test::allColumns;
using test::gridModel;
using test::range;

// A horizontal cut (theta 90, phi every 5 degrees) whose gain is -30 dB
// except at the directions given.
Cut horizontalCut(const std::map<double, double>& gains, std::vector<double> phis = range(0, 355, 5)) {
    Model m = gridModel({90}, phis, allColumns([&gains](double, double phi) {
                            const auto it = gains.find(phi);
                            return it == gains.end() ? -30.0 : it->second;
                        }));
    PatternState s = test::openedOn(m, kHorizontalCut);
    return extractCut(m, m, s, 0);
}

LobeRules dbRules() {
    LobeRules r;
    r.floor = -24 + 2 * 6;
    return r;
}

TEST(PatternLobes, SideLobesCloseToThePeakAreNotMarked) {
    // Peak 8 dB at 90; a maximum 2 dB below it at 200, one 5 dB below at 300.
    const Cut cut =
        horizontalCut({{85, 5}, {90, 8}, {95, 5}, {195, 3}, {200, 6}, {205, 3}, {295, 0}, {300, 3}, {305, 0}});
    const auto lobes = findLobes(cut, dbRules());
    ASSERT_EQ(lobes.size(), 2u);
    EXPECT_EQ(lobes[0].angle, 90);
    EXPECT_EQ(lobes[0].value, 8);
    EXPECT_EQ(lobes[1].angle, 300);
    EXPECT_EQ(lobes[1].value, 3);
    // The floor (scale minimum plus two steps) hides the small lobe.
    LobeRules high = dbRules();
    high.floor = 4;
    EXPECT_EQ(findLobes(cut, high).size(), 1u);
}

TEST(PatternLobes, BeamwidthAcrossPhiZeroIsPositive) {
    const Cut cut = horizontalCut({{345, 4.5}, {350, 6}, {355, 8}, {0, 9}, {5, 8}, {10, 6.5}, {15, 5.7}, {20, 4}});
    const auto lobes = findLobes(cut, dbRules());
    ASSERT_EQ(lobes.size(), 1u);
    const Lobe& l = lobes[0];
    EXPECT_EQ(l.angle, 0);
    // Level 6 dB: at 350 the value is on it; forward, 15 (5.7) is nearer to
    // it than 10 (6.5).
    EXPECT_EQ(cut.points[*l.low].angle, 350);
    EXPECT_EQ(cut.points[*l.high].angle, 15);
    EXPECT_NEAR(*l.beamwidth, 25, 1e-9);
    EXPECT_NEAR(*l.frontToBack, 9 - -30, 1e-12); // back at 180
}

TEST(PatternLobes, PhiZeroAndThreeSixtyAndFlatTopsAreOneLobe) {
    const Cut cut = horizontalCut({{355, 5}, {0, 9}, {360, 9}, {5, 5}}, range(0, 360, 5));
    const auto lobes = findLobes(cut, dbRules());
    ASSERT_EQ(lobes.size(), 1u);
    EXPECT_NEAR(*lobes[0].beamwidth, 10, 1e-9);
    // Three samples print the same largest gain: the lobe is the middle one.
    const Cut flat = horizontalCut({{95, 4}, {100, 8}, {105, 8}, {110, 8}, {115, 4}});
    const auto top = findLobes(flat, dbRules());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].angle, 105);
    EXPECT_EQ(flat.points[cutRange(flat)->highestAt].angle, 105);
}

TEST(PatternLobes, BackDirectionInFreeSpaceAndOverGround) {
    EXPECT_EQ(backDirection(30, kHorizontalCut, true), 210);
    EXPECT_EQ(backDirection(300, kHorizontalCut, false), 120);
    EXPECT_EQ(backDirection(90, kVerticalCut, true), -90);
    EXPECT_EQ(backDirection(-90, kVerticalCut, true), 90);
    EXPECT_EQ(backDirection(60, kVerticalCut, false), -60);

    // A vertical cut over ground, theta -90..90: the back of a lobe at 60 is
    // the ray at -60; the cut is open, so no walk goes round its ends.
    Model m = gridModel(range(-90, 90, 10), {0}, allColumns([](double t, double) {
                            return t == 60 ? 5.0 : (t == 50 || t == 70 ? 3.0 : (t == -60 ? -7.0 : -20.0));
                        }));
    PatternState s = test::openedOn(m, kVerticalCut);
    const Cut cut = extractCut(m, m, s, 0);
    LobeRules r = dbRules();
    r.floor = -5; // the back's own maximum stays unmarked
    r.freeSpace = false;
    const auto lobes = findLobes(cut, r);
    ASSERT_EQ(lobes.size(), 1u);
    EXPECT_EQ(cut.points[*lobes[0].back].angle, -60);
    EXPECT_EQ(*lobes[0].frontToBack, 12);
    // A lobe at the open end: its outer -3 dB point is missing.
    Model edge = gridModel(range(0, 90, 10), {0}, allColumns([](double t, double) { return -t / 10; }));
    PatternState e = test::openedOn(edge, kVerticalCut);
    const auto edgeLobes = findLobes(extractCut(edge, edge, e, 0), dbRules());
    ASSERT_EQ(edgeLobes.size(), 1u);
    EXPECT_EQ(edgeLobes[0].angle, 0);
    EXPECT_FALSE(edgeLobes[0].low.has_value());
    EXPECT_FALSE(edgeLobes[0].beamwidth.has_value());
}

TEST(PatternLobes, FieldStrengthsFallBy3dBToOneOverRootTwo) {
    // 1 V/m at 0, 0.75 at +-5, 0.6 at +-10; the rest 0.1 V/m.
    Model m = gridModel({90}, range(0, 355, 5), allColumns([](double, double phi) {
                            if (phi == 0) return 1.0;
                            if (phi == 5 || phi == 355) return 0.75;
                            return phi == 10 || phi == 350 ? 0.6 : 0.1;
                        }));
    PatternState s = test::openedOn(m, kHorizontalCut);
    LobeRules r;
    r.db = false;
    const auto lobes = findLobes(extractCut(m, m, s, 0), r);
    ASSERT_EQ(lobes.size(), 1u);
    EXPECT_NEAR(*lobes[0].beamwidth, 10, 1e-9);   // 0.75 lies nearer to 0.707 than 0.6
    EXPECT_NEAR(*lobes[0].frontToBack, 20, 1e-9); // 20 log10(1 / 0.1)
}

} // namespace
} // namespace wavra
