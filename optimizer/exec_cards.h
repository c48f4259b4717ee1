// The execution cards of the optimizer's working model (.opt): the model's
// cards up to its first execution card, then "PQ -1", "PT -1" and one RP
// card that asks for the forward and back directions.
#pragma once

#include <string>
#include <vector>

#include "engine/card_text.h"
#include "optimizer/setup.h"

namespace wavra {

// The RP card's fields. mode = I1 (effectiveRpMode), ground = a ground is
// present, distance = F5 (metres; 0 without a surface wave).
//  - resolution 0: the forward direction and the one 180 degrees on
//    (theta 180 in free space), both phi and phi + 180;
//  - resolution R: a grid of step R through the forward direction over the
//    whole sphere (theta from -90 on) or, over a ground, the upper half;
//  - a surface wave (mode 1): theta (the height) at the forward value and 0.
CardFields optimizerRpFields(const OptimizerSetup& setup, int mode, bool ground, double distance);

// The first working model: the source's lines up to its first execution
// card ("RP", "XQ", "NE", "NH") or "EN", then "PQ -1", "PT -1" and the RP
// card, which is left out when no pattern is needed (rpCard empty).
std::vector<std::string> firstWorkingModel(const std::vector<std::string>& source, const std::string& rpCard);

} // namespace wavra
