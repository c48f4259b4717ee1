// The symbol table of symbolic variables: fixed constants from
// "exe/constant.ini", SY definitions of the current deck, and the unit names
// that expressions and numeric fields may carry.
#include "deck/expression.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/files.h"
#include "base/text.h"
#include "core/fields.h"

namespace wavra {

namespace {

constexpr int16_t kTableCapacity = 64;
constexpr size_t kMessageTextLimit = 60;

struct Unit {
    std::string_view name;
    double factor;
};

// Unit suffixes of numeric fields and unit names inside expressions; lengths
// end in metres, capacitances in farads, inductances in henries.
constexpr std::array<Unit, 9> kUnits{{{"cm", 0.01},
                                      {"mm", 0.001},
                                      {"in", 0.0254},
                                      {"ft", 0.3048},
                                      {"uf", 1e-6},
                                      {"uh", 1e-6},
                                      {"nf", 1e-9},
                                      {"nh", 1e-9},
                                      {"pf", 1e-12}}};

bool unitFactor(std::string_view name, double& factor) {
    // A double quote is the inch mark and an apostrophe the foot mark.
    if (name == "\"") name = "in";
    else if (name == "'") name = "ft";
    for (const Unit& unit : kUnits) {
        if (unit.name == name) {
            factor = unit.factor;
            return true;
        }
    }
    return false;
}

std::string tableKey(std::string_view name) { return toLower(trim(name)); }

// Makes sure the arrays can hold constCapacity rows, whatever state the
// model was left in, and gives the number of rows safely usable.
int usableCount(const Model& model) {
    const int rows =
        static_cast<int>(std::min({model.constNames.size(), model.constValues.size(), model.constFlags.size()}));
    return std::clamp<int>(model.constCount, 0, std::max(0, rows - 1));
}

void ensureTable(Model& model) {
    // Rows counted but never allocated hold no names: they are not kept.
    const int usable = usableCount(model);
    if (model.constCapacity < 0) model.constCapacity = 0;
    const size_t rows = static_cast<size_t>(model.constCapacity) + 1;
    if (model.constNames.size() < rows) model.constNames.resize(rows);
    if (model.constValues.size() < rows) model.constValues.resize(rows);
    if (model.constFlags.size() < rows) model.constFlags.resize(rows);
    model.constCount = static_cast<int16_t>(usable);
}

// Appends an entry; false when the table is full.
bool addEntry(Model& model, const std::string& key, double value, int16_t flag) {
    ensureTable(model);
    if (model.constCount >= model.constCapacity) return false;
    const int row = ++model.constCount;
    model.constNames[row] = key;
    model.constValues[row] = value;
    model.constFlags[row] = flag;
    return true;
}

} // namespace

void initConstantTable(Model& model) {
    model.constCount = 0;
    model.optimizerVarCount = 0;
    model.constCapacity = kTableCapacity;
    model.constNames.assign(kTableCapacity + 1, std::string());
    model.constValues.assign(kTableCapacity + 1, 0.0);
    model.constFlags.assign(kTableCapacity + 1, 0);
}

int classifyNumber(std::string_view text, double& value) {
    if (isNumeric(text)) return -1;
    value = 0;
    const std::string t = trim(text);
    if (t.size() <= 2) return 0;
    const std::string_view number = std::string_view(t).substr(0, t.size() - 2);
    double factor = 0;
    if (!unitFactor(toLower(t.substr(t.size() - 2)), factor) || !isNumeric(number)) return 0;
    value = readNumber(number) * factor;
    return 1;
}

int constantIndex(const Model& model, std::string_view name) {
    const std::string key = tableKey(name);
    const int count = usableCount(model);
    for (int row = 1; row <= count; ++row)
        if (model.constNames[row] == key) return row;
    return 0;
}

void defineConstant(Model& model, Diagnostics& found, std::string_view name, std::string_view valueText) {
    double value = 0;
    const int kind = classifyNumber(valueText, value);
    if (kind == -1) value = readNumber(valueText);
    else if (kind == 0) value = evaluateExpression(model, found, valueText);
    // A value written as a number (with or without unit) is one the
    // optimizer may vary; a computed one is not.
    const int16_t flag = kind == 0 ? 0 : -1;
    if (const int row = constantIndex(model, name); row > 0) {
        model.constValues[row] = value;
        model.constFlags[row] = flag;
        return;
    }
    if (!addEntry(model, tableKey(name), value, flag))
        found.push_back({Severity::Error, "Parser: No more room in constant table."});
}

Diagnostics loadConstantsFile(Model& model) {
    ensureTable(model);
    Diagnostics found;
    std::vector<std::string> lines;
    if (readLines(model.installDir + "exe/constant.ini", lines)) {
        for (const std::string& line : lines) {
            const std::string valueText = findField(line, -2, "=").value_or("*");
            if (trim(valueText).empty() || valueText == "*") continue;
            const std::string name = findField(line, 1, "=").value_or("*");
            if (trim(name).empty()) continue;
            defineConstant(model, found, name, valueText);
            // Fixed constants are never varied by the optimizer.
            if (const int row = constantIndex(model, name); row > 0) model.constFlags[row] = 0;
        }
    }
    model.baseConstantCount = model.constCount;
    return found;
}

double evaluateAndShow(Model& model, Ui& ui, std::string_view text) {
    Diagnostics found;
    const double value = evaluateExpression(model, found, text);
    showDiagnostics(ui, found);
    return value;
}

void defineAndShow(Model& model, Ui& ui, std::string_view name, std::string_view valueText) {
    Diagnostics found;
    defineConstant(model, found, name, valueText);
    showDiagnostics(ui, found);
}

bool findConstantValue(const Model& model, std::string_view name, double& value) {
    const std::string key = tableKey(name);
    if (unitFactor(key, value)) return true;
    const int row = constantIndex(model, key);
    if (row == 0) return false;
    value = model.constValues[row];
    return true;
}

bool reportMissingConstant(Model& model, Diagnostics& found, std::string_view name) {
    const std::string key = tableKey(name);
    found.push_back({Severity::Error, "Parser: Constant '" + messageText(key) + "' not found."});
    return addEntry(model, key, 0.0, 0);
}

double lookupConstant(Model& model, Diagnostics& found, std::string_view name) {
    double value = 0;
    if (findConstantValue(model, name, value)) return value;
    reportMissingConstant(model, found, name);
    return 0;
}

std::string messageText(std::string_view text) {
    std::string shown;
    size_t i = 0;
    while (i < text.size() && shown.size() < kMessageTextLimit) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += text[i++];
        } else if (const size_t length = byte >= 0x80 ? utf8SequenceLength(text.substr(i)) : 0; length > 0) {
            shown += text.substr(i, length);
            i += length;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
            ++i;
        }
    }
    if (i < text.size()) shown += "...";
    return shown;
}

} // namespace wavra
