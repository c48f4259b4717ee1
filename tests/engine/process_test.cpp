#include "engine/process.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace wavra {
namespace {

struct Finished {
    int exitCode;
    std::string out, err;
};

Finished runToEnd(const std::vector<std::string>& argv, const std::string& dir = {}) {
    auto runner = makeNativeProcessRunner();
    std::string error;
    auto p = runner->start(argv, dir, error);
    EXPECT_NE(p, nullptr) << error;
    if (!p) return {-1, {}, {}};
    EXPECT_TRUE(p->waitFor(20000));
    EXPECT_TRUE(p->finished());
    return {p->exitCode(), p->standardOutput(), p->standardError()};
}

// A fixed script; the names under test travel as separate arguments.
const std::string kEcho = "printf '<%s>' \"$@\"; printf 'warn' >&2; exit 3";

TEST(NativeProcess, PassesEveryArgumentLiterallyAndCapturesBothStreams) {
    const Finished f = runToEnd({"sh", "-c", kEcho, "sh", "a b;rm x", "it's \"q\"", "$HOME", "Ünïcødé", ""});
    EXPECT_EQ(f.exitCode, 3);
    EXPECT_EQ(f.out, "<a b;rm x><it's \"q\"><$HOME><Ünïcødé><>");
    EXPECT_EQ(f.err, "warn");
}

TEST(NativeProcess, RunsInTheGivenDirectory) {
    test::TempDir dir;
    EXPECT_EQ(runToEnd({"pwd"}, dir.path()).out, dir.path().substr(0, dir.path().size() - 1) + "\n");
}

TEST(NativeProcess, CollectsLargeOutputWithoutBlocking) {
    const Finished f = runToEnd({"sh", "-c", "head -c 3000000 /dev/zero | tr '\\0' x; echo done >&2"});
    EXPECT_EQ(f.exitCode, 0);
    EXPECT_EQ(f.out.size(), 256u * 1024u); // the newest part is kept
    EXPECT_EQ(f.err, "done\n");
}

TEST(NativeProcess, ReportsProgramsThatCannotStart) {
    auto runner = makeNativeProcessRunner();
    std::string error;
    EXPECT_EQ(runner->start({"wavra-no-such-program"}, {}, error), nullptr);
    EXPECT_EQ(error, "wavra-no-such-program: program not found");
    test::TempDir dir;
    test::writeText(dir.file("plain.txt"), "not a program");
    EXPECT_EQ(runner->start({dir.file("plain.txt")}, {}, error), nullptr);
    EXPECT_EQ(error, dir.file("plain.txt") + ": Permission denied");
    EXPECT_EQ(runner->start({"true"}, dir.file("missing-dir"), error), nullptr);
    EXPECT_EQ(error, "true: No such file or directory");
    EXPECT_EQ(runner->start({}, {}, error), nullptr);
}

TEST(NativeProcess, WaitTimesOutAndTerminateEndsTheProgramAndItsChildren) {
    auto runner = makeNativeProcessRunner();
    std::string error;
    auto p = runner->start({"sh", "-c", "sleep 30 & sleep 30"}, {}, error);
    ASSERT_NE(p, nullptr) << error;
    EXPECT_FALSE(p->waitFor(100));
    EXPECT_FALSE(p->finished());
    p->terminate();
    EXPECT_TRUE(p->finished());
    EXPECT_EQ(p->exitCode(), 128 + 15);
}

TEST(NativeProcess, ExitStatusOfAProgramKilledBySignal) {
    EXPECT_EQ(runToEnd({"sh", "-c", "kill -9 $$"}).exitCode, 128 + 9);
}

} // namespace
} // namespace wavra
