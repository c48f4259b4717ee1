#include "builder/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace wavra::build {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the number at the start of `s` (sign, digits, point, exponent);
// 0 when there is no digit in the mantissa.
size_t numberLength(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t k = i + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < s.size() && isDigit(s[k])) {
            while (k < s.size() && isDigit(s[k])) ++k;
            i = k;
        }
    }
    return i;
}

size_t firstNonBlank(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return i;
}

double parseNumber(std::string_view s) {
    std::string_view body = s;
    const bool negative = !body.empty() && body.front() == '-';
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as 0, too large as infinity: tell them apart by
        // the exponent's sign.
        const bool tiny = body.find("e-") != std::string_view::npos || body.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

// Removes trailing zeros after the point, keeping at least `minDecimals`.
void trimDecimals(std::string& s, int minDecimals) {
    const size_t point = s.find('.');
    if (point == std::string::npos) return;
    const size_t keep = point + 1 + static_cast<size_t>(minDecimals);
    while (s.size() > keep && s.back() == '0') s.pop_back();
}

bool allZero(const std::string& s) {
    for (char c : s)
        if (isDigit(c) && c != '0') return false;
    return true;
}

} // namespace

double leadingNumber(std::string_view text) {
    std::string_view s = text.substr(firstNonBlank(text));
    const size_t n = numberLength(s);
    return n == 0 ? 0.0 : parseNumber(s.substr(0, n));
}

bool isNumber(std::string_view text) {
    std::string t = trim(text, kBlanksAndTabs);
    const size_t n = numberLength(t);
    return n > 0 && n == t.size();
}

bool isSymbolName(std::string_view text) {
    if (text.empty() || !(isLetter(text.front()) || text.front() == '_')) return false;
    for (char c : text)
        if (!(isLetter(c) || isDigit(c) || c == '_')) return false;
    return true;
}

std::string formatCoordinate(double v) {
    if (!std::isfinite(v)) return v != v ? "nan" : (v > 0 ? "inf" : "-inf");
    const double a = std::fabs(v);
    const int maxDecimals = a > 9999 ? 1 : (a >= 1 ? 3 : 6);
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, maxDecimals);
    std::string s = ec == std::errc() ? std::string(buffer, end) : std::string("0.0");
    trimDecimals(s, 1);
    if (allZero(s) && s.front() == '-') s.erase(0, 1);
    // "#.0#####" has no digit before the point: 0.5 is ".5", -0.25 "-.25".
    if (a < 1) {
        const size_t zero = s.front() == '-' ? 1 : 0;
        if (s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
    }
    return s;
}

std::string formatField(double v, std::string_view symbol) {
    std::string number = formatCoordinate(v);
    if (!symbol.empty() && number.front() != '-') number.insert(0, "+");
    const size_t pad = number.size() < 8 ? 8 - number.size() : 0;
    return std::string(pad, ' ') + std::string(symbol) + number;
}

std::string padInteger(long long v, int width) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

std::string plainInteger(long long v) { return (v >= 0 ? " " : "") + std::to_string(v); }

} // namespace wavra::build
