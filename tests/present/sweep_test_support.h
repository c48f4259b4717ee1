// A model whose report held a frequency loop, for the tests of the sweep
// graphs and of a measurement beside them.
#pragma once

#include <algorithm>
#include <vector>

#include "core/config.h"
#include "core/model.h"

namespace wavra {

struct Step {
    double f, r, x, gain = 0;
};

// A model whose report held a frequency loop with these steps.
inline Model sweepModel(const std::vector<Step>& steps, bool withGain = false) {
    Model m;
    m.allocateModelTables(64, 20, 2, 4, 2);
    m.freqCount = static_cast<int16_t>(steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        m.sweepFreq[i + 1] = steps[i].f;
        m.sweepR[i + 1] = steps[i].r;
        m.sweepX[i + 1] = steps[i].x;
        m.sweepGain[i + 1] = steps[i].gain;
        if (withGain) {
            m.summary.sweep.gainMin = std::min(m.summary.sweep.gainMin, steps[i].gain);
            m.summary.sweep.gainMax = std::max(m.summary.sweep.gainMax, steps[i].gain);
        }
    }
    if (withGain) m.summary.sweep.theta = 90, m.summary.sweep.phi = 0;
    return m;
}

} // namespace wavra
