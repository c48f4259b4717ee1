#include "engine/deck_requests.h"

#include <gtest/gtest.h>

namespace wavra {
namespace {

void expectAxis(const DeckAxis& a, double start, double stop, double step, int count) {
    EXPECT_DOUBLE_EQ(a.start, start);
    EXPECT_DOUBLE_EQ(a.stop, stop);
    EXPECT_DOUBLE_EQ(a.step, step);
    EXPECT_EQ(a.count, count);
}

TEST(DeckRequests, FirstLoopFirstPatternAndFirstNearFieldWithPoints) {
    const DeckRequests r = findDeckRequests(
        "GW 1 11 0 -5 0 0 5 0 0.001\nFR 0 1 0 0 14.0 0\n"
        "NH 0 0 0 0 0 0 0 0 0 0\nNE,0,21,1,3,-10,0,1,1,0,0.5\n"
        "RP 0 19 1 1000 0 90 5 0\nFR 0 8 0 0 14.0 0.05\nRP 0 1 1 1000\n"
        "FR 0 3 0 0 21 1\nEN\nRP 0 2 2 1000 0 0 1 1\n");
    ASSERT_TRUE(r.frequency && r.farField && r.nearField);
    expectAxis(*r.frequency, 14.0, 14.35, 0.05, 8);
    expectAxis((*r.farField)[0], 0, 90, 5, 19);
    expectAxis((*r.farField)[1], 90, 90, 1, 1); // one phi: a step the dialog accepts
    expectAxis((*r.nearField)[0], -10, 10, 1, 21);
    expectAxis((*r.nearField)[2], 1, 2, 0.5, 3);
}

TEST(DeckRequests, MultiplicativeLoopAndNothingAsked) {
    DeckRequests r = findDeckRequests("FR 1 3 0 0 10 2\n");
    expectAxis(*r.frequency, 10, 40, 15, 3); // the step of the linear loop with the same ends
    EXPECT_EQ(r.frequency->ratio, 2);
    r = findDeckRequests("NE 0 0 5 5 0 0 0 1 1 1\nGW 1 1 0 0 0 0 0 1 0.1\n");
    EXPECT_FALSE(r.frequency || r.farField || r.nearField);
}

} // namespace
} // namespace wavra
