// A frequency loop split over several real nec2c runs gives the report and
// the model tables of a single run; Cancel and the reuse of an unchanged
// run, through the real launcher.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "base/files.h"
#include "base/text.h"
#include "deck/reader.h"
#include "engine/calculate.h"
#include "engine_test_support.h"
#include "report/report_reader.h"
#include "report_comparison.h"
#include "support/report_reading.h"

namespace fs = std::filesystem;

namespace wavra {
namespace {

using test::withoutTimes;

using test::readText;
using test::writeText;

// A centre-fed dipole; `control` holds the cards from EX on.
std::string dipoleDeck(const std::string& ground, const std::string& control) {
    return "CM split loop\nCE\nGW 1 21 0 0 -5.2 0 0 5.2 0.001\nGE " + ground + "\n" + control + "EN\n";
}

struct LoopCase {
    std::string name;
    int calcKind;
    std::string deck; // an example's name (.nec) for the frequency-loop choice
    int steps;
};

// Failure messages and `ctest -N` name the case, not its bytes.
void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.name; }

class SplitRunTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    RecordingUi ui;
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();

    // The frequency-loop choice sweeps 11 steps from 7.0 or 14.0 MHz.
    void load(Model& m, const LoopCase& c) {
        if (c.calcKind == kCalcFrequencyLoop) {
            test::loadModel(m, tree, c.deck, "loop");
            const double start = c.deck == "vertical.nec" ? 7.0 : 14.0;
            m.calcSubMode = 1;
            m.calcRange = {start, start + 0.5, 0.05, 0, 90, 10, 0, 0, 1};
        } else {
            writeText(tree.file("loop.nec"), c.deck);
            tree.prepare(m);
            m.modelName = "loop";
            m.modelExt = ".nec";
            ASSERT_TRUE(readInputFileShown(m, ui));
        }
        m.calcKind = static_cast<int16_t>(c.calcKind);
        m.reuseResults = 0;
    }

    // Runs the case with `processes` engine runs at most; the report's text.
    std::string run(Model& m, const LoopCase& c, int processes, RunSummary& summary) {
        load(m, c);
        m.parallelRuns = static_cast<int16_t>(processes);
        RunHooks hooks;
        hooks.control.summary = &summary;
        EXPECT_EQ(calculate(m, ui, *runner, hooks), EngineStatus::Finished)
            << (ui.messages().empty() ? "" : ui.messages().back());
        EXPECT_TRUE(test::readModelReport(m, ui, ".out"));
        return readText(tree.report("loop.out"));
    }
};

class SplitLoopTest : public SplitRunTest, public ::testing::WithParamInterface<std::tuple<LoopCase, int>> {};

// Equal values, a missing value (NaN) equal to a missing one.
template <class T>
bool sameValue(T a, T b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}
template <class T, size_t N>
bool sameValue(const std::array<T, N>& a, const std::array<T, N>& b) {
    for (size_t i = 0; i < N; ++i)
        if (!sameValue(a[i], b[i])) return false;
    return true;
}
template <class Column>
::testing::AssertionResult sameValues(const Column& a, const Column& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i])) return ::testing::AssertionFailure() << "row " << i << " differs";
    return ::testing::AssertionSuccess();
}

void expectSameTables(const Model& single, const Model& split) {
    EXPECT_EQ(split.freqCount, single.freqCount);
    EXPECT_EQ(split.patternCount, single.patternCount);
    EXPECT_TRUE(sameValues(split.sweepFreq, single.sweepFreq));
    EXPECT_TRUE(sameValues(split.sweepR, single.sweepR));
    EXPECT_TRUE(sameValues(split.sweepX, single.sweepX));
    EXPECT_TRUE(sameValues(split.sweepGain, single.sweepGain));
    EXPECT_TRUE(sameValues(split.farFieldAngles, single.farFieldAngles));
    EXPECT_TRUE(sameValues(split.farFieldGains, single.farFieldGains));
    EXPECT_TRUE(sameValues(split.nearFieldPoints, single.nearFieldPoints));
    EXPECT_TRUE(sameValues(split.nearFieldValues, single.nearFieldValues));
    EXPECT_TRUE(sameValues(split.wireCurrentMag, single.wireCurrentMag));
    EXPECT_TRUE(sameValues(split.wireCurrentPhase, single.wireCurrentPhase));
}

TEST_P(SplitLoopTest, GivesTheReportAndTheTablesOfASingleRun) {
    const auto& [c, processes] = GetParam();
    Model single, split;
    RunSummary one, many;
    const std::string reference = run(single, c, 1, one);
    const std::string joined = run(split, c, processes, many);
    EXPECT_EQ(one.parts, 1);
    EXPECT_EQ(many.parts, std::min(processes, c.steps / 2));
    EXPECT_EQ(withoutTimes(joined), withoutTimes(reference));
    expectSameTables(single, split);
    EXPECT_EQ(split.freqCount, c.steps);
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
}

const std::string kPattern = "RP 0 7 3 1000 0 0 15 45\n";

INSTANTIATE_TEST_SUITE_P(
    Loops, SplitLoopTest,
    ::testing::Combine(
        ::testing::Values(LoopCase{"LinearStepsWithPattern", kCalcOriginal,
                                   dipoleDeck("0", "EX 0 1 11 0 1 0\nFR 0 11 0 0 13.5 0.1\n" + kPattern), 11},
                          LoopCase{"MultiplicativeSteps", kCalcOriginal,
                                   dipoleDeck("0", "EX 0 1 11 0 1 0\nFR 1 11 0 0 12.7 1.013\n" + kPattern), 11},
                          LoopCase{"NearFieldInTheLoop", kCalcOriginal,
                                   dipoleDeck("0", "EX 0 1 11 0 1 0\nFR 0 11 0 0 13.5 0.1\nNE 0 3 1 2 -1 0 -1 1 0 2\n" +
                                                       kPattern),
                                   11},
                          LoopCase{"ReflectionGroundWithConductivityScaledAtTheFirstStep", kCalcOriginal,
                                   "CM over ground\nCE\nGW 1 21 -5.2 0 8 5.2 0 8 0.001\nGE 1\nGN 0 0 0 0 13 -0.3\n"
                                   "EX 0 1 11 0 1 0\nFR 0 11 0 0 13.5 0.1\n" +
                                       kPattern + "EN\n",
                                   11},
                          LoopCase{"SweepChoiceAfterTheDecksOwnFrequency", kCalcFrequencyLoop, "yagi.nec", 11},
                          // The second LD card starts a new load set after a
                          // calculation, in the parts that skip it as well.
                          LoopCase{"NewLoadSetAfterTheCalculationsBeforeTheLoop", kCalcOriginal,
                                   dipoleDeck("0",
                                              "EX 0 1 11 0 1 0\nLD 0 1 10 10 50\nFR 0 1 0 0 13 0\nXQ\n"
                                              "FR 0 1 0 0 14 0\nRP 0 3 1 1000 0 0 45 0\nLD 0 1 12 12 70\n"
                                              "FR 0 11 0 0 13.5 0.1\n" +
                                                  kPattern),
                                   11}),
        ::testing::Values(2, 7)),
    [](const ::testing::TestParamInfo<std::tuple<LoopCase, int>>& testCase) {
        return std::get<0>(testCase.param).name + "Over" + std::to_string(std::get<1>(testCase.param)) + "Runs";
    });

TEST_F(SplitRunTest, DecksThatCannotBeSplitRunOnce) {
    // A second pattern after the loop is calculated at the last frequency
    // only; a Sommerfeld ground's integration depends on the steps before.
    const LoopCase cases[] = {
        {"after", kCalcOriginal, dipoleDeck("0", "EX 0 1 11 0 1 0\nFR 0 6 0 0 13.5 0.1\n" + kPattern + kPattern), 6},
        {"sommerfeld", kCalcFrequencyLoop, "vertical.nec", 11}};
    for (const LoopCase& c : cases) {
        Model m;
        RunSummary summary;
        run(m, c, 4, summary);
        EXPECT_EQ(summary.parts, 1) << c.name;
        EXPECT_EQ(m.freqCount, c.steps) << c.name;
    }
}

// A counting runner in front of the native one.
class CountingRunner : public ProcessRunner {
public:
    explicit CountingRunner(ProcessRunner& inner) : m_inner(inner) {}
    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& dir,
                                          std::string& error) override {
        ++starts;
        return m_inner.start(argv, dir, error);
    }
    std::unique_ptr<RunningProcess> startWithEnvironment(const std::vector<std::string>& argv, const std::string& dir,
                                                         const std::vector<std::string>& environment,
                                                         std::string& error) override {
        ++starts;
        return m_inner.startWithEnvironment(argv, dir, environment, error);
    }
    int starts = 0;

private:
    ProcessRunner& m_inner;
};

TEST_F(SplitRunTest, AnUnchangedRunReadsTheLastReportAndAChangedSymbolRunsTheEngine) {
    const std::string deck =
        "CM reuse\nCE\nSY len=5.2\nGW 1 21 0 0 -len 0 0 len 0.001\nGE 0\nEX 0 1 11 0 1 0\n"
        "FR 0 4 0 0 13.5 0.1\n" +
        kPattern + "EN\n";
    CountingRunner counting(*runner);
    std::vector<std::string> status;
    auto calc = [&](Model& m, RunSummary& summary, bool reuse) {
        tree.prepare(m);
        m.modelName = "reuse";
        m.modelExt = ".nec";
        ASSERT_TRUE(readInputFileShown(m, ui));
        m.calcKind = kCalcOriginal;
        m.parallelRuns = 2;
        m.reuseResults = reuse ? -1 : 0;
        RunHooks hooks;
        hooks.statusLine = [&status](const std::string& line) { status.push_back(line); };
        hooks.control.summary = &summary;
        EXPECT_EQ(calculate(m, ui, counting, hooks), EngineStatus::Finished);
    };
    writeText(tree.file("reuse.nec"), deck);
    Model first, second, changed, edited, off;
    RunSummary s1, s2, s3, s4, s5;
    calc(first, s1, true);
    EXPECT_EQ(counting.starts, 2);
    const std::string report = readText(tree.report("reuse.out"));
    calc(second, s2, true);
    EXPECT_EQ(counting.starts, 2); // no engine started
    EXPECT_TRUE(s2.reused);
    EXPECT_EQ(s2.parts, 0);
    EXPECT_EQ(readText(tree.report("reuse.out")), report);
    EXPECT_NE(status.back().find("unchanged since the last run: reuse.out is read again"), std::string::npos)
        << status.back();

    writeText(tree.file("reuse.nec"),
              deck.substr(0, deck.find("len=5.2")) + "len=5.3" + deck.substr(deck.find("len=5.2") + 7));
    calc(changed, s3, true);
    EXPECT_EQ(counting.starts, 4);
    EXPECT_FALSE(s3.reused);

    // A report edited since is not taken; nor is anything with the setting off.
    writeText(tree.report("reuse.out"), readText(tree.report("reuse.out")) + "\n");
    calc(edited, s4, true);
    EXPECT_EQ(counting.starts, 6);
    calc(off, s5, false);
    EXPECT_EQ(counting.starts, 8);
}

// Engine processes still running with their working directory in `dir`.
int processesIn(const std::string& dir) {
    int count = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::error_code linkError;
        const fs::path cwd = fs::read_symlink(entry.path() / "cwd", linkError);
        if (!linkError && cwd == fs::path(dir)) ++count;
    }
    return count;
}

TEST_F(SplitRunTest, CancelEndsEveryEngineOfTheRunAndKeepsThePreviousReport) {
    const LoopCase c{"cancel", kCalcOriginal,
                     "CM long loop\nCE\nGW 1 400 0 0 -5.2 0 0 5.2 0.001\nGE 0\nEX 0 1 200 0 1 0\n"
                     "FR 0 100 0 0 13.5 0.1\n" +
                         kPattern + "EN\n",
                     100};
    Model m;
    load(m, c);
    m.parallelRuns = 2;
    const std::string previous = readText(test::fixturePath("reports/a_dipole.nec2c.out"));
    writeText(tree.report("loop.out"), previous);
    int polls = 0;
    RunHooks hooks;
    RunSummary summary;
    hooks.control.summary = &summary;
    // Cancel comes after about a second; each part's 50 steps take the
    // engine some three seconds, so it always meets running engines.
    hooks.control.stop = [&polls] { return ++polls > 4 ? StopReason::Cancel : StopReason::None; };
    EXPECT_EQ(calculate(m, ui, *runner, hooks), EngineStatus::Stopped);
    EXPECT_EQ(summary.parts, 2);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back(), "Calculation cancelled: the NEC-2 engine NEC2D512 was stopped.");
    EXPECT_EQ(readText(tree.report("loop.out")), previous);
    EXPECT_TRUE(test::runDirectories(tree.path()).empty());
    // The engines the launchers started die with their process groups.
    const std::string exeDir = fs::canonical(tree.file("exe")).string();
    for (int wait = 0; wait < 40 && processesIn(exeDir) > 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(processesIn(exeDir), 0);
}

} // namespace
} // namespace wavra
