// The texts of a trial row as the results grid, the log and the batch
// summary show them, and the log file Optimizer.log.
#pragma once

#include <string>
#include <vector>

#include "optimizer/search.h"

namespace wavra {

// "Run", "SWR", "Gain", "F/B", "R-a", "X-a", "Eff.", "%Res.", "%Step" and
// the names of the chosen variables.
std::vector<std::string> logHeader(const std::vector<std::string>& variables);

// The run number, the six values (empty where missing; the forward value
// with six significant digits when it is a field strength), 100 x the
// improvement and 100 x s, then the variables' values.
std::vector<std::string> rowTexts(const TrialRow& row, bool fieldValues);

// Texts joined by tabs.
std::string tabLine(const std::vector<std::string>& texts);

// Appends lines to <modelDir>Optimizer.log; create() starts it empty.
class OptimizerLog {
public:
    explicit OptimizerLog(std::string path) : m_path(std::move(path)) {}
    bool create() const;
    bool append(const std::string& line) const;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace wavra
