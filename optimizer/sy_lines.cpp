#include "optimizer/sy_lines.h"

#include "base/text.h"
#include "deck/expression.h"

namespace wavra {

namespace {

constexpr int kDigits = 10;
constexpr int kMaxDefinitions = 10;

// One "name = value" of an SY line.
struct Definition {
    std::string text; // as written, trimmed
    std::string name; // table key
    std::string value;
};

struct SyParts {
    std::vector<Definition> definitions;
    std::string rest;    // what follows the definitions read ("*..." and beyond)
    std::string comment; // from the apostrophe on
};

std::string key(std::string_view name) { return toLower(trim(name)); }

SyParts splitSy(std::string_view line) {
    SyParts parts;
    std::string_view body = line.size() > 2 ? line.substr(2) : std::string_view();
    if (const size_t quote = body.find('\''); quote != std::string_view::npos) {
        parts.comment = std::string(body.substr(quote));
        body = body.substr(0, quote);
    }
    size_t begin = 0;
    while (begin <= body.size() && static_cast<int>(parts.definitions.size()) < kMaxDefinitions) {
        const size_t comma = body.find(',', begin);
        const std::string text = trim(body.substr(begin, comma == std::string_view::npos ? body.npos : comma - begin));
        if (text.empty() || text[0] == '*') {
            parts.rest = trim(body.substr(begin));
            return parts;
        }
        const size_t equals = text.find('=');
        Definition d{text, key(text.substr(0, equals)),
                     equals == std::string::npos ? "" : trim(text.substr(equals + 1))};
        parts.definitions.push_back(std::move(d));
        if (comma == std::string_view::npos) return parts;
        begin = comma + 1;
    }
    if (begin < body.size()) parts.rest = trim(body.substr(begin));
    return parts;
}

int indexOf(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (key(names[i]) == name) return static_cast<int>(i);
    return -1;
}

bool readWritten(const std::string& text, WrittenValue& value) {
    double unitValue = 0;
    switch (classifyNumber(text, unitValue)) {
    case -1: value = {readNumber(text), ""}; return true;
    case 1: value = {readNumber(text.substr(0, text.size() - 2)), text.substr(text.size() - 2)}; return true;
    default: return false;
    }
}

} // namespace

bool isSyLine(std::string_view line) { return line.size() >= 2 && toUpper(line.substr(0, 2)) == "SY"; }

bool findWrittenValues(const std::vector<std::string>& lines, const std::vector<std::string>& names,
                       std::vector<WrittenValue>& values, std::string& problem) {
    values.assign(names.size(), {});
    std::vector<bool> found(names.size(), false);
    for (const auto& line : lines) {
        if (!isSyLine(line)) continue;
        for (const Definition& d : splitSy(line).definitions) {
            const int i = indexOf(names, d.name);
            if (i < 0 || found[static_cast<size_t>(i)]) continue;
            found[static_cast<size_t>(i)] = true;
            if (!readWritten(d.value, values[static_cast<size_t>(i)])) {
                problem = names[static_cast<size_t>(i)];
                return false;
            }
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!found[i]) {
            problem = names[i];
            return false;
        }
    }
    return true;
}

std::string valueText(double number) { return formatSignificant(number, kDigits); }

double heldValue(double number) { return readNumber(valueText(number)); }

std::string rewriteSyLine(std::string_view line, const std::vector<std::string>& names,
                          const std::vector<WrittenValue>& values) {
    if (!isSyLine(line)) return std::string(line);
    const SyParts parts = splitSy(line);
    bool changed = false;
    std::string joined;
    for (const Definition& d : parts.definitions) {
        if (!joined.empty()) joined += ", ";
        const int i = indexOf(names, d.name);
        if (i < 0) {
            joined += d.text;
            continue;
        }
        const WrittenValue& v = values[static_cast<size_t>(i)];
        joined += trim(d.text.substr(0, d.text.find('='))) + " = " + valueText(v.number) + v.unit;
        changed = true;
    }
    if (!changed) return std::string(line);
    std::string out = std::string(line.substr(0, 2)) + " " + joined;
    if (!parts.rest.empty()) out += ", " + parts.rest;
    if (!parts.comment.empty()) out += " " + parts.comment;
    return out;
}

std::vector<std::string> rewriteSyLines(const std::vector<std::string>& lines, const std::vector<std::string>& names,
                                        const std::vector<WrittenValue>& values) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& line : lines) out.push_back(rewriteSyLine(line, names, values));
    return out;
}

} // namespace wavra
