// The engine's side of starting outside programs (the engine launcher, the
// special engine); the contract is in base/process.h. The windows supply a
// QProcess implementation; the batch command line and the tests use the
// native one, watched engine runs, directory locks and the ending signals
// declared here.
#pragma once

#include <memory>
#include <string>

#include "base/process.h"

namespace wavra {

// The full path of a program as start() finds it: as given when it holds a
// '/', else the first executable match in PATH. Empty when there is none.
std::string findInPath(const std::string& name);

// True when `path` names a file this program may run.
bool isExecutableFile(const std::string& path);

// The cores this program may run on (its affinity, as nproc counts them).
int allowedCores();

// The process runner of the operating system. Every program it starts
// leads a process group of its own.
std::unique_ptr<ProcessRunner> makeNativeProcessRunner();

// Starts a program of an engine run (as ProcessRunner::startWithEnvironment)
// whose process group the watchdog learns of from the child itself, before
// the program runs: wavra may end at any moment after the fork without
// leaving it unwatched. Keep a ProcessGroupWatch on it while it runs.
std::unique_ptr<RunningProcess> startEngineProgram(ProcessRunner& runner, const std::vector<std::string>& argv,
                                                   const std::string& workingDir,
                                                   const std::vector<std::string>& environment, std::string& error);

// While it lives, the process group led by `leader` (an engine run) ends
// when wavra ends, however wavra ends (kill -9 included): a watchdog
// process, started on first use, holds one end of a socket whose other end
// only wavra keeps; when wavra is gone the watchdog sees the socket close
// and kills every group it was told of. Only engine runs are watched: the
// programs wavra starts for the user (the text editor, `build`) hold the
// user's unsaved work and run on when wavra ends.
class ProcessGroupWatch {
public:
    explicit ProcessGroupWatch(long long leader);
    ~ProcessGroupWatch();
    ProcessGroupWatch(const ProcessGroupWatch&) = delete;
    ProcessGroupWatch& operator=(const ProcessGroupWatch&) = delete;

private:
    long long m_leader;
};

// A lock on a directory (flock) held while the object lives: exclusive for
// one writer, shared among readers. Where the file system has no locks the
// object holds none and the callers go on.
class DirectoryLock {
public:
    DirectoryLock(const std::string& dir, bool exclusive);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

private:
    int m_fd = -1;
};

// This program's process id.
long long currentProcessId();
// True while a process of that id exists, also one of another user.
bool processExists(long long pid);
// When a process started (clock ticks after boot, from /proc), so that a
// process id used again is not taken for the process that had it; empty
// when there is no such process.
std::string processStartTime(long long pid);

// The signals that end a program from outside: Ctrl+C (SIGINT), SIGTERM and
// SIGHUP. While at least one watch exists they only take note, so that a
// waiting caller can end the engine it started before the program ends;
// afterwards the earlier handling is back. Watches may nest.
class EndingSignalWatch {
public:
    EndingSignalWatch();
    ~EndingSignalWatch();
    EndingSignalWatch(const EndingSignalWatch&) = delete;
    EndingSignalWatch& operator=(const EndingSignalWatch&) = delete;

    // The signal noted since the outermost watch began; 0 when none.
    static int caught();
};

// "SIGTERM", "SIGINT (Ctrl+C)", "SIGHUP", or "signal N".
std::string signalName(int signal);

// Ends the program as `signal` ends it when nothing catches it.
[[noreturn]] void endBySignal(int signal);

} // namespace wavra
