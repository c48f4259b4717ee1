// Running the NEC-2 engine on a deck: the ground checks, the run's own
// files (see run_files.h), the engine program or the launcher exe/wavra.sh
// with the run's control file (engine_start.h), the wait with progress, time-out and Cancel (engine_wait.h), the
// verdict on the report the engine left, and the report's place in out/
// (report_keeping.h).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "engine/engine_start.h"
#include "engine/engine_wait.h"
#include "engine/process.h"
#include "engine/result_reuse.h"
#include "engine/run_files.h"

namespace wavra {

// Called after every 250 ms of waiting with the percentage of the expected
// run time that has passed (0 to 100), or -1 when no run time is expected.
// The windows draw the bar and process pending events in it.
using ProgressFn = std::function<void(int percent)>;

// How a run was made, for the batch summary and the main window.
struct RunSummary {
    int parts = 0;        // engine processes started; 0 when the report was reused
    bool reused = false;  // the last report was read again instead of running the engine
    long long joinMs = 0; // time spent joining the parts' reports into one
};

// What the caller lets the user do while the engine runs.
struct RunControl {
    ProgressFn progress;
    // Asked after every 250 ms: Cancel or Exit stops the engine.
    std::function<StopReason()> stop;
    // After a run that finished: each line the launcher or the engine wrote
    // on stderr (such as the note that the lapack engine is missing and plain
    // nec2c ran instead), for the status window.
    std::function<void(const std::string&)> statusLine;
    // When set, filled in with how the run was made.
    RunSummary* summary = nullptr;
    // Reads the complete report of a run that ended well, from the run's own
    // folder, into the model as the run's result (and checks it); false,
    // said through the Ui, when it is no result. The report is published as
    // out/<name>.out only after that, so the result a run returns is the
    // report it made, whatever other runs of the model do meanwhile. `bytes`
    // is the report as read once for the model and the record's hash.
    std::function<bool(const std::string& report, std::string_view bytes)> readReport;
    // The model file the deck was made from, for the report's record.
    ReportSource source;
    // During a frequency loop: "Frequency step 3 of 11", for the status
    // window's line beside its bar.
    std::function<void(const std::string&)> stepText;
    // The same count as numbers: steps done of all steps of the loop.
    std::function<void(int done, int total)> loopSteps;
};

// What a started program left behind.
struct ProcessOutcome {
    bool started = false;
    std::string startError; // why it could not be started
    int exitCode = -1;
    std::string output; // standard output
    std::string errors; // standard error
    StopReason stopped = StopReason::None;
};

// Percentage of the expected run time (tenths of a second) that `elapsedMs`
// milliseconds make, at most 100; -1 when none is expected.
int progressPercent(long long elapsedMs, int expectedRunTime);

// One engine process with files of its own. Several jobs can be prepared,
// started and waited for together (waitForEngines); each one's report is
// files().report() until the caller moves it.
class EngineJob {
public:
    explicit EngineJob(const std::string& outDir) : m_files(outDir) {}

    // Writes the deck, the Sommerfeld ground request and the control file
    // and works out how the engine starts (engine_start.h); `threads` > 0
    // limits the lapack engine's threads (several engines at once). False,
    // reported through ui, when a file cannot be written.
    bool prepare(const Model& model, Ui& ui, const std::string& deck, int threads = 0);
    // Starts the engine program in the run's folder, or the launcher in
    // workDir (the folder of out/). False with outcome().startError.
    bool start(ProcessRunner& runner, const std::string& workDir);

    const RunFiles& files() const { return m_files; }
    const std::vector<std::string>& command() const { return m_start.argv; }
    RunningProcess* process() { return m_process.get(); }
    // What the process left; complete once it has ended or was ended.
    ProcessOutcome& outcome();

private:
    RunFiles m_files;
    EngineStart m_start;
    std::unique_ptr<RunningProcess> m_process;
    std::unique_ptr<ProcessGroupWatch> m_watch;
    ProcessOutcome m_outcome;
};

// The launcher call for a run: exe/wavra.sh --control CONTROL [--threads N]
// MODE SECOND ENGINE, and "pause" when the window flag asks to wait and the
// optimizer is not running.
std::vector<std::string> launcherCommand(const Model& model, const std::string& control, const std::string& mode,
                                         const std::string& second, int threads = 0);

// Why a run that ended by itself failed: not started, an exit status, no
// report, or a report without its closing line; empty when it finished.
// An incomplete report is named as out/ + the file name of `runReport`:
// pass the report where it was kept. `target` is the report the run was
// to write.
std::string engineRunFailure(const ProcessOutcome& outcome, const std::string& engine, const std::string& runReport,
                             const std::string& target);

// A run that ended by itself and failed, reported through ui: its report is
// kept as `target`'s ".failed" side file (out/<outputName> stays) and the
// message names it there; `part` follows the failure's first line (which
// run of a split loop). False, with nothing shown, when the run did not fail.
bool reportRunFailure(Ui& ui, const ProcessOutcome& outcome, const std::string& engine, const std::string& runReport,
                      const std::string& target, const std::string& part = {});

// What a time-out or Cancel did to the engine; empty for other reasons.
std::string engineStopText(const Model& model, StopReason reason, const std::string& engine);

// The engine's own words on a failure: its error output and console output
// (the newest lines), then the last lines of its report.
std::string engineFailureDetails(const ProcessOutcome& outcome, const std::string& report);

enum class EngineStatus {
    Finished,  // the engine ended without error and left a complete report
    Cancelled, // a ground question was answered with Cancel; nothing ran
    Failed,    // the engine failed or ran into the time-out; reported
    Stopped,   // the user pressed Cancel; reported
    Exiting,   // the user ends the program; the engine was stopped
};

// Runs the engine on `deck`, leaving its report in out/<outputName>. The
// engine works in a directory of its own; its complete report is read there
// (RunControl::readReport) and only then published as out/<outputName> with
// its record (see report_keeping.h); a failed run's report is kept as
// out/<outputName>.failed and the last complete report stays. A frequency loop is split
// over "Parallel engine runs" processes and their reports joined into one
// (run_plan.h, report_merge.h); the progress then counts steps. With "Reuse
// unchanged results" an unchanged run reads the last report again
// (result_reuse.h), through a snapshot of it. An ending signal stops every engine of the run, says
// so on stderr and ends the program by that signal.
EngineStatus runEngine(Model& model, Ui& ui, ProcessRunner& runner, const std::string& deck,
                       const std::string& outputName, const RunControl& control);

} // namespace wavra
