// The optimizer as the window and the batch command line drive it: the
// working files (<model>.opt with the trial model, <model>.bak with the one
// before), Optimizer.log, the engine runs of the trials (several at once
// when the settings allow it), the search, "Save results", the ItsHF sweeps
// and the clean-up on closing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "engine/engine_run.h"
#include "engine/process.h"
#include "optimizer/run_rows.h"
#include "optimizer/search.h"
#include "optimizer/setup.h"
#include "optimizer/sy_lines.h"

namespace wavra {

// What the window (or the batch run) is told and asked while a run goes on.
struct SessionHooks {
    std::function<void(const std::vector<std::string>& header)> started; // a new run: grids get this header
    std::function<void(const TrialRow&)> row;
    std::function<void(const std::vector<double>&)> sensitivities;
    std::function<void(const std::string&)> status; // the status line
    std::function<void()> firstRunOver;             // the first-run box returns to "Optimize"
    ProgressFn progress;                            // the progress bar; processes window events
    // After each engine run read: the runs done since the window opened and,
    // when the run knows it (an ItsHF sweep), the number it will have done
    // at its end; 0 while the search decides when it ends.
    std::function<void(int done, int planned)> runDone;
    // Asked every 250 ms while engines run: Cancel or Exit ends them at once.
    std::function<StopReason()> stop;
};

enum class SessionEnd {
    Refused,   // a check refused the start (reported)
    Optimized, // done ("Optimized in N steps")
    Halted,    // actionCode 27: "Optimizer: Halted."
    Ended,     // ended by a message (no effect, efficiency, an engine failure)
};

class OptimizerSession {
public:
    OptimizerSession(Model& model, Ui& ui, ProcessRunner& runner);
    ~OptimizerSession();

    // The window opens: Optimizer.log is started empty.
    void open();
    // Start (or, with `resume`, continue from the .opt file) an
    // optimization or an ItsHF sweep.
    SessionEnd start(const OptimizerSetup& setup, bool resume, const SessionHooks& hooks);
    // "Save results": the model file with its SY lines taken from the .opt
    // file, written through a temporary file. False (reported) on failure.
    bool saveResults(const std::string& path);
    // The window closes: the working files go, the entries are kept in
    // optimizerText1 and optimizerText2, optimizerVarCount returns to 0.
    void close(const OptimizerSetup& setup);

    std::string optPath() const;
    std::string bakPath() const;
    const OptimizerLog& log() const { return m_log; }
    bool resumable() const;
    int runs() const { return m_runs; }
    // The variables' values at the end of the last run, as written.
    const std::vector<WrittenValue>& finalValues() const { return m_values; }
    const std::vector<std::string>& variables() const { return m_names; }
    // The message that ended the last run ("Optimized in 12 steps" ...), empty when none.
    const std::string& endMessage() const { return m_endMessage; }
    // True when the last optimization ended with its last accepted trial's
    // report read into the model (then nothing needs to read out/ again).
    bool hasResult() const { return m_hasResult; }

    class Trials;

private:
    Model& m_model;
    Ui& m_ui;
    ProcessRunner& m_runner;
    OptimizerLog m_log;
    std::vector<std::string> m_template; // the working model as first written
    std::vector<std::string> m_names;
    std::vector<WrittenValue> m_values;
    int m_runs = 0;
    std::string m_endMessage;
    std::string m_acceptedReport; // the last accepted trial's report during a run
    bool m_hasResult = false;

    bool prepare(const OptimizerSetup& setup, bool resume);
    // Writes the working model with these values (the old one becomes the
    // .bak file); its text, nullopt when it could not be written (reported).
    std::optional<std::string> writeWorkingModel(const std::vector<double>& numbers);
    SessionEnd optimize(const OptimizerSetup& setup, const SessionHooks& hooks);
    SessionEnd sweep(const OptimizerSetup& setup, const SessionHooks& hooks);
    bool readAcceptedReport();
    SessionEnd finish(SessionEnd end, const std::string& message, const SessionHooks& hooks);
};

} // namespace wavra
