// Engines that hang, ignore SIGTERM or run side by side, through the real
// launcher and the native process runner: stand-in engines replace the
// engine link of a temporary install tree, or the real nec2c runs.
#include "engine/engine_wait.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "engine/engine_run.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

using test::readText;
using test::writeText;

class EngineWaitTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();
    const std::string good = "an earlier report\n\n  TOTAL RUN TIME: 10 msec\n";

    void SetUp() override {
        tree.prepare(m);
        m.modelName = "stand-in";
        writeText(report(), good);
    }
    std::string report() const { return tree.report("stand-in.out"); }
    std::string pidFile(const std::string& name) const { return tree.file(name + ".pid"); }
    void hangingEngine(const std::string& prelude) {
        // The engine of a model store that read no settings.
        test::replaceEngine(tree.path(), test::hangingEngineScript(tree.path(), prelude), "NEC2D512");
    }
    EngineStatus run(const RunControl& control = {}) {
        return runEngine(m, ui, *runner, "CM stand-in\nCE\nXQ\nEN\n", "stand-in.out", control);
    }
    void expectEngineGoneAndReportsUntouched() {
        EXPECT_TRUE(test::processGone(pidFile("engine")));
        EXPECT_TRUE(test::processGone(pidFile("helper")));
        EXPECT_EQ(readText(report()), good);
        EXPECT_FALSE(pathExists(report() + ".old"));
        EXPECT_TRUE(test::runDirectories(tree.path()).empty());
    }
};

TEST_F(EngineWaitTest, AHangingEngineIsStoppedAtTheTimeOutWithEveryProgramOfItsGroupEvenIgnoringSigterm) {
    hangingEngine("trap '' TERM"); // the helper inherits it
    m.engineTimeout = 1;
    EXPECT_EQ(run(), EngineStatus::Failed);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"The NEC-2 engine NEC2D512 was stopped after the engine time-out of 1 s "
                                       "(\"Engine time-out [s]\" in the General settings; 0 = none).\n"
                                       "The report ends with:\nhalf a report"});
    expectEngineGoneAndReportsUntouched();
}

// Two runs at once in one install tree, each on its own files: the real
// nec2c on two decks, started together and waited for together.
TEST(ConcurrentRuns, TwoJobsInOneTreeEachGetTheirOwnReport) {
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    tree.prepare(m);
    m.modelName = "dipole";
    auto runner = makeNativeProcessRunner();
    const std::string tail = "GE 0\nEX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\nXQ\nEN\n";
    EngineJob first(m.installDir), second(m.installDir);
    ASSERT_TRUE(first.prepare(m, ui, "CM first deck\nCE\nGW 1 11 0 -5 0 0 5 0 0.001\n" + tail));
    ASSERT_TRUE(second.prepare(m, ui, "CM second deck\nCE\nGW 1 21 0 -5 0 0 5 0 0.001\n" + tail));
    EXPECT_NE(first.files().dir(), second.files().dir());
    ASSERT_TRUE(first.start(*runner, m.installDir)) << first.outcome().startError;
    ASSERT_TRUE(second.start(*runner, m.installDir)) << second.outcome().startError;
    EXPECT_EQ(waitForEngines({first.process(), second.process()}, 0, nullptr), StopReason::None);
    for (EngineJob* job : {&first, &second}) {
        EXPECT_EQ(job->outcome().exitCode, 0) << job->outcome().errors;
        const std::string text = readText(job->files().report());
        const bool isFirst = job == &first;
        EXPECT_NE(text.find(isFirst ? "first deck" : "second deck"), std::string::npos);
        EXPECT_EQ(text.find(isFirst ? "second deck" : "first deck"), std::string::npos);
        EXPECT_NE(text.find(isFirst ? "   11     1    11" : "   21     1    21"), std::string::npos);
    }
}

} // namespace
} // namespace wavra
