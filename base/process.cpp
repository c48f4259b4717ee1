#include "base/process.h"

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace wavra {

bool waitInSteps(RunningProcess& process, int stepMs, const std::function<bool()>& between) {
    while (!process.waitFor(stepMs))
        if (!between()) return false;
    return true;
}

std::unique_ptr<RunningProcess> ProcessRunner::startWithEnvironment(const std::vector<std::string>& argv,
                                                                    const std::string& workingDir,
                                                                    const std::vector<std::string>& environment,
                                                                    std::string& error) {
    if (environment.empty()) return start(argv, workingDir, error);
    error = (argv.empty() ? std::string("a program") : argv.front()) + ": this runner cannot set its environment";
    return nullptr;
}

// Async-signal-safe: runs in the child between fork and exec.
void leadOwnProcessGroup() { ::setpgid(0, 0); }

void signalProcessGroup(long long leader, bool force) {
    if (leader > 0) ::kill(-static_cast<pid_t>(leader), force ? SIGKILL : SIGTERM);
}

namespace {
thread_local int t_announcementSocket = -1;
}

GroupAnnouncement::GroupAnnouncement(int socket) : m_before(t_announcementSocket) { t_announcementSocket = socket; }

GroupAnnouncement::~GroupAnnouncement() { t_announcementSocket = m_before; }

int groupAnnouncementSocket() { return t_announcementSocket; }

void announceOwnGroup(int socket) {
    if (socket < 0) return;
    const long long id = ::getpid();
    ssize_t sent;
    do sent = ::send(socket, &id, sizeof id, MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
}

} // namespace wavra
