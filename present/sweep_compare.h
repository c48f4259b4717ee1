// Earlier frequency loops beside the current one: K keeps the loop shown as
// a comparison curve (at most five, in the colours of compared patterns),
// Shift+K clears them. They stay over recalculations, so the sweep before
// and after trimming an element is one look. Every sweep page and the Smith
// chart draw them against the reference impedance of today's model.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/model.h"
#include "present/sweep_graphs.h"

namespace wavra {

inline constexpr size_t kMaxKeptSweeps = 5;
inline constexpr int16_t kActionKeepSweep = 'K';       // K
inline constexpr int16_t kActionClearKeptSweeps = 175; // Shift+K
inline constexpr int16_t kActionUnloadMeasured = 376;  // Ctrl+Shift+L

// The colour of kept loop k (0-based): light blue, light red, green, light
// magenta, brown, as compared patterns 1 to 5.
Rgb keptSweepColour(size_t k);

// The colour of curve c (0 first, 1 second of a pane) of today's loop:
// light blue and light red alone; black while loops are kept, whose
// colours those are (a pane's second curve is then told by its dashes).
Rgb currentCurveColour(const ViewState& viewState, size_t c);
inline constexpr Rgb kCurrentSweepColour{0, 0, 0};

// The legend of the sweep pages and the Smith chart: today's loop ("now:
// dipole", in the colour `today` its view draws it in) and each kept loop
// while loops are kept, and the measured file ("measured: dipole.s1p") when
// `withMeasured` and one is loaded.
struct LegendEntry {
    std::string text;
    Rgb colour;
    bool operator==(const LegendEntry&) const = default;
};
std::vector<LegendEntry> sweepLegend(const ModelFile& file, const ViewState& viewState, bool withMeasured,
                                     Rgb today = kCurrentSweepColour);

// The legend of a kept loop: the model name and the local time it was kept
// ("dipole 14:03:27").
std::string keptSweepLabel(const std::string& modelName, std::time_t when);

// K: keeps the shown loop. False (nothing kept) when the model has fewer
// than two frequency steps or five loops are kept already.
bool keepSweep(Model& model, std::time_t when);

// The steps of a kept loop.
inline size_t keptSteps(const KeptSweep& k) { return k.frequency.size(); }
// A quantity of step i (0-based) of a kept loop as the read-out gives it,
// against the model's reference impedance of today.
double keptValue(double z0, const KeptSweep& kept, SweepQuantity q, size_t i);
// The quantity at every step as the curve draws it (SWR limited to 10).
std::vector<double> keptCurve(double z0, const KeptSweep& kept, SweepQuantity q);

} // namespace wavra
