// `wavra --batch --optimize ...`: the optimizer window's Start without the
// window, on the model deck.
#pragma once

#include <ostream>

#include "app/batch_json.h"
#include "app/batch_options.h"
#include "app/terminal_progress.h"
#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Runs the optimization, writes --save, and leaves the runs, the final
// values and the log in result.optimizer; prints the log and the values
// unless `json`. Returns a BatchExit status: done also when the
// optimization ended by one of its own messages, 3 when the engine failed.
// `progress` counts the trial runs.
int optimizeModel(Model& model, Ui& ui, const OptimizeOptions& options, const std::string& savePath, bool json,
                  std::ostream& out, BatchResult& result, TerminalProgress& progress);

} // namespace wavra
