#include "app/batch_json.h"

#include <cstdio>

#include "core/text.h"

namespace wavra {

namespace {

nlohmann::json requestGrid(const Model& m) {
    nlohmann::json grid = nlohmann::json::array();
    for (const RequestRow& r : m.summary.requestRows)
        grid.push_back({{"axis", trim(r.label)},
                        {"start", r.start},
                        {"stop", r.stop},
                        {"count", r.count},
                        {"step", r.step}});
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
    j["requestGrid"] = requestGrid(m);
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
    j["validation"] = {{"ok", result.validationOk}, {"findings", result.findings}};
    j["messages"] = result.messages;
    return j;
}

void printSummary(const Model& m, const BatchResult& result, std::ostream& out) {
    const Summary& s = m.summary;
    out << "Filename        :" << s.fileName << '\n';
    out << "Frequency       : " << s.frequencyText << '\n';
    out << "Wavelength      : " << s.wavelengthText << (s.wavelengthText.empty() ? "" : " mtr") << '\n';
    out << "Nr of segments  : " << s.segments << " (" << m.wireCount << " wires)\n";
    out << "Pattern lines   : " << s.patternLines << '\n';
    out << "Frequency steps : " << s.frequencySteps << '\n';
    out << "Comment:\n";
    for (const auto& c : s.comments) out << "  " << c << '\n';
    out << "Environment:\n";
    for (const auto& e : s.environment) out << "  " << e << '\n';
    if (!s.requestRows.empty()) {
        out << "Request         :    start      stop  count      step\n";
        for (const RequestRow& r : s.requestRows) {
            char line[160];
            std::snprintf(line, sizeof line, "  %-14s: %9.4g %9.4g %6d %9.4g\n", r.label.c_str(), r.start, r.stop,
                          r.count, r.step);
            out << line;
        }
    }
    out << "Extents (m)     : x " << m.extentX << "  y " << m.extentY << "  z " << m.extentZ << '\n';
    out << "Validation      : " << (result.validationOk ? "no errors" : "errors found") << '\n';
    for (const auto& f : result.findings) out << "  " << f << '\n';
}

} // namespace wavra
