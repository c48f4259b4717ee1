#include "optimizer/session.h"

#include <algorithm>
#include <cmath>

#include "base/files.h"
#include "base/text.h"
#include "core/config.h"
#include "deck/expression.h"
#include "deck/writer.h"
#include "engine/calculate.h"
#include "engine/deck_adapter.h"
#include "engine/engine_choice.h"
#include "engine/engine_wait.h"
#include "engine/ground_checks.h"
#include "engine/report_keeping.h"
#include "engine/result_reuse.h"
#include "engine/run_plan.h"
#include "export/itshf_files.h"
#include "optimizer/exec_cards.h"
#include "optimizer/trial_values.h"
#include "report/line_reader.h"
#include "report/report_reader.h"

namespace wavra {

namespace {

void critical(Ui& ui, const std::string& text) { ui.message(text, "Optimizer", Icon::Critical); }

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) (text += line) += '\n';
    return text;
}

std::vector<double> numbersOf(const std::vector<WrittenValue>& values) {
    std::vector<double> numbers;
    for (const auto& v : values) numbers.push_back(v.number);
    return numbers;
}

bool isSweepKind(int kind) { return kind == kCalcItsHfArea || kind == kCalcItsHfPointToPoint; }

int16_t calcKindOf(FirstRun first) {
    if (first == FirstRun::AreaCoverage) return kCalcItsHfArea;
    if (first == FirstRun::PointToPoint) return kCalcItsHfPointToPoint;
    return kCalcOriginal;
}

// Drops the optimizer's own print cards from a working model used again.
std::vector<std::string> withoutPrintCards(std::vector<std::string> lines) {
    std::erase_if(lines, [](const std::string& line) { return line == "PQ -1" || line == "PT -1"; });
    return lines;
}

} // namespace

// The trials of the search, run by the engine: each trial's working model is
// written and converted in order, up to parallelRunCount engines run
// at once, and their reports are read one after another in trial order.
class OptimizerSession::Trials : public SearchHost {
public:
    struct Pending {
        explicit Pending(const Model& model) : job(model.outDir()) {}
        EngineJob job;
        std::string key;     // of the trial's deck, for the record
        ReportSource source; // the working model as written for the trial
    };
    Trials(OptimizerSession& session, const OptimizerSetup& setup, const SessionHooks& hooks)
        : s(session), m(session.m_model), m_setup(setup), m_hooks(hooks), m_fieldValues(setup.goals().fieldValues()) {}

    std::vector<ParamValues> evaluate(const std::vector<std::vector<double>>& trials) override;
    // The accepted trial's report (just read into the model) is kept for the
    // result the optimizer ends with, and published.
    void accept() override {
        if (m_jobs.size() != 1) return;
        Pending& p = *m_jobs.back();
        if (!readFileText(p.job.files().report(), s.m_acceptedReport)) s.m_acceptedReport.clear();
        publish(p);
    }
    void row(const TrialRow& r) override {
        s.m_log.append(tabLine(rowTexts(r, m_fieldValues)));
        if (m_hooks.row) m_hooks.row(r);
    }
    void sensitivities(const std::vector<double>& g) override {
        if (m_hooks.sensitivities) m_hooks.sensitivities(g);
    }
    void firstRunOver() override {
        if (m_hooks.firstRunOver) m_hooks.firstRunOver();
    }
    // A trial's report becomes out/<modelName>.out, with a record naming
    // the working model it was made from.
    bool publish(Pending& p) {
        const std::string report = p.job.files().report();
        std::string bytes, reason;
        readFileText(report, bytes);
        const RunRecord record{p.key, reportHashOf(bytes), p.source};
        return publishReport(report, m.outDir() + engineOutputName(m), recordText(record), reason);
    }
    bool halted() const { return m_halted; }
    // Called after each trial's report was read, with the trial's index
    // and its run.
    std::function<void(size_t, Pending&)> afterRead;
    int plannedRuns = 0; // the run count at the end of a sweep; 0 for a search

private:
    OptimizerSession& s;
    Model& m;
    const OptimizerSetup& m_setup;
    const SessionHooks& m_hooks;
    bool m_fieldValues;
    bool m_halted = false;
    int m_threads = 0; // per engine of the trials running side by side
    std::vector<std::unique_ptr<Pending>> m_jobs;

    bool startTrial(const std::vector<double>& values);
    bool waitForChunk();
    bool readTrial(Pending& p, ParamValues& values);
};

bool OptimizerSession::Trials::startTrial(const std::vector<double>& values) {
    const std::optional<std::string> text = s.writeWorkingModel(values);
    if (!text) return false;
    auto pending = std::make_unique<Pending>(m);
    Diagnostics found;
    std::string deck = convertDeck(m, m, m, found, *text);
    if (!found.empty()) {
        showDiagnostics(s.m_ui, found);
        critical(s.m_ui, deckErrorText(m, static_cast<int>(found.size())));
        return false;
    }
    if (isSweepKind(m.calcKind)) deck = adaptDeck(m, deck).text;
    else readRunValues(m, deck);
    if (!pending->job.prepare(m, s.m_ui, deck, m_threads)) return false;
    pending->key = runKey(m, deck);
    pending->source = sourceOf(s.optPath(), *text);
    pending->job.start(s.m_runner, m.workDir());
    m_jobs.push_back(std::move(pending));
    return true;
}

bool OptimizerSession::Trials::waitForChunk() {
    std::vector<RunningProcess*> processes;
    for (auto& p : m_jobs)
        if (p->job.process()) processes.push_back(p->job.process());
    m.expectedRunTime = m.summary.hasRunTime ? expectedRunTimeFor(m.summary.runTimeSeconds) : 0;
    if (m_hooks.progress) m_hooks.progress(progressPercent(0, m.expectedRunTime));
    const StopReason reason = waitForEngines(processes, m.engineTimeout, [this](long long elapsed) {
        if (m_hooks.progress) m_hooks.progress(progressPercent(elapsed, m.expectedRunTime));
        return m_hooks.stop ? m_hooks.stop() : StopReason::None;
    });
    if (reason == StopReason::None) return true;
    if (reason == StopReason::Signal) {
        m_jobs.clear(); // the run directories go before the program ends
        endBySignal(EndingSignalWatch::caught());
    }
    const std::string text = engineStopText(m, reason, engineOf(m));
    if (reason == StopReason::TimeOut) critical(s.m_ui, text);
    return false;
}

bool OptimizerSession::Trials::readTrial(Pending& p, ParamValues& values) {
    const std::string report = p.job.files().report();
    if (reportRunFailure(s.m_ui, p.job.outcome(), engineOf(m), report, m.outDir() + engineOutputName(m))) return false;
    LineReader in(report);
    TrialHooks hooks(m_setup);
    readReportShown(reportTarget(m), s.m_ui, in, ".out", &hooks);
    if (hooks.engineFailed()) return false; // the reader showed the engine's error line
    values = trialValues(m, hooks);
    return true;
}

std::vector<ParamValues> OptimizerSession::Trials::evaluate(const std::vector<std::vector<double>>& trials) {
    std::vector<ParamValues> results;
    const size_t chunk = static_cast<size_t>(std::max(1, parallelRunCount(m)));
    for (size_t first = 0; first < trials.size(); first += chunk) {
        // Halt (Esc or the Halt button) takes effect after the runs under way.
        if (m.actionCode == kActionEscape) m_halted = true;
        if (m_halted) break;
        m_jobs.clear();
        const size_t last = std::min(trials.size(), first + chunk);
        m_threads = threadsPerEngine(static_cast<int>(last - first));
        for (size_t i = first; i < last; ++i)
            if (!startTrial(trials[i])) return results;
        if (!waitForChunk()) return results;
        for (size_t i = first; i < last; ++i) {
            ParamValues values{};
            if (!readTrial(*m_jobs[i - first], values)) return results;
            results.push_back(values);
            ++s.m_runs;
            if (afterRead) afterRead(i, *m_jobs[i - first]);
            if (m_hooks.runDone) m_hooks.runDone(s.m_runs, plannedRuns);
        }
    }
    return results;
}

OptimizerSession::OptimizerSession(Model& model, Ui& ui, ProcessRunner& runner)
    : m_model(model), m_ui(ui), m_runner(runner), m_log(model.modelDir + "Optimizer.log") {}

OptimizerSession::~OptimizerSession() = default;

std::string OptimizerSession::optPath() const { return m_model.modelDir + m_model.modelName + ".opt"; }
std::string OptimizerSession::bakPath() const { return m_model.modelDir + m_model.modelName + ".bak"; }
bool OptimizerSession::resumable() const { return pathExists(optPath()); }

void OptimizerSession::open() {
    m_log = OptimizerLog(m_model.modelDir + "Optimizer.log");
    if (!m_log.create()) critical(m_ui, "Cannot write " + m_log.path() + ".");
    m_runs = 0;
}

std::optional<std::string> OptimizerSession::writeWorkingModel(const std::vector<double>& numbers) {
    for (size_t i = 0; i < numbers.size() && i < m_values.size(); ++i) m_values[i].number = numbers[i];
    const std::string text = joinLines(rewriteSyLines(m_template, m_names, m_values));
    if (pathExists(optPath())) renameFile(optPath(), bakPath());
    if (writeFileAtomic(optPath(), text)) return text;
    critical(m_ui, "Cannot write " + optPath() + ".");
    return std::nullopt;
}

bool OptimizerSession::prepare(const OptimizerSetup& setup, bool resume) {
    Model& m = m_model;
    if (const std::string problem = startProblem(setup); !problem.empty()) {
        m_ui.message(problem, "Optimizer", Icon::Exclamation);
        return false;
    }
    if (isSpecialEngine(m) || !isValidEngineName(engineOf(m))) {
        critical(m_ui, "The optimizer cannot run the engine " + messageText(engineOf(m)) + ".");
        return false;
    }
    std::string source = m.modelPath();
    if (resume && resumable()) {
        renameFile(optPath(), bakPath());
        source = bakPath();
    } else {
        deleteFile(optPath());
        m_runs = 0;
    }
    std::vector<std::string> lines;
    if (!readLines(source, lines)) {
        critical(m_ui, "Open failure on NEC-2 input file: " + source);
        return false;
    }
    lines = withoutPrintCards(std::move(lines));
    m_names = setup.variables;
    std::string missing;
    if (!findWrittenValues(lines, m_names, m_values, missing)) {
        critical(m_ui, "Variable '" + messageText(missing) + "' has no SY definition with a number.");
        return false;
    }
    m.surfaceWaveFlag = setup.surfaceWave ? -1 : 0;
    m.requestDistance = setup.surfaceWave ? std::max(1.0, 1000 * setup.surfaceDistanceKm) : 0;
    m.calcKind = calcKindOf(setup.firstRun);
    Diagnostics found;
    const std::string deck = convertDeck(m, m, m, found, joinLines(lines));
    if (!found.empty()) {
        showDiagnostics(m_ui, found);
        critical(m_ui, deckErrorText(m, static_cast<int>(found.size())));
        return false;
    }
    readRunValues(m, deck); // the ground the RP card depends on
    m.requestMode = effectiveRpMode(m, m.calcKind);
    if (setup.itsHfSweep()) {
        m.calcRange[0] = setup.mainBeamPhi;
        if (m.calcKind == kCalcItsHfArea && m.calcRange[3] <= 0) m.calcRange[3] = m.frequencyMHz;
    }
    std::string rp;
    if (!setup.itsHfSweep() && setup.goals().needsPattern())
        rp = cardText("RP", optimizerRpFields(setup, m.requestMode, m.groundType != -1, m.requestDistance));
    m_template = firstWorkingModel(lines, rp);
    if (!checkGround(m, m_ui)) return false;
    if (!writeWorkingModel(numbersOf(m_values))) return false;
    m.optimizerVarCount = static_cast<int16_t>(m_names.size());
    return true;
}

SessionEnd OptimizerSession::start(const OptimizerSetup& setup, bool resume, const SessionHooks& hooks) {
    m_endMessage.clear();
    m_hasResult = false;
    if (!prepare(setup, resume)) return SessionEnd::Refused;
    m_model.actionCode = 0;
    const std::vector<std::string> header = logHeader(m_names);
    m_log.append("");
    m_log.append(tabLine(header));
    if (hooks.started) hooks.started(header);
    if (hooks.status) hooks.status("Optimizer: Running...");
    const SessionEnd end = setup.itsHfSweep() ? sweep(setup, hooks) : optimize(setup, hooks);
    m_model.actionCode = 0;
    m_model.expectedRunTime = 0;
    return end;
}

SessionEnd OptimizerSession::finish(SessionEnd end, const std::string& message, const SessionHooks& hooks) {
    m_endMessage = message;
    if (!message.empty()) m_ui.message(message, "Optimizer", Icon::Information);
    if (hooks.status) {
        if (end == SessionEnd::Halted) hooks.status("Optimizer: Halted.");
        else hooks.status(end == SessionEnd::Optimized ? "Optimizer: Ready..." : "Optimizer: Stopped.");
    }
    return end;
}

SessionEnd OptimizerSession::optimize(const OptimizerSetup& setup, const SessionHooks& hooks) {
    Model& m = m_model;
    Trials trials(*this, setup, hooks);
    const SearchRules rules{m.optimizerMaxStep, m.optimizerMinStep, m.optimizerAbs != 0, setup.firstRun};
    const int firstRun = m_runs + 1;
    Search search(setup.goals(), numbersOf(m_values), rules, trials, firstRun);
    m_acceptedReport.clear();
    const SearchEnd end = search.run();
    // The working model ends with the values of the last accepted trial,
    // whose report out/<modelName>.out was; "Save results" takes them. The
    // model ends with that report as read here (another run may have
    // published out/<modelName>.out since).
    writeWorkingModel(search.accepted());
    m_hasResult = readAcceptedReport();
    m.optimizerTargetFlag = -1;
    m.optimizerTargetActive = setup.goals().needsPattern();
    m.optimizerTargetTheta = setup.forward.theta;
    m.optimizerTargetPhi = setup.forward.phi;
    switch (end) {
    case SearchEnd::Optimized:
        return finish(SessionEnd::Optimized, "Optimized in" + str(search.runs()) + " steps", hooks);
    case SearchEnd::NoEffect: return finish(SessionEnd::Ended, "Variable(s) do not effect selected parameter.", hooks);
    case SearchEnd::EfficiencyOutOfRange:
        return finish(SessionEnd::Ended, "Efficiency not in range, validate structure...", hooks);
    case SearchEnd::MissingValue:
        return finish(SessionEnd::Ended,
                      "The engine report holds no " + paramName(search.missing()) +
                          " value for the run; the optimization ends.",
                      hooks);
    case SearchEnd::Stopped: break;
    }
    return finish(trials.halted() ? SessionEnd::Halted : SessionEnd::Ended, "", hooks);
}

bool OptimizerSession::readAcceptedReport() {
    if (m_acceptedReport.empty()) return false;
    LineReader in = LineReader::fromText(m_acceptedReport);
    const bool read = readReportShown(reportTarget(m_model), m_ui, in, ".out");
    m_acceptedReport.clear();
    return read;
}

SessionEnd OptimizerSession::sweep(const OptimizerSetup& setup, const SessionHooks& hooks) {
    Model& m = m_model;
    const double start = m_values[0].number;
    const double step = setup.stepInPercent ? start * setup.sweepStep / 100 : setup.sweepStep;
    const int steps = std::clamp(setup.sweepSteps, 1, kMaxSweepSteps);
    if (hooks.status)
        hooks.status(m_names[0] + " = " + valueText(start) + " to " + valueText(start + (steps - 1) * step) + " step " +
                     valueText(step));
    std::vector<std::vector<double>> points;
    for (int k = 0; k < steps; ++k) {
        std::vector<double> values = numbersOf(m_values);
        values[0] = heldValue(start + k * step);
        points.push_back(std::move(values));
    }
    Trials trials(*this, setup, hooks);
    // Each step's report becomes the numbered ItsHF files of that step.
    trials.afterRead = [&](size_t k, Trials::Pending& run) {
        std::string report;
        if (!readFileText(run.job.files().report(), report)) report.clear();
        trials.publish(run);
        exportItsHf(m, m_ui, m_runner, ItsHfRequest(std::move(report), static_cast<int>(k) + 1, {}, true));
    };
    const int firstRun = m_runs + 1;
    trials.plannedRuns = m_runs + steps;
    const std::vector<ParamValues> values = trials.evaluate(points);
    for (size_t k = 0; k < values.size(); ++k)
        trials.row({firstRun + static_cast<int>(k), values[k], 0, step, points[k]});
    writeWorkingModel(numbersOf(m_values));
    if (values.size() < points.size())
        return finish(trials.halted() ? SessionEnd::Halted : SessionEnd::Ended, "", hooks);
    return finish(SessionEnd::Optimized, "ItsHF generation ready...", hooks);
}

bool OptimizerSession::saveResults(const std::string& path) {
    std::vector<std::string> model, working;
    if (!readLines(m_model.modelPath(), model)) {
        critical(m_ui, "Open failure on NEC-2 input file: " + m_model.modelPath());
        return false;
    }
    if (!readLines(optPath(), working)) {
        critical(m_ui, "No optimizer results to save: " + optPath() + " does not exist.");
        return false;
    }
    std::vector<std::string> sy;
    for (const auto& line : working)
        if (isSyLine(line)) sy.push_back(line);
    size_t next = 0;
    for (auto& line : model)
        if (isSyLine(line) && next < sy.size()) line = sy[next++];
    std::string reason;
    if (writeFileAtomic(path, joinLines(model), reason)) return true;
    critical(m_ui, "Cannot write " + path + ": " + reason);
    return false;
}

void OptimizerSession::close(const OptimizerSetup& setup) {
    deleteFile(bakPath());
    deleteFile(optPath());
    m_model.optimizerText1 = setupText1(setup);
    m_model.optimizerText2 = setupText2(setup);
    m_model.optimizerVarCount = 0;
}

} // namespace wavra
