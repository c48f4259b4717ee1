#include "app/batch_json.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/json_number.h"
#include "base/text.h"
#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/summary_texts.h"
#include "present/sweep_graphs.h"

namespace wavra {

namespace {

// An extent as measured. The readers keep at least 1e-9 m so that a flat
// model still has a scale to draw with; a script gets the model's own 0.
nlohmann::json extentJson(double e) {
    if (e < 0) return nullptr; // nothing loaded
    return e <= 1e-9 ? 0.0 : e;
}

// A gain of -999.99 dB is how the engine prints a polarisation that has no
// field at all: there is no number in dB for it.
nlohmann::json gainOrNull(double dB) { return std::isfinite(dB) && dB > -999 ? nlohmann::json(dB) : nullptr; }

// The largest value of each far-field column over the loaded points:
// vertical, horizontal and total gain (dBi), E(theta) and E(phi) (V/m). A
// surface-wave table has no gains: E(radial) stands in the third place.
nlohmann::json patternMaxJson(const Model& m) {
    if (m.patternCount <= 0 || m.requestMode == kNearRequest) return nullptr;
    const bool surface = m.requestMode == kSurfaceWaveRequest;
    const auto& v = m.patternMax;
    return {surface ? nullptr : gainOrNull(v[kGainVertical + 1]),
            surface ? nullptr : gainOrNull(v[kGainHorizontal + 1]),
            surface ? finiteOrNull(v[kSurfaceRadial + 1]) : gainOrNull(v[kGainTotal + 1]),
            finiteOrNull(v[kFieldTheta + 1]), finiteOrNull(v[kFieldPhi + 1])};
}

// The ground's constants where the ground has them: a finite ground (GN 0 or
// 2) has a permittivity and a conductivity, free space and a perfect ground none.
nlohmann::json groundConstant(const Model& m, double value) {
    return m.groundType == 0 || m.groundType == 2 ? nlohmann::json(value) : nullptr;
}

nlohmann::json requestGridJson(const Model& m) {
    nlohmann::json grid = nlohmann::json::array();
    for (const RequestRow& r : m.summary.requestRows)
        grid.push_back(
            {{"axis", trim(r.label)}, {"start", r.start}, {"stop", r.stop}, {"count", r.count}, {"step", r.step}});
    return grid;
}

nlohmann::json complexJson(double re, double im) { return {{"R", finiteOrNull(re)}, {"X", finiteOrNull(im)}}; }

// The sources as the report printed them (each with its SWR against z0),
// or, for a model read from its deck, the deck's voltage sources.
nlohmann::json sources(const Model& m) {
    nlohmann::json list = nlohmann::json::array();
    for (const SourceInput& in : m.summary.sourceInputs)
        list.push_back({{"tag", in.tag},
                        {"segment", in.segment},
                        {"voltage", complexJson(in.voltageR, in.voltageX)},
                        {"current", complexJson(in.currentR, in.currentX)},
                        {"impedance", complexJson(in.impedanceR, in.impedanceX)},
                        {"swr", finiteOrNull(swr(in.impedanceR, in.impedanceX, m.referenceZ0()))}});
    if (!list.empty()) return list;
    for (int i = 1; i <= m.sourceCount && i <= m.sourceCapacity(); ++i)
        list.push_back({{"tag", m.sourceTag[i]}, {"segment", m.sourceSegment[i]}});
    return list;
}

nlohmann::json loads(const Model& m) {
    nlohmann::json list = nlohmann::json::array();
    for (int i = 1; i <= m.loadCount && i <= m.loadCapacity(); ++i)
        list.push_back({{"type", m.loadType[i]},
                        {"tag", m.loadTag[i]},
                        {"firstSegment", m.loadFirstSegment[i]},
                        {"lastSegment", m.loadLastSegment[i]}});
    return list;
}

// Largest total gain over the loaded far-field points, with its direction.
// A surface-wave table holds fields, not gains: see largestSurfaceField.
nlohmann::json largestGain(const Model& m) {
    if (m.requestMode == kNearRequest || m.requestMode == kSurfaceWaveRequest) return nullptr;
    const auto best = static_cast<size_t>(m.strongestPatternPoint());
    if (best == 0) return nullptr;
    return {{"gain", m.farFieldGains[best][kGainTotal]},
            {"theta", m.farFieldAngles[best][0]},
            {"phi", m.farFieldAngles[best][1]}};
}

// The strongest total field of a surface-wave table (the root-sum-square of
// its three components), in V/m, with the height and direction of its point.
nlohmann::json largestSurfaceField(const Model& m) {
    if (m.requestMode != kSurfaceWaveRequest) return nullptr;
    const int points = std::min<int>(m.patternCount, m.farFieldCapacity());
    double strongest = -1;
    size_t best = 0;
    for (size_t i = 1; i <= static_cast<size_t>(points); ++i) {
        const auto& v = m.farFieldGains[i];
        const double field = std::sqrt(v[kSurfaceRadial] * v[kSurfaceRadial] + v[kSurfaceTheta] * v[kSurfaceTheta] +
                                       v[kSurfacePhi] * v[kSurfacePhi]);
        if (!isMissing(field) && field > strongest) strongest = field, best = i;
    }
    if (best == 0) return nullptr;
    return {{"field", strongest},
            {"height", m.farFieldAngles[best][0]},
            {"phi", m.farFieldAngles[best][1]},
            {"distance", m.requestDistance}};
}

// The rows the report filled; a value it did not give is null.
nlohmann::json sweepRows(const Model& m) {
    nlohmann::json rows = nlohmann::json::array();
    const int count = std::min({m.summary.sweepRows, static_cast<int>(m.freqCount), m.freqCapacity()});
    if (count < 2) return rows;
    for (size_t i = 1; i <= static_cast<size_t>(count); ++i)
        rows.push_back({{"frequency", m.sweepFreq[i]},
                        {"R", finiteOrNull(m.sweepR[i])},
                        {"X", finiteOrNull(m.sweepX[i])},
                        {"swr", finiteOrNull(swr(m.sweepR[i], m.sweepX[i], m.referenceZ0()))},
                        {"gain", sweepHasGain(m.summary) ? finiteOrNull(m.sweepGain[i]) : nlohmann::json(nullptr)}});
    return rows;
}

nlohmann::json bandJson(const std::optional<SwrBand>& b) {
    if (!b) return nullptr;
    return {{"limit", b->limit},       {"low", b->low},         {"high", b->high},         {"width", b->width()},
            {"percent", b->percent()}, {"openLow", b->openLow}, {"openHigh", b->openHigh}, {"stretches", b->stretches}};
}

// The minimum SWR with its frequency and the bands at SWR 2 and at the
// second limit around it.
nlohmann::json matchJson(const std::optional<SwrMatch>& mt) {
    if (!mt) return nullptr;
    return {{"minimum", {{"frequency", mt->minimumFrequency}, {"swr", mt->minimumSwr}}},
            {"band", bandJson(mt->band)},
            {"secondBand", bandJson(mt->second)}};
}

nlohmann::json matchValues(double r, double x, double z0) {
    return {{"R", finiteOrNull(r)},
            {"X", finiteOrNull(x)},
            {"swr", finiteOrNull(swr(r, x, z0))},
            {"reflectionDb", finiteOrNull(reflectionDb(r, x, z0))}};
}

// The measured file: its points as read against the model's z0, with the
// model's values at the same frequencies where the loop covers them.
nlohmann::json measuredJson(const Model& m) {
    const MeasuredSweep& s = m.measured;
    nlohmann::json points = nlohmann::json::array();
    for (size_t i = 0; i < s.points.size(); ++i) {
        const double f = s.points[i].frequencyMHz;
        const auto model = modelImpedanceAt(m, f);
        const double swrValue = measuredValue(m.referenceZ0(), m, SweepQuantity::Swr, i);
        points.push_back(
            {{"frequency", f},
             {"R", finiteOrNull(measuredValue(m.referenceZ0(), m, SweepQuantity::Resistance, i))},
             {"X", finiteOrNull(measuredValue(m.referenceZ0(), m, SweepQuantity::Reactance, i))},
             {"swr", swrValue < kSwrOfTotalReflection ? finiteOrNull(swrValue) : nullptr},
             {"reflectionDb", finiteOrNull(measuredValue(m.referenceZ0(), m, SweepQuantity::ReflectionDb, i))},
             {"model", model ? matchValues(model->real(), model->imag(), m.referenceZ0()) : nlohmann::json(nullptr)}});
    }
    return {{"file", s.file},
            {"referenceOhm", s.referenceOhm},
            {"pointCount", s.points.size()},
            {"frequency", {{"min", s.points.front().frequencyMHz}, {"max", s.points.back().frequencyMHz}}},
            {"match", matchJson(measuredSwrMatch(m, m.referenceZ0(), m))},
            {"skipped", s.diagnostics},
            {"points", points}};
}

nlohmann::json finiteList(const double* first, const double* last) {
    nlohmann::json list = nlohmann::json::array();
    for (const double* v = first; v != last; ++v) list.push_back(finiteOrNull(*v));
    return list;
}

// The engine's results as the main window shows them.
void addResults(const Model& m, nlohmann::json& j) {
    const Summary& s = m.summary;
    if (s.hasImpedance) {
        j["impedance"] = complexJson(s.impedanceR, s.impedanceX);
        j["swr"] = finiteOrNull(swr(s.impedanceR, s.impedanceX, m.referenceZ0()));
    }
    // The reference of every SWR: the deck's ZO card or the setting Z0.
    j["z0"] = m.referenceZ0();
    j["z0Source"] = m.referenceZ0Source();
    if (s.hasCurrent) {
        j["voltage"] = complexJson(s.voltageR, s.voltageX);
        j["current"] = complexJson(s.currentR, s.currentX);
    }
    if (s.hasPower) {
        j["inputPower"] = finiteOrNull(s.inputPower);
        j["radiatedPower"] = finiteOrNull(s.radiatedPower);
        j["structureLoss"] = finiteOrNull(s.structureLoss);
        j["networkLoss"] = finiteOrNull(s.networkLoss);
        j["efficiency"] = finiteOrNull(s.efficiency);
    }
    if (s.hasAverageGain) j["averageGain"] = finiteOrNull(s.averageGain);
    if (s.hasRunTime) j["runTime"] = s.runTimeSeconds;
    j["patternMax"] = patternMaxJson(m);
    j["maxGain"] = largestGain(m);
    j["maxSurfaceField"] = largestSurfaceField(m);
    j["sweep"] = sweepRows(m);
    if (!j["sweep"].empty()) j["sweepMatch"] = matchJson(modelSwrMatch(m));
    if (m.measured.loaded()) j["measured"] = measuredJson(m);
    j["nearFieldCount"] = s.nearFieldCount;
    if (s.nearFieldCount > 0)
        j["nearFieldMax"] = finiteList(s.nearFieldMax.data() + 1, s.nearFieldMax.data() + s.nearFieldMax.size());
    j["engineErrors"] = s.engineErrors;
    // Whether the numbers can be trusted: how the engine ended, and how much
    // of its report was error lines or values it could not compute.
    j["engine"] = {{"exitStatus", m.engineExitStatus >= 0 ? nlohmann::json(m.engineExitStatus) : nullptr},
                   {"errorLines", s.engineErrorLines},
                   {"nanValues", s.invalidValues}};
}

// A number with a fixed count of decimals, through the shared number
// pictures (locale-free); an infinite SWR reads "inf".
std::string fixed(double v, int decimals) {
    if (!std::isfinite(v)) return v < 0 ? "-inf" : "inf";
    return formatPicture(v, "0." + std::string(static_cast<size_t>(decimals), '0'));
}

// A JSON number of the summary, or "-" where the engine gave none.
std::string fixedOrBlank(const nlohmann::json& v, int decimals) {
    return v.is_number() ? fixed(v.get<double>(), decimals) : std::string("-");
}

// One field of the main window: its caption, text and unit.
void printField(std::ostream& out, const SummaryField& f) {
    std::string caption = f.shownCaption();
    if (caption.size() < 16) caption.resize(16, ' ');
    out << caption << ": " << f.text << (f.unit.empty() || f.text.empty() ? "" : " " + f.unit)
        << (f.warning ? "  (!)" : "") << '\n';
}

void printFilled(std::ostream& out, const std::vector<SummaryField>& fields) {
    for (const SummaryField& f : fields)
        if (!f.text.empty()) printField(out, f);
}

// What the main window does not show: the SWR, the strongest direction, the
// sweep rows and the near-field and error counts.
void printResults(const Model& m, std::ostream& out) {
    const Summary& s = m.summary;
    if (s.hasImpedance && !isMissing(s.impedanceR) && !isMissing(s.impedanceX))
        out << "SWR (" << formatSignificant(m.referenceZ0(), 6)
            << " ohm)    : " << fixed(swr(s.impedanceR, s.impedanceX, m.referenceZ0()), 2) << '\n';
    nlohmann::json gain = largestGain(m);
    if (!gain.is_null() && gain["gain"].is_number())
        out << "Max gain        : " << fixed(gain["gain"].get<double>(), 2) << " dBi at theta "
            << trim(str(gain["theta"].get<double>())) << ", phi " << trim(str(gain["phi"].get<double>())) << '\n';
    nlohmann::json field = largestSurfaceField(m);
    if (!field.is_null())
        out << "Max field       : " << formatPicture(field["field"].get<double>(), "0.0###e-0") << " V/m at height "
            << trim(str(field["height"].get<double>())) << " m, phi " << trim(str(field["phi"].get<double>())) << '\n';
    if (s.sourceInputs.size() >= 2)
        for (const SourceInput& in : s.sourceInputs)
            out << "Source          : " << sourceText(m.referenceZ0(), m, in) << '\n';
    nlohmann::json rows = sweepRows(m);
    if (!rows.empty()) out << "Sweep           :  freq MHz        R        X    gain\n";
    for (const auto& r : rows)
        out << "                  " << fixed(r["frequency"].get<double>(), 4) << ' ' << fixedOrBlank(r["R"], 2) << ' '
            << fixedOrBlank(r["X"], 2) << ' ' << fixedOrBlank(r["gain"], 2) << '\n';
    if (s.nearFieldCount > 0) out << "Near-field pts  : " << s.nearFieldCount << '\n';
    for (const auto& e : s.engineErrors) out << e << '\n';
}

} // namespace

nlohmann::json summaryJson(const Model& m, const BatchResult& result) {
    const Summary& s = m.summary;
    nlohmann::json j;
    j["schema"] = kJsonSchema;
    j["fileName"] = m.modelName + m.modelExt;
    j["reportFile"] = result.loadedFrom == "report" ? nlohmann::json(s.fileName) : nullptr;
    j["loadedFrom"] = result.loadedFrom.empty() ? nlohmann::json(nullptr) : nlohmann::json(result.loadedFrom);
    j["modelDir"] = m.modelDir;
    j["modelName"] = m.modelName;
    j["modelExt"] = m.modelExt;
    j["frequencyMHz"] = m.frequencyMHz;
    j["wavelength"] = s.wavelength > 0 ? nlohmann::json(s.wavelength) : nullptr;
    j["wireCount"] = s.wires;
    j["segments"] = s.segments;
    j["comments"] = s.comments;
    j["environment"] = s.environment;
    j["groundType"] = m.groundType;
    j["groundRadials"] = m.groundRadials;
    j["groundEpsilon"] = groundConstant(m, m.groundEpsilon);
    j["groundSigma"] = groundConstant(m, m.groundSigma);
    j["groundSymmetry"] = m.groundSymmetry;
    j["extendedKernel"] = m.extendedKernel != 0;
    j["requestMode"] = m.requestMode == kNoRequest ? nlohmann::json(nullptr) : nlohmann::json(m.requestMode);
    j["requestXnda"] = m.requestMode >= 0 ? nlohmann::json(m.requestXnda) : nullptr;
    j["requestGrid"] = requestGridJson(m);
    j["patternLines"] = s.patternLines;
    // The main window's field is the report's loop count as text; a deck fills none.
    j["frequencySteps"] = s.frequencySteps.empty() ? nlohmann::json(nullptr) : nlohmann::json(m.freqCount);
    j["freqCount"] = m.freqCount;
    j["patternCount"] = m.patternCount;
    j["extentX"] = extentJson(m.extentX);
    j["extentY"] = extentJson(m.extentY);
    j["extentZ"] = extentJson(m.extentZ);
    j["modelExtent"] = extentJson(m.modelExtent);
    j["sources"] = sources(m);
    j["loads"] = loads(m);
    j["transLineCount"] = m.transLineCount;
    addResults(m, j);
    j["validation"] = {{"ok", result.validationOk}, {"findings", result.findings}};
    j["messages"] = result.messages;
    if (!result.view.is_null()) j["view"] = result.view;
    if (!result.optimizer.is_null()) j["optimizer"] = result.optimizer;
    if (result.run) {
        j["parts"] = result.run->parts;
        j["reused"] = result.run->reused;
    }
    return j;
}

void printSummary(const Model& m, const BatchResult& result, std::ostream& out) {
    const Summary& s = m.summary;
    for (const SummaryField& f : modelFields(m.summary)) printField(out, f);
    out << "Wires           : " << s.wires << '\n';
    out << "Comment:\n";
    for (const auto& c : s.comments) out << "  " << c << '\n';
    out << "Environment:\n";
    for (const auto& e : s.environment) out << "  " << e << '\n';
    const std::vector<GridRow> grid = requestGrid(m.summary);
    if (!grid.empty()) out << "Request         : start, stop, count, step\n";
    for (const GridRow& r : grid)
        out << "  " << trim(r.caption) << ": " << r.start << ", " << r.stop << ", " << r.count << ", " << r.step
            << '\n';
    printFilled(out, sourceFields(m.summary, m.referenceZ0(), m));
    printFilled(out, powerFields(m.summary));
    printResults(m, out);
    out << "Extents (m)     : x " << formatPicture(m.extentX, "0.0##") << "  y " << formatPicture(m.extentY, "0.0##")
        << "  z " << formatPicture(m.extentZ, "0.0##") << '\n';
    out << "Validation      : " << (result.validationOk ? "no errors" : "errors found") << '\n';
    for (const auto& f : result.findings) out << "  " << f << '\n';
}

} // namespace wavra
