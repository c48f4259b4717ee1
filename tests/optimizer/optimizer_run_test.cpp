// Optimizations with the real nec2c through the real launcher: a dipole
// tuned to resonance, a Yagi tuned for gain and front-to-back ratio, the
// results saved and calculated again, the same path with two engines at
// once, and the working files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "base/files.h"
#include "engine/calculate.h"
#include "engine_test_support.h"
#include "optimizer/session.h"
#include "report/report_reader.h"
#include "support/report_reading.h"

namespace wavra {
namespace {

using test::readText;

class OptimizerRunTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();

    void load(const std::string& example, const std::string& name) { test::loadModel(m, tree, example, name); }
    // Reads the report the optimizer left in out/ (the last accepted trial).
    void readResult() { ASSERT_TRUE(test::readModelReport(m, ui, ".out")); }
};

OptimizerSetup dipoleSetup() {
    OptimizerSetup s;
    s.variables = {"h"};
    s.weightPercent[kSwr] = 100;
    return s;
}

OptimizerSetup yagiSetup() {
    OptimizerSetup s;
    s.variables = {"rl", "dd", "s2"};
    s.weightPercent[kGain] = 100;
    s.weightPercent[kFrontBack] = 100;
    return s;
}

TEST_F(OptimizerRunTest, ADipoleTunedForLeastSwrEndsAtItsResonantLength) {
    load("dipole_tune.nec", "dipole");
    OptimizerSession session(m, ui, *runner);
    session.open();
    EXPECT_EQ(session.start(dipoleSetup(), false, {}), SessionEnd::Optimized);
    EXPECT_EQ(session.endMessage(), "Optimized in" + str(session.runs()) + " steps");
    readResult();
    EXPECT_LT(std::fabs(m.summary.impedanceX), 5) << "h = " << session.finalValues()[0].number;
    EXPECT_LT(session.finalValues()[0].number, 5.4);
    // The log: an empty line, the header, one line per run.
    const auto log = test::readLinesOf(session.log().path());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1], "Run\tSWR\tGain\tF/B\tR-a\tX-a\tEff.\t%Res.\t%Step\th");
    EXPECT_EQ(log.size(), 2u + static_cast<size_t>(session.runs()));
    EXPECT_EQ(log[2].substr(0, 2), "1\t");
}

TEST_F(OptimizerRunTest, AYagiImprovesItsGainAndFrontToBackAndTheSavedModelCalculates) {
    load("yagi_tune.nec", "yagi");
    OptimizerSession session(m, ui, *runner);
    session.open();
    std::vector<TrialRow> rows;
    SessionHooks hooks;
    hooks.row = [&](const TrialRow& r) { rows.push_back(r); };
    const SessionEnd end = session.start(yagiSetup(), false, hooks);
    EXPECT_TRUE(end == SessionEnd::Optimized) << session.endMessage();
    ASSERT_GT(rows.size(), 5u);
    readResult();
    Goals goals = yagiSetup().goals();
    const ParamValues& first = rows.front().values;
    ParamValues last = first;
    for (const auto& r : rows) // the best trial is the last accepted one
        if (goals.improvement(last, r.values) > 0) last = r.values;
    EXPECT_GT(goals.improvement(first, last), 0);
    EXPECT_GT(last[kFrontBack], first[kFrontBack] - 0.5);
    EXPECT_GT(last[kGain] + last[kFrontBack], first[kGain] + first[kFrontBack]);

    const std::string saved = tree.file("yagi-tuned.nec");
    ASSERT_TRUE(session.saveResults(saved));
    const std::string text = readText(saved);
    EXPECT_NE(text.find("SY rl = "), std::string::npos);
    EXPECT_NE(text.find("cm"), std::string::npos);                       // s2 keeps its unit
    EXPECT_NE(text.find("RP 0 1 361 1000 90 0 0 1"), std::string::npos); // the model's own cards stay
    EXPECT_EQ(text.find("PQ -1"), std::string::npos);

    session.close(yagiSetup());
    EXPECT_FALSE(pathExists(session.optPath()));
    EXPECT_FALSE(pathExists(session.bakPath()));
    EXPECT_EQ(m.optimizerVarCount, 0);
    EXPECT_EQ(m.optimizerText1.substr(0, 12), "0, 100, 100,");

    m.modelName = "yagi-tuned";
    m.calcKind = kCalcOriginal;
    EXPECT_EQ(runCalculation(m, ui, *runner, {}), std::optional<std::string>(".out"));
    ASSERT_TRUE(test::readModelReport(m, ui, ".out"));
    EXPECT_TRUE(m.summary.hasImpedance);
}

// The same optimization in two trees, one engine at a time and two at once.
struct Outcome {
    std::string log, opt;
    std::vector<double> values;
    std::vector<std::string> messages;
};

Outcome optimizeYagi(int parallel) {
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    auto runner = makeNativeProcessRunner();
    test::loadModel(m, tree, "yagi_tune.nec", "yagi");
    m.parallelRuns = static_cast<int16_t>(parallel);
    OptimizerSession session(m, ui, *runner);
    session.open();
    session.start(yagiSetup(), false, {});
    Outcome o{readText(session.log().path()), readText(session.optPath()), {}, ui.messages()};
    for (const auto& v : session.finalValues()) o.values.push_back(v.number);
    return o;
}

TEST(OptimizerParallelTest, TwoEnginesAtOnceTakeTheSamePathAsOneAfterAnother) {
    const Outcome one = optimizeYagi(1), two = optimizeYagi(2);
    EXPECT_EQ(one.log, two.log);
    EXPECT_EQ(one.opt, two.opt);
    EXPECT_EQ(one.values, two.values);
    EXPECT_EQ(one.messages, two.messages);
    EXPECT_GT(std::count(one.log.begin(), one.log.end(), '\n'), 8);
}

TEST_F(OptimizerRunTest, ResumeContinuesFromTheWorkingModelAndHaltStopsAfterTheRunsUnderWay) {
    load("dipole_tune.nec", "dipole");
    OptimizerSession session(m, ui, *runner);
    session.open();
    SessionHooks hooks;
    int rows = 0;
    hooks.row = [&](const TrialRow&) { ++rows; };
    // Halt pressed while the third run goes on: progress comes at the start
    // of every wait and every 250 ms of it, so it is told by the rows done,
    // not by counting its calls (a slow machine calls it more than once a run).
    hooks.progress = [&](int) {
        if (rows == 2) m.actionCode = kActionEscape;
    };
    EXPECT_EQ(session.start(dipoleSetup(), false, hooks), SessionEnd::Halted);
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(session.resumable());
    hooks.progress = {};
    EXPECT_EQ(session.start(dipoleSetup(), true, hooks), SessionEnd::Optimized);
    EXPECT_GT(session.runs(), 3);
    readResult();
    EXPECT_LT(std::fabs(m.summary.impedanceX), 5);
}

TEST_F(OptimizerRunTest, AnItsHfSweepStepsTheFirstVariableAndWritesTheNumberedFilesOfEachStep) {
    load("dipole_tune.nec", "dipole");
    const std::string its = tree.file("its/");
    for (const char* dir : {"antennas/nec", "areadata/nec"}) std::filesystem::create_directories(its + dir);
    m.itsHfDir = its;
    m.itsHfSub = "nec/";
    m.itsHfArea = 1;                 // the files only: no propagation program runs
    m.allocateFieldTables(91 * 360); // the whole sky in 1-degree steps
    OptimizerSetup s = dipoleSetup();
    s.firstRun = FirstRun::AreaCoverage;
    s.sweepStep = 2;
    s.stepInPercent = true;
    s.sweepSteps = 3;
    OptimizerSession session(m, ui, *runner);
    session.open();
    std::vector<std::string> status;
    SessionHooks hooks;
    hooks.status = [&](const std::string& line) { status.push_back(line); };
    EXPECT_EQ(session.start(s, false, hooks), SessionEnd::Optimized) << ui.messages().front();
    EXPECT_EQ(session.runs(), 3);
    EXPECT_NE(std::find(status.begin(), status.end(), "h = 5.4 to 5.616 step 0.108"), status.end());
    EXPECT_TRUE(ui.saw("ItsHF generation ready..."));
    for (const char* name : {"dipole01", "dipole02", "dipole03"}) {
        const auto lines = test::readLinesOf(its + "antennas/nec/" + name + ".n13");
        EXPECT_EQ(lines.size(), 6u + 360 * 10) << name << "\n" << ui.messages().back();
    }
}

} // namespace
} // namespace wavra
