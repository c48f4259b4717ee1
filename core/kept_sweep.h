// A frequency loop kept for comparison with later results: the feed-point
// impedance and gain per step as they were when the user kept them, so a
// trimmed antenna's sweep can be laid over the one before trimming.
#pragma once

#include <string>
#include <vector>

namespace wavra {

struct KeptSweep {
    std::string label;                         // the model name and the time it was kept: "dipole 12:03:41"
    std::vector<double> frequency, r, x, gain; // one entry per step; a gain the loop did not give is NaN
    double gainReference = 0;                  // what its gain was compared to (the largest gain then)
};

} // namespace wavra
