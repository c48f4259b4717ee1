#include "base/process.h"

#include <csignal>
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

} // namespace wavra
