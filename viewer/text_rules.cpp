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

} // namespace wavra::view
