#include "engine/engine_run.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <set>

#include "base/files.h"
#include "base/text.h"
#include "deck/expression.h"
#include "engine/engine_choice.h"
#include "engine/ground_checks.h"
#include "engine/report_keeping.h"
#include "engine/result_reuse.h"
#include "engine/run_plan.h"
#include "report/report_merge.h"

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
    if (pathExists(model.workDir() + second)) {
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

// One engine process of a run as it ended: its outcome, its report and the
// frequency steps it was given (0 when the deck is no split loop).
struct PartRun {
    ProcessOutcome outcome;
    std::string report;
    int steps = 0;
    bool header = true; // it made the calculations before the loop
};

// The engine's notes on a run that finished, one status line each; the
// same note of several parts once.
void postNotes(const std::vector<PartRun>& parts, const RunControl& control) {
    if (!control.statusLine) return;
    std::set<std::string> posted;
    for (const PartRun& part : parts)
        forEachLine(part.outcome.errors, [&](std::string_view line) {
            const std::string note = trim(line);
            if (!note.empty() && posted.insert(note).second) control.statusLine(note);
            return true;
        });
}

std::string partName(size_t index, size_t count) {
    if (count <= 1) return {};
    return "\nThis was engine run " + std::to_string(index + 1) + " of " + std::to_string(count) +
           " of the split frequency loop.";
}

std::string outName(const std::string& path) { return "out/" + path.substr(directoryOf(path).size()); }

// Where a failed run's report went (`kept`, empty when it left none), for
// the failure's message; out/<name>.out stays.
std::string keptText(const std::string& kept, const std::string& target) {
    std::string text = kept.empty() ? std::string() : "\nThe report of this run is kept as " + outName(kept);
    if (pathExists(target))
        text += (text.empty() ? "\nThe last complete report " : "; the last complete report ") + outName(target) +
                " stays as it was.";
    else if (!text.empty()) text += ".";
    return text;
}

std::string keepFailed(const std::string& runReport, const std::string& target) {
    return keptText(keepFailedReport(runReport, target), target);
}

// The first failed part, reported; false when none failed.
bool reportFailure(Ui& ui, const std::vector<PartRun>& parts, const std::string& engine, const std::string& target) {
    for (size_t i = 0; i < parts.size(); ++i)
        if (reportRunFailure(ui, parts[i].outcome, engine, parts[i].report, target, partName(i, parts.size())))
            return true;
    return false;
}

// A complete report of a run that ended well: read as the run's result,
// then published with its record. A report the reader does not take as a
// result (it said why) is kept like a failed run's.
bool publish(Ui& ui, const std::string& report, const std::string& target, const std::string& key,
             const RunControl& control) {
    std::string bytes, reason;
    const bool read = readFileText(report, bytes, &reason);
    if (!read) critical(ui, "Cannot read the engine's report " + report + ": " + reason + ".");
    if (!read || (control.readReport && !control.readReport(report, bytes))) {
        const std::string kept = keepFailed(report, target);
        if (!kept.empty()) ui.message(kept.substr(1), "wavra", Icon::Information);
        return false;
    }
    const RunRecord record{key, reportHashOf(bytes), control.source};
    if (publishReport(report, target, recordText(record), reason)) return true;
    critical(ui, "Cannot move the engine's report to " + target + ": " + reason + ".");
    return false;
}

// The parts' reports joined into `merged` (a file of the run's directory).
bool joinParts(Ui& ui, const std::vector<PartRun>& parts, long long wallMs, const std::string& merged) {
    std::vector<PartReport> reports;
    for (const PartRun& part : parts) {
        reports.push_back({{}, part.steps, part.header});
        if (!readFileText(part.report, reports.back().text)) {
            critical(ui, "Cannot read the engine's report " + part.report + ".");
            return false;
        }
    }
    std::string error;
    const std::optional<std::string> text = mergeReports(reports, wallMs, error);
    if (!text) {
        critical(ui, "The reports of the " + std::to_string(parts.size()) +
                         " engine runs of the frequency loop could not be joined: " + error + ".");
        return false;
    }
    std::string reason;
    if (writeFileAtomic(merged, *text, reason)) return true;
    critical(ui, "Cannot write " + merged + ": " + reason + ".");
    return false;
}

// The parts' reports joined into `merged` (a file of the run's directory),
// the time it took in the run's summary.
bool mergeParts(Ui& ui, const std::vector<PartRun>& parts, long long wallMs, const std::string& merged,
                const RunControl& control) {
    const auto begin = std::chrono::steady_clock::now();
    const bool joined = joinParts(ui, parts, wallMs, merged);
    if (control.summary)
        control.summary->joinMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin).count();
    return joined;
}

// Where a run's report goes and the key of its record.
struct Publication {
    std::string target;
    std::string key;
};

EngineStatus judge(const Model& model, Ui& ui, const std::vector<PartRun>& parts, const std::string& engine,
                   const RunFiles& files, const Publication& out, bool showConsole, const RunControl& control,
                   long long wallMs) {
    const std::string& target = out.target;
    for (const PartRun& part : parts)
        if (part.outcome.stopped != StopReason::None) return judgeStopped(model, ui, part.outcome, engine, part.report);
    if (reportFailure(ui, parts, engine, target)) return EngineStatus::Failed;
    std::string report = parts.front().report;
    if (parts.size() > 1) {
        report = files.dir() + "merged.out";
        if (!mergeParts(ui, parts, wallMs, report, control)) return EngineStatus::Failed;
    }
    if (!publish(ui, report, target, out.key, control)) return EngineStatus::Failed;
    files.keepEngineExtras(model.engineBaseName());
    postNotes(parts, control);
    const ProcessOutcome& r = parts.front().outcome;
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

// The progress of a loop: steps done over all parts, from their reports,
// as the bar's percentage and the status window's line.
class LoopProgress {
public:
    LoopProgress(std::vector<std::unique_ptr<EngineJob>>& jobs, int totalSteps, const RunControl& control)
        : m_jobs(jobs), m_total(totalSteps), m_control(control) {
        for (const auto& job : jobs) m_counts.emplace_back(job->files().report());
    }
    void update() {
        std::vector<int> seen;
        std::vector<bool> ended;
        for (size_t i = 0; i < m_jobs.size(); ++i) {
            seen.push_back(m_counts[i].update());
            ended.push_back(m_jobs[i]->process()->finished());
        }
        if (m_control.progress) m_control.progress(stepPercent(seen, ended, m_total));
        const int done = std::min(m_total, stepsDone(seen, ended));
        if (done != m_shown && m_control.stepText)
            m_control.stepText("Frequency step " + std::to_string(done) + " of " + std::to_string(m_total) + " done");
        if (done != m_shown && m_control.loopSteps) m_control.loopSteps(done, m_total);
        m_shown = done;
    }

private:
    std::vector<std::unique_ptr<EngineJob>>& m_jobs;
    int m_total;
    const RunControl& m_control;
    std::vector<SectionCount> m_counts;
    int m_shown = -1;
};

// Every part's launcher started and waited for together; a part that
// cannot be started ends those already running. A frequency loop, split
// or not, shows its progress by steps.
StopReason waitForParts(Model& model, std::vector<std::unique_ptr<EngineJob>>& jobs, const RunPlan& plan,
                        const RunControl& control) {
    std::vector<RunningProcess*> processes;
    for (auto& job : jobs) processes.push_back(job->process());
    const int steps = plan.steps.empty() ? loopStepCount(plan.decks.front()) : plan.totalSteps();
    if (steps < 2) return waitForJob(model, *processes.front(), control);
    LoopProgress progress(jobs, steps, control);
    progress.update();
    const StopReason reason = waitForEngines(processes, model.engineTimeout, [&](long long) {
        progress.update();
        return control.stop ? control.stop() : StopReason::None;
    });
    if (reason == StopReason::None) progress.update(); // the last steps of a quick run
    model.expectedRunTime = 0;
    return reason;
}

std::vector<PartRun> runLaunchers(Model& model, ProcessRunner& runner, std::vector<std::unique_ptr<EngineJob>>& jobs,
                                  const RunPlan& plan, const RunControl& control) {
    for (auto& job : jobs) {
        if (job->start(runner, model.workDir())) continue;
        for (auto& other : jobs)
            if (other->process()) other->process()->terminate();
        return {{job->outcome(), job->files().report(), 0}};
    }
    const StopReason stopped = waitForParts(model, jobs, plan, control);
    std::vector<PartRun> parts;
    for (size_t i = 0; i < jobs.size(); ++i) {
        parts.push_back({jobs[i]->outcome(), jobs[i]->files().report(), plan.steps.empty() ? 0 : plan.steps[i],
                         plan.headers.empty() || plan.headers[i]});
        parts.back().outcome.stopped = stopped;
    }
    return parts;
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
    auto process = startEngineProgram(runner, argv, dir, {}, outcome.startError);
    if (!process) return outcome;
    const ProcessGroupWatch watch(process->processId());
    outcome.stopped = waitForJob(model, *process, control);
    collect(outcome, *process);
    return outcome;
}

// The special engine is started on the deck alone and leaves its report as
// run.n32; the launcher's "ren" mode then makes it the run's report.
ProcessOutcome runSpecialEngine(Model& model, Ui& ui, ProcessRunner& runner, const EngineJob& job,
                                const std::string& outputName, const RunControl& control) {
    const std::string engine = launcherPath(model, engineOf(model));
    ProcessOutcome outcome;
    auto process = startEngineProgram(runner, {engine, RunFiles::deckName(), "-autodma"}, job.files().dir(), {},
                                      outcome.startError);
    if (!process) return outcome;
    const ProcessGroupWatch watch(process->processId());
    ui.message("Wait till NEC32 ready, then close window and enter OK", "wavra", Icon::Critical);
    outcome.stopped = waitForJob(model, *process, control);
    collect(outcome, *process);
    if (outcome.exitCode != 0 || outcome.stopped != StopReason::None) return outcome;
    const std::string launcher = launcherPath(model, "wavra.sh");
    return runStep(model, runner, {launcher, "--control", job.files().control(), "ren", model.modelName, outputName},
                   model.workDir(), control);
}

int16_t expectedFromSummary(const Model& model) {
    const double seconds = model.summary.hasRunTime ? model.summary.runTimeSeconds : 0;
    return seconds >= 1 ? toInt16(10 * seconds) : 0;
}

// The exit status of the run for the batch summary: the first part's that
// failed, else 0; -1 when a part could not be started.
int exitStatusOf(const std::vector<PartRun>& parts) {
    for (const PartRun& part : parts) {
        if (!part.outcome.started) return -1;
        if (part.outcome.exitCode != 0) return part.outcome.exitCode;
    }
    return 0;
}

// The run proper; the jobs and their files are gone when it returns.
EngineStatus runJob(Model& model, Ui& ui, ProcessRunner& runner, const std::string& deck, const std::string& outputName,
                    const std::string& key, const RunControl& control, StopReason& stopped) {
    const std::string engine = engineOf(model);
    const bool special = isSpecialEngine(model);
    const RunPlan plan = special ? RunPlan{{deck}, {}, 0, {}} : planRun(model, deck);
    std::vector<std::unique_ptr<EngineJob>> jobs;
    for (const std::string& partDeckText : plan.decks) {
        jobs.push_back(std::make_unique<EngineJob>(model.outDir()));
        if (!jobs.back()->prepare(model, ui, partDeckText, plan.threads)) return EngineStatus::Failed;
    }
    if (control.summary) control.summary->parts = static_cast<int>(jobs.size());
    const TableCapacities capacities = model.releaseModelTables(); // the engine gets the memory
    model.expectedRunTime = control.progress ? expectedFromSummary(model) : 0;
    const auto begin = std::chrono::steady_clock::now();
    const std::vector<PartRun> parts =
        special ? std::vector<PartRun>{{runSpecialEngine(model, ui, runner, *jobs.front(), outputName, control),
                                        jobs.front()->files().report(), 0}}
                : runLaunchers(model, runner, jobs, plan, control);
    const long long wallMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin).count();
    stopped = parts.front().outcome.stopped;
    model.engineExitStatus = exitStatusOf(parts); // for the batch summary
    model.allocateModelTables(capacities.maxSegments, capacities.maxFreqSteps, capacities.maxSources,
                              capacities.maxLoads, capacities.maxTransLines);
    model.allocateFieldTables(capacities.fieldPoints);
    const bool showConsole = !special && jobs.front()->command().back() == "pause";
    return judge(model, ui, parts, engine, jobs.front()->files(), {model.outDir() + outputName, key}, showConsole,
                 control, wallMs);
}

// With "Reuse unchanged results": the published report, when its record
// names this model file, its bytes and this run, read from a snapshot as
// the run's result. False when the engine has to run.
bool reuseReport(const Model& model, const std::string& target, const std::string& key, const RunControl& control) {
    if (control.source.modelPath.empty()) return false;
    RunFiles files(model.outDir());
    std::string record;
    std::string bytes;
    if (!files.ok() || !snapshotReport(target, files.snapshot(), record)) return false;
    if (!reusableReport(files.snapshot(), parseRecord(record), key, control.source, bytes)) return false;
    return !control.readReport || control.readReport(files.snapshot(), bytes);
}

} // namespace

int progressPercent(long long elapsedMs, int expectedRunTime) {
    if (expectedRunTime <= 0) return -1;
    return static_cast<int>(std::min<long long>(100, std::max<long long>(0, elapsedMs / expectedRunTime)));
}

bool EngineJob::prepare(const Model& model, Ui& ui, const std::string& deck, int threads) {
    if (!m_files.ok()) {
        critical(ui, m_files.error());
        return false;
    }
    std::string mode, second;
    if (!prepareGround(model, ui, m_files, mode, second)) return false;
    m_start = engineStart(model, m_files, mode, second, threads);
    return writeRunFile(ui, m_files.deck(), m_start.withoutSizeCards ? withoutSizeCards(deck) : deck) &&
           writeRunFile(ui, m_files.control(), m_files.controlText());
}

bool EngineJob::start(ProcessRunner& runner, const std::string& workDir) {
    const std::string& dir = m_start.workingDir.empty() ? workDir : m_start.workingDir;
    m_process = startEngineProgram(runner, m_start.argv, dir, m_start.environment, m_outcome.startError);
    m_outcome.started = m_process != nullptr;
    if (m_process) m_watch = std::make_unique<ProcessGroupWatch>(m_process->processId());
    return m_outcome.started;
}

ProcessOutcome& EngineJob::outcome() {
    if (m_process && m_process->finished()) {
        collect(m_outcome, *m_process);
        // The launcher's note on the engine it ran instead, where it would
        // have written it.
        if (!m_start.note.empty()) m_outcome.errors = m_start.note + "\n" + m_outcome.errors;
    }
    return m_outcome;
}

std::vector<std::string> launcherCommand(const Model& model, const std::string& control, const std::string& mode,
                                         const std::string& second, int threads) {
    std::vector<std::string> argv = {launcherPath(model, "wavra.sh"), "--control", control};
    if (threads > 0) argv.insert(argv.end(), {"--threads", std::to_string(threads)});
    argv.insert(argv.end(), {mode, second, engineOf(model)});
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
        return "The report " + outName(runReport) +
               " is incomplete (the engine stopped early): the closing run-time line.";
    return {};
}

bool reportRunFailure(Ui& ui, const ProcessOutcome& outcome, const std::string& engine, const std::string& runReport,
                      const std::string& target, const std::string& part) {
    if (engineRunFailure(outcome, engine, runReport, target).empty()) return false;
    // Kept aside first, so that the message names the file the user finds.
    const std::string kept = keepFailedReport(runReport, target);
    const std::string report = kept.empty() ? runReport : kept;
    critical(ui, engineRunFailure(outcome, engine, report, target) + part + engineFailureDetails(outcome, report) +
                     keptText(kept, target));
    return true;
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
    const std::string target = model.outDir() + outputName;
    const std::string key = runKey(model, deck);
    if (model.reuseResults != 0 && !isSpecialEngine(model) && reuseReport(model, target, key, control)) {
        if (control.statusLine)
            control.statusLine("Model file, deck, engine and engine program unchanged since the last run: " +
                               outputName + " is read again (\"Reuse unchanged results\" in the General settings).");
        if (control.summary) *control.summary = RunSummary{0, true};
        return EngineStatus::Finished;
    }
    StopReason stopped = StopReason::None;
    const EngineStatus status = runJob(model, ui, runner, deck, outputName, key, control, stopped);
    if (stopped == StopReason::Signal) endBySignal(EndingSignalWatch::caught());
    return status;
}

} // namespace wavra
