// The native process runner on POSIX systems: clone (as vfork), execv, waitpid, the
// process groups and the ending signals. Every POSIX call of the engine run
// lives in this one file.
#include "engine/process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <poll.h>
#include <sched.h>
#include <string_view>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "base/files.h"

namespace wavra {

namespace {

constexpr size_t kOutputLimit = 256 * 1024; // newest bytes kept per stream
constexpr int kGraceMs = 2000;              // from SIGTERM to SIGKILL
constexpr int kGraceStepMs = 20;

// Full path of a program: as given when it holds a '/', else the first
// executable match in PATH. Empty when none.
std::string resolveProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t pos = 0;
    while (pos <= dirs.size()) {
        size_t end = dirs.find(':', pos);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(pos, end - pos);
        if (dir.empty()) dir = ".";
        const std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        pos = end + 1;
    }
    return {};
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A descriptor that poll sees readable once the child `pid` has ended (a
// pidfd, closed on exec); -1 where the kernel has none.
int endDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0U));
#else
    (void)pid;
    return -1;
#endif
}

// Runs in the child between fork and exec: only async-signal-safe calls.
// `environment` null: this program's own.
[[noreturn]] void execChild(const std::string& program, std::vector<char*>& args, char** environment,
                            const std::string& dir, int outFd, int errFd, int statusFd, int announceSocket) {
    leadOwnProcessGroup();
    announceOwnGroup(announceSocket);
    int nullFd = ::open("/dev/null", O_RDONLY);
    if (nullFd >= 0) ::dup2(nullFd, 0);
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    if (dir.empty() || ::chdir(dir.c_str()) == 0) {
        if (environment) ::execve(program.c_str(), args.data(), environment);
        else ::execv(program.c_str(), args.data());
    }
    const int err = errno;
    ssize_t ignored = ::write(statusFd, &err, sizeof err);
    (void)ignored;
    ::_exit(127);
}

// What the child needs between its start and the exec.
struct ChildStart {
    const std::string* program;
    std::vector<char*>* args;
    char** environment;
    const std::string* dir;
    int outFd, errFd, statusFd, announceSocket;
    sigset_t mask; // the signal mask to run the program with
};

// The child started by cloneChild: it shares wavra's memory until the
// exec, so a signal must not run one of wavra's handlers in it. Handled
// signals go back to their default before the mask of the parent returns.
int runChild(void* data) {
    const ChildStart& start = *static_cast<const ChildStart*>(data);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN || action.sa_handler == SIG_DFL)
            continue;
        action.sa_handler = SIG_DFL;
        ::sigaction(signal, &action, nullptr);
    }
    ::sigprocmask(SIG_SETMASK, &start.mask, nullptr);
    execChild(*start.program, *start.args, start.environment, *start.dir, start.outFd, start.errFd, start.statusFd,
              start.announceSocket);
}

// Starts the child as vfork does: in wavra's memory on a stack of its own,
// wavra waiting until it has exec'd or ended. A fork would first copy
// wavra's page tables and make every page wavra writes afterwards fault
// once. Under AddressSanitizer, which cannot follow a child on a foreign
// stack, a fork it is. -1 (errno set) when no child could be made.
pid_t cloneChild(ChildStart& start) {
#if defined(__SANITIZE_ADDRESS__)
    ::pthread_sigmask(SIG_SETMASK, nullptr, &start.mask);
    const pid_t pid = ::fork();
    if (pid == 0) runChild(&start);
    return pid;
#else
    constexpr size_t kStackBytes = 64 * 1024;
    void* stack = ::mmap(nullptr, kStackBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (stack == MAP_FAILED) return -1;
    sigset_t all;
    sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &start.mask);
    const pid_t pid =
        ::clone(runChild, static_cast<char*>(stack) + kStackBytes, CLONE_VM | CLONE_VFORK | SIGCHLD, &start);
    const int cloneErrno = errno;
    ::pthread_sigmask(SIG_SETMASK, &start.mask, nullptr);
    ::munmap(stack, kStackBytes);
    errno = cloneErrno;
    return pid;
#endif
}

// This program's environment with `extra` ("NAME=value" each) set over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('=') + 1);
        const bool replaced = std::any_of(
            extra.begin(), extra.end(), [&](const std::string& set) { return set.compare(0, name.size(), name) == 0; });
        if (!replaced) merged.emplace_back(text);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> pointersTo(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const auto& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

class PosixProcess : public RunningProcess {
public:
    PosixProcess(pid_t pid, int outFd, int errFd) : m_pid(pid), m_fds{outFd, errFd}, m_endFd(endDescriptor(pid)) {}
    ~PosixProcess() override {
        if (!m_finished) terminate();
        closeFd(m_fds[0]);
        closeFd(m_fds[1]);
        closeFd(m_endFd);
    }

    bool waitFor(int timeoutMs) override {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
        for (;;) {
            reap();
            if (m_finished) {
                drain(0);
                return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0) return false;
            drain(static_cast<int>(std::min<long long>(left, 50)));
        }
    }

    bool finished() const override { return m_finished; }
    int exitCode() const override { return m_exitCode; }
    std::string standardOutput() const override { return m_output[0]; }
    std::string standardError() const override { return m_output[1]; }
    long long processId() const override { return m_pid; }

    void terminate() override {
        if (m_finished) return;
        signalProcessGroup(m_pid, false);
        ::kill(m_pid, SIGTERM); // also when the group could not be made
        for (int waited = 0; waited < kGraceMs && !leaderEnded(); waited += kGraceStepMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(kGraceStepMs));
        // The leader is not reaped yet, so its id still names the group:
        // whatever of the group ignored SIGTERM goes now.
        signalProcessGroup(m_pid, true);
        ::kill(m_pid, SIGKILL);
        int status = 0;
        pid_t r;
        do r = ::waitpid(m_pid, &status, 0);
        while (r < 0 && errno == EINTR);
        if (r == m_pid) record(status);
        else m_finished = true; // reaped elsewhere
        drain(0);
    }

private:
    pid_t m_pid;
    int m_fds[2];
    int m_endFd; // readable once the program has ended; -1 where the kernel has no pidfd
    std::string m_output[2];
    bool m_finished = false;
    int m_exitCode = -1;

    // True once the leader has ended; it stays unreaped (a zombie).
    bool leaderEnded() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
               info.si_pid == m_pid;
    }

    void record(int status) {
        m_finished = true;
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    }

    void reap() {
        if (m_finished) return;
        int status = 0;
        pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) record(status);
        else if (r < 0 && errno != EINTR) { // the child is gone (reaped elsewhere)
            m_finished = true;
            m_exitCode = 128;
        }
    }

    // Reads what the pipes hold, waiting at most timeoutMs for data or for
    // the program's end. The pipes close a moment before the program can be
    // reaped, so without the pidfd the wait after them would be a sleep.
    void drain(int timeoutMs) {
        pollfd p[3];
        nfds_t n = 0;
        int index[3];
        for (int i = 0; i < 2; ++i)
            if (m_fds[i] >= 0) {
                p[n] = {m_fds[i], POLLIN, 0};
                index[n++] = i;
            }
        if (m_endFd >= 0 && !m_finished) {
            p[n] = {m_endFd, POLLIN, 0};
            index[n++] = -1;
        }
        if (n == 0) {
            if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
            return;
        }
        if (::poll(p, n, timeoutMs) <= 0) return;
        for (nfds_t k = 0; k < n; ++k)
            if (index[k] >= 0 && (p[k].revents & (POLLIN | POLLHUP | POLLERR))) readFrom(index[k]);
    }

    void readFrom(int i) {
        char buf[8192];
        for (;;) {
            ssize_t got = ::read(m_fds[i], buf, sizeof buf);
            if (got > 0) {
                m_output[i].append(buf, static_cast<size_t>(got));
                if (m_output[i].size() > kOutputLimit) m_output[i].erase(0, m_output[i].size() - kOutputLimit);
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got == 0) closeFd(m_fds[i]); // end of output
            return;                          // EAGAIN: nothing more for now
        }
    }
};

class PosixProcessRunner : public ProcessRunner {
public:
    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& workingDir,
                                          std::string& error) override {
        return startWithEnvironment(argv, workingDir, {}, error);
    }

    std::unique_ptr<RunningProcess> startWithEnvironment(const std::vector<std::string>& argv,
                                                         const std::string& workingDir,
                                                         const std::vector<std::string>& environment,
                                                         std::string& error) override {
        if (argv.empty()) {
            error = "no program given";
            return nullptr;
        }
        const std::string program = resolveProgram(argv[0]);
        if (program.empty()) {
            error = argv[0] + ": program not found";
            return nullptr;
        }
        std::vector<char*> args = pointersTo(argv);
        const std::vector<std::string> merged = environment.empty() ? environment : mergedEnvironment(environment);
        std::vector<char*> envp = pointersTo(merged);

        int out[2], err[2], status[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return fail(error, argv[0]);
        if (::pipe2(err, O_CLOEXEC) != 0) {
            closePair(out);
            return fail(error, argv[0]);
        }
        if (::pipe2(status, O_CLOEXEC) != 0) {
            closePair(out);
            closePair(err);
            return fail(error, argv[0]);
        }
        ChildStart start{&program,
                         &args,
                         environment.empty() ? nullptr : envp.data(),
                         &workingDir,
                         out[1],
                         err[1],
                         status[1],
                         groupAnnouncementSocket(),
                         {}};
        const pid_t pid = cloneChild(start);
        const int forkErrno = errno;
        ::close(out[1]);
        ::close(err[1]);
        ::close(status[1]);
        if (pid < 0) {
            ::close(out[0]);
            ::close(err[0]);
            ::close(status[0]);
            errno = forkErrno;
            return fail(error, argv[0]);
        }
        int childErrno = 0;
        ssize_t got;
        do got = ::read(status[0], &childErrno, sizeof childErrno);
        while (got < 0 && errno == EINTR);
        ::close(status[0]);
        if (got == static_cast<ssize_t>(sizeof childErrno)) { // exec failed
            ::close(out[0]);
            ::close(err[0]);
            int st = 0;
            ::waitpid(pid, &st, 0);
            error = argv[0] + ": " + std::strerror(childErrno);
            return nullptr;
        }
        ::fcntl(out[0], F_SETFL, O_NONBLOCK);
        ::fcntl(err[0], F_SETFL, O_NONBLOCK);
        return std::make_unique<PosixProcess>(pid, out[0], err[0]);
    }

private:
    static void closePair(int p[2]) {
        ::close(p[0]);
        ::close(p[1]);
    }
    static std::unique_ptr<RunningProcess> fail(std::string& error, const std::string& name) {
        error = name + ": " + std::strerror(errno);
        return nullptr;
    }
};

// The ending signals and what the program did with them before the
// outermost watch began.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t g_caughtSignal = 0;
std::mutex g_watchMutex;
int g_watches = 0;
struct sigaction g_before[std::size(kEndingSignals)];

extern "C" void noteEndingSignal(int signal) { g_caughtSignal = signal; }

// The watchdog of the engines' process groups: it runs from fork to its
// end without exec, so it makes only async-signal-safe calls and keeps its
// list in a fixed array.
constexpr int kMaxWatchedGroups = 256;
constexpr int kMaxInheritedFd = 65536;
int g_watchdogSocket = -1; // wavra's end; closed on exec
std::once_flag g_watchdogStarted;

// The watchdog's life once its descriptors are set: wait for wavra's end,
// then end the engines it was told of.
[[noreturn]] void watchdogLoop(int socket) {
    const int nullFd = ::open("/dev/null", O_RDWR);
    if (nullFd >= 0) {
        ::dup2(nullFd, 1);
        ::dup2(nullFd, 2);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::sigaction(signal, &ignore, nullptr);
    long long groups[kMaxWatchedGroups];
    int count = 0;
    for (;;) {
        long long message = 0;
        const ssize_t got = ::recv(socket, &message, sizeof message, MSG_WAITALL);
        if (got < 0 && errno == EINTR) continue;
        if (got != static_cast<ssize_t>(sizeof message)) break; // wavra is gone
        // A group may be told twice: by the engine's child before it runs
        // and by wavra after the start.
        bool known = false;
        for (int i = 0; i < count; ++i) known = known || groups[i] == message;
        if (message > 0 && !known && count < kMaxWatchedGroups) groups[count++] = message;
        for (int i = 0; message < 0 && i < count; ++i)
            if (groups[i] == -message) groups[i--] = groups[--count];
    }
    for (int i = 0; i < count; ++i) ::kill(-static_cast<pid_t>(groups[i]), SIGKILL);
    ::_exit(0);
}

[[noreturn]] void watchdogMain(int socket) {
    ::setpgid(0, 0); // Ctrl+C in the terminal is for wavra, not for it
    // Every other descriptor goes, however high (a lock on out/ kept open
    // here would block every later run): close_range where the kernel has
    // it, else one by one.
    if (socket != 3) {
        ::dup2(socket, 3);
        socket = 3;
    }
    for (int fd = 0; fd < 3; ++fd) ::close(fd);
#ifdef SYS_close_range
    const bool closed = ::syscall(SYS_close_range, 4U, ~0U, 0U) == 0;
#else
    const bool closed = false;
#endif
    for (int fd = 4; !closed && fd < kMaxInheritedFd; ++fd) ::close(fd);
    watchdogLoop(socket);
}

void startWatchdog() {
    int pair[2];
    // Records, not a stream: the engines' children and wavra send on the
    // same socket, and each message must arrive whole.
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pair[0]);
        watchdogMain(pair[1]);
    }
    ::close(pair[1]);
    if (pid < 0) ::close(pair[0]);
    else g_watchdogSocket = pair[0];
}

int watchdogSocket() {
    std::call_once(g_watchdogStarted, startWatchdog);
    return g_watchdogSocket;
}

void tellWatchdog(long long message) {
    if (watchdogSocket() < 0) return;
    ssize_t sent;
    do sent = ::send(g_watchdogSocket, &message, sizeof message, MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
}

} // namespace

std::unique_ptr<RunningProcess> startEngineProgram(ProcessRunner& runner, const std::vector<std::string>& argv,
                                                   const std::string& workingDir,
                                                   const std::vector<std::string>& environment, std::string& error) {
    const GroupAnnouncement announcement(watchdogSocket());
    return runner.startWithEnvironment(argv, workingDir, environment, error);
}

ProcessGroupWatch::ProcessGroupWatch(long long leader) : m_leader(leader) {
    if (m_leader > 0) tellWatchdog(m_leader);
}

ProcessGroupWatch::~ProcessGroupWatch() {
    if (m_leader > 0) tellWatchdog(-m_leader);
}

DirectoryLock::DirectoryLock(const std::string& dir, bool exclusive) {
    m_fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return;
    int r;
    do r = ::flock(m_fd, exclusive ? LOCK_EX : LOCK_SH);
    while (r != 0 && errno == EINTR);
}

DirectoryLock::~DirectoryLock() {
    if (m_fd >= 0) ::close(m_fd); // closing releases the lock
}

long long currentProcessId() { return ::getpid(); }

bool processExists(long long pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string processStartTime(long long pid) {
    std::string stat;
    if (pid <= 0 || !readFileText("/proc/" + std::to_string(pid) + "/stat", stat)) return {};
    // Field 22; the name in field 2 may hold blanks and ')', so count from
    // the last ')'.
    size_t pos = stat.rfind(')');
    if (pos == std::string::npos) return {};
    for (int field = 2; field < 22 && pos != std::string::npos; ++field) pos = stat.find(' ', pos + 1);
    if (pos == std::string::npos) return {};
    const size_t end = stat.find(' ', pos + 1);
    return stat.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1);
}

std::string findInPath(const std::string& name) { return resolveProgram(name); }

bool isExecutableFile(const std::string& path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

int allowedCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::unique_ptr<ProcessRunner> makeNativeProcessRunner() { return std::make_unique<PosixProcessRunner>(); }

EndingSignalWatch::EndingSignalWatch() {
    std::lock_guard<std::mutex> lock(g_watchMutex);
    if (g_watches++ > 0) return;
    g_caughtSignal = 0;
    struct sigaction note {};
    note.sa_handler = noteEndingSignal;
    sigemptyset(&note.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) ::sigaction(kEndingSignals[i], &note, &g_before[i]);
}

EndingSignalWatch::~EndingSignalWatch() {
    std::lock_guard<std::mutex> lock(g_watchMutex);
    if (--g_watches > 0) return;
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) ::sigaction(kEndingSignals[i], &g_before[i], nullptr);
}

int EndingSignalWatch::caught() { return g_caughtSignal; }

std::string signalName(int signal) {
    switch (signal) {
    case SIGINT: return "SIGINT (Ctrl+C)";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "signal " + std::to_string(signal);
    }
}

void endBySignal(int signal) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal); // a signal whose default is not to end the program
}

} // namespace wavra
