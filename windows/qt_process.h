// The process runner of the windows: QProcess, waited for in a local event
// loop, so every window keeps drawing and taking keys while the engine or
// an outside program runs.
#pragma once

#include "engine/process.h"

namespace wavra {

class QtProcessRunner : public ProcessRunner {
public:
    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& workingDir,
                                          std::string& error) override;
};

} // namespace wavra
