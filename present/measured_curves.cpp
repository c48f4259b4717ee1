#include "present/measured_curves.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/text.h"
#include "core/reflection.h"
#include "core/touchstone.h"

namespace wavra {

namespace {

// The SWR and reflection of a reflection coefficient, as the model's are
// worked out from its impedance (reflection.h): 999 at total reflection,
// -infinity dB at a perfect match.
double swrOf(std::complex<double> g) {
    const double m = std::abs(g);
    return m < 1 ? (1 + m) / (1 - m) : kSwrOfTotalReflection;
}
double dbOf(std::complex<double> g) {
    const double m = std::abs(g);
    return m == 0 ? -INFINITY : 20 * std::log10(m);
}

double quantityOf(double z0, const ViewState& viewState, SweepQuantity q, std::complex<double> gammaMeasured) {
    const MeasuredSweep& s = viewState.measured;
    const std::complex<double> z = impedanceOfReflection(gammaMeasured, s.referenceOhm);
    const std::complex<double> g = reflectionAgainst(gammaMeasured, s.referenceOhm, z0);
    switch (q) {
    case SweepQuantity::Resistance: return z.real();
    case SweepQuantity::Reactance: return z.imag();
    case SweepQuantity::Impedance: return std::abs(z);
    case SweepQuantity::Phase: return sweepPhase(z.real(), z.imag());
    case SweepQuantity::Swr: return swrOf(g);
    case SweepQuantity::ReflectionDb: return dbOf(g);
    default: return NAN;
    }
}

// Linear interpolation of a complex value between the points of rising
// frequencies `f`; exact at a point.
template <class ValueAt>
std::optional<std::complex<double>> interpolate(const std::vector<double>& f, double at, ValueAt value) {
    if (f.empty() || !(at >= f.front() && at <= f.back())) return std::nullopt;
    const size_t hi = static_cast<size_t>(std::lower_bound(f.begin(), f.end(), at) - f.begin());
    if (f[hi] == at) return value(hi);
    const size_t lo = hi - 1;
    const double t = (at - f[lo]) / (f[hi] - f[lo]);
    return value(lo) + (value(hi) - value(lo)) * t;
}

std::vector<double> measuredFrequencies(const ViewState& viewState) {
    std::vector<double> f;
    for (const MeasuredPoint& p : viewState.measured.points) f.push_back(p.frequencyMHz);
    return f;
}

// The loop's steps in rising frequency (a loop runs upward, but the tables
// also hold points added on the Smith chart); steps without a frequency
// and repeated frequencies are left out.
std::vector<size_t> risingSteps(const Results& results) {
    std::vector<size_t> rows(static_cast<size_t>(sweepSteps(results)));
    std::iota(rows.begin(), rows.end(), size_t(1));
    std::erase_if(rows, [&results](size_t r) { return !std::isfinite(results.sweepFreq[r]); });
    std::stable_sort(rows.begin(), rows.end(),
                     [&results](size_t a, size_t b) { return results.sweepFreq[a] < results.sweepFreq[b]; });
    rows.erase(std::unique(rows.begin(), rows.end(),
                           [&results](size_t a, size_t b) { return results.sweepFreq[a] == results.sweepFreq[b]; }),
               rows.end());
    return rows;
}

std::string mhz(double v) { return formatPicture(v, "##0.000"); }

std::string bandText(const SwrBand& b) {
    std::string text = "SWR<=" + formatSignificant(b.limit, 4) + ": " + mhz(b.low) + "-" + mhz(b.high) + " MHz, " +
                       mhz(b.width()) + " MHz (" + formatPicture(b.percent(), "##0.0") + " %)";
    if (b.openLow) text += " (open below)";
    if (b.openHigh) text += " (open above)";
    if (b.stretches > 1) text += " (around the minimum, one of " + std::to_string(b.stretches) + ")";
    return text;
}

} // namespace

bool measuredHas(SweepQuantity q) {
    return q != SweepQuantity::Gain && q != SweepQuantity::GainToMax && q != SweepQuantity::FrontToBack;
}

double measuredValue(double z0, const ViewState& viewState, SweepQuantity q, size_t i) {
    if (i >= viewState.measured.points.size()) return NAN;
    return quantityOf(z0, viewState, q, viewState.measured.points[i].s11);
}

std::vector<double> measuredCurve(double z0, const ViewState& viewState, SweepQuantity q) {
    std::vector<double> values;
    for (size_t i = 0; i < viewState.measured.points.size(); ++i) {
        const double v = measuredValue(z0, viewState, q, i);
        values.push_back(q == SweepQuantity::Swr ? std::min(v, kSwrDrawLimit) : v);
    }
    return values;
}

std::optional<double> measuredAt(double z0, const ViewState& viewState, SweepQuantity q, double frequencyMHz) {
    if (!measuredHas(q)) return std::nullopt;
    const auto g = interpolate(measuredFrequencies(viewState), frequencyMHz,
                               [&viewState](size_t i) { return viewState.measured.points[i].s11; });
    if (!g) return std::nullopt;
    return quantityOf(z0, viewState, q, *g);
}

std::optional<std::complex<double>> modelImpedanceAt(const Results& results, double frequencyMHz) {
    const std::vector<size_t> rows = risingSteps(results);
    std::vector<double> f;
    for (size_t r : rows) f.push_back(results.sweepFreq[r]);
    return interpolate(f, frequencyMHz, [&](size_t i) {
        return std::complex<double>(results.sweepR[rows[i]], results.sweepX[rows[i]]);
    });
}

std::optional<SwrMatch> modelSwrMatch(const Model& m) {
    std::vector<double> f, s;
    for (size_t r : risingSteps(m)) {
        f.push_back(m.sweepFreq[r]);
        s.push_back(sweepValue(m, SweepQuantity::Swr, static_cast<int>(r)));
    }
    return swrMatch(f, s, m.swrBandLimit);
}

std::optional<SwrMatch> measuredSwrMatch(const Settings& settings, double z0, const ViewState& viewState) {
    std::vector<double> s;
    for (size_t i = 0; i < viewState.measured.points.size(); ++i)
        s.push_back(measuredValue(z0, viewState, SweepQuantity::Swr, i));
    return swrMatch(measuredFrequencies(viewState), s, settings.swrBandLimit);
}

std::vector<std::string> swrMatchTexts(const SwrMatch& match) {
    std::vector<std::string> lines = {"SWR min " + formatPicture(match.minimumSwr, "##0.00") + " at " +
                                      mhz(match.minimumFrequency) + " MHz"};
    for (const auto& band : {match.band, match.second})
        if (band) lines.push_back(bandText(*band));
    return lines;
}

bool loadMeasured(ViewState& viewState, const std::string& path, std::string& error, Diagnostics& skipped) {
    MeasuredSweep sweep;
    if (!loadTouchstone(path, sweep, error)) return false;
    skipped = sweep.diagnostics;
    viewState.measured = std::move(sweep);
    ++viewState.measuredSerial;
    return true;
}

bool unloadMeasured(ViewState& viewState) {
    if (!viewState.measured.loaded()) return false;
    viewState.measured = {};
    ++viewState.measuredSerial;
    return true;
}

bool loadMeasuredDialog(const ModelFile& file, ViewState& viewState, Ui& ui) {
    const auto choice = ui.openFile({"Load measured", "Touchstone file", file.modelDir, "", "*.s1p *.s2p"});
    if (!choice) return false;
    std::string error;
    Diagnostics skipped;
    if (!loadMeasured(viewState, choice->path(), error, skipped)) {
        ui.message(error);
        return false;
    }
    if (!skipped.empty()) {
        std::string text = "Some lines of " + choice->path() + " were skipped:";
        for (size_t i = 0; i < skipped.size() && i < 10; ++i) text += "\n" + shownText(skipped[i]);
        ui.message(text);
    }
    return true;
}

} // namespace wavra
