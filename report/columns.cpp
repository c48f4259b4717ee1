#include "report/columns.h"

#include "core/text.h"

namespace wavra {

std::string_view columnText(std::string_view line, Column c) {
    if (c.start < 1 || c.width < 1) return {};
    const size_t begin = static_cast<size_t>(c.start - 1);
    if (begin >= line.size()) return {};
    return line.substr(begin, static_cast<size_t>(c.width));
}

double columnNumber(std::string_view line, Column c) { return readNumber(columnText(line, c)); }

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
