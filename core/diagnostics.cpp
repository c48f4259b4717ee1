#include "core/diagnostics.h"

#include <nlohmann/json.hpp>

namespace wavra {

namespace {

Icon iconOf(Severity severity) {
    switch (severity) {
    case Severity::Fatal: return Icon::Critical;
    case Severity::Warning: return Icon::Exclamation;
    case Severity::Error:
    case Severity::Note: break;
    }
    return Icon::None;
}

} // namespace

void setLine(Diagnostics& list, size_t from, int64_t line) {
    for (size_t i = from; i < list.size(); ++i) list[i].line = line;
}

std::string withLine(int64_t line, const std::string& text) {
    return line > 0 ? "line " + std::to_string(line) + ": " + text : text;
}

std::string shownText(const Diagnostic& diagnostic) { return withLine(diagnostic.line, diagnostic.text); }

std::vector<std::string> shownTexts(const Diagnostics& list) {
    std::vector<std::string> texts;
    texts.reserve(list.size());
    for (const Diagnostic& d : list) texts.push_back(shownText(d));
    return texts;
}

void to_json(nlohmann::json& json, const Diagnostic& diagnostic) { json = shownText(diagnostic); }

void showDiagnostics(Ui& ui, const Diagnostics& list, LinePrefix prefix) {
    for (const Diagnostic& d : list)
        ui.message(prefix == LinePrefix::Shown ? shownText(d) : d.text, "wavra", iconOf(d.severity));
}

} // namespace wavra
