#include "report/columns.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

#include "base/text.h"

namespace wavra {

std::string_view columnText(std::string_view line, Column c) {
    if (c.start < 1 || c.width < 1) return {};
    const size_t begin = static_cast<size_t>(c.start - 1);
    if (begin >= line.size()) return {};
    return line.substr(begin, static_cast<size_t>(c.width));
}

double columnNumber(std::string_view line, Column c) { return readNumber(columnText(line, c)); }

namespace {

// A printed NaN or infinity at the start of a field: an optional sign, then
// a word in any case that stands on its own ("nan Percent"): "nan", "inf",
// "infinity", the forms "nanq", "nans", "qnan", "snan" of other C libraries,
// and the Windows forms "1.#QNAN", "1.#IND", "1.#INF" (digits may follow
// them: "1.#INF00"). C libraries may add "(...)" to a NaN. `length` is where
// the text ends.
bool nonFiniteText(std::string_view text, double& value, size_t& length) {
    const std::string t = toLower(text);
    size_t i = t.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    const bool negative = t[i] == '-';
    if (t[i] == '-' || t[i] == '+') ++i;
    const bool windows = t.compare(i, 3, "1.#") == 0;
    if (windows) i += 3;
    auto word = [&](std::string_view w) {
        if (t.compare(i, w.size(), w) != 0) return false;
        size_t end = i + w.size();
        if (windows)
            while (end < t.size() && std::isdigit(static_cast<unsigned char>(t[end]))) ++end;
        if (end < t.size() && std::isalnum(static_cast<unsigned char>(t[end]))) return false;
        length = end;
        return true;
    };
    for (std::string_view w : {"nanq", "nans", "nan", "qnan", "snan", "ind"}) {
        if (w == "ind" && !windows) continue;
        if (!word(w)) continue;
        if (length < t.size() && t[length] == '(') length = std::min(t.size(), t.find(')', length) + 1);
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (word("infinity") || word("inf")) {
        value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return true;
    }
    return false;
}

} // namespace

double columnValue(std::string_view line, Column c) {
    const std::string_view text = columnText(line, c);
    double value = 0;
    size_t length = 0;
    return nonFiniteText(text, value, length) ? value : readNumber(text);
}

bool columnIsValue(std::string_view line, Column c) {
    const std::string_view text = columnText(line, c);
    double value = 0;
    size_t length = 0;
    return isNumeric(text) || (nonFiniteText(text, value, length) && isBlank(text.substr(length)));
}

int16_t columnInt16(std::string_view line, Column c) { return toInt16(columnNumber(line, c)); }

bool columnIsNumber(std::string_view line, Column c) { return isNumeric(columnText(line, c)); }

bool headingMatches(std::string_view line, const Heading& h) {
    if (h.text.empty() || h.first < 1) return false;
    for (int col = h.first; col <= h.last; ++col) {
        const size_t begin = static_cast<size_t>(col - 1);
        if (begin + h.text.size() > line.size()) return false;
        if (line.compare(begin, h.text.size(), h.text) == 0) return true;
    }
    return false;
}

bool isBlank(std::string_view line) {
    for (char ch : line)
        if (ch != ' ' && ch != '\t') return false;
    return true;
}

} // namespace wavra
