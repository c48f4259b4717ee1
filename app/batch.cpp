#include "app/batch.h"

#include "app/batch_json.h"
#include "core/startup.h"
#include "deck/reader.h"
#include "deck/validation.h"

namespace wavra {

namespace {

// The first pass of the main loop for one model: load it, then validate.
bool loadModel(Model& model, RecordingUi& ui, const BatchOptions& options, BatchResult& result) {
    if (!readInputFile(model, ui)) return false;
    result.validationOk = validateGeometry(model, ui, 0, &result.findings);
    return true;
}

} // namespace

int runBatch(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
             std::ostream& out) {
    RecordingUi ui(true);
    for (Answer a : options.answers) ui.queueAnswer(a);
    Model model;
    if (!startUp(model, ui, programPath)) return kBatchUnreadable;
    takeModelName(model, options.model, workingDir);
    BatchResult result;
    const bool loaded = loadModel(model, ui, options, result);
    result.messages = ui.messages();
    if (!loaded) {
        if (options.json) out << summaryJson(model, result).dump(2) << '\n';
        return kBatchUnreadable;
    }
    if (options.json)
        out << summaryJson(model, result).dump(2) << '\n';
    else
        printSummary(model, result, out);
    return kBatchDone;
}

} // namespace wavra
