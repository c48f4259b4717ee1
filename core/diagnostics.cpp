#include "core/diagnostics.h"

namespace wavra {

namespace {

Icon iconOf(Severity severity) {
    switch (severity) {
    case Severity::Fatal: return Icon::Critical;
    case Severity::Warning: return Icon::Exclamation;
    case Severity::Error: break;
    }
    return Icon::None;
}

} // namespace

std::string withLine(int64_t line, const std::string& text) {
    return line > 0 ? "line " + std::to_string(line) + ": " + text : text;
}

void showDiagnostics(Ui& ui, const Diagnostics& list, LinePrefix prefix) {
    for (const Diagnostic& d : list)
        ui.message(prefix == LinePrefix::Shown ? withLine(d.line, d.text) : d.text, "wavra", iconOf(d.severity));
}

} // namespace wavra
