#include "app/batch.h"

#include <array>
#include <cmath>
#include <ctime>
#include <iostream>

#include "app/batch_json.h"
#include "app/batch_optimize.h"
#include "app/companion_programs.h"
#include "app/terminal_progress.h"
#include "base/text.h"
#include "control/model_loading.h"
#include "control/startup.h"
#include "core/config.h"
#include "deck/reader.h"
#include "deck/validation.h"
#include "deck/writer.h"
#include "engine/calculate.h"
#include "engine/deck_requests.h"
#include "engine/process.h"
#include "export/pov_render.h"
#include "export/sweep_files.h"
#include "present/calc_dialog_rules.h"
#include "present/measured_curves.h"
#include "present/pov_export_request.h"
#include "present/sweep_compare.h"

namespace wavra {

namespace {

// Ranges not given on the command line come from the deck's own request of
// the same kind; false (with `error`) when there is none.
bool fillTriple(Model& m, int first, const std::optional<RangeTriple>& given, const std::optional<DeckAxis>& deck,
                const std::string& option, std::string& error) {
    if (!given && !deck) {
        error = option + " START,STOP,STEP is needed: the model has no such request to take it from";
        return false;
    }
    const RangeTriple range = given ? *given : RangeTriple{deck->start, deck->stop, deck->step};
    for (int k = 0; k < 3; ++k) m.calcRange[static_cast<size_t>(first + k)] = range[static_cast<size_t>(k)];
    return true;
}

template <size_t N>
std::optional<DeckAxis> deckAxis(const std::optional<std::array<DeckAxis, N>>& request, size_t axis) {
    return request ? std::optional<DeckAxis>((*request)[axis]) : std::nullopt;
}

// --freq with far and near field: the one frequency to calculate at.
bool takeOneFrequency(Model& m, const CalcOptions& c, std::string& error) {
    m.calcFrequencyMHz = 0;
    if (!c.freq) return true;
    const RangeTriple& f = *c.freq;
    if (f[0] != f[1]) {
        error = "--freq with --calc far or near takes one frequency: START or START,START,STEP";
        return false;
    }
    if (!(f[0] > 0) || !std::isfinite(f[0])) {
        error = "Frequency start must be above 0 MHz.";
        return false;
    }
    m.calcFrequencyMHz = f[0];
    return true;
}

// The frequency loop's range: --freq, else the deck's own loop.
bool takeLoop(Model& m, const CalcOptions& c, const DeckRequests& deck, std::string& error) {
    if (!c.freq && !(deck.frequency && deck.frequency->count > 1)) {
        error = "the deck has no frequency loop: give --freq";
        return false;
    }
    // The deck's own loop keeps its kind: one whose steps multiply (FR with
    // I1 = 1) runs again with its factor; --freq gives a linear loop.
    m.calcFrequencyRatio = c.freq ? 0 : deck.frequency->ratio;
    return fillTriple(m, 0, c.freq, deck.frequency, "--freq", error);
}

// The calculation choice as the dialog would store it.
bool applyCalcOptions(Model& m, Ui& ui, const CalcOptions& c, std::string& error) {
    m.calcKind = c.calcKind;
    m.calcSubMode = c.calcSubMode;
    m.surfaceWaveFlag = c.surfaceWave ? -1 : 0;
    if (c.xnda) enterXnda(m, ui, std::to_string(*c.xnda));
    if (c.distanceKm) enterDistance(m, trim(str(*c.distanceKm)));
    if (c.gainFactor) enterGainFactor(m, trim(str(*c.gainFactor)));
    const DeckRequests deck = modelDeckRequests(m);
    const auto& far = deck.farField;
    const auto& near = deck.nearField;
    switch (c.calcKind) {
    case kCalcFarField:
        return takeOneFrequency(m, c, error) && fillTriple(m, 0, c.theta, deckAxis(far, 0), "--theta", error) &&
               fillTriple(m, 3, c.phi, deckAxis(far, 1), "--phi", error);
    case kCalcFrequencyLoop:
        if (!takeLoop(m, c, deck, error)) return false;
        if (c.calcSubMode == 0) return true;
        return fillTriple(m, 3, c.theta, deckAxis(far, 0), "--theta", error) &&
               fillTriple(m, 6, c.phi, deckAxis(far, 1), "--phi", error);
    case kCalcNearField:
        if (m.calcSubMode == 0) m.calcSubMode = 1; // the E field unless H was asked for
        return takeOneFrequency(m, c, error) && fillTriple(m, 0, c.x, deckAxis(near, 0), "--x", error) &&
               fillTriple(m, 3, c.y, deckAxis(near, 1), "--y", error) &&
               fillTriple(m, 6, c.z, deckAxis(near, 2), "--z", error);
    default:
        if (c.freq) error = "--freq does not go with --calc original: the deck runs as it is written";
        return !c.freq;
    }
}

// A result read by the run itself: every check of the geometry for the
// summary's findings.
void validateResult(Model& model, BatchResult& result) {
    result.loadedFrom = "report";
    result.validationOk = validateGeometry(model, model.maxSegments, kValidateAll, &result.findings);
}

// Loads the model as the main loop's first pass does, then runs every check
// of the geometry for the summary's findings.
LoadedFrom loadAndValidate(Model& model, Ui& ui, bool forceInput, const std::string& extension, BatchResult& result) {
    const LoadedFrom from = loadModel(model, ui, forceInput, extension);
    if (from == LoadedFrom::Nothing) return from;
    result.loadedFrom = from == LoadedFrom::Report ? "report" : "deck";
    result.validationOk = validateGeometry(model, model.maxSegments, kValidateAll, &result.findings);
    return from;
}

int printResult(const Model& model, const RecordingUi& ui, BatchResult& result, bool json, std::ostream& out,
                int status) {
    result.messages = ui.messages();
    // Decks and file names are bytes: what is not UTF-8 (a Latin-1 comment)
    // becomes U+FFFD in JSON instead of stopping the program.
    if (json) out << summaryJson(model, result).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    else if (status == kBatchDone) printSummary(model, result, out);
    return status;
}

// What the progress line calls a calculation.
std::string calcTaskName(int16_t calcKind) {
    switch (calcKind) {
    case kCalcFarField: return "far field";
    case kCalcFrequencyLoop: return "sweep";
    case kCalcNearField: return "near field";
    default: return "calculation";
    }
}

// The engine run's polls and loop steps for the progress line.
void reportProgress(RunControl& control, TerminalProgress& progress) {
    control.progress = [&progress](int) { progress.update(); };
    control.loopSteps = [&progress](int done, int total) { progress.steps(done, total); };
}

// F7 without the dialog: the model deck is read, the choice applied, the
// engine run, and its report read. Returns a BatchExit status.
int calculateModel(Model& model, RecordingUi& ui, const CalcOptions& calc, BatchResult& result,
                   TerminalProgress& progress) {
    if (!readInputFileShown(model, ui)) return kBatchUnreadable;
    result.loadedFrom = "deck";
    if (model.summary.deckErrors > 0) {
        ui.message(deckErrorText(model, model.summary.deckErrors), "wavra", Icon::Critical);
        return kBatchUnreadable;
    }
    std::string error;
    if (!applyCalcOptions(model, ui, calc, error)) {
        ui.message(error);
        return kBatchBadUsage;
    }
    if (auto refusal = generateRefusal(model, model)) {
        ui.message(*refusal);
        return kBatchBadUsage;
    }
    auto runner = makeNativeProcessRunner();
    RunHooks hooks;
    result.run = RunSummary{};
    hooks.control.summary = &*result.run;
    // The run's own report is its result (a report that is cut off is none,
    // even when the engine ended well); out/ is not read again.
    hooks.control.readReport = [&](const std::string&, std::string_view bytes) {
        return readRunReport(model, ui, bytes);
    };
    reportProgress(hooks.control, progress);
    progress.begin(calcTaskName(calc.calcKind));
    const bool ran = runCalculation(model, ui, *runner, hooks).has_value();
    progress.finish();
    if (!ran) return kBatchEngineFailed;
    validateResult(model, result);
    return kBatchDone;
}

// A file named on the command line: a relative name is taken from where
// wavra was started, not from the install tree that start-up makes current.
std::string commandLinePath(const std::string& name, const std::string& workingDir) {
    if (name.empty() || name.front() == '/' || workingDir.empty()) return name;
    return workingDir + (workingDir.back() == '/' ? "" : "/") + name;
}

// --touchstone and --csv: the sweep as files for other RF tools.
int writeSweepFiles(const Model& model, Ui& ui, const BatchOptions& o, const std::string& workingDir) {
    const std::pair<std::string, SweepFileFormat> files[] = {{o.touchstone, SweepFileFormat::Touchstone},
                                                             {o.csv, SweepFileFormat::Csv}};
    for (const auto& [name, format] : files) {
        if (name.empty()) continue;
        const std::string path = commandLinePath(name, workingDir);
        std::string error;
        if (!writeSweepFile(model, path, format, error)) {
            ui.message(error);
            return kBatchUnreadable;
        }
    }
    return kBatchDone;
}

// --measured: the Touchstone file the sweep is compared with; the lines it
// skipped are told as messages.
int loadMeasuredFile(Model& model, Ui& ui, const std::string& name, const std::string& workingDir) {
    if (name.empty()) return kBatchDone;
    std::string error;
    Diagnostics skipped;
    if (!loadMeasured(model, commandLinePath(name, workingDir), error, skipped)) {
        ui.message(error);
        return kBatchUnreadable;
    }
    for (const Diagnostic& note : skipped) ui.message(name + ", " + shownText(note));
    return kBatchDone;
}

// --compare: the loops of other models' last reports, kept as the sweep
// window's K keeps a loop, before this model is loaded or calculated.
int keepComparedLoops(Model& model, Ui& ui, const std::vector<std::string>& names, const std::string& workingDir) {
    for (const std::string& name : names) {
        Model other = model;
        takeModelName(other, name, workingDir);
        if (loadModel(other, ui, false, ".out") == LoadedFrom::Nothing) return kBatchUnreadable;
        if (!keepSweep(other, std::time(nullptr))) {
            ui.message("--compare " + name + ": " +
                       (other.keptSweeps.size() >= kMaxKeptSweeps ? "more than 5 loops to compare"
                                                                  : "its results hold no frequency loop"));
            return kBatchUnreadable;
        }
        model.keptSweeps = std::move(other.keptSweeps);
    }
    return kBatchDone;
}

// --pov and --render: the scene of the geometry view as it opens, with the
// far-field pattern when the model has one, rendered by povray.
int writePovFiles(const Model& model, Ui& ui, const BatchOptions& o, const std::string& workingDir) {
    if (o.pov.empty()) return kBatchDone;
    const std::string scene =
        exportPovScene(model, ui, initialGeometryState(model, model), true, true, commandLinePath(o.pov, workingDir))
            .scene;
    if (scene.empty()) return kBatchUnreadable;
    if (o.render.empty()) return kBatchDone;
    auto runner = makeNativeProcessRunner();
    return renderPovScene(*runner, ui, scene, commandLinePath(o.render, workingDir), PovPictureSize{}, nullptr)
               ? kBatchDone
               : kBatchUnreadable;
}

// The table capacities the settings give.
std::array<int, 6> capacitySettings(const Settings& s) {
    return {s.maxSegments, s.maxFreqSteps, s.maxSources, s.maxLoads, s.maxTransLines, s.maxFarFieldPoints};
}

// --set: settings for this run, with the tables sized anew when a capacity
// among them changed (start-up has just sized them, and nothing is read
// into them yet).
bool applySettings(Model& model, Ui& ui, const std::vector<std::string>& settings) {
    const std::array<int, 6> before = capacitySettings(model);
    for (const std::string& setting : settings) {
        std::string error;
        Diagnostics found;
        const bool applied = applySetting(model, found, setting, error);
        showDiagnostics(ui, found);
        if (!applied) {
            ui.message(error);
            return false;
        }
    }
    if (capacitySettings(model) == before) return true;
    model.allocateModelTables(model.maxSegments, model.maxFreqSteps, model.maxSources, model.maxLoads,
                              model.maxTransLines);
    model.allocateFieldTables(model.maxFarFieldPoints);
    return true;
}

} // namespace

int runBatch(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
             std::ostream& out, const ShowViewFn& showView) {
    Model model;
    return runBatchOn(model, options, programPath, workingDir, out, showView);
}

int runBatchOn(Model& model, const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
               std::ostream& out, const ShowViewFn& showView) {
    TerminalProgress progress = stderrProgress(kProgramName);
    RecordingUi ui([&progress](const std::string& text) {
        progress.interrupt();
        std::cerr << programMessage(kProgramName, text);
    });
    for (Answer a : options.answers) ui.queueAnswer(a);
    BatchResult result;
    std::string placesNote;
    if (!startUp(model, ui, programPath, &placesNote))
        return printResult(model, ui, result, options.json, out, kBatchUnreadable);
    if (!placesNote.empty()) ui.message(placesNote, "wavra", Icon::Information);
    if (options.timeoutSeconds) model.engineTimeout = *options.timeoutSeconds;
    if (options.parallelRuns) model.parallelRuns = *options.parallelRuns;
    if (!applySettings(model, ui, options.settings))
        return printResult(model, ui, result, options.json, out, kBatchBadUsage);
    takeModelName(model, options.model, workingDir);
    int status = kBatchDone;
    if (options.optimize) {
        status = optimizeModel(model, ui, *options.optimize, commandLinePath(options.optimize->save, workingDir),
                               options.json, out, result, progress);
        // The summary is that of the last accepted trial's report, as the
        // optimizer read it.
        if (status == kBatchDone && result.loadedFrom == "report") validateResult(model, result);
        else if (status == kBatchDone) status = kBatchUnreadable;
        if (!options.json) return status;
        return printResult(model, ui, result, true, out, status);
    }
    status = keepComparedLoops(model, ui, options.compare, workingDir);
    if (status != kBatchDone) return printResult(model, ui, result, options.json, out, status);
    if (options.calc) status = calculateModel(model, ui, *options.calc, result, progress);
    else if (const LoadedFrom from = loadAndValidate(model, ui, options.forceInput, ".out", result);
             from == LoadedFrom::Nothing || (from == LoadedFrom::Deck && model.summary.engineDeckUnwritten))
        status = kBatchUnreadable; // the readers said why; a deck without its engine copy is no success
    if (status == kBatchDone) status = loadMeasuredFile(model, ui, options.measured, workingDir);
    if (status == kBatchDone) status = writeSweepFiles(model, ui, options, workingDir);
    if (status == kBatchDone) status = writePovFiles(model, ui, options, workingDir);
    if (status == kBatchDone && !options.show.view.empty()) {
        if (showView) {
            ViewRequest request = options.show;
            request.png = commandLinePath(request.png, workingDir);
            request.svg = commandLinePath(request.svg, workingDir);
            status = showView(model, ui, request, result.view);
        } else {
            ui.message(std::string("--show needs the program ") + kShowProgram +
                       ", which this install of wavra does not have.");
            status = kBatchBadUsage;
        }
    }
    return printResult(model, ui, result, options.json, out, status);
}

} // namespace wavra
