// Starting outside programs with an argument list, never through a shell
// string, so a file named "a b;rm x" is only a name: the contract that the
// native runner and the Qt runner of the windows both fulfil.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wavra {

// A started program.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;

    // Waits at most timeoutMs for the program to end, collecting its output
    // meanwhile. True when it has ended.
    virtual bool waitFor(int timeoutMs) = 0;
    virtual bool finished() const = 0;
    // Valid once finished: the exit status, or 128 + signal number when the
    // program was killed by a signal.
    virtual int exitCode() const = 0;
    // What the program wrote so far (the newest part when it wrote a lot).
    virtual std::string standardOutput() const = 0;
    virtual std::string standardError() const = 0;
    // Ends the program and every program of its process group (the engine
    // the launcher started): SIGTERM first, SIGKILL for what is left after
    // two seconds. Reaps it; finished() is true afterwards.
    virtual void terminate() = 0;
    // The program's process id (the leader of its process group); 0 when
    // there is none to tell.
    virtual long long processId() const { return 0; }
};

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Starts argv[0] (looked up in PATH when it holds no '/') with argv[1..]
    // in workingDir (the current directory when empty). nullptr, with a
    // message in `error`, when the program cannot be started.
    virtual std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& workingDir,
                                                  std::string& error) = 0;
    // As start, with `environment` ("NAME=value" each) set in the program's
    // environment over what this program has. A runner that cannot set an
    // environment starts nothing when one is asked for and says so.
    virtual std::unique_ptr<RunningProcess> startWithEnvironment(const std::vector<std::string>& argv,
                                                                 const std::string& workingDir,
                                                                 const std::vector<std::string>& environment,
                                                                 std::string& error);
};

// Waits for a started program in steps of `stepMs`, calling `between` after
// every step while it runs; `between` returns false to stop waiting (the
// program then runs on). True when the program has ended.
bool waitInSteps(RunningProcess& process, int stepMs, const std::function<bool()>& between);

// For runners that start programs themselves (QProcess): called in the
// child before the program starts, it makes the child the leader of a
// process group of its own; signalProcessGroup then sends SIGTERM (or with
// `force` SIGKILL) to that whole group.
void leadOwnProcessGroup();
void signalProcessGroup(long long leader, bool force);

// Where a program tells its process group to a watcher before it runs: while
// a GroupAnnouncement lives, every program this thread starts sends its own
// id (a long long, the group's leader) on `socket` from the child, between
// fork and exec. The group is then known before the program can start
// anything, so no moment exists in which it runs unwatched.
class GroupAnnouncement {
public:
    explicit GroupAnnouncement(int socket);
    ~GroupAnnouncement();
    GroupAnnouncement(const GroupAnnouncement&) = delete;
    GroupAnnouncement& operator=(const GroupAnnouncement&) = delete;

private:
    int m_before;
};
// The socket of this thread's innermost GroupAnnouncement; -1 for none.
int groupAnnouncementSocket();
// Async-signal-safe, for the child between fork and exec: sends the child's
// id on `socket` (nothing when it is negative).
void announceOwnGroup(int socket);

} // namespace wavra
