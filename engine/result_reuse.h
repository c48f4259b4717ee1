// Reading the last report again instead of running the engine: when the
// engine deck, the engine name and the engine program (the launcher and
// the program it runs) are byte for byte what they were at the last
// successful run, the report in out/ is that run's result. A key file
// beside the report (<report>.hash) holds a hash of those inputs and one of
// the report itself, so a report replaced or edited since is not taken.
#pragma once

#include <string>

#include "core/model.h"

namespace wavra {

// The key of a run of `deck` with the model's engine.
std::string runKey(const Model& model, const std::string& deck);

// The key file of a report.
std::string runKeyFile(const std::string& report);

// True when `report` is complete and is the one the key file names for `key`.
bool reusableReport(const std::string& report, const std::string& key);

// After a successful run: the key file for the report as it stands now.
// False when it cannot be written (the next run then runs the engine).
bool rememberRunKey(const std::string& report, const std::string& key);

// After a failure: the report is no longer that of a successful run.
void forgetRunKey(const std::string& report);

} // namespace wavra
