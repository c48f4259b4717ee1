#include "editor/field_values.h"

#include <cmath>

#include "base/text.h"
#include "core/diagnostics.h"
#include "core/ui.h"
#include "deck/expression.h"
#include "deck/writer.h"
#include "editor/card_line.h"

namespace wavra {

void defineDeckSymbols(Model& model, const std::vector<std::string>& lines) {
    std::string symbols;
    for (const std::string& line : lines) {
        const std::string code = cardCode(line);
        if (code == "EN") break;
        if (code == "SY") symbols += line + "\n";
    }
    // The deck's errors are shown when it is read or calculated.
    Diagnostics shownElsewhere;
    convertDeck(model, model, model, shownElsewhere, symbols);
}

namespace {

// Up to five decimals, or an exponent for very small and large values.
std::string shortNumber(double v) {
    const double a = std::fabs(v);
    if (a == 0 || (a >= 1e-3 && a < 1e6)) return formatPicture(v, "0.#####");
    return formatPicture(v, "0.####e-0");
}

} // namespace

std::optional<FieldValue> evaluateField(Model& model, std::string_view text) {
    if (trim(text).empty()) return std::nullopt;
    double value = 0;
    const int kind = classifyNumber(text, value);
    if (kind == -1) return std::nullopt;
    FieldValue result;
    result.ok = true;
    if (kind == 0) {
        Diagnostics found;
        const int16_t count = model.constCount;
        // A name the table does not hold is only reported by the parser,
        // which then goes on with 0: any message means no value.
        result.ok = tryEvaluate(model, found, text, value) && found.empty();
        model.constCount = count;
        if (!result.ok) {
            result.text = found.empty() ? "The field does not evaluate." : found.front().text;
            return result;
        }
    }
    result.text = shortNumber(value);
    return result;
}

std::string labelUnit(std::string_view label) {
    const size_t open = label.rfind('(');
    const size_t close = label.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return {};
    return trim(label.substr(open + 1, close - open - 1));
}

} // namespace wavra
