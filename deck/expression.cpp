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
// table was left in, and gives the number of rows safely usable.
int usableCount(const Symbols& symbols) {
    const int rows =
        static_cast<int>(std::min({symbols.constNames.size(), symbols.constValues.size(), symbols.constFlags.size()}));
    return std::clamp<int>(symbols.constCount, 0, std::max(0, rows - 1));
}

void ensureTable(Symbols& symbols) {
    // Rows counted but never allocated hold no names: they are not kept.
    const int usable = usableCount(symbols);
    if (symbols.constCapacity < 0) symbols.constCapacity = 0;
    const size_t rows = static_cast<size_t>(symbols.constCapacity) + 1;
    if (symbols.constNames.size() < rows) symbols.constNames.resize(rows);
    if (symbols.constValues.size() < rows) symbols.constValues.resize(rows);
    if (symbols.constFlags.size() < rows) symbols.constFlags.resize(rows);
    symbols.constCount = static_cast<int16_t>(usable);
}

// Appends an entry; false when the table is full.
bool addEntry(Symbols& symbols, const std::string& key, double value, int16_t flag) {
    ensureTable(symbols);
    if (symbols.constCount >= symbols.constCapacity) return false;
    const int row = ++symbols.constCount;
    symbols.constNames[row] = key;
    symbols.constValues[row] = value;
    symbols.constFlags[row] = flag;
    return true;
}

} // namespace

void initConstantTable(Symbols& symbols, Calculation& calculation) {
    symbols.constCount = 0;
    calculation.optimizerVarCount = 0;
    symbols.constCapacity = kTableCapacity;
    symbols.constNames.assign(kTableCapacity + 1, std::string());
    symbols.constValues.assign(kTableCapacity + 1, 0.0);
    symbols.constFlags.assign(kTableCapacity + 1, 0);
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

int constantIndex(const Symbols& symbols, std::string_view name) {
    const std::string key = tableKey(name);
    const int count = usableCount(symbols);
    for (int row = 1; row <= count; ++row)
        if (symbols.constNames[row] == key) return row;
    return 0;
}

void defineConstant(Symbols& symbols, Diagnostics& found, std::string_view name, std::string_view valueText) {
    double value = 0;
    const int kind = classifyNumber(valueText, value);
    if (kind == -1) value = readNumber(valueText);
    else if (kind == 0) value = evaluateExpression(symbols, found, valueText);
    // A value written as a number (with or without unit) is one the
    // optimizer may vary; a computed one is not.
    const int16_t flag = kind == 0 ? 0 : -1;
    if (const int row = constantIndex(symbols, name); row > 0) {
        symbols.constValues[row] = value;
        symbols.constFlags[row] = flag;
        return;
    }
    if (!addEntry(symbols, tableKey(name), value, flag))
        found.push_back({Severity::Error, "Parser: No more room in constant table."});
}

Diagnostics loadConstantsFile(Symbols& symbols, const ModelFile& file) {
    ensureTable(symbols);
    Diagnostics found;
    std::vector<std::string> lines;
    if (readLines(file.installDir + "exe/constant.ini", lines)) {
        for (const std::string& line : lines) {
            const std::string valueText = findField(line, -2, "=").value_or("*");
            if (trim(valueText).empty() || valueText == "*") continue;
            const std::string name = findField(line, 1, "=").value_or("*");
            if (trim(name).empty()) continue;
            defineConstant(symbols, found, name, valueText);
            // Fixed constants are never varied by the optimizer.
            if (const int row = constantIndex(symbols, name); row > 0) symbols.constFlags[row] = 0;
        }
    }
    symbols.baseConstantCount = symbols.constCount;
    return found;
}

bool findConstantValue(const Symbols& symbols, std::string_view name, double& value) {
    const std::string key = tableKey(name);
    if (unitFactor(key, value)) return true;
    const int row = constantIndex(symbols, key);
    if (row == 0) return false;
    value = symbols.constValues[row];
    return true;
}

bool reportMissingConstant(Symbols& symbols, Diagnostics& found, std::string_view name) {
    const std::string key = tableKey(name);
    found.push_back({Severity::Error, "Parser: Constant '" + messageText(key) + "' not found."});
    return addEntry(symbols, key, 0.0, 0);
}

double lookupConstant(Symbols& symbols, Diagnostics& found, std::string_view name) {
    double value = 0;
    if (findConstantValue(symbols, name, value)) return value;
    reportMissingConstant(symbols, found, name);
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
