// A frequency loop whose far-field request is one horizontal cut (one theta,
// several phi) prints that cut at every step. From it come the gain page's
// curves of such a loop: the largest total gain of each step's cut, and the
// front-to-back ratio, that gain against the gain in the opposite azimuth.
#pragma once

#include <cmath>

#include "core/model.h"

namespace wavra {

// The step's (1-based) largest total gain of its cut, and the ratio of that
// gain to the gain in the back direction in dB. NaN for a step whose cut
// was not loaded; the ratio is NaN where the cut has no point in the back
// direction (azimuth + 180; a point of negative theta lies at azimuth
// 540 - phi).
struct CutGains {
    double maximum = NAN, frontToBack = NAN;
};
CutGains loopCutGains(const Geometry& geometry, const Results& results, int step);

// True when the loop holds a horizontal cut per step.
bool loopHasCuts(const Geometry& geometry, const Results& results);

} // namespace wavra
