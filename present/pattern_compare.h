// Comparing the pattern of the current model with those of up to four
// other engine reports of the same grid.
#pragma once

#include "core/model.h"
#include "core/ui.h"
#include "present/pattern_state.h"

namespace wavra {

// Ins is served while no frequency loop of cuts is shown, a pattern is
// loaded and fewer than five patterns are compared.
bool canAddPattern(const PatternState& state, const Results& results);

// Ins: the user picks another model in the open dialog; the pattern of its
// engine report (out/<name>.out) joins the comparison when its grid of theta
// and phi values is the same. The first addition also takes the current
// pattern as pattern 1. Messages: "No output file available for: <file>",
// "Start, count or stepsize on RP cards do not match."
void addComparedPattern(PatternState& state, const Model& model, Ui& ui);

// The grids of two loaded patterns (each the request that shaped it and its
// points) have the same theta and phi values.
bool sameGrid(const Geometry& requestA, const Results& a, const Geometry& requestB, const Results& b);

// Del: the comparison ends; the current pattern is shown alone again.
void removeComparedPatterns(PatternState& state);

} // namespace wavra
