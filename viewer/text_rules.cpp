#include "viewer/text_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace wavra::view {

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && toLower(text.substr(text.size() - suffix.size())) == toLower(suffix);
}

std::string twoDigits(int number) {
    std::string digits = std::to_string(number < 0 ? -number : number);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return number < 0 ? "-" + digits : digits;
}

int leadingCount(const std::string& text) {
    const std::string entry = trim(text, kBlanksAndTabs);
    const char* begin = entry.data();
    if (!entry.empty() && *begin == '+') ++begin;
    double value = 0;
    const auto [end, error] = std::from_chars(begin, entry.data() + entry.size(), value, std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(value)) return 0;
    const double limit = std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(std::clamp(value, -limit, limit)));
}

PathParts splitPath(const std::string& path) {
    PathParts parts;
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.dir = path.substr(0, nameStart);
    const std::string file = path.substr(nameStart);
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.ext = file.substr(dot);
    }
    return parts;
}

} // namespace wavra::view
