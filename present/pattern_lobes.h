// The lobes of a cut: the main lobe and the lobes at least 3 dB below it,
// each with its -3 dB points, beamwidth and front-to-back ratio.
#pragma once

#include <optional>
#include <vector>

#include "present/pattern_cut.h"

namespace wavra {

struct Lobe {
    size_t index = 0; // into Cut::points
    double angle = 0;
    double value = 0;
    // The -3 dB points walking towards lower and higher indices (round the
    // cut when it is closed); nullopt when the level is not reached.
    std::optional<size_t> low, high;
    // The angle from one -3 dB point through the lobe to the other.
    std::optional<double> beamwidth;
    // The point in the back direction and the ratio in dB.
    std::optional<size_t> back;
    std::optional<double> frontToBack;
};

struct LobeRules {
    bool db = true;        // dB values; else field strengths, whose -3 dB is a factor 1/sqrt(2)
    double floor = -1e300; // lobes below it are not marked (scale minimum + 2 steps)
    bool freeSpace = true; // the back of a vertical cut is a - 180 in free space, -a over ground
};

// The marked lobes of a cut, in the order of the cut: local maxima (a value
// followed by a lower one after a rise; the ends of an open cut count when
// they lie above their neighbour) at or above the floor that equal the peak
// or lie at least 3 dB below it. A flat top is one lobe, at its middle.
std::vector<Lobe> findLobes(const Cut& cut, const LobeRules& rules);

// The level 3 dB below a value.
double minus3dbLevel(double value, bool db);

// The direction opposite a lobe at `angle` in a cut of this plane.
double backDirection(double angle, int16_t plane, bool freeSpace);

} // namespace wavra
