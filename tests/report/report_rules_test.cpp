// The rules of the reader that decide what a report gives: the field scale,
// the average-gain label, capacities and their messages, engine errors, run
// time, the hooks, and a report that cannot be opened.
#include <algorithm>
#include <cmath>

#include "classic_report_builder.h"
#include "core/fields.h"
#include "report_test_support.h"

namespace wavra::test {
namespace {

using Builder = ClassicReportBuilder;
const Builder::Segment kSegment{0, 0, 0, 1, 90, 0, 0.001, 0, 1, 0, 1};

Builder dipole() {
    Builder b(Builder::Columns::Printed, false);
    b.segmentation({kSegment});
    return b;
}

void powerBudget(Builder& b, double input) {
    const double powers[5] = {input, input, 0, 0, 100};
    b.powerBudget(powers);
}

class ReportRules : public ReportTest {};

TEST_F(ReportRules, WithoutPowerBudgetFieldsReadAsZero) {
    Builder b = dipole();
    b.card("RP", {0, 1, 2, 1001}, {90, 0, 0, 90});
    b.pattern({{90, 0, 1.5, -2, 2.1, 0.5, 0.25}, {90, 90, 1, 1, 1, 0.5, 0.5}});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.summary.fieldScale, 0);
    EXPECT_FALSE(model.summary.hasPower);
    ASSERT_EQ(model.patternCount, 2);
    EXPECT_DOUBLE_EQ(model.farFieldGains[1][2], 2.1); // gains in dB are not scaled
    EXPECT_EQ(model.farFieldGains[1][3], 0);
    EXPECT_EQ(model.farFieldGains[2][4], 0);
}

TEST_F(ReportRules, ConfiguredPowerZeroKeepsTheEngineVoltage) {
    model.power = 0;
    Builder b = dipole();
    b.inputs({{1, 0, 0.02, 0, 50, 0}});
    powerBudget(b, 0.01);
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_DOUBLE_EQ(model.summary.inputPower, 0.01);
    EXPECT_DOUBLE_EQ(model.summary.fieldScale, std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(model.summary.voltageR, std::sqrt(0.5));
    EXPECT_TRUE(model.summary.hasCurrent);
    EXPECT_EQ(model.summary.seriesCompUnit, "");
    EXPECT_TRUE(std::isinf(model.summary.parallelX));
}

struct GainCase {
    const char* name;
    int ground;     // GN I1, or -1 for no GN card
    double printed; // average gain as printed
    double piUnits; // solid angle / pi
    const char* text;
    bool red;
};

void PrintTo(const GainCase& c, std::ostream* os) { *os << c.name; }

class AverageGainLabel : public ReportTest, public ::testing::WithParamInterface<GainCase> {};

TEST_P(AverageGainLabel, FollowsGroundAndRange) {
    const GainCase& c = GetParam();
    Builder b = dipole();
    if (c.ground != -1) b.card("GN", {c.ground, 0, 0, 0}, {13, 0.005});
    b.averageGain(c.printed, c.piUnits);
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_TRUE(model.summary.hasAverageGain);
    EXPECT_EQ(model.summary.averageGainText, c.text);
    EXPECT_EQ(model.summary.averageGainRed, c.red);
}

INSTANTIATE_TEST_SUITE_P(Cases, AverageGainLabel,
                         ::testing::Values(GainCase{"freeSpaceUnity", -1, 1.0, 4, " 1.0 over 720 dg.", false},
                                           GainCase{"freeSpaceLowestSound", -1, 0.8, 4, " 0.8 over 720 dg.", false},
                                           GainCase{"freeSpaceTooLow", -1, 0.79, 4, " 0.79 over 720 dg.", true},
                                           GainCase{"freeSpaceTooHigh", -1, 1.2, 4, " 1.2 over 720 dg.", true},
                                           GainCase{"perfectGroundHalved", 1, 2.0, 2, " 1.0 over 360 dg.", false},
                                           GainCase{"perfectGroundTooHigh", 1, 2.6, 2, " 1.3 over 360 dg.", true},
                                           GainCase{"finiteGround", 0, 2.0, 2, " 1.0 over 360 dg.", true},
                                           GainCase{"sommerfeldGround", 2, 2.0, 2, " 1.0 over 360 dg.", true},
                                           // 0.0028 pi is half a degree: too small to judge.
                                           GainCase{"angleTooSmall", -1, 1.0, 0.0028, " aver-angle too small ", false},
                                           // An angle printed as "nan" is missing, not an angle of 0.
                                           GainCase{"angleNotANumber", -1, 1.0, std::nan(""), "", true}),
                         [](const ::testing::TestParamInfo<GainCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

TEST_F(ReportRules, SegmentsBeyondCapacityShowTheMessageOnce) {
    model.maxSegments = 2;
    Builder b(Builder::Columns::Printed, false);
    b.segmentation({kSegment, kSegment, kSegment, kSegment});
    b.card("EX", {0, 1, 1, 0}, {1});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.wireCount, 2);
    EXPECT_EQ(model.summary.segments, 2);
    EXPECT_EQ(userMessages(),
              std::vector<std::string>{"Only 2 of 4 segments were read: raise 'Nr of segments' (Settings)."});
    EXPECT_EQ(model.sourceCount, 1); // reading went on after the table
}

TEST_F(ReportRules, PatternLargerThanTheTablesIsNotLoaded) {
    model.maxFarFieldPoints = 3;
    model.allocateFieldTables(3);
    Builder announced = dipole();
    announced.card("RP", {0, 2, 2, 1000}, {0, 0, 90, 90});
    announced.pattern({{0, 0, 1, 1, 1, 1, 1}, {90, 0, 1, 1, 1, 1, 1}, {0, 90, 1, 1, 1, 1, 1}, {90, 90, 1, 1, 1, 1, 1}});
    announced.runTime(1);
    ASSERT_TRUE(load(announced.text()));
    EXPECT_EQ(model.patternCount, 0);
    EXPECT_EQ(userMessages(),
              std::vector<std::string>{"Total of 4 exceeds max. of 3\ncalculation points, pattern not "
                                       "loaded.\nRaise 'Max-nr. far-field pts' (Settings) to load it."});

    // A table longer than its request says is not loaded either.
    ui.clear();
    Builder longer = dipole();
    longer.card("RP", {0, 1, 2, 1000}, {0, 0, 90, 90});
    longer.pattern({{0, 0, 1, 1, 1, 1, 1},
                    {90, 0, 1, 1, 1, 1, 1},
                    {0, 90, 1, 1, 1, 1, 1},
                    {90, 90, 1, 1, 1, 1, 1},
                    {0, 180, 1, 1, 1, 1, 1}});
    longer.runTime(1);
    ASSERT_TRUE(load(longer.text()));
    EXPECT_EQ(model.patternCount, 0);
    EXPECT_EQ(userMessages(),
              std::vector<std::string>{"Total of 5 exceeds max. of 3\ncalculation points, pattern not "
                                       "loaded.\nRaise 'Max-nr. far-field pts' (Settings) to load it."});
}

TEST_F(ReportRules, NearFieldLargerThanTheTablesIsNotLoaded) {
    model.maxFarFieldPoints = 2;
    model.releaseModelTables(); // as during an engine run: one element each
    model.allocateModelTables(512, 100, 2, 48, 30);
    Builder b = dipole();
    b.card("NE", {0, 3, 1, 1}, {0, 0, 0, 1, 0, 0});
    b.nearField({{0, 0, 0, 1, 1, 1}, {1, 0, 0, 1, 1, 1}, {2, 0, 0, 1, 1, 1}});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.nearFieldCapacity(), 2); // sized by the NE card
    EXPECT_EQ(model.summary.nearFieldCount, 0);
    EXPECT_EQ(userMessages(),
              std::vector<std::string>{"Total of 3 exceeds max. of 2\ncalculation points, pattern not "
                                       "loaded.\nRaise 'Max-nr. far-field pts' (Settings) to load it."});
}

TEST_F(ReportRules, TablesOfSourcesLoadsAndLinesStopSilently) {
    model.maxSources = 1;
    model.maxTransLines = 1;
    model.maxLoads = 1;
    model.allocateModelTables(512, 100, 1, 1, 1);
    Builder b(Builder::Columns::Printed, false);
    b.segmentation({kSegment, {0, 0, 1, 1, 90, 0, 0.001, 1, 2, 0, 2}});
    b.card("EX", {0, 1, 1, 0}, {1});
    b.card("EX", {0, 2, 1, 0}, {1});
    b.card("EX", {5, 2, 1, 0}, {1});        // not a voltage source
    b.card("TL", {1, 9, 2, 1, 0}, {50, 1}); // no segment 9 on tag 1: kept as not read
    b.card("TL", {1, 1, 2, 1, 0}, {50, 1});
    b.loads({{1, 1, 1, false}, {2, 1, 1, false}});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.sourceCount, 1);
    EXPECT_EQ(model.sourceTag[1], 1);
    EXPECT_EQ(model.transLineCount, 1);
    EXPECT_EQ(model.tlZ[1][1][1], kNoTransLine);
    EXPECT_EQ(model.loadCount, 1);
    EXPECT_TRUE(userMessages().empty());
}

TEST_F(ReportRules, EnvironmentIsListedUntilTheFirstPowerBudget) {
    Builder b = dipole();
    b.environment({"FREE SPACE"});
    powerBudget(b, 0.01);
    b.environment({"PERFECT GROUND"});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.summary.environment, std::vector<std::string>{"FREE SPACE"});
}

TEST_F(ReportRules, OnlyTheFirstCurrentTableAndInputBlockCount) {
    Builder b = dipole();
    b.inputs({{1, 0, 0.01, 0, 60, 5}});
    b.currents({{1e-3, 0, 1e-3, 0}});
    b.inputs({{1, 0, 0.01, 0, 70, 6}});
    b.currents({{2e-3, 0, 2e-3, 0}});
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    EXPECT_DOUBLE_EQ(model.summary.impedanceR, 60);
    EXPECT_DOUBLE_EQ(model.wireCurrentMag[1], 1e-3);
}

TEST_F(ReportRules, EngineErrorLinesAreShownAndEndTheOptimizerRun) {
    struct Recorder : ReportHooks {
        std::vector<std::string> errors;
        int points = 0;
        void engineError(const std::string& m) override { errors.push_back(m); }
        void patternPoint(double, double, const std::array<double, 5>&) override { ++points; }
    } hooks;
    Builder b = dipole();
    b.line(" SEGMENT DATA ERROR IN WIRE 3");
    b.line(std::string(45, ' ') + "EXCEEDS LIMIT");
    b.card("RP", {0, 1, 2, 1000}, {0, 0, 90, 90});
    b.pattern({{0, 0, 1, 1, 1, 1, 1}, {90, 0, 1, 1, 1, 1, 1}});
    b.runTime(1);
    writeText(tree.path() + "out/model.out", b.text());
    ASSERT_TRUE(test::readModelReport(model, ui, ".out", &hooks));
    const std::vector<std::string> expected{"Nec2d :  SEGMENT DATA ERROR IN WIRE 3",
                                            "Nec2d : " + std::string(45, ' ') + "EXCEEDS LIMIT"};
    EXPECT_EQ(ui.messages(), expected);
    EXPECT_EQ(hooks.errors, expected);
    EXPECT_EQ(model.summary.engineErrors, expected);
    EXPECT_EQ(hooks.points, 2);
}

// The reader shows nothing itself: an engine error comes back with the
// report line it stands on (also the last words of a report that stops
// early), the incomplete report with none.
TEST_F(ReportRules, ProblemsComeBackWithTheirReportLines) {
    Builder b = dipole();
    b.line(" SEGMENT DATA ERROR IN WIRE 3");
    b.line("  NO SEGMENT HAS AN ITAG OF 7");
    const std::string text = b.text();
    const auto lineOf = [&text](const std::string& part) {
        return 1 + std::count(text.begin(), text.begin() + static_cast<long>(text.find(part)), '\n');
    };
    LineReader in = LineReader::fromText(text);
    Diagnostics found;
    EXPECT_FALSE(readReport(reportTarget(model), in, found, ".out"));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].text, "Nec2d :  SEGMENT DATA ERROR IN WIRE 3");
    EXPECT_EQ(found[0].line, lineOf("SEGMENT DATA"));
    EXPECT_EQ(found[1].text, "Nec2d : NO SEGMENT HAS AN ITAG OF 7");
    EXPECT_EQ(found[1].line, lineOf("NO SEGMENT"));
    EXPECT_EQ(found[1].severity, Severity::Error);
    EXPECT_EQ(found[2].severity, Severity::Fatal);
    EXPECT_EQ(found[2].line, 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ReportRules, ManyErrorLinesAreSummarised) {
    Builder b = dipole();
    for (int i = 0; i < 25; ++i) b.line(" ERROR " + std::to_string(i));
    b.runTime(1);
    ASSERT_TRUE(load(b.text()));
    ASSERT_EQ(ui.messages().size(), 11u);
    EXPECT_EQ(ui.messages()[9], "Nec2d :  ERROR 9");
    EXPECT_EQ(ui.messages()[10], "Nec2d : 15 more error lines in the report.");
}

// Without its closing run-time line a report is no result: the engine's last
// words are shown and nothing of the half report stays in the model.
TEST_F(ReportRules, ReportWithoutRunTimeIsIncompleteAndDropped) {
    std::string text = fixtureReport("j_two_sources_nh.nec2c.out");
    text = text.substr(0, text.find("  TOTAL RUN TIME"));
    EXPECT_FALSE(load(text + "\n  NO SEGMENT HAS AN ITAG OF 7"));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Nec2d : NO SEGMENT HAS AN ITAG OF 7",
                                                       "The report out/model.out is incomplete (the engine stopped "
                                                       "early): the closing run-time line."}));
    EXPECT_EQ(model.wireCount, 0);
    EXPECT_FALSE(model.summary.hasImpedance);
    EXPECT_EQ(model.summary.nearFieldCount, 0);
    EXPECT_EQ(model.summary.fileName, "model.out");

    ui.clear();
    EXPECT_FALSE(load(""));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{
                                 "The report out/model.out is incomplete (the engine stopped early): it is empty."});
    EXPECT_EQ(model.wireCount, 0);
}

TEST_F(ReportRules, RunTimeInSecondsAndMilliseconds) {
    Builder b = dipole();
    b.runTime(12.345);
    ASSERT_TRUE(load(b.text()));
    EXPECT_EQ(model.summary.calculationTime, " 12.345");
    EXPECT_EQ(model.expectedRunTime, 123);

    std::string text = fixtureReport("k_surface_wave.nec2c.out");
    const size_t at = text.find("TOTAL RUN TIME: ");
    ASSERT_NE(at, std::string::npos);
    ASSERT_TRUE(load(text.substr(0, at) + "TOTAL RUN TIME: 2560 msec\n"));
    EXPECT_DOUBLE_EQ(model.summary.runTimeSeconds, 2.56);
    EXPECT_EQ(model.summary.calculationTime, "  2.560");
    EXPECT_EQ(model.expectedRunTime, 26);
    EXPECT_EQ(expectedRunTimeFor(0.99), 0);
    EXPECT_EQ(expectedRunTimeFor(1e9), 32767);
}

TEST_F(ReportRules, MissingReportResetsOnlyTheReportLabels) {
    ASSERT_TRUE(load(fixtureReport("k_surface_wave.nec2c.out")));
    model.modelName = "other";
    EXPECT_FALSE(test::readModelReport(model, ui, ".out"));
    const Summary& s = model.summary;
    EXPECT_EQ(s.fileName, "other.out");
    EXPECT_TRUE(s.frequencyText.empty());
    EXPECT_EQ(s.segments, 0);
    EXPECT_FALSE(s.hasAverageGain);
    EXPECT_FALSE(s.hasRunTime);
    EXPECT_EQ(model.wireCount, 11); // the model itself is left as it was
    EXPECT_TRUE(s.hasImpedance);
}

TEST_F(ReportRules, EveryReadStartsAfresh) {
    ASSERT_TRUE(load(fixtureReport("j_two_sources_nh.nec2c.out")));
    ASSERT_TRUE(load(fixtureReport("a_dipole.classic.out")));
    EXPECT_EQ(model.wireCount, 11);
    EXPECT_EQ(model.sourceCount, 1);
    EXPECT_EQ(model.loadCount, 0);
    EXPECT_EQ(model.transLineCount, 0);
    EXPECT_EQ(model.groundType, -1);
    EXPECT_EQ(model.extendedKernel, 0);
    EXPECT_EQ(model.requestMode, 0);
    EXPECT_EQ(model.summary.nearFieldCount, 0);
    EXPECT_EQ(model.summary.comments.size(), 1u);
    EXPECT_DOUBLE_EQ(model.extentY, 1e-9);
}

} // namespace
} // namespace wavra::test
