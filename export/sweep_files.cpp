#include "export/sweep_files.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "core/reflection.h"
#include "report/sweep_values.h"

namespace wavra {

namespace {

// The steps in the order of their frequency (a Touchstone reader expects
// rising frequencies); a step without a frequency comes last.
std::vector<size_t> stepsByFrequency(const Results& results) {
    std::vector<size_t> rows(static_cast<size_t>(sweepSteps(results)));
    std::iota(rows.begin(), rows.end(), size_t(1));
    std::stable_sort(rows.begin(), rows.end(), [&results](size_t a, size_t b) {
        const double fa = results.sweepFreq[a], fb = results.sweepFreq[b];
        if (std::isnan(fa) || std::isnan(fb)) return !std::isnan(fa) && std::isnan(fb);
        return fa < fb;
    });
    return rows;
}

std::string number(double v) { return formatRoundTrip(v); }

} // namespace

SweepFileFormat sweepFormatOf(const std::string& path) {
    const std::string lower = toLower(path);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".csv") == 0 ? SweepFileFormat::Csv
                                                                                : SweepFileFormat::Touchstone;
}

std::string touchstoneText(const Model& m) {
    std::string text = "! " + m.modelName + m.modelExt + ": feed-point reflection of a " +
                       std::to_string(sweepSteps(m)) + "-step frequency loop, written by wavra\n";
    for (const std::string& comment : m.summary.comments) text += "! " + comment + "\n";
    text += "# MHZ S RI R " + formatRoundTrip(m.referenceZ0()) + "\n";
    for (size_t row : stepsByFrequency(m)) {
        const std::complex<double> s11 = reflection(m.sweepR[row], m.sweepX[row], m.referenceZ0());
        text += number(m.sweepFreq[row]) + " " + number(s11.real()) + " " + number(s11.imag()) + "\n";
    }
    return text;
}

// |Z|, phase, SWR and reflection are the sweep view's values of the step, so
// the file and the view agree to the last digit (SWR 999 at total
// reflection, the phase without quadrant correction).
std::string sweepCsvText(const Model& m) {
    const bool gain = sweepHasGain(m.summary);
    const std::string z0 = formatRoundTrip(m.referenceZ0());
    std::string text = "Frequency (MHz),R (ohm),X (ohm),|Z| (ohm),Phase (deg),SWR (" + z0 + " ohm),|Gamma| (dB)";
    text += gain ? ",Gain (dBi)\n" : "\n";
    for (size_t row : stepsByFrequency(m)) {
        const int step = static_cast<int>(row);
        text += number(m.sweepFreq[row]);
        for (SweepQuantity q : {SweepQuantity::Resistance, SweepQuantity::Reactance, SweepQuantity::Impedance,
                                SweepQuantity::Phase, SweepQuantity::Swr, SweepQuantity::ReflectionDb})
            text += "," + number(sweepValue(m, q, step));
        text += gain ? "," + number(sweepValue(m, SweepQuantity::Gain, step)) + "\n" : "\n";
    }
    return text;
}

bool writeSweepFile(const Model& m, const std::string& path, SweepFileFormat format, std::string& error) {
    if (sweepSteps(m) < 1) {
        error = "The report holds no frequency loop: there is no sweep to write to " + path + ".";
        return false;
    }
    if (format == SweepFileFormat::Touchstone && m.referenceZ0() <= 0) {
        error = "A Touchstone file needs a positive Z0; the setting is " + std::to_string(m.z0) + ".";
        return false;
    }
    const std::string text = format == SweepFileFormat::Csv ? sweepCsvText(m) : touchstoneText(m);
    const bool existed = notARegularFile(path).empty();
    std::string reason;
    if (!writeFileAtomic(path, text, reason)) {
        error = "Cannot write " + path + ": " + reason + (existed ? "; the existing file was kept." : ".");
        return false;
    }
    return true;
}

} // namespace wavra
