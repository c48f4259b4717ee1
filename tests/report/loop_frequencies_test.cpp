// The frequencies of a loop's steps come from its FR card, not from the
// engine's 5-digit print; the print is checked against them, and a loop whose
// frequency lines repeat or skip a step is incomplete.
#include <cmath>

#include "report/columns.h"
#include "report/frequency_steps.h"
#include "report_test_support.h"

namespace wavra::test {
namespace {

class LoopFrequencies : public ReportTest {
protected:
    // The 11-step loop from 13.5 MHz in steps of 0.1 MHz, with the printed
    // frequency `from` of one step changed to `to`.
    bool loadWithFrequency(const std::string& from, const std::string& to) {
        std::string text = fixtureReport("g_loop_direction.nec2c.out");
        const size_t at = text.find("FREQUENCY : " + from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at + 12, from.size(), to);
        return load(text);
    }
};

// 2400.05 and 2400.1 both print 2.4001E+03; the rows hold each step's own
// frequency, in both loops of the deck (the second one multiplicative).
TEST_F(LoopFrequencies, StepsTakeTheFrequenciesOfTheirFrCard) {
    ASSERT_TRUE(load(fixtureReport("q_fine_and_ratio_loops.nec2c.out")));
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(model.freqCount, 9);
    const double fine[] = {2400, 2400.05, 2400.1, 2400.15, 2400.2}; // exactly: no 2400.1000000000004 in a file
    for (size_t k = 0; k < 5; ++k) EXPECT_EQ(model.sweepFreq[1 + k], fine[k]) << k;
    for (int k = 0; k < 4; ++k)
        EXPECT_DOUBLE_EQ(model.sweepFreq[static_cast<size_t>(6 + k)], 2400 * std::pow(1.001, k)) << k;
    EXPECT_DOUBLE_EQ(model.summary.sweep.freqMax, 2400 * std::pow(1.001, 3));
    EXPECT_DOUBLE_EQ(model.frequencyMHz, 2400);

    // The classic layout echoes the FR card in its own columns.
    ASSERT_TRUE(load(fixtureReport("b_dipole_fr3_ne.classic.out")));
    EXPECT_TRUE(userMessages().empty());
    EXPECT_EQ(model.sweepFreq[3], 14.2);
}

// A print that fits no step of the card is kept, and the user hears which.
TEST_F(LoopFrequencies, PrintThatContradictsTheLoopIsKeptAndSaid) {
    ASSERT_TRUE(loadWithFrequency("1.3700E+01", "1.3750E+01"));
    EXPECT_DOUBLE_EQ(model.sweepFreq[3], 13.75);
    EXPECT_DOUBLE_EQ(model.sweepFreq[4], 13.5 + 3 * 0.1);
    EXPECT_EQ(userMessages(), std::vector<std::string>{"The report out/model.out prints the frequency \"1.3750E+01\" "
                                                       "for step 3 of its FR card, which gives 13.7 MHz for that "
                                                       "step; the printed frequencies are kept."});
}

// A printed NaN is no frequency: the card's is taken. Nor is it a direction.
TEST_F(LoopFrequencies, FrequencyOrDirectionPrintedAsNaNIsNoNumber) {
    ASSERT_TRUE(loadWithFrequency("1.3600E+01", "       nan"));
    EXPECT_DOUBLE_EQ(model.sweepFreq[2], 13.5 + 0.1);
    EXPECT_EQ(model.summary.invalidValues, 1);
    ASSERT_TRUE(loadWithFrequency("1.3600E+01", "1.3#00E+01"));
    EXPECT_DOUBLE_EQ(model.sweepFreq[2], 13.5 + 0.1);

    std::string text = fixtureReport("g_loop_direction.nec2c.out");
    text.replace(text.find("   90.00      0.00"), 8, "    -nan");
    ASSERT_TRUE(load(text));
    EXPECT_TRUE(std::isnan(model.summary.sweep.theta));
}

TEST_F(LoopFrequencies, RepeatedOrSkippedStepMakesTheReportIncomplete) {
    const std::string incomplete = "The report out/model.out is incomplete (the engine stopped early): ";
    // Step 10 twice, step 11 missing: the count of steps is right.
    EXPECT_FALSE(loadWithFrequency("1.4500E+01", "1.4400E+01"));
    EXPECT_EQ(ui.messages().back(),
              incomplete + "frequency step 11 of 11 (14.5 MHz), in whose place step 10 is printed again.");
    EXPECT_EQ(model.freqCount, 0);
    // Step 6 in the place of step 5.
    ui.clear();
    EXPECT_FALSE(loadWithFrequency("1.3900E+01", "1.4000E+01"));
    EXPECT_EQ(ui.messages().back(), incomplete + "frequency step 5 of 11 (13.9 MHz).");
}

// 3.5 + 4 * 0.07 is 3.7800000000000002 in double arithmetic; the step is the
// decimal 3.78 the loop means. A multiplicative loop multiplies.
TEST(StepFrequency, LinearStepsLieOnTheDecimalGridOfTheEcho) {
    FrequencySteps loop{true, false, 3.5, 0.07, 30, printedHalfUnit("3.50000E+00"), printedHalfUnit(" 7.00000E-02")};
    EXPECT_EQ(loop.stepSlack, 5e-8);
    EXPECT_EQ(stepFrequency(loop, 4), 3.78);
    EXPECT_EQ(stepFrequency(loop, 21), 4.97);
    loop.multiplicative = true;
    loop.step = 1.5;
    EXPECT_DOUBLE_EQ(stepFrequency(loop, 2), 3.5 * 2.25);
}

TEST(ColumnValue, EverySpellingOfNaNAndInfinityIsNoNumber) {
    for (const char* text : {"nan", "  NaN", "-nan", "NAN", "nan(0x8000)", "nanq", "1.#QNAN", "-1.#IND00"})
        EXPECT_TRUE(std::isnan(columnValue(text, Column{1, 12}))) << text;
    for (const char* text : {"inf", "Infinity", "INF", "1.#INF00"})
        EXPECT_EQ(columnValue(text, Column{1, 12}), HUGE_VAL) << text;
    for (const char* text : {"-Inf", "-Infinity", "-1.#INF"})
        EXPECT_EQ(columnValue(text, Column{1, 12}), -HUGE_VAL) << text;
    EXPECT_DOUBLE_EQ(columnValue(" 1.5E+01", Column{1, 12}), 15);
    EXPECT_FALSE(columnIsValue("inflow", Column{1, 12}));
}

} // namespace
} // namespace wavra::test
