#include "app/batch_json.h"

#include <algorithm>
#include <cmath>

#include "core/reflection.h"
#include "core/text.h"
#include "present/summary_texts.h"
#include "present/sweep_graphs.h"

namespace wavra {

namespace {

nlohmann::json finiteOrNull(double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr); }

nlohmann::json requestGridJson(const Model& m) {
    nlohmann::json grid = nlohmann::json::array();
    for (const RequestRow& r : m.summary.requestRows)
        grid.push_back(
            {{"axis", trim(r.label)}, {"start", r.start}, {"stop", r.stop}, {"count", r.count}, {"step", r.step}});
    return grid;
}

nlohmann::json sources(const Model& m) {
    nlohmann::json list = nlohmann::json::array();
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
nlohmann::json largestGain(const Model& m) {
    if (m.requestMode == kNearRequest) return nullptr;
    const auto best = static_cast<size_t>(m.strongestPatternPoint());
    if (best == 0) return nullptr;
    return {{"gain", m.farFieldGains[best][kGainTotal]},
            {"theta", m.farFieldAngles[best][0]},
            {"phi", m.farFieldAngles[best][1]}};
}

nlohmann::json sweepRows(const Model& m) {
    nlohmann::json rows = nlohmann::json::array();
    const int count = std::min<int>(m.freqCount, m.freqCapacity());
    if (count < 2) return rows;
    for (size_t i = 1; i <= static_cast<size_t>(count); ++i)
        rows.push_back({{"frequency", m.sweepFreq[i]},
                        {"R", m.sweepR[i]},
                        {"X", m.sweepX[i]},
                        {"swr", finiteOrNull(swr(m.sweepR[i], m.sweepX[i], m.z0))},
                        {"gain", sweepHasGain(m) ? nlohmann::json(m.sweepGain[i]) : nlohmann::json(nullptr)}});
    return rows;
}

// The engine's results as the main window shows them.
void addResults(const Model& m, nlohmann::json& j) {
    const Summary& s = m.summary;
    if (s.hasImpedance) {
        j["impedance"] = {{"R", s.impedanceR}, {"X", s.impedanceX}};
        j["swr"] = finiteOrNull(swr(s.impedanceR, s.impedanceX, m.z0));
        j["z0"] = m.z0;
    }
    if (s.hasCurrent) {
        j["voltage"] = {{"R", s.voltageR}, {"X", s.voltageX}};
        j["current"] = {{"R", s.currentR}, {"X", s.currentX}};
    }
    if (s.hasPower) {
        j["inputPower"] = s.inputPower;
        j["radiatedPower"] = s.radiatedPower;
        j["structureLoss"] = s.structureLoss;
        j["networkLoss"] = s.networkLoss;
        j["efficiency"] = s.efficiency;
    }
    if (s.hasAverageGain) j["averageGain"] = s.averageGain;
    if (s.hasRunTime) j["runTime"] = s.runTimeSeconds;
    j["patternMax"] = std::vector<double>(m.patternMax.begin() + 1, m.patternMax.end());
    j["maxGain"] = largestGain(m);
    j["sweep"] = sweepRows(m);
    j["nearFieldCount"] = s.nearFieldCount;
    if (s.nearFieldCount > 0) j["nearFieldMax"] = std::vector<double>(s.nearFieldMax.begin() + 1, s.nearFieldMax.end());
    j["engineErrors"] = s.engineErrors;
}

// A number with a fixed count of decimals, through the shared number
// pictures (locale-free); an infinite SWR reads "inf".
std::string fixed(double v, int decimals) {
    if (!std::isfinite(v)) return v < 0 ? "-inf" : "inf";
    return formatPicture(v, "0." + std::string(static_cast<size_t>(decimals), '0'));
}

// One field of the main window: its caption, text and unit.
void printField(std::ostream& out, const SummaryField& f) {
    std::string caption = f.caption;
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
    if (s.hasImpedance)
        out << "SWR (" << m.z0 << " ohm)    : " << fixed(swr(s.impedanceR, s.impedanceX, m.z0), 2) << '\n';
    nlohmann::json gain = largestGain(m);
    if (!gain.is_null())
        out << "Max gain        : " << fixed(gain["gain"].get<double>(), 2) << " dBi at theta "
            << trim(str(gain["theta"].get<double>())) << ", phi " << trim(str(gain["phi"].get<double>())) << '\n';
    nlohmann::json rows = sweepRows(m);
    if (!rows.empty()) out << "Sweep           :  freq MHz        R        X    gain\n";
    for (const auto& r : rows)
        out << "                  " << fixed(r["frequency"].get<double>(), 4) << ' ' << fixed(r["R"].get<double>(), 2)
            << ' ' << fixed(r["X"].get<double>(), 2) << ' ' << fixed(r["gain"].get<double>(), 2) << '\n';
    if (s.nearFieldCount > 0) out << "Near-field pts  : " << s.nearFieldCount << '\n';
    for (const auto& e : s.engineErrors) out << e << '\n';
}

} // namespace

nlohmann::json summaryJson(const Model& m, const BatchResult& result) {
    const Summary& s = m.summary;
    nlohmann::json j;
    j["fileName"] = s.fileName.empty() ? s.fileName : s.fileName.substr(1);
    j["modelDir"] = m.modelDir;
    j["modelName"] = m.modelName;
    j["modelExt"] = m.modelExt;
    j["frequencyMHz"] = m.frequencyMHz;
    j["wavelength"] = s.wavelength;
    j["wireCount"] = m.wireCount;
    j["segments"] = s.segments;
    j["comments"] = s.comments;
    j["environment"] = s.environment;
    j["groundType"] = m.groundType;
    j["groundRadials"] = m.groundRadials;
    j["groundEpsilon"] = m.groundEpsilon;
    j["groundSigma"] = m.groundSigma;
    j["groundSymmetry"] = m.groundSymmetry;
    j["extendedKernel"] = m.extendedKernel != 0;
    j["requestMode"] = m.requestMode;
    j["requestXnda"] = m.requestXnda;
    j["requestGrid"] = requestGridJson(m);
    j["patternLines"] = s.patternLines;
    j["frequencySteps"] = s.frequencySteps;
    j["freqCount"] = m.freqCount;
    j["patternCount"] = m.patternCount;
    j["extentX"] = m.extentX;
    j["extentY"] = m.extentY;
    j["extentZ"] = m.extentZ;
    j["modelExtent"] = m.modelExtent;
    j["sources"] = sources(m);
    j["loads"] = loads(m);
    j["transLineCount"] = m.transLineCount;
    addResults(m, j);
    j["validation"] = {{"ok", result.validationOk}, {"findings", result.findings}};
    j["messages"] = result.messages;
    if (!result.view.is_null()) j["view"] = result.view;
    if (result.run) {
        j["parts"] = result.run->parts;
        j["reused"] = result.run->reused;
    }
    return j;
}

void printSummary(const Model& m, const BatchResult& result, std::ostream& out) {
    const Summary& s = m.summary;
    for (const SummaryField& f : modelFields(m)) printField(out, f);
    out << "Wires           : " << m.wireCount << '\n';
    out << "Comment:\n";
    for (const auto& c : s.comments) out << "  " << c << '\n';
    out << "Environment:\n";
    for (const auto& e : s.environment) out << "  " << e << '\n';
    const std::vector<GridRow> grid = requestGrid(m);
    if (!grid.empty()) out << "Request         : start, stop, count, step\n";
    for (const GridRow& r : grid)
        out << "  " << trim(r.caption) << ": " << r.start << ", " << r.stop << ", " << r.count << ", " << r.step
            << '\n';
    printFilled(out, sourceFields(m));
    printFilled(out, powerFields(m));
    printResults(m, out);
    out << "Extents (m)     : x " << formatPicture(m.extentX, "0.0##") << "  y " << formatPicture(m.extentY, "0.0##")
        << "  z " << formatPicture(m.extentZ, "0.0##") << '\n';
    out << "Validation      : " << (result.validationOk ? "no errors" : "errors found") << '\n';
    for (const auto& f : result.findings) out << "  " << f << '\n';
}

} // namespace wavra
