#include "optimizer/run_progress.h"

#include <gtest/gtest.h>

namespace wavra {
namespace {

// A sweep fills its bar run by run; a search's bar moves with every run
// and starts over at half full each time its goal doubles.
TEST(RunProgress, SweepsFillTheirBarAndSearchesMoveTowardsADoublingGoal) {
    EXPECT_EQ(runProgress(3, 10).value, 3);
    EXPECT_EQ(runProgress(3, 10).maximum, 10);
    EXPECT_EQ(runProgress(12, 10).value, 10);
    int previous = -1;
    for (int done = 0; done < 20; ++done) {
        EXPECT_GT(runProgress(done, 0).value, previous);
        EXPECT_EQ(runProgress(done, 0).maximum, 20);
        previous = runProgress(done, 0).value;
    }
    EXPECT_EQ(runProgress(20, 0).maximum, 40);
    EXPECT_EQ(runProgress(20, 0).value, 20);
    EXPECT_EQ(runProgress(100, 0).maximum, 160);
    EXPECT_EQ(runProgress(-1, 0).value, 0);
}

} // namespace
} // namespace wavra
