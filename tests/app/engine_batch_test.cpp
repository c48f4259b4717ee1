// The engine run of `wavra --batch` under trouble: runs side by side in one
// install tree, engines that hang or crash (stand-ins in place of the
// engine link), SIGTERM to wavra and a card the engine does not know.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "base/files.h"
#include "batch_fixture.h"
#include "engine/process.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct EngineBatch : Batch {
    void standIn(const std::string& script) { test::replaceEngine(tree.path(), script); }
    void hangingEngine() { standIn(test::hangingEngineScript(tree.path())); }
    bool engineGone() {
        return test::processGone(tree.file("engine.pid")) && test::processGone(tree.file("helper.pid"));
    }
    bool runDirectoriesLeft() const {
        for (const auto& entry : fs::directory_iterator(tree.file("out")))
            if (entry.path().filename().string().rfind(".run-", 0) == 0) return true;
        return false;
    }
};

TEST_F(EngineBatch, RunsSideBySideInOneTreeEachReadTheirOwnReport) {
    // Two models whose names share their first 8 characters.
    fs::copy_file(tree.file("models/dipole.nec"), tree.file("models/antenna-dipole.nec"));
    fs::copy_file(tree.file("models/yagi.nec"), tree.file("models/antenna-yagi.nec"));
    const std::vector<std::string> models = {"antenna-dipole", "antenna-yagi"};
    std::map<std::string, json> alone;
    for (const auto& name : models) {
        auto r = run({"--batch", "--json", "--calc", "original", "models/" + name + ".nec"});
        ASSERT_EQ(r.status, 0) << r.err;
        alone[name] = json::parse(r.out)["impedance"];
    }
    ASSERT_NE(alone["antenna-dipole"], alone["antenna-yagi"]);
    auto runner = makeNativeProcessRunner();
    for (int pair = 0; pair < 6; ++pair) {
        std::vector<std::unique_ptr<RunningProcess>> running;
        for (const auto& name : models) {
            std::string error;
            running.push_back(runner->start(
                {tree.file("exe/wavra"), "--batch", "--json", "--calc", "original", "models/" + name + ".nec"},
                tree.path(), error));
            ASSERT_NE(running.back(), nullptr) << error;
        }
        for (size_t i = 0; i < models.size(); ++i) {
            ASSERT_TRUE(running[i]->waitFor(60000));
            ASSERT_EQ(running[i]->exitCode(), 0) << models[i] << ": " << running[i]->standardError();
            EXPECT_EQ(json::parse(running[i]->standardOutput())["impedance"], alone[models[i]]) << models[i];
        }
    }
    EXPECT_FALSE(runDirectoriesLeft());
}

TEST_F(EngineBatch, AHangingEngineIsStoppedAtTheTimeOutOfTheCommandLineOrTheSettings) {
    hangingEngine();
    auto r = run({"--batch", "--timeout", "1", "--calc", "original", "models/dipole.nec"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(contains(r.err, "The NEC-2 engine NEC2D_LA was stopped after the engine time-out of 1 s")) << r.err;
    EXPECT_TRUE(engineGone());
    EXPECT_FALSE(pathExists(tree.file("out/dipole.out")));

    fs::remove(tree.file("engine.pid"));
    std::string ini = test::readText(tree.file("exe/wavra.ini"));
    const size_t at = ini.find("TIMEOUT= 0");
    ASSERT_NE(at, std::string::npos);
    test::writeText(tree.file("exe/wavra.ini"), ini.replace(at, 10, "TIMEOUT= 1"));
    r = run({"--batch", "--calc", "original", "models/dipole.nec"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(contains(r.err, "time-out of 1 s")) << r.err;
    EXPECT_TRUE(engineGone());
    EXPECT_FALSE(runDirectoriesLeft());

    EXPECT_EQ(run({"--batch", "--timeout", "-1", "models/dipole.nec"}).status, 2);
    EXPECT_EQ(run({"--batch", "--timeout", "99999", "models/dipole.nec"}).status, 2);
}

// A batch calculation of the dipole as a child process, its stderr to
// `errPath`, once the hanging engine has started; -1 when it did not start.
pid_t startWhileTheEngineHangs(const test::InstallTree& tree, const std::string& errPath) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 1);
        ::dup2(err, 2);
        if (::chdir(tree.path().c_str()) != 0) _exit(126);
        const std::string program = tree.file("exe/wavra");
        ::execl(program.c_str(), program.c_str(), "--batch", "--calc", "original", "models/dipole.nec", nullptr);
        _exit(127);
    }
    for (int i = 0; pid > 0 && i < 500 && !pathExists(tree.file("helper.pid")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return pid > 0 && pathExists(tree.file("helper.pid")) ? pid : -1;
}

TEST_F(EngineBatch, SigtermToWavraEndsTheEngineFirstAndSaysSo) {
    ASSERT_EQ(run({"--batch", "--calc", "original", "models/dipole.nec"}).status, 0);
    const std::string good = test::readText(tree.file("out/dipole.out"));
    hangingEngine();
    const std::string errPath = tree.file("wavra.err");
    const pid_t pid = startWhileTheEngineHangs(tree, errPath);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(contains(test::readText(errPath),
                         "wavra: SIGTERM ended wavra while the NEC-2 engine NEC2D_LA ran; the engine was stopped"))
        << test::readText(errPath);
    EXPECT_TRUE(engineGone());
    EXPECT_EQ(test::readText(tree.file("out/dipole.out")), good);
    EXPECT_FALSE(runDirectoriesLeft());
}

TEST_F(EngineBatch, KillMinus9OfWavraStillEndsTheEngineAndTheNextRunRemovesItsFolder) {
    hangingEngine();
    const pid_t pid = startWhileTheEngineHangs(tree, "/dev/null");
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(engineGone());
    EXPECT_TRUE(runDirectoriesLeft()); // nothing could remove it

    fs::remove(tree.file("exe/NEC2D_LA"));
    fs::copy(std::string(WAVRA_STAGE_DIR) + "/exe/NEC2D_LA", tree.file("exe/NEC2D_LA"),
             fs::copy_options::copy_symlinks);
    EXPECT_EQ(run({"--batch", "--calc", "original", "models/dipole.nec"}).status, 0);
    EXPECT_FALSE(runDirectoriesLeft());
}

TEST_F(EngineBatch, CrashingEnginesNeverCostTheLastCompleteReport) {
    ASSERT_EQ(run({"--batch", "--calc", "original", "models/dipole.nec"}).status, 0);
    const std::string good = test::readText(tree.file("out/dipole.out"));
    standIn(
        "#!/bin/sh\nprintf 'half a report\\n' > \"$2\"\n"
        "echo 'stand-in: out of memory in the matrix solve' >&2\nkill -SEGV $$\n");
    for (int failure = 1; failure <= 2; ++failure) {
        auto r = run({"--batch", "--calc", "original", "models/dipole.nec"});
        EXPECT_EQ(r.status, 3);
        EXPECT_TRUE(contains(r.err,
                             "The NEC-2 engine NEC2D_LA failed (exit status 139).\n"
                             "stand-in: out of memory in the matrix solve\n"))
            << r.err;
        EXPECT_TRUE(contains(r.err, "Segmentation fault")) << r.err; // the launcher's word on the crash
        EXPECT_TRUE(contains(r.err,
                             "The report ends with:\nhalf a report\nThe report of this run is kept as "
                             "out/dipole.out.failed; the last complete report out/dipole.out stays as it was."))
            << r.err;
        EXPECT_EQ(test::readText(tree.file("out/dipole.out")), good) << "after failure " << failure;
        EXPECT_EQ(test::readText(tree.file("out/dipole.out.failed")), "half a report\n");
    }
    // The next plain open shows the last complete report, not the failure's.
    const json plain = json::parse(run({"--batch", "--json", "models/dipole.nec"}).out);
    EXPECT_EQ(plain["loadedFrom"], "report");
    EXPECT_TRUE(plain["messages"].empty()) << plain["messages"];
}

TEST_F(EngineBatch, ACardTheEngineDoesNotKnowIsNamedAndTheEnginesReasonShown) {
    std::string deck = test::readText(tree.file("models/dipole.nec"));
    deck.insert(deck.find("\nFR") + 1, "ZZ 0 1\n");
    test::writeText(tree.file("models/zz.nec"), deck);
    int line = 1;
    for (size_t i = 0; i < deck.find("\nZZ"); ++i) line += deck[i] == '\n';
    const std::string question = "Card 'ZZ' in line " + std::to_string(line + 1) +
                                 " is not a NEC-2 card; nec2c stops at it. Remove it or turn it into a comment.";
    auto r = run({"--batch", "--json", "--calc", "original", "models/zz.nec"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(contains(r.err, question)) << r.err;
    EXPECT_TRUE(contains(r.err, "FAULTY DATA CARD LABEL AFTER GEOMETRY SECTION")) << r.err;
}

} // namespace
