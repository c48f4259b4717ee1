#include "engine/process.h"

namespace wavra {

bool waitInSteps(RunningProcess& process, int stepMs, const std::function<bool()>& between) {
    while (!process.waitFor(stepMs))
        if (!between()) return false;
    return true;
}

} // namespace wavra
