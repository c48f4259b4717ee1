#include "app/terminal_progress.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace wavra;

namespace {

// A progress line on a string stream with a clock the test moves.
struct ProgressOnTerminal : ::testing::Test {
    std::ostringstream terminal;
    long long now = 5000;
    TerminalProgress progress{&terminal, "wavra", [this] { return now; }};
};

} // namespace

TEST(ProgressText, CountAndTenthsOfSeconds) {
    EXPECT_EQ(progressText("wavra", "sweep", "12 of 40 steps", 3249), "wavra: sweep: 12 of 40 steps, 3.2 s");
    EXPECT_EQ(progressText("wavra", "far field", "", 61060), "wavra: far field: 61.1 s");
}

TEST_F(ProgressOnTerminal, QuietForTheFirstSecondThenRewrittenInPlace) {
    progress.begin("sweep");
    now += 999;
    progress.steps(3, 40);
    EXPECT_EQ(terminal.str(), "");
    now += 1;
    progress.update();
    EXPECT_EQ(terminal.str(), "\rwavra: sweep: 3 of 40 steps, 1.0 s");
    progress.update(); // the same text is not written again
    now += 9300;
    progress.steps(12, 40);
    EXPECT_EQ(terminal.str(), "\rwavra: sweep: 3 of 40 steps, 1.0 s\rwavra: sweep: 12 of 40 steps, 10.3 s");
    terminal.str("");
    progress.begin("optimize"); // a new task ends the line and restarts the clock
    now += 1500;
    progress.runs(1);
    EXPECT_EQ(terminal.str(), "\n\rwavra: optimize: 1 run, 1.5 s");
}

TEST_F(ProgressOnTerminal, AShorterLineCoversTheLongerOneAndMessagesStartOnANewLine) {
    progress.begin("optimize");
    now += 2000;
    progress.runs(120);
    terminal.str("");
    progress.begin("far field");
    now += 1000;
    progress.update();
    progress.interrupt();
    progress.interrupt(); // no line open: nothing more
    progress.finish();
    EXPECT_EQ(terminal.str(), "\n\rwavra: far field: 1.0 s\n");
    terminal.str("");
    progress.begin("sweep");
    now += 1000;
    progress.steps(10, 12);
    now += 100;
    progress.steps(9, 9); // shorter than the line before: blanks cover the rest
    progress.finish();
    EXPECT_EQ(terminal.str(), "\rwavra: sweep: 10 of 12 steps, 1.0 s\rwavra: sweep: 9 of 9 steps, 1.1 s  \n");
}
