// Running the NEC-2 engine on a deck in out/: the ground checks, the control
// files exe/nec2d.tmp and exe/som2d.tmp, the launcher exe/wavra.sh, the wait
// with progress, and the verdict on the report the engine left.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "engine/process.h"

namespace wavra {

// Called after every 250 ms of waiting with the percentage of the expected
// run time that has passed (0 to 100), or -1 when no run time is expected.
// The windows draw the bar and process pending events in it.
using ProgressFn = std::function<void(int percent)>;
// Receives one line for the status window's list.
using StatusLineFn = std::function<void(const std::string& line)>;

// What a started program left behind.
struct ProcessOutcome {
    bool started = false;
    std::string startError; // why it could not be started
    int exitCode = -1;
    std::string output; // standard output
    std::string errors; // standard error
};

// Starts a program and waits for it in steps of 250 ms, reporting progress
// against expectedRunTime (tenths of a second). Without a progress display
// expectedRunTime is set to 0 first; it is 0 again after the run.
ProcessOutcome runAndWaitWithProgress(Model& model, ProcessRunner& runner, const std::vector<std::string>& argv,
                                      const std::string& workingDir, const ProgressFn& progress);

// Percentage of the expected run time (tenths of a second) that `elapsedMs`
// milliseconds make, at most 100; -1 when none is expected.
int progressPercent(long long elapsedMs, int expectedRunTime);

// The launcher call for a run: exe/wavra.sh MODE SECOND ENGINE, and "pause"
// when the window flag asks to wait and the optimizer is not running.
std::vector<std::string> launcherCommand(const Model& model, const std::string& mode, const std::string& second);

enum class EngineStatus {
    Finished,  // the engine ended without error and left a fresh report
    Cancelled, // a ground question was answered with Cancel; nothing ran
    Failed,    // the failure has been reported to the user
};

// Runs the engine on out/<inputName>, leaving its report in out/<outputName>.
// An older report of that name is set aside as <outputName>.old before the
// run, so a failed run can never leave it to be read as the new result; it
// is removed after a successful run. After a successful run every line the
// launcher or the engine wrote on stderr goes to `statusLine` (such as the
// note that the lapack engine is missing and plain nec2c ran instead).
EngineStatus runEngine(Model& model, Ui& ui, ProcessRunner& runner, const std::string& inputName,
                       const std::string& outputName, const ProgressFn& progress,
                       const StatusLineFn& statusLine = {});

} // namespace wavra
