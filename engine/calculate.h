// The calculation: the model file converted and adapted to the chosen
// calculation (calcKind, calcSubMode, calcRange, surfaceWaveFlag, set by the
// calculation options dialog or the batch command line), then run by the
// engine. The report is out/<modelName>.out.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "engine/engine_run.h"
#include "engine/process.h"

namespace wavra {

struct RunHooks {
    std::function<void(const std::string&)> statusLine; // the status window's list of lines
    RunControl control;                                 // its progress bar and Cancel button
    // Hands an ItsHF run's report on (calcKind 13, 14): the text of the
    // report this run made, never a file another run may have replaced.
    std::function<void(Model&, Ui&, const std::string& report)> itsHf;
};

// The information boxes before a run: the XNDA recommendation and the
// doubts about an average-gain test.
void showCalcWarnings(const Model& model, Ui& ui);

// The engine deck of the run as the user finds it: out/<first 8 characters
// of modelName>.inp, or out/<those>-calc.inp when the model file itself is
// that deck. The engine reads its own copy (see run_files.h).
std::string engineInputName(const Model& model);
// The report of the run: <modelName>.out in out/.
std::string engineOutputName(const Model& model);

// Converts, adapts and runs. Every failure is reported through ui before
// it returns Failed; Cancelled when a ground question or the question on a
// card the engine does not know was cancelled: nothing ran, and the model
// is as it was before the call.
EngineStatus calculate(Model& model, Ui& ui, ProcessRunner& runner, const RunHooks& hooks);

// For the batch command line: the extension of the report to read (".out")
// when the run finished, nullopt when it did not (already reported).
std::optional<std::string> runCalculation(Model& model, Ui& ui, ProcessRunner& runner, const RunHooks& hooks);

} // namespace wavra
