#include "report_comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <regex>

#include "base/text.h"

namespace wavra::test {

namespace {

constexpr double kAmplitudeBelowPeak = 1e-6; // 120 dB in amplitude
constexpr double kDbBelowPeak = 120;

// A number as printed: its value and the size of one unit of its last digit
// (none for a zero in exponent form, whose exponent says nothing).
struct Printed {
    double value;
    double unit;
};

struct Line {
    std::string text;
    std::string skeleton; // the text without blanks, every number replaced by '#'
    std::vector<Printed> numbers;
};

Printed printed(const std::string& token) {
    const size_t e = token.find_first_of("Ee");
    const std::string mantissa = token.substr(0, e);
    const size_t dot = mantissa.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
    const int exponent = e == std::string::npos ? 0 : std::atoi(token.c_str() + e + 1);
    const double value = std::strtod(token.c_str(), nullptr);
    if (value == 0 && e != std::string::npos) return {0, 0};
    return {value, std::pow(10.0, exponent - decimals)};
}

// Text between numbers without its blanks: a number printed in a fixed
// width moves the blanks around it when it gains a sign or a digit.
std::string words(std::string_view text) {
    std::string kept;
    for (char c : text)
        if (c != ' ' && c != '\t') kept += c;
    return kept;
}

Line parseLine(const std::string& text) {
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([Ee][-+]?\d+)?)");
    Line line{text, {}, {}};
    size_t last = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it) {
        const auto at = static_cast<size_t>(it->position());
        line.skeleton += words(std::string_view(text).substr(last, at - last)) + "#";
        line.numbers.push_back(printed(it->str()));
        last = at + static_cast<size_t>(it->length());
    }
    line.skeleton += words(std::string_view(text).substr(last));
    return line;
}

std::vector<Line> reportLines(const std::string& report) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < report.size()) {
        size_t end = report.find('\n', pos);
        if (end == std::string::npos) end = report.size();
        std::string text = report.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find("msec") == std::string::npos) lines.push_back(parseLine(text));
        pos = end + 1;
    }
    return lines;
}

// The columns (indices of the numbers of a row) of a table that hold one
// quantity, compared against the quantity's peak in the table.
struct Group {
    std::vector<int> columns;
    bool decibels = false;
};
// A column whose value means nothing when column `of` is below its peak
// (the phase of a vanishing current, the tilt of a vanishing field).
struct Dependent {
    int column;
    int of;
};
struct TableKind {
    const char* heading;
    size_t numbersPerRow;
    std::vector<Group> groups;
    std::vector<Dependent> dependents;
    const char* rowMarker = ""; // text every row of the table holds
};

const std::vector<TableKind>& tableKinds() {
    static const std::vector<TableKind> kinds = {
        // tag seg | voltage, current, impedance, admittance (real, imaginary) | power
        {"ANTENNA INPUT PARAMETERS", 11, {{{2, 3}}, {{4, 5}}, {{6, 7}}, {{8, 9}}, {{10}}}, {}},
        {"NETWORK CONNECTION POINTS", 11, {{{2, 3}}, {{4, 5}}, {{6, 7}}, {{8, 9}}, {{10}}}, {}},
        // seg tag x y z length | real imaginary magnitude phase
        {"CURRENTS AND LOCATION", 10, {{{6, 7, 8}}}, {{9, 8}}},
        {"CHARGE DENSITIES", 10, {{{6, 7, 8}}}, {{9, 8}}},
        // theta phi | gains (dB) | axial ratio tilt | E-theta magnitude phase | E-phi magnitude phase
        {"RADIATION PATTERNS", 11, {{{2, 3, 4}, true}, {{7, 9}}}, {{5, 4}, {6, 4}, {8, 7}, {10, 9}}},
        // x y z | three components: magnitude phase
        {"NEAR ELECTRIC FIELDS", 9, {{{3, 5, 7}}}, {{4, 3}, {6, 5}, {8, 7}}},
        {"NEAR MAGNETIC FIELDS", 9, {{{3, 5, 7}}}, {{4, 3}, {6, 5}, {8, 7}}},
        // the powers against the input power (the efficiency is no row)
        {"POWER BUDGET", 1, {{{0}}}, {}, "Watts"},
    };
    return kinds;
}

// Every section of a nec2c report starts with one title framed by dashes,
// "---------- POWER BUDGET ---------"; column headings carry several.
bool isHeading(const std::string& text) {
    static const std::regex heading(R"(\s*-{3,} *[A-Z][^-]*-{3,}\s*)");
    return std::regex_match(text, heading);
}

const TableKind* kindOf(const std::string& heading) {
    for (const auto& kind : tableKinds())
        if (heading.find(kind.heading) != std::string::npos) return &kind;
    return nullptr;
}

// One section of the reference report: its kind and the peak of each group.
class Section {
public:
    Section(const TableKind* kind, const std::vector<Line>& lines, size_t begin) : m_kind(kind) {
        if (!m_kind) return;
        for (const auto& group : m_kind->groups) {
            double peak = group.decibels ? -INFINITY : 0;
            for (size_t i = begin; i < lines.size() && !isHeading(lines[i].text); ++i) {
                if (!isRow(lines[i])) continue;
                for (int c : group.columns) {
                    const double v = lines[i].numbers[static_cast<size_t>(c)].value;
                    peak = std::max(peak, group.decibels ? v : std::fabs(v));
                }
            }
            m_peaks.push_back(peak);
        }
    }

    // True when column `c` of this row holds a value that lies 120 dB below
    // the peak in both reports, or depends on one that does.
    bool belowPeak(const Line& ref, const Line& cand, int c) const {
        if (!m_kind || !isRow(ref) || !isRow(cand)) return false;
        for (const auto& d : m_kind->dependents)
            if (d.column == c) return belowPeak(ref, cand, d.of);
        for (size_t g = 0; g < m_kind->groups.size(); ++g) {
            const Group& group = m_kind->groups[g];
            if (std::find(group.columns.begin(), group.columns.end(), c) == group.columns.end()) continue;
            return below(group, m_peaks[g], ref.numbers[static_cast<size_t>(c)].value) &&
                   below(group, m_peaks[g], cand.numbers[static_cast<size_t>(c)].value);
        }
        return false;
    }

private:
    bool isRow(const Line& line) const {
        return line.numbers.size() == m_kind->numbersPerRow && line.text.find(m_kind->rowMarker) != std::string::npos;
    }
    static bool below(const Group& group, double peak, double v) {
        return group.decibels ? v <= peak - kDbBelowPeak : std::fabs(v) <= kAmplitudeBelowPeak * peak;
    }

    const TableKind* m_kind;
    std::vector<double> m_peaks;
};

std::string describe(size_t index, const Line& ref, const Line& cand) {
    return "line " + std::to_string(index + 1) + ":\n  plain:  " + ref.text + "\n  lapack: " + cand.text;
}

} // namespace

ReportComparison compareReports(const std::string& reference, const std::string& candidate) {
    const std::vector<Line> ref = reportLines(reference), cand = reportLines(candidate);
    ReportComparison result;
    if (ref.size() != cand.size())
        result.differences.push_back("the reports have " + std::to_string(ref.size()) + " and " +
                                     std::to_string(cand.size()) + " lines");
    std::optional<Section> section;
    for (size_t i = 0; i < std::min(ref.size(), cand.size()); ++i) {
        if (isHeading(ref[i].text)) section.emplace(kindOf(ref[i].text), ref, i + 1);
        if (ref[i].skeleton != cand[i].skeleton) {
            result.differences.push_back(describe(i, ref[i], cand[i]));
            continue;
        }
        bool differs = false;
        for (size_t c = 0; c < ref[i].numbers.size(); ++c) {
            const Printed a = ref[i].numbers[c], b = cand[i].numbers[c];
            ++result.numbers;
            if (a.value == b.value) continue;
            if (std::fabs(a.value - b.value) <= std::max(a.unit, b.unit) * (1 + 1e-9)) ++result.lastDigit;
            else if (section && section->belowPeak(ref[i], cand[i], static_cast<int>(c))) ++result.belowPeak;
            else differs = true;
        }
        if (differs) result.differences.push_back(describe(i, ref[i], cand[i]));
    }
    return result;
}

std::string withoutTimes(const std::string& report) {
    std::string kept;
    forEachLine(report, [&kept](std::string_view line) {
        if (line.find("msec") == std::string_view::npos) (kept += line) += '\n';
        return true;
    });
    return kept;
}

} // namespace wavra::test
