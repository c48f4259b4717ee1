// `wavra --batch`: the main loop's first pass without windows, printing the
// main window's summary as text or JSON.
#pragma once

#include <ostream>
#include <string>

#include "app/batch_options.h"

namespace wavra {

enum BatchExit { kBatchDone = 0, kBatchUnreadable = 1, kBatchBadUsage = 2, kBatchEngineFailed = 3 };

// Runs a batch job for the program at programPath, started in workingDir.
int runBatch(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
             std::ostream& out);

} // namespace wavra
