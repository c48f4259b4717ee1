#include "present/sweep_compare.h"

#include <algorithm>
#include <cmath>

#include "present/measured_curves.h"
#include "present/plot_math.h"

namespace wavra {

Rgb keptSweepColour(size_t k) {
    const auto& colours = displayTables().curveColours;
    return standardColour(colours[k % colours.size()]);
}

Rgb currentCurveColour(const ViewState& viewState, size_t c) {
    if (!viewState.keptSweeps.empty()) return kCurrentSweepColour;
    return standardColour(displayTables().curveColours[std::min<size_t>(c, 1)]);
}

std::vector<LegendEntry> sweepLegend(const ModelFile& file, const ViewState& viewState, bool withMeasured, Rgb today) {
    std::vector<LegendEntry> entries;
    if (!viewState.keptSweeps.empty()) {
        entries.push_back({"now: " + file.modelName, today});
        for (size_t k = 0; k < viewState.keptSweeps.size(); ++k)
            entries.push_back({viewState.keptSweeps[k].label, keptSweepColour(k)});
    }
    if (withMeasured && viewState.measured.loaded())
        entries.push_back({"measured: " + viewState.measured.name(), kMeasuredColour});
    return entries;
}

std::string keptSweepLabel(const std::string& modelName, std::time_t when) {
    char clock[16] = "";
    if (const std::tm* local = std::localtime(&when)) std::strftime(clock, sizeof clock, "%H:%M:%S", local);
    return modelName + " " + clock;
}

bool keepSweep(Model& m, std::time_t when) {
    const int steps = sweepSteps(m);
    if (steps < 2 || m.keptSweeps.size() >= kMaxKeptSweeps) return false;
    KeptSweep k;
    k.label = keptSweepLabel(m.modelName, when);
    k.gainReference = gainReference(m, m, m.summary);
    for (size_t step = 1; step <= static_cast<size_t>(steps); ++step) {
        k.frequency.push_back(m.sweepFreq[step]);
        k.r.push_back(m.sweepR[step]);
        k.x.push_back(m.sweepX[step]);
        k.gain.push_back(sweepHasGainPage(m, m, m.summary) ? sweepValue(m, SweepQuantity::Gain, static_cast<int>(step))
                                                           : NAN);
    }
    m.keptSweeps.push_back(std::move(k));
    return true;
}

double keptValue(double z0, const KeptSweep& k, SweepQuantity q, size_t i) {
    if (i >= keptSteps(k)) return NAN;
    switch (q) {
    case SweepQuantity::Gain: return k.gain[i];
    case SweepQuantity::GainToMax: return k.gain[i] - k.gainReference;
    default: return impedanceQuantity(q, k.r[i], k.x[i], z0);
    }
}

std::vector<double> keptCurve(double z0, const KeptSweep& k, SweepQuantity q) {
    std::vector<double> values;
    for (size_t i = 0; i < keptSteps(k); ++i) {
        const double v = keptValue(z0, k, q, i);
        values.push_back(q == SweepQuantity::Swr ? std::min(v, kSwrDrawLimit) : v);
    }
    return values;
}

} // namespace wavra
