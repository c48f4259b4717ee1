#include "engine/engine_wait.h"

#include <chrono>

namespace wavra {

namespace {

constexpr int kPollMs = 250;

// One step: the first process still running is waited for, the others
// only have their output collected. True when all have ended.
bool waitStep(const std::vector<RunningProcess*>& processes) {
    bool waited = false;
    bool allEnded = true;
    for (RunningProcess* p : processes) {
        if (p->finished()) continue;
        const bool ended = p->waitFor(waited ? 0 : kPollMs);
        waited = true;
        allEnded = allEnded && ended;
    }
    return allEnded;
}

} // namespace

StopReason waitForEngines(const std::vector<RunningProcess*>& processes, int timeoutSeconds, const WaitStep& step) {
    EndingSignalWatch signals;
    const auto begin = std::chrono::steady_clock::now();
    StopReason reason = StopReason::None;
    while (!waitStep(processes)) {
        const long long elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin).count();
        if (EndingSignalWatch::caught() != 0) reason = StopReason::Signal;
        else if (timeoutSeconds > 0 && elapsed >= 1000LL * timeoutSeconds) reason = StopReason::TimeOut;
        else if (step) reason = step(elapsed);
        if (reason != StopReason::None) break;
    }
    if (reason != StopReason::None) {
        for (RunningProcess* p : processes) p->terminate();
        return reason;
    }
    // A signal during the last step still ends the program.
    return EndingSignalWatch::caught() != 0 ? StopReason::Signal : StopReason::None;
}

} // namespace wavra
