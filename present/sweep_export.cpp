#include "present/sweep_export.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/files.h"
#include "core/reflection.h"
#include "core/text.h"
#include "present/sweep_graphs.h"

namespace wavra {

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

// The steps in the order of their frequency (a Touchstone reader expects
// rising frequencies).
std::vector<size_t> stepsByFrequency(const Model& m) {
    std::vector<size_t> rows(static_cast<size_t>(sweepSteps(m)));
    std::iota(rows.begin(), rows.end(), size_t(1));
    std::stable_sort(rows.begin(), rows.end(), [&m](size_t a, size_t b) { return m.sweepFreq[a] < m.sweepFreq[b]; });
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

std::string sweepCsvText(const Model& m) {
    const bool gain = sweepHasGain(m);
    const std::string z0 = formatRoundTrip(m.referenceZ0());
    std::string text = "Frequency (MHz),R (ohm),X (ohm),|Z| (ohm),Phase (deg),SWR (" + z0 + " ohm),|Gamma| (dB)";
    text += gain ? ",Gain (dBi)\n" : "\n";
    for (size_t row : stepsByFrequency(m)) {
        const double r = m.sweepR[row], x = m.sweepX[row];
        text += number(m.sweepFreq[row]) + "," + number(r) + "," + number(x) + "," + number(std::hypot(r, x)) + "," +
                number(std::atan2(x, r) * kRadToDeg) + "," + number(swr(r, x, m.referenceZ0())) + "," +
                number(reflectionDb(r, x, m.referenceZ0()));
        text += gain ? "," + number(m.sweepGain[row]) + "\n" : "\n";
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
    if (!writeFileAtomic(path, text)) {
        error = "Cannot write " + path + "; an existing file was kept.";
        return false;
    }
    return true;
}

void exportSweepDialog(const Model& m, Ui& ui) {
    std::string error;
    if (sweepSteps(m) < 1) {
        ui.message("The report holds no frequency loop: there is no sweep to export.");
        return;
    }
    const auto choice = ui.saveFile({"Export sweep", "Filename", m.modelDir, m.modelName, "*.s1p"});
    if (!choice) return;
    const std::string path = choice->path() + (choice->ext.empty() ? ".s1p" : "");
    if (!writeSweepFile(m, path, sweepFormatOf(path), error)) ui.message(error);
}

} // namespace wavra
