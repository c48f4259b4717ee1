// Joining part reports, and the loop progress read from growing reports.
#include "report/report_merge.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "engine/run_plan.h"
#include "support/test_support.h"

namespace wavra {
namespace {

// A report in nec2c's form: `before` sections of a calculation before the
// loop, then the loop's sections, the EN echo and the run time.
std::string report(int before, double start, int steps, int runMs = 10) {
    std::string text = "  banner\n  DATA CARD No:   1 FR   0     1     0     0  7.00000E+00\n";
    for (int i = 0; i < before; ++i) text += "\n\n\n     --------- FREQUENCY --------\n      FREQUENCY : prefix\n";
    text += "\n  DATA CARD No:   2 FR   0  " + std::string(4 - std::to_string(steps).size(), ' ') +
            std::to_string(steps) + "     0     0  1.40000E+01\n";
    for (int i = 0; i < steps; ++i)
        text += "\n\n\n     --------- FREQUENCY --------\n      step " + std::to_string(start + i) + "\n";
    return text + "\n  DATA CARD No:   3 EN   0\n\n  TOTAL RUN TIME: " + std::to_string(runMs) + " msec";
}

TEST(ReportMergeTest, PartsJoinIntoTheSingleRunsReport) {
    std::string error;
    const auto merged = mergeReports({{report(1, 0, 2, 40), 2}, {report(1, 2, 3, 50), 3}}, 77, error);
    ASSERT_TRUE(merged) << error;
    EXPECT_EQ(*merged, report(1, 0, 5, 77));
}

TEST(ReportMergeTest, PartsWithoutTheHeaderJoinTheFirstPartsHeader) {
    std::string error;
    const auto merged = mergeReports({{report(2, 0, 2), 2}, {report(0, 2, 3), 3, false}}, 10, error);
    ASSERT_TRUE(merged) << error;
    EXPECT_EQ(*merged, report(2, 0, 5));
    EXPECT_FALSE(mergeReports({{report(2, 0, 2), 2}, {report(2, 2, 3), 3, false}}, 10, error));
    EXPECT_EQ(error, "the report of part 2 of 2 has 2 sections before its loop instead of 0");
}

TEST(ReportMergeTest, APartThatDoesNotFitIsNamed) {
    std::string error;
    EXPECT_FALSE(mergeReports({{report(0, 0, 2), 2}, {report(0, 2, 1), 2}}, 1, error));
    EXPECT_EQ(error, "the report of part 2 of 2 has fewer than 2 frequency sections or no closing block");
    EXPECT_FALSE(mergeReports({{report(0, 0, 2), 2}, {report(1, 2, 2), 2}}, 1, error));
    EXPECT_EQ(error, "the report of part 2 of 2 has 1 sections before its loop instead of 0");
    const std::string cut = report(0, 0, 2).substr(0, report(0, 0, 2).find("\n  DATA CARD No:   3"));
    EXPECT_FALSE(mergeReports({{cut, 2}}, 1, error));
    EXPECT_FALSE(mergeReports({}, 1, error));
}

TEST(ReportMergeTest, TheHeaderOfARealReportEndsBeforeItsFirstFrequency) {
    const std::string text = test::readText(test::fixturePath("reports/b_dipole_fr3_ne.nec2c.out"));
    const auto pieces = reportPieces(text, 3);
    ASSERT_TRUE(pieces);
    EXPECT_EQ(pieces->sectionsBefore, 0);
    EXPECT_EQ(frequencySections(pieces->sections), 3);
    EXPECT_NE(withStepCount(pieces->header, 12).find("FR   0    12     0     0  1.40000E+01"), std::string::npos);
    EXPECT_EQ(pieces->closing.substr(0, 17), "\n  DATA CARD No: ");
    EXPECT_NE(withRunTime(pieces->closing, 1234).find("TOTAL RUN TIME: 1234 msec"), std::string::npos);
}

TEST(SectionCountTest, CountsHeadingsOnceAsTheReportGrowsEvenWhenCutByARead) {
    test::TempDir dir;
    const std::string path = dir.path() + "run.out";
    SectionCount count(path);
    EXPECT_EQ(count.update(), 0); // no report yet
    const std::string heading(kFrequencyHeading);
    test::writeText(path, "header\n" + heading + "\nstep 1\n" + heading.substr(0, 9));
    EXPECT_EQ(count.update(), 1);
    test::writeText(path, "header\n" + heading + "\nstep 1\n" + heading + "\nstep 2\n");
    EXPECT_EQ(count.update(), 2);
    EXPECT_EQ(count.update(), 2);
    EXPECT_EQ(stepPercent({2, 3}, {false, true}, 8), 50); // 1 + 3 of 8 done
    EXPECT_EQ(stepPercent({0}, {false}, 0), -1);
}

} // namespace
} // namespace wavra
