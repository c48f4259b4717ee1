#include "engine/engine_run.h"

#include <algorithm>
#include <iostream>

#include "core/files.h"
#include "core/text.h"
#include "deck/expression.h"
#include "engine/engine_choice.h"
#include "engine/ground_checks.h"
#include "engine/report_keeping.h"

namespace wavra {

namespace {

constexpr size_t kMaxConsoleLines = 8;
constexpr size_t kMaxReportLines = 6;
constexpr size_t kMaxLineLength = 200;

void critical(Ui& ui, const std::string& text) { ui.message(text, "wavra", Icon::Critical); }

bool writeRunFile(Ui& ui, const std::string& path, const std::string& text) {
    if (writeFileAtomic(path, text)) return true;
    critical(ui, "Cannot write " + path + ".");
    return false;
}

// Launcher mode and second argument; a Sommerfeld ground also gets its
// request written to the run's som2d.tmp.
bool prepareGround(const Model& model, Ui& ui, const RunFiles& files, std::string& mode, std::string& second) {
    mode = "gen";
    second = model.modelName;
    if (model.groundType != 2) return true;
    second = sommerfeldGroundFile(model);
    if (pathExists(model.installDir + second)) {
        mode = "cop";
        return true;
    }
    mode = "som";
    return writeRunFile(ui, files.groundRequest(), sommerfeldRequestLine(model) + "\n");
}

// A line of engine output as a message box can show it: control characters
// become blanks, and a long line is cut at a character boundary.
std::string shownLine(std::string_view line) {
    std::string shown;
    for (char c : line) shown += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    if (shown.size() <= kMaxLineLength) return shown;
    size_t cut = kMaxLineLength;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "...";
}

// The newest non-blank lines of a program's output, each on a line of its own.
std::string newestLines(const std::string& text, size_t count) {
    std::vector<std::string> lines;
    forEachLine(text, [&](std::string_view line) {
        const std::string kept = trim(line);
        if (!kept.empty()) lines.push_back(shownLine(kept));
        return true;
    });
    std::string shown;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) shown += "\n" + lines[i];
    return shown;
}

std::string reportEnd(const std::string& report) {
    std::string shown;
    for (const auto& line : lastLines(report, kMaxReportLines)) shown += "\n" + shownLine(trim(line));
    return shown.empty() ? shown : "\nThe report ends with:" + shown;
}

// A run that was stopped leaves the reports in out/ as they were.
EngineStatus judgeStopped(const Model& model, Ui& ui, const ProcessOutcome& r, const std::string& engine,
                          const std::string& runReport) {
    switch (r.stopped) {
    case StopReason::TimeOut: critical(ui, engineStopText(model, r.stopped, engine) + reportEnd(runReport)); break;
    case StopReason::Cancel: ui.message(engineStopText(model, r.stopped, engine), "wavra", Icon::Information); break;
    case StopReason::Signal:
        // The program ends now: no window can show this any more.
        std::cerr << "wavra: " << signalName(EndingSignalWatch::caught()) << " ended wavra while the NEC-2 engine "
                  << engine << " ran; the engine was stopped and the reports in out/ are as they were.\n";
        break;
    case StopReason::Exit:
    case StopReason::None: break;
    }
    if (r.stopped == StopReason::Cancel) return EngineStatus::Stopped;
    return r.stopped == StopReason::TimeOut ? EngineStatus::Failed : EngineStatus::Exiting;
}

// The engine's notes on a run that finished, one status line each.
void postNotes(const ProcessOutcome& r, const RunControl& control) {
    if (!control.statusLine) return;
    forEachLine(r.errors, [&control](std::string_view line) {
        const std::string note = trim(line);
        if (!note.empty()) control.statusLine(note);
        return true;
    });
}

EngineStatus judge(const Model& model, Ui& ui, const ProcessOutcome& r, const std::string& engine,
                   const RunFiles& files, const std::string& target, bool showConsole, const RunControl& control) {
    if (r.stopped != StopReason::None) return judgeStopped(model, ui, r, engine, files.report());
    std::string failure = engineRunFailure(r, engine, files.report(), target);
    if (!failure.empty()) {
        failure += engineFailureDetails(r, files.report());
        if (keepFailedReport(files.report(), target))
            failure += "\nThe last complete report is kept as " + target + ".old.";
        critical(ui, failure);
        return EngineStatus::Failed;
    }
    if (!publishReport(files.report(), target)) {
        critical(ui, "Cannot move the engine's report to " + target + ".");
        return EngineStatus::Failed;
    }
    files.keepEngineExtras(model.engineBaseName());
    postNotes(r, control);
    if (showConsole)
        ui.message(engine + " finished." + newestLines(r.output + "\n" + r.errors, kMaxConsoleLines), "wavra",
                   Icon::Information);
    return EngineStatus::Finished;
}

StopReason waitForJob(Model& model, RunningProcess& process, const RunControl& control) {
    if (control.progress) control.progress(progressPercent(0, model.expectedRunTime));
    const StopReason reason = waitForEngines({&process}, model.engineTimeout, [&](long long elapsed) {
        if (control.progress) control.progress(progressPercent(elapsed, model.expectedRunTime));
        return control.stop ? control.stop() : StopReason::None;
    });
    model.expectedRunTime = 0;
    return reason;
}

void collect(ProcessOutcome& outcome, const RunningProcess& process) {
    outcome.started = true;
    outcome.exitCode = process.exitCode();
    outcome.output = process.standardOutput();
    outcome.errors = process.standardError();
}

// Starts a program of the run and waits for it.
ProcessOutcome runStep(Model& model, ProcessRunner& runner, const std::vector<std::string>& argv,
                       const std::string& dir, const RunControl& control) {
    ProcessOutcome outcome;
    auto process = runner.start(argv, dir, outcome.startError);
    if (!process) return outcome;
    outcome.stopped = waitForJob(model, *process, control);
    collect(outcome, *process);
    return outcome;
}

ProcessOutcome runLauncher(Model& model, ProcessRunner& runner, EngineJob& job, const RunControl& control) {
    if (job.start(runner, model.installDir)) job.outcome().stopped = waitForJob(model, *job.process(), control);
    return job.outcome();
}

// The special engine is started on the deck alone and leaves its report as
// run.n32; the launcher's "ren" mode then makes it the run's report.
ProcessOutcome runSpecialEngine(Model& model, Ui& ui, ProcessRunner& runner, const EngineJob& job,
                                const std::string& outputName, const RunControl& control) {
    const std::string engine = launcherPath(model, engineOf(model));
    ProcessOutcome outcome;
    auto process =
        runner.start({engine, job.files().deckFromExe(), "-autodma"}, model.installDir + "exe", outcome.startError);
    if (!process) return outcome;
    ui.message("Wait till NEC32 ready, then close window and enter OK", "wavra", Icon::Critical);
    outcome.stopped = waitForJob(model, *process, control);
    collect(outcome, *process);
    if (outcome.exitCode != 0 || outcome.stopped != StopReason::None) return outcome;
    const std::string launcher = launcherPath(model, "wavra.sh");
    return runStep(model, runner, {launcher, "--control", job.files().control(), "ren", model.modelName, outputName},
                   model.installDir, control);
}

int16_t expectedFromSummary(const Model& model) {
    const double seconds = model.summary.hasRunTime ? model.summary.runTimeSeconds : 0;
    return seconds >= 1 ? toInt16(10 * seconds) : 0;
}

// The run proper; the job and its files are gone when it returns.
EngineStatus runJob(Model& model, Ui& ui, ProcessRunner& runner, const std::string& deck, const std::string& outputName,
                    const RunControl& control, StopReason& stopped) {
    const std::string engine = engineOf(model);
    EngineJob job(model.installDir);
    if (!job.prepare(model, ui, deck)) return EngineStatus::Failed;
    const bool special = isSpecialEngine(model);
    const TableCapacities capacities = model.releaseModelTables(); // the engine gets the memory
    model.expectedRunTime = control.progress ? expectedFromSummary(model) : 0;
    const ProcessOutcome outcome = special ? runSpecialEngine(model, ui, runner, job, outputName, control)
                                           : runLauncher(model, runner, job, control);
    stopped = outcome.stopped;
    model.engineExitStatus = outcome.started ? outcome.exitCode : -1; // for the batch summary
    model.allocateModelTables(capacities.maxSegments, capacities.maxFreqSteps, capacities.maxSources,
                              capacities.maxLoads, capacities.maxTransLines);
    model.allocateFieldTables(capacities.fieldPoints);
    const bool showConsole = !special && job.command().back() == "pause";
    return judge(model, ui, outcome, engine, job.files(), model.installDir + "out/" + outputName, showConsole, control);
}

} // namespace

int progressPercent(long long elapsedMs, int expectedRunTime) {
    if (expectedRunTime <= 0) return -1;
    return static_cast<int>(std::min<long long>(100, std::max<long long>(0, elapsedMs / expectedRunTime)));
}

bool EngineJob::prepare(const Model& model, Ui& ui, const std::string& deck) {
    if (!m_files.ok()) {
        critical(ui, m_files.error());
        return false;
    }
    std::string mode, second;
    if (!writeRunFile(ui, m_files.deck(), deck) || !prepareGround(model, ui, m_files, mode, second) ||
        !writeRunFile(ui, m_files.control(), m_files.controlText()))
        return false;
    m_command = launcherCommand(model, m_files.control(), mode, second);
    return true;
}

bool EngineJob::start(ProcessRunner& runner, const std::string& installDir) {
    m_process = runner.start(m_command, installDir, m_outcome.startError);
    m_outcome.started = m_process != nullptr;
    return m_outcome.started;
}

ProcessOutcome& EngineJob::outcome() {
    if (m_process && m_process->finished()) collect(m_outcome, *m_process);
    return m_outcome;
}

std::vector<std::string> launcherCommand(const Model& model, const std::string& control, const std::string& mode,
                                         const std::string& second) {
    std::vector<std::string> argv = {
        launcherPath(model, "wavra.sh"), "--control", control, mode, second, engineOf(model)};
    if (model.optimizerVarCount <= 0 && waitFlagSet(model)) argv.emplace_back("pause");
    return argv;
}

std::string engineRunFailure(const ProcessOutcome& r, const std::string& engine, const std::string& runReport,
                             const std::string& target) {
    if (!r.started) return "The NEC-2 engine " + engine + " could not be started: " + shownLine(r.startError);
    if (r.exitCode != 0)
        return "The NEC-2 engine " + engine + " failed (exit status " + std::to_string(r.exitCode) + ").";
    if (!pathExists(runReport)) return "The NEC-2 engine " + engine + " wrote no output file " + target + ".";
    if (!reportComplete(runReport))
        return "The report out/" + target.substr(target.find_last_of('/') + 1) +
               " is incomplete (the engine stopped early): the closing run-time line.";
    return {};
}

std::string engineStopText(const Model& model, StopReason reason, const std::string& engine) {
    if (reason == StopReason::TimeOut)
        return "The NEC-2 engine " + engine + " was stopped after the engine time-out of" + str(model.engineTimeout) +
               " s (\"Engine time-out [s]\" in the General settings; 0 = none).";
    if (reason == StopReason::Cancel) return "Calculation cancelled: the NEC-2 engine " + engine + " was stopped.";
    return {};
}

std::string engineFailureDetails(const ProcessOutcome& outcome, const std::string& report) {
    return newestLines(outcome.errors + "\n" + outcome.output, kMaxConsoleLines) + reportEnd(report);
}

EngineStatus runEngine(Model& model, Ui& ui, ProcessRunner& runner, const std::string& deck,
                       const std::string& outputName, const RunControl& control) {
    model.engineExitStatus = -1;
    if (!checkGround(model, ui)) return EngineStatus::Cancelled;
    const std::string engine = engineOf(model);
    if (!isValidEngineName(engine)) {
        critical(ui, "Engine name '" + messageText(engine) + "' is not valid.");
        return EngineStatus::Failed;
    }
    StopReason stopped = StopReason::None;
    const EngineStatus status = runJob(model, ui, runner, deck, outputName, control, stopped);
    if (stopped == StopReason::Signal) endBySignal(EndingSignalWatch::caught());
    return status;
}

} // namespace wavra
