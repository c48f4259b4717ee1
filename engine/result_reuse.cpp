#include "engine/result_reuse.h"

#include <filesystem>

#include "base/files.h"
#include "base/text.h"
#include "engine/content_hash.h"
#include "engine/engine_choice.h"
#include "engine/process.h"
#include "engine/report_keeping.h"

namespace wavra {

namespace {

constexpr std::string_view kKeyLine = "run ";
constexpr std::string_view kReportLine = "report ";
constexpr std::string_view kModelLine = "model ";
constexpr std::string_view kBytesLine = "bytes ";

// A path on one line: '%', CR and LF are written as %25, %0D and %0A.
std::string escaped(const std::string& path) {
    std::string text;
    for (char c : path) {
        if (c == '%') text += "%25";
        else if (c == '\n') text += "%0A";
        else if (c == '\r') text += "%0D";
        else text += c;
    }
    return text;
}

std::string unescaped(std::string_view text) {
    std::string path;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view code = text.substr(i, 3);
        if (code == "%25" || code == "%0A" || code == "%0D") {
            path += code == "%25" ? '%' : code == "%0A" ? '\n' : '\r';
            i += 2;
        } else {
            path += text[i];
        }
    }
    return path;
}

// The rest of `line` after `prefix`; nullopt when it starts otherwise.
std::optional<std::string_view> after(std::string_view line, std::string_view prefix) {
    if (line.substr(0, prefix.size()) != prefix) return std::nullopt;
    return line.substr(prefix.size());
}

} // namespace

ReportSource sourceOf(const std::string& modelPath, const std::string& modelBytes) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(modelPath, ec), ec);
    return {ec ? modelPath : full.string(), hashOf(modelBytes)};
}

std::string runKey(const Model& model, const std::string& deck) {
    const std::string engine = engineOf(model);
    ContentHash hash;
    hash.add(deck);
    hash.add(engine);
    hash.addFile(launcherPath(model, engine)); // the launcher the engine name links to
    if (engine == kLapackEngine) hash.addFile(launcherPath(model, "nec2c-lapack"));
    hash.addFile(findInPath("nec2c"));
    return hash.hex();
}

std::string runRecordFile(const std::string& report) { return sideFileName(report, ".hash"); }

std::string reportHashOf(const std::string& reportBytes) { return hashOf(reportBytes); }

std::string recordText(const RunRecord& r) {
    std::string text = std::string(kKeyLine) + r.runKey + "\n" + std::string(kReportLine) + r.reportHash + "\n";
    if (!r.source.modelPath.empty())
        text += std::string(kModelLine) + escaped(r.source.modelPath) + "\n" + std::string(kBytesLine) +
                r.source.modelHash + "\n";
    return text;
}

std::optional<RunRecord> parseRecord(const std::string& text) {
    std::vector<std::string_view> lines;
    forEachLine(text, [&](std::string_view line) {
        lines.push_back(line);
        return lines.size() < 4;
    });
    if (lines.size() < 2) return std::nullopt;
    const auto key = after(lines[0], kKeyLine);
    const auto report = after(lines[1], kReportLine);
    if (!key || !report) return std::nullopt;
    RunRecord record{std::string(*key), std::string(*report), {}};
    if (lines.size() < 4) return record;
    const auto model = after(lines[2], kModelLine);
    const auto bytes = after(lines[3], kBytesLine);
    if (model && bytes && !model->empty()) record.source = {unescaped(*model), std::string(*bytes)};
    return record;
}

std::optional<RunRecord> readRecord(const std::string& report) {
    std::string text;
    if (!readFileText(runRecordFile(report), text)) return std::nullopt;
    return parseRecord(text);
}

bool reusableReport(const std::string& report, const std::optional<RunRecord>& record, const std::string& key,
                    const ReportSource& source, std::string& bytes) {
    if (!record || record->runKey != key || source.modelPath.empty() || record->source.modelPath != source.modelPath ||
        record->source.modelHash != source.modelHash)
        return false;
    return readFileText(report, bytes) && reportTextComplete(bytes) && record->reportHash == reportHashOf(bytes);
}

} // namespace wavra
