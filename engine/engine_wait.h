// Waiting for engine processes: in steps of 250 ms, with the engine
// time-out, the user's Cancel, the end of the program and the ending
// signals (Ctrl+C, SIGTERM, SIGHUP). Whatever stops a wait ends every
// process of it with its whole process group, so no engine runs on.
#pragma once

#include <functional>
#include <vector>

#include "engine/process.h"

namespace wavra {

// Why a wait ended before its processes did.
enum class StopReason {
    None,    // every process ended by itself
    Cancel,  // the user pressed Cancel
    Exit,    // the user ends the program (main window closed)
    TimeOut, // the engine time-out passed
    Signal,  // an ending signal came; EndingSignalWatch::caught() tells which
};

// Called after every step with the milliseconds since the wait began;
// returns Cancel or Exit to stop the wait, None to go on.
using WaitStep = std::function<StopReason(long long elapsedMs)>;

// Waits until every process has ended or the wait is stopped: by `step`,
// by the time-out (seconds, 0 = none) or by an ending signal. A stopped
// wait has ended every process (RunningProcess::terminate) on return.
StopReason waitForEngines(const std::vector<RunningProcess*>& processes, int timeoutSeconds, const WaitStep& step);

} // namespace wavra
