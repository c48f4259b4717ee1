// The value of a symbolic entry box, worked out with the SY variables of the
// deck being edited, so the editor can show "lam/4" as 5.3 m beside its
// label and mark a field that does not evaluate.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"

namespace wavra {

// Fills the model's symbol table with the fixed constants and the SY cards of
// the deck lines, in card order up to EN, as the engine input writer does.
void defineDeckSymbols(Model& model, const std::vector<std::string>& lines);

struct FieldValue {
    bool ok = false;
    std::string text; // the value, or the parser's message when !ok
};

// The value of a box holding a number with a unit suffix or an expression;
// nullopt for an empty box and a plain number. The symbol table is left as
// it was: a name the parser does not know is not added to it.
std::optional<FieldValue> evaluateField(Model& model, std::string_view text);

// The unit a label names in its last parentheses ("X1 (m)" gives "m"); ""
// when none.
std::string labelUnit(std::string_view label);

} // namespace wavra
