// The process runner of the windows: QProcess, waited for in a local event
// loop, so every window keeps drawing and taking keys while the engine or
// an outside program runs. Each program leads a process group of its own.
#pragma once

#include "base/process.h"

namespace wavra {

class QtProcessRunner : public ProcessRunner {
public:
    // With forwardOutput the programs write to this program's own standard
    // output and error (the terminal it was started from) and nothing is
    // collected; otherwise the newest part of what they write is kept.
    explicit QtProcessRunner(bool forwardOutput = false) : m_forwardOutput(forwardOutput) {}

    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& workingDir,
                                          std::string& error) override;
    std::unique_ptr<RunningProcess> startWithEnvironment(const std::vector<std::string>& argv,
                                                         const std::string& workingDir,
                                                         const std::vector<std::string>& environment,
                                                         std::string& error) override;

private:
    bool m_forwardOutput;
};

} // namespace wavra
