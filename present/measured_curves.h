// A measured Touchstone file beside the model's frequency loop: the
// measured values of the sweep graphs' quantities (against the model's z0),
// the values of either at a frequency between their points (interpolated
// linearly: the impedance of the model, the reflection coefficient of the
// measurement; nothing outside their band), and the minimum SWR and
// bandwidth of both curves.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"
#include "core/ui.h"
#include "present/sweep_graphs.h"
#include "present/swr_band.h"

namespace wavra {

// The colour of the measured curves and their marks in every view.
inline constexpr Rgb kMeasuredColour{200, 100, 0};

// True for the quantities a measured S11 gives (all but the gains).
bool measuredHas(SweepQuantity q);

// A quantity of measured point i (0-based) as the read-out gives it; NaN
// for a gain. The impedance of an open circuit is infinite.
double measuredValue(double z0, const ViewState& viewState, SweepQuantity q, size_t i);
// The quantity at every measured point as the curve draws it (SWR limited to 10).
std::vector<double> measuredCurve(double z0, const ViewState& viewState, SweepQuantity q);
// The quantity at a frequency inside the measured band.
std::optional<double> measuredAt(double z0, const ViewState& viewState, SweepQuantity q, double frequencyMHz);

// The model's feed-point impedance at a frequency inside the loop's band,
// from the steps on either side (exactly a step's value at its frequency).
std::optional<std::complex<double>> modelImpedanceAt(const Results& results, double frequencyMHz);

// Minimum SWR and bandwidth of the loop and of the measurement, at SWR 2
// and at the setting SWRLIM.
std::optional<SwrMatch> modelSwrMatch(const Model& model);
std::optional<SwrMatch> measuredSwrMatch(const Settings& settings, double z0, const ViewState& viewState);

// "SWR min 1.23 at 14.150 MHz", and per band "SWR<=2: 14.050-14.320 MHz,
// 0.270 MHz (1.9 %)", "(open below)", "(one of 2)".
std::vector<std::string> swrMatchTexts(const SwrMatch& match);

// Loads a Touchstone file as the model's measurement; what the reader
// skipped comes back in `skipped`, each on its line of the file. False with
// the reason in `error`.
bool loadMeasured(ViewState& viewState, const std::string& path, std::string& error, Diagnostics& skipped);

// "File -> Unload measured" (Ctrl+Shift+L): the views show the model
// alone again. False when no file was loaded.
bool unloadMeasured(ViewState& viewState);

// "File -> Load measured..." (Ctrl+L) of the sweep and Smith windows: asks
// for the file and loads it; a failure, and the lines skipped, are shown as
// a message. True when a file was loaded.
bool loadMeasuredDialog(const ModelFile& file, ViewState& viewState, Ui& ui);

} // namespace wavra
