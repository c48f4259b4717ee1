#include "engine/process.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

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

// An engine program tells its group to the watcher itself, between fork and
// exec: the id waits on the socket although the parent sent nothing. A
// program started without an announcement (the text editor) tells nothing.
TEST(NativeProcess, AnnouncesItsGroupFromTheChildOnlyWhenAsked) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
    auto runner = makeNativeProcessRunner();
    std::string error;
    long long announced = 0;
    {
        const GroupAnnouncement announcement(pair[1]);
        auto p = runner->start({"true"}, {}, error);
        ASSERT_NE(p, nullptr) << error;
        announced = p->processId();
        EXPECT_TRUE(p->waitFor(20000));
    }
    auto unannounced = runner->start({"true"}, {}, error);
    ASSERT_NE(unannounced, nullptr) << error;
    EXPECT_TRUE(unannounced->waitFor(20000));
    long long message = 0;
    EXPECT_EQ(::recv(pair[0], &message, sizeof message, MSG_DONTWAIT), static_cast<ssize_t>(sizeof message));
    EXPECT_EQ(message, announced);
    EXPECT_LT(::recv(pair[0], &message, sizeof message, MSG_DONTWAIT), 0);
    ::close(pair[0]);
    ::close(pair[1]);
}

} // namespace
} // namespace wavra
