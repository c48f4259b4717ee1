// What a reader of outside text (a deck, an engine report, an expression, a
// Touchstone file) found wrong, handed back to its caller instead of shown:
// the caller decides what the user sees, through Ui.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "core/ui.h"

namespace wavra {

// How serious a problem is; it also picks the icon of its message box.
enum class Severity {
    Fatal,   // the read gave no result (the file cannot be opened, the report is incomplete): critical icon
    Warning, // part of the text was dropped or taken another way, said once: exclamation icon
    Error,   // an error in the text or the engine's own error line; the read goes on: no icon
    Note,    // how the text was taken (a file's byte-order mark); nothing is wrong: no icon
};

struct Diagnostic {
    Severity severity = Severity::Error;
    std::string text; // the message as specified, without its place
    int64_t line = 0; // line of the text read, from 1; 0 when no one line is to blame
    int column = 0;   // column in that line, from 1; 0 when not known
};

using Diagnostics = std::vector<Diagnostic>;

// Places the diagnostics of `list` from index `from` on, those a reader
// added while it read one line, on that line.
void setLine(Diagnostics& list, size_t from, int64_t line);

// "line 12: " + text, or the text alone when the line is 0.
std::string withLine(int64_t line, const std::string& text);

// The message of a diagnostic as the user reads it: withLine(line, text).
std::string shownText(const Diagnostic& diagnostic);
// Those of a list, in order.
std::vector<std::string> shownTexts(const Diagnostics& list);

// In the batch line's JSON a diagnostic is the text the user reads.
void to_json(nlohmann::json& json, const Diagnostic& diagnostic);

// Whether showDiagnostics puts "line N: " before a message whose line is
// known: messages whose specified text leaves no room for it (the engine
// report's) keep their line for the caller but show the text alone.
enum class LinePrefix { Shown, Omitted };

// Shows each diagnostic in order as a message box titled "wavra", with the
// icon of its severity.
void showDiagnostics(Ui& ui, const Diagnostics& list, LinePrefix prefix = LinePrefix::Shown);

} // namespace wavra
