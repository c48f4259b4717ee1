#include "control/model_loading.h"

#include "base/files.h"
#include "base/text.h"
#include "deck/expression.h"
#include "deck/model_file.h"
#include "deck/reader.h"
#include "deck/validation.h"
#include "engine/report_keeping.h"
#include "engine/result_reuse.h"
#include "report/line_reader.h"
#include "report/report_reader.h"

namespace wavra {

namespace {

enum class Match { Same, Unknown, OtherModel, Changed };

// How the record of a report (its text) relates to the model file as it
// stands; `recorded` gets the model file the record names.
Match recordMatch(const ModelFile& file, const std::string& recordText, const std::string& reportBytes,
                  std::string& recorded) {
    const std::optional<RunRecord> record = parseRecord(recordText);
    if (!record || record->source.modelPath.empty() || record->reportHash != reportHashOf(reportBytes))
        return Match::Unknown;
    std::string modelBytes, encoding;
    if (!readFileText(file.modelPath(), modelBytes)) return Match::Unknown;
    // The run recorded the deck as it reads it (line ends made LF, a last
    // line end added, UTF-16 decoded): the same is compared here.
    const ReportSource now = sourceOf(file.modelPath(), deckText(modelBytes, encoding));
    recorded = record->source.modelPath;
    if (recorded != now.modelPath) return Match::OtherModel;
    return record->source.modelHash == now.modelHash ? Match::Same : Match::Changed;
}

std::string matchText(Match match, const std::string& report, const std::string& recorded) {
    switch (match) {
    case Match::Unknown: return "The report " + report + " cannot be matched to the model: it may be out of date.";
    case Match::OtherModel:
        return "The report " + report + " was made from another model (" + messageText(recorded) +
               "): press F7 to calculate this one.";
    case Match::Changed:
        return "The report " + report + " was made before the model was changed: press F7 to calculate it again.";
    case Match::Same: break;
    }
    return {};
}

// A report read, its deck's ZO card (which the engine never saw) taken
// again, and the segment check.
void afterReport(Model& model, Ui& ui) {
    readDeckZ0(model);
    if (!validateGeometry(model, model.maxSegments, kValidateAfterReport))
        ui.message("Errors or warnings found, validate geometry.");
}

bool readAfterCheck(Model& model, Ui& ui, LineReader& in, const std::string& reportExt,
                    const std::string& keptAs = {}) {
    ReportTarget target = reportTarget(model);
    target.keptAs = keptAs;
    if (!readReportShown(target, ui, in, reportExt)) return false;
    afterReport(model, ui);
    return true;
}

// The published report as the model's result when its record allows;
// nullopt when there is no report to weigh (readOutput then says why).
std::optional<bool> readMatchingReport(Model& model, Ui& ui, const std::string& reportExt, std::string* notice) {
    const std::string path = model.outDir() + model.modelName + reportExt;
    std::string bytes, record, reason;
    if (toLower(model.modelExt) == ".out" || !pathExists(path) || !notARegularFile(path).empty() ||
        !readPublishedReport(path, bytes, record, reason))
        return std::nullopt;
    std::string recorded;
    const Match match = recordMatch(model, record, bytes, recorded);
    const std::string text = matchText(match, "out/" + model.modelName + reportExt, recorded);
    if (!text.empty()) {
        if (notice) *notice = text;
        else ui.message(text);
    }
    if (match == Match::OtherModel || match == Match::Changed) return false;
    LineReader in = LineReader::fromText(bytes);
    return readAfterCheck(model, ui, in, reportExt);
}

} // namespace

LoadedFrom loadModel(Model& model, Ui& ui, bool deckOnly, const std::string& reportExt, std::string* notice) {
    if (!deckOnly) {
        const std::optional<bool> matching = readMatchingReport(model, ui, reportExt, notice);
        if (matching.value_or(false)) return LoadedFrom::Report;
        if (!matching && readOutputShown(reportTarget(model), ui, reportExt)) {
            afterReport(model, ui);
            return LoadedFrom::Report;
        }
    }
    return readInputFileShown(model, ui) ? LoadedFrom::Deck : LoadedFrom::Nothing;
}

bool readRunReport(Model& model, Ui& ui, std::string_view bytes) {
    LineReader in = LineReader::fromText(bytes);
    // A report the reader refuses is kept aside, not published: its message
    // names it there.
    const std::string kept = sideFileName(model.outDir() + model.modelName + ".out", ".failed");
    return readAfterCheck(model, ui, in, ".out", "out/" + kept.substr(directoryOf(kept).size()));
}

} // namespace wavra
