#include "optimizer/run_progress.h"

#include <algorithm>

namespace wavra {

namespace {

// The first goal of an open-ended search: a sensitivity pass and a few
// moves of a handful of variables.
constexpr int kFirstGoal = 20;
constexpr int kLargestGoal = 1 << 28;

} // namespace

RunProgress runProgress(int done, int planned) {
    done = std::max(done, 0);
    if (planned > 0) return {std::min(done, planned), planned};
    int goal = kFirstGoal;
    while (goal <= done && goal < kLargestGoal) goal *= 2;
    return {std::min(done, goal), goal};
}

} // namespace wavra
