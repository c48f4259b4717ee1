#include "viewer/program_runner.h"

#include <QWidget>

namespace wavra::view {

namespace {

constexpr int kWaitStepMs = 200;

} // namespace

bool QtProgramRunner::run(const Command& command) {
    std::vector<std::string> argv{command.program};
    argv.insert(argv.end(), command.args.begin(), command.args.end());
    std::string error;
    const std::unique_ptr<RunningProcess> process = m_runner.start(argv, std::string(), error);
    if (!process) return false;
    if (m_busy) m_busy->setEnabled(false);
    waitInSteps(*process, kWaitStepMs, [] { return true; });
    if (m_busy) m_busy->setEnabled(true);
    return true;
}

} // namespace wavra::view
