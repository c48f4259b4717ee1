#include "editor/ant_import.h"

#include <array>
#include <cmath>
#include <map>

#include "base/text.h"
#include "deck/expression.h"

namespace wavra {

namespace {

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string trimRight(std::string_view s) {
    const size_t end = s.find_last_not_of(" \t\r");
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

// The fields of an .ant line: blanks, commas and TABs separate them, and an
// apostrophe is the foot mark, not a comment.
std::vector<std::string> fieldsOf(const std::string& text) {
    std::vector<std::string_view> views;
    splitFields(text, "", true, views);
    std::vector<std::string> fields;
    for (std::string_view v : views) fields.push_back(v.size() > 1 ? trim(v) : std::string(v));
    return fields;
}

// Field n (from 1), "" when missing.
std::string field(const std::vector<std::string>& fields, size_t n) {
    return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string();
}

// The unit of a wire header line.
std::string headerUnit(const std::string& lower) {
    if (contains(lower, "feet")) return "ft";
    if (contains(lower, "inch")) return "in";
    if (contains(lower, "cm")) return "cm";
    if (contains(lower, "mm")) return "mm";
    return {};
}

double metresPerUnit(const std::string& unit) {
    if (unit == "in") return 0.0254;
    if (unit == "ft") return 0.3048;
    if (unit == "cm") return 0.01;
    if (unit == "mm") return 0.001;
    return 1;
}

std::string joinFields(std::vector<std::string> fields) {
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    std::string line;
    for (size_t k = 0; k < fields.size(); ++k) line += (k > 0 ? "\t" : "") + fields[k];
    return line;
}

// The text before a ";" and the trimmed text after it.
struct AntLine {
    std::string text, lower, comment;
};

AntLine splitAntLine(const std::string& raw) {
    AntLine line;
    const size_t semicolon = raw.find(';');
    line.text = trimRight(raw.substr(0, semicolon));
    if (semicolon != std::string::npos) line.comment = trim(trimRight(raw.substr(semicolon + 1)));
    line.lower = toLower(line.text);
    return line;
}

// The model unit, known before the symbols are read so that a symbol with a
// unit of its own is scaled like a coordinate: the unit of the first wire
// header before the source block.
std::string modelUnit(const std::vector<std::string>& input) {
    for (size_t i = 2; i < input.size(); ++i) {
        const std::string lower = splitAntLine(input[i]).lower;
        if (contains(lower, "source")) break;
        if (contains(lower, "wire")) return headerUnit(lower);
    }
    return {};
}

class AntConverter {
public:
    AntConverter(Symbols& symbols, Diagnostics& found, std::string symbolUnit)
        : m_symbols(symbols), m_found(found), m_symbolUnit(std::move(symbolUnit)) {}

    void convert(const std::string& raw);
    std::vector<std::string> finish();

private:
    Symbols& m_symbols;
    Diagnostics& m_found;
    std::string m_symbolUnit;
    std::vector<std::string> m_out;
    int m_lineNumber = 0;
    bool m_free = false;
    bool m_symmetric = false;
    double m_frequency = 0;
    std::string m_unit;
    int m_wiresLeft = -1, m_sourcesLeft = -1, m_loadsLeft = -1;
    int m_tag = 0;
    std::array<bool, 3> m_shift{};
    bool m_geometryEnded = false;
    bool m_trailer = false;
    std::map<int, int> m_segments; // tag -> segments of the GW line written
    int m_lastSegments = 1;
    std::string m_suffix;     // the comment of the line being converted
    bool m_wroteCard = false; // the line gave a card of its own

    void modelLine(const AntLine& line, const std::string& raw);
    void symbols(const AntLine& line);
    void shift(const std::vector<std::string>& fields);
    void wire(const std::vector<std::string>& fields);
    void sourceOrLoad(const std::vector<std::string>& fields);
    void source(const std::vector<std::string>& fields, const std::string& tag, int segment);
    void load(const std::vector<std::string>& fields, const std::string& tag, int segment);
    void endGeometry();
    void endModel();
    double value(const std::string& text);
    // A card of the line being converted, with its comment.
    void write(const std::string& line) {
        m_out.push_back(line + m_suffix);
        m_wroteCard = true;
    }
};

void AntConverter::convert(const std::string& raw) {
    ++m_lineNumber;
    if (m_trailer) {
        m_out.push_back("'" + raw);
        return;
    }
    const AntLine line = splitAntLine(raw);
    m_suffix = line.comment.empty() ? std::string() : "\t' " + line.comment;
    m_wroteCard = false;
    if (m_lineNumber == 1) {
        // The whole title: a ";" in it is text, not a comment.
        m_out.push_back("CE " + trimRight(raw));
        return;
    }
    if (m_lineNumber == 2) {
        m_free = field(fieldsOf(line.lower), 1) == "free";
        m_symmetric = contains(line.lower, "sym");
    } else if (!line.text.empty()) {
        modelLine(line, raw);
    }
    // A line that gave no card keeps its comment as a comment line.
    if (!m_wroteCard && !m_trailer && !line.comment.empty()) m_out.push_back("' " + line.comment);
}

// The count that opens a block of wires, sources or loads, cut to its whole
// part; a count beyond the range of int (a mistyped header) is held at the
// nearest end instead of overflowing.
int blockCount(const std::vector<std::string>& fields) { return toInt32(std::trunc(readNumber(field(fields, 1)))); }

void AntConverter::modelLine(const AntLine& line, const std::string& raw) {
    const std::vector<std::string> fields = fieldsOf(line.text);
    const bool mhz = contains(line.lower, "mhz");
    if (m_frequency == 0 && (mhz || contains(line.lower, "ghz"))) {
        m_frequency = readNumber(field(fields, 1)) * (mhz ? 1 : 1000);
    } else if (contains(line.lower, "=") && !contains(line.lower, "q=")) {
        symbols(line);
    } else if (m_sourcesLeft < 0 && contains(line.lower, "wire")) {
        m_wiresLeft = blockCount(fields);
        m_unit = headerUnit(line.lower);
    } else if (m_wiresLeft > 0) {
        if (contains(line.lower, "shift")) shift(fields);
        else wire(fields);
    } else if (m_sourcesLeft < 0 && contains(line.lower, "source")) {
        m_sourcesLeft = blockCount(fields);
        endGeometry();
    } else if (m_loadsLeft < 0 && contains(line.lower, "load")) {
        m_loadsLeft = blockCount(fields);
        endGeometry();
    } else if (m_sourcesLeft > 0 || m_loadsLeft > 0) {
        sourceOrLoad(fields);
    } else if (m_sourcesLeft == 0 && m_loadsLeft <= 0) {
        // The first line that is none of the above once the source block
        // and the load block are done ends the model.
        endModel();
        m_out.push_back("'" + raw);
        m_trailer = true;
    }
}

// "name = value", several separated by commas: the values in the deck's
// units, written as an SY card and stored for the lines that follow.
void AntConverter::symbols(const AntLine& line) {
    std::vector<std::string_view> definitions;
    splitFields(line.text, ",", true, definitions);
    std::string card;
    for (std::string_view definition : definitions) {
        const size_t eq = definition.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string name = trim(definition.substr(0, eq));
        const std::string valueText = convertUnits(trim(definition.substr(eq + 1)), m_symbolUnit);
        defineConstant(m_symbols, m_found, name, valueText);
        card += (card.empty() ? "" : ", ") + name + "=" + valueText;
    }
    if (!card.empty()) write("SY " + card);
}

void AntConverter::shift(const std::vector<std::string>& fields) {
    const std::string axis = toLower(field(fields, 2));
    const size_t k = axis == "x" ? 0 : axis == "y" ? 1 : axis == "z" ? 2 : 3;
    if (k > 2) return;
    m_shift[k] = true;
    const std::string amount = field(fields, 3);
    write("SY d" + axis + "=" + (amount.empty() ? std::string("0") : convertUnits(amount, m_unit)));
}

void AntConverter::wire(const std::vector<std::string>& fields) {
    --m_wiresLeft;
    std::vector<std::string> values(7);
    for (size_t k = 0; k < 7; ++k) values[k] = convertUnits(field(fields, k + 2), m_unit);
    const double count = value(field(fields, 1));
    int segments = 0;
    if (count == 1) {
        double squared = 0;
        for (size_t axis = 0; axis < 3; ++axis) {
            const double d = (value(values[axis + 3]) - value(values[axis])) * metresPerUnit(m_unit);
            squared += d * d;
        }
        segments = automaticSegments(std::sqrt(squared), m_frequency);
    } else {
        segments = toInt16(std::fabs(count));
    }
    static const std::array<const char*, 3> shifts{"+dx", "+dy", "+dz"};
    for (size_t axis = 0; axis < 3; ++axis) {
        if (!m_shift[axis]) continue;
        values[axis] += shifts[axis];
        values[axis + 3] += shifts[axis];
    }
    ++m_tag;
    m_segments[m_tag] = segments;
    m_lastSegments = segments;
    values.insert(values.begin(), {"GW", formatPicture(m_tag, "###0"), formatPicture(segments, "##0")});
    write(joinFields(values));
}

void AntConverter::sourceOrLoad(const std::vector<std::string>& fields) {
    const int tag = toInt16(readNumber(field(fields, 2)));
    const std::string position = toLower(field(fields, 3));
    int segment = position == "end1" ? 1 : m_lastSegments;
    if (const auto wire = m_segments.find(tag); wire != m_segments.end()) {
        if (position == "center") segment = wire->second / 2 + 1;
        else if (position != "end1") segment = wire->second;
    }
    const std::string tagText = formatPicture(tag, "###0");
    if (m_sourcesLeft > 0) source(fields, tagText, segment);
    else load(fields, tagText, segment);
}

void AntConverter::source(const std::vector<std::string>& fields, const std::string& tag, int segment) {
    --m_sourcesLeft;
    const std::string magnitude = field(fields, 4), phase = field(fields, 5);
    const double m = magnitude.empty() ? 1 : value(magnitude);
    const double angle = (phase.empty() ? 0 : value(phase)) * Model::degToRad;
    auto part = [](double v) { return formatPicture(v, "0.####"); };
    write(joinFields(
        {"EX", "0", tag, formatPicture(segment, "##0"), "00", part(m * std::cos(angle)), part(m * std::sin(angle))}));
}

// A parallel RLC load on one segment from up to three value/unit pairs.
void AntConverter::load(const std::vector<std::string>& fields, const std::string& tag, int segment) {
    --m_loadsLeft;
    std::string r = "0", l = "0", c = "0";
    for (size_t k = 4; k <= 8; k += 2) {
        const std::string amount = field(fields, k), unit = toLower(field(fields, k + 1));
        if (amount.empty()) continue;
        if (unit.rfind("oh", 0) == 0) r = amount;
        else if (unit.rfind("uh", 0) == 0) l = amount + " uh";
        else if (unit.rfind("pf", 0) == 0) c = amount + " pf";
    }
    write(joinFields({"LD", "1", tag, formatPicture(segment, "##0"), "0", r, l, c}));
}

void AntConverter::endGeometry() {
    if (m_geometryEnded) return;
    m_geometryEnded = true;
    if (m_symmetric) m_out.push_back(joinFields({"GX", "1", "010"}));
    if (!m_unit.empty()) m_out.push_back(joinFields({"GS", "0", "0", m_unit}));
    m_out.push_back(joinFields({"GE", formatPicture(m_free ? 0 : 1, "#0")}));
}

void AntConverter::endModel() {
    endGeometry();
    if (m_free) m_out.push_back(joinFields({"GN", "-1"}));
    else m_out.push_back(joinFields({"GN", "0", "0", "0", "0", "13", ".005"}));
    if (m_frequency > 0) m_out.push_back(joinFields({"FR", "0", "1", "0", "0", str(m_frequency)}));
    m_out.push_back("EN");
}

std::vector<std::string> AntConverter::finish() {
    // A file that ends inside the model still gets its ground, frequency
    // and end cards, so the deck runs.
    if (!m_trailer) endModel();
    m_out.emplace_back();
    return std::move(m_out);
}

double AntConverter::value(const std::string& text) {
    if (trim(text).empty()) return 0;
    double v = 0;
    const int kind = classifyNumber(text, v);
    if (kind == -1) return readNumber(text);
    return kind == 1 ? v : evaluateExpression(m_symbols, m_found, text);
}

} // namespace

std::string convertUnits(const std::string& value, const std::string& unit) {
    std::string v = value;
    if (const size_t quote = v.find('"'); quote != std::string::npos) v = v.substr(0, quote) + "in";
    const size_t foot = v.find('\'');
    if (foot != std::string::npos && foot > 0 && v[foot - 1] >= '0' && v[foot - 1] <= '9') v = v.substr(0, foot) + "ft";
    const std::string lower = toLower(v);
    const bool ownUnit = endsWith(lower, "in") || endsWith(lower, "ft") || endsWith(lower, "cm") ||
                         endsWith(lower, "mm") || contains(v, "#");
    if (!unit.empty() && ownUnit) v += "/" + unit;
    return v;
}

int automaticSegments(double lengthMetres, double frequencyMHz) {
    if (frequencyMHz <= 0 || !std::isfinite(lengthMetres * frequencyMHz)) return 3;
    const double n = std::round(10 * lengthMetres / (299.8 / frequencyMHz));
    return 2 * static_cast<int>(std::min(n, 16383.0)) + 1;
}

std::vector<std::string> convertAntModel(Symbols& symbols, Diagnostics& found, const std::vector<std::string>& input) {
    symbols.constCount = symbols.baseConstantCount;
    AntConverter converter(symbols, found, modelUnit(input));
    int64_t lineNumber = 0;
    for (const std::string& line : input) {
        const size_t before = found.size();
        converter.convert(line);
        setLine(found, before, ++lineNumber);
    }
    return converter.finish();
}

} // namespace wavra
