// `wavra --batch`: the main loop's first pass without windows, printing the
// main window's summary as text or JSON.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/batch_options.h"
#include "core/model.h"
#include "core/ui.h"

namespace wavra {

enum BatchExit { kBatchDone = 0, kBatchUnreadable = 1, kBatchBadUsage = 2, kBatchEngineFailed = 3 };

// Shows a result view without its window for --show, reporting every
// failure through the Ui; the view's description goes into `view`. Returns
// a BatchExit status. The --show part of the program (batch_show.h) supplies
// it.
using ShowViewFn = std::function<int(Model&, Ui&, const ViewRequest&, nlohmann::json& view)>;

// Runs a batch job for the program at programPath, started in workingDir.
// Without `showView` a --show request is refused.
int runBatch(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
             std::ostream& out, const ShowViewFn& showView = {});
// The same on a fresh `model` the caller keeps: a program that leaves right
// after the job need not take its tables apart.
int runBatchOn(Model& model, const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
               std::ostream& out, const ShowViewFn& showView = {});

} // namespace wavra
