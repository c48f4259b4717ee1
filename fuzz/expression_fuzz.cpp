// Feeds arbitrary bytes to the expression parser and symbol table, line by
// line: a line with "=" is a symbol definition (as on an SY card), any other
// line is evaluated as a deck field. Beyond not crashing or hanging, every
// result must be a finite number, a failed evaluation must give 0 with a
// message, and the table must stay within its capacity.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "deck/expression.h"

using namespace wavra;

namespace {

void evaluateField(Model& model, std::string_view text) {
    Diagnostics found;
    double value = -1;
    const bool ok = tryEvaluate(model, found, text, value);
    if (!std::isfinite(value)) std::abort();
    if (!ok && (value != 0 || found.empty())) std::abort();
    double unitValue = 0;
    const int kind = classifyNumber(text, unitValue);
    if (kind < -1 || kind > 1 || !std::isfinite(unitValue)) std::abort();
}

void defineFromLine(Model& model, std::string_view line, size_t equals) {
    Diagnostics found;
    defineConstant(model, found, line.substr(0, equals), line.substr(equals + 1));
    if (model.constCount < 0 || model.constCount > model.constCapacity) std::abort();
    const int row = constantIndex(model, line.substr(0, equals));
    if (row > 0 && !std::isfinite(model.constValues[row])) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Model model;
    initConstantTable(model, model);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals > 0 && line[equals - 1] != '<' && line[equals - 1] != '>')
            defineFromLine(model, line, equals);
        else evaluateField(model, line);
    }
    return 0;
}
