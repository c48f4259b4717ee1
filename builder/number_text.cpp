#include "builder/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace wavra::build {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Entry boxes take the plain "e" exponent only, and a number too large for a
// double reads as infinity so that the range checks refuse it.
constexpr NumberRules kEntryNumbers{.fortranExponent = false, .overflowToInfinity = true};

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

double leadingNumber(std::string_view text) { return readNumber(text, kEntryNumbers); }

bool isNumber(std::string_view text) { return isNumeric(text, kEntryNumbers); }

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
