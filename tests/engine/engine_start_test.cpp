#include "engine/engine_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "engine/engine_choice.h"
#include "engine/engine_run.h"
#include "engine/engine_wait.h"
#include "engine/process.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

namespace fs = std::filesystem;
using Argv = std::vector<std::string>;

// An environment variable set (or unset, with nullopt) while the object lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* before = std::getenv(name)) m_before = before;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_before) ::setenv(m_name, m_before->c_str(), 1);
        else ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_before;
};

class EngineStartTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    void SetUp() override { tree.prepare(m); }
    EngineStart startOf(const std::string& engineName, int threads = 0) {
        m.engineName = engineName;
        RunFiles files(m.outDir());
        EngineStart start = engineStart(m, files, "gen", "dipole", threads);
        runDir = files.dir();
        return start;
    }
    std::string runDir;
};

TEST_F(EngineStartTest, PlainNec2cStartsDirectlyOnTheRunsFilesWithoutSizeCards) {
    const EngineStart start = startOf("&NEC2D512");
    EXPECT_EQ(start.argv, (Argv{findInPath("nec2c"), "-i", "run.inp", "-o", "run.out"}));
    EXPECT_EQ(start.workingDir, runDir);
    EXPECT_TRUE(start.environment.empty());
    EXPECT_TRUE(start.note.empty());
    EXPECT_TRUE(start.withoutSizeCards);
}

TEST_F(EngineStartTest, TheLapackEngineStartsWithItsThreadsOrPlainNec2cWithTheLaunchersNote) {
    ASSERT_TRUE(fs::exists(tree.file("exe/nec2c-lapack"))) << "the lapack engine was not built";
    const EngineStart lapack = startOf("&NEC2D_LA", 1);
    EXPECT_EQ(lapack.argv, (Argv{tree.file("exe/nec2c-lapack"), "-i", "run.inp", "-o", "run.out"}));
    EXPECT_EQ(lapack.environment, lapackEnvironment(1));
    EXPECT_FALSE(lapack.withoutSizeCards);
    fs::remove(tree.file("exe/nec2c-lapack"));
    const EngineStart plain = startOf("&NEC2D_LA", 1);
    EXPECT_EQ(plain.argv.front(), findInPath("nec2c"));
    EXPECT_TRUE(plain.environment.empty());
    EXPECT_TRUE(plain.withoutSizeCards);
    EXPECT_EQ(plain.note,
              "NEC2D_LA: the lapack engine " + tree.path() + "exe/nec2c-lapack is missing; running plain nec2c");
}

// The special engine, the wait flag's exit-status line, an engine name that
// is a program of its own or is missing: the launcher runs them.
TEST_F(EngineStartTest, WhatOnlyTheLauncherDoesGoesThroughIt) {
    EXPECT_EQ(startOf("?NEC2D512").argv.back(), "pause");
    EXPECT_EQ(startOf("&NEC32").argv.front(), tree.file("exe/wavra.sh"));
    fs::remove(tree.file("exe/NEC2D960"));
    EXPECT_EQ(startOf("&NEC2D960").argv.front(), tree.file("exe/wavra.sh"));
    test::writeText(tree.file("exe/NEC2D960"), "#!/bin/sh\n");
    fs::permissions(tree.file("exe/NEC2D960"), fs::perms::owner_all);
    const EngineStart own = startOf("&NEC2D960", 2);
    EXPECT_EQ(own.argv, (Argv{tree.file("exe/wavra.sh"), "--control", runDir + "nec2d.tmp", "--threads", "2", "gen",
                              "dipole", "NEC2D960"}));
    EXPECT_EQ(own.workingDir, tree.path());
    EXPECT_FALSE(own.withoutSizeCards);
}

TEST(LapackEnvironment, ASharesForBothOtherwiseTheCallersOrEveryCoreAndIdleThreadsSleep) {
    const std::string cores = std::to_string(allowedCores());
    {
        ScopedVariable blas("OPENBLAS_NUM_THREADS", std::nullopt), omp("OMP_NUM_THREADS", std::nullopt),
            timeout("OPENBLAS_THREAD_TIMEOUT", ""), wait("OMP_WAIT_POLICY", std::nullopt);
        EXPECT_EQ(lapackEnvironment(0), (Argv{"OPENBLAS_NUM_THREADS=" + cores, "OMP_NUM_THREADS=" + cores,
                                              "OPENBLAS_THREAD_TIMEOUT=20", "OMP_WAIT_POLICY=passive"}));
    }
    ScopedVariable blas("OPENBLAS_NUM_THREADS", "3"), timeout("OPENBLAS_THREAD_TIMEOUT", "6"),
        wait("OMP_WAIT_POLICY", "active");
    {
        ScopedVariable omp("OMP_NUM_THREADS", std::nullopt);
        EXPECT_EQ(lapackEnvironment(0), (Argv{"OPENBLAS_NUM_THREADS=3", "OMP_NUM_THREADS=3",
                                              "OPENBLAS_THREAD_TIMEOUT=6", "OMP_WAIT_POLICY=active"}));
    }
    ScopedVariable omp("OMP_NUM_THREADS", "4");
    EXPECT_EQ(lapackEnvironment(0), (Argv{"OPENBLAS_NUM_THREADS=3", "OMP_NUM_THREADS=4", "OPENBLAS_THREAD_TIMEOUT=6",
                                          "OMP_WAIT_POLICY=active"}));
    EXPECT_EQ(lapackEnvironment(1), (Argv{"OPENBLAS_NUM_THREADS=1", "OMP_NUM_THREADS=1", "OPENBLAS_THREAD_TIMEOUT=6",
                                          "OMP_WAIT_POLICY=active"}));
}

TEST(WithoutSizeCards, DropsEveryLineStartingWithSzInAnyCaseAndNothingElse) {
    EXPECT_EQ(withoutSizeCards("SZ 3000 0\nCM sz\nGW 1\nsz\nsZ,1\nXSZ\nS\nGE 0\nSz 9"), "CM sz\nGW 1\nXSZ\nS\nGE 0\n");
    EXPECT_EQ(withoutSizeCards(""), "");
}

// The engine program started by wavra sees what the launcher would have
// given it: arguments, folder, files, threads and their wait policy. A stand-in lapack engine
// writes them into its report, once started each way.
TEST(DirectStart, TheEngineGetsWhatTheLauncherGivesIt) {
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    tree.prepare(m);
    m.modelName = "dipole";
    selectEngine(m, kLapackEngine);
    fs::remove(tree.file("exe/nec2c-lapack"));
    test::writeText(tree.file("exe/nec2c-lapack"),
                    "#!/bin/sh\necho \"$* $(pwd) $(cat \"$2\") $OPENBLAS_NUM_THREADS $OMP_NUM_THREADS "
                    "$OPENBLAS_THREAD_TIMEOUT $OMP_WAIT_POLICY\" > \"$4\"\n");
    fs::permissions(tree.file("exe/nec2c-lapack"), fs::perms::owner_all);
    auto runner = makeNativeProcessRunner();
    ScopedVariable omp("OMP_NUM_THREADS", "5"), wait("OMP_WAIT_POLICY", std::nullopt);
    for (const int threads : {0, 1}) {
        SCOPED_TRACE(threads);
        EngineJob job(m.outDir());
        ASSERT_TRUE(job.prepare(m, ui, "SZ 100 0\nGW 1 11\n", threads));
        ASSERT_EQ(job.command().front(), tree.file("exe/nec2c-lapack"));
        ASSERT_TRUE(job.start(*runner, m.workDir())) << job.outcome().startError;
        EXPECT_EQ(waitForEngines({job.process()}, 0, nullptr), StopReason::None);
        const std::string direct = test::readText(job.files().report());
        const test::RunResult launcher =
            test::runProgram(launcherCommand(m, job.files().control(), "gen", "dipole", threads), m.workDir());
        EXPECT_EQ(launcher.status, 0) << launcher.err;
        EXPECT_EQ(test::readText(job.files().report()), direct);
        EXPECT_NE(direct.find(threads == 1 ? " 1 1 20 passive\n" : " 5 20 passive\n"), std::string::npos) << direct;
    }
}

} // namespace
} // namespace wavra
