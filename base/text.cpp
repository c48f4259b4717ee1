#include "base/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace wavra {

std::string toUpper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string toLower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string trim(std::string_view s, std::string_view blanks) {
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(blanks);
    return std::string(s.substr(b, e - b + 1));
}

std::string trimLeft(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

void splitFields(std::string_view line, std::string_view separator, bool keepApostrophes,
                 std::vector<std::string_view>& fields, size_t maxFields) {
    fields.clear();
    const char sep = separator.empty() ? '\0' : separator.front();
    auto isSeparator = [sep](char c) { return c == '\t' || (sep == '\0' ? (c == ',' || c == ' ') : c == sep); };
    std::string_view text = line;
    if (!keepApostrophes) {
        const size_t quote = text.find('\'');
        if (quote != std::string_view::npos) text = text.substr(0, quote);
    }
    size_t i = 0;
    while (i < text.size() && fields.size() < maxFields) {
        while (i < text.size() && isSeparator(text[i])) ++i;
        if (i >= text.size()) break;
        const size_t start = i;
        while (i < text.size() && !isSeparator(text[i])) ++i;
        fields.push_back(text.substr(start, i - start));
    }
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of s (after blanks), 0 when none.
// Sets `end` to the index after it.
size_t scanNumber(std::string_view s, size_t& begin, bool fortranExponent) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    begin = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    const auto isExponent = [&](char c) { return c == 'e' || c == 'E' || (fortranExponent && (c == 'd' || c == 'D')); };
    if (i < s.size() && isExponent(s[i])) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) ++j;
            i = j;
        }
    }
    return i - begin;
}

double parseScanned(std::string_view s, bool overflowToInfinity) {
    std::string t(s);
    for (char& c : t)
        if (c == 'd' || c == 'D') c = 'e';
    const char* first = t.data();
    if (*first == '+') ++first;
    double v = 0;
    auto res = std::from_chars(first, t.data() + t.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves v untouched: decide between overflow and underflow.
        bool negative = t.front() == '-';
        size_t e = t.find_first_of("eE");
        bool tiny = e != std::string::npos && t.find('-', e) != std::string::npos;
        const double huge =
            overflowToInfinity ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::max();
        v = tiny ? 0.0 : huge;
        if (negative) v = -v;
    }
    return v;
}

} // namespace

double readNumber(std::string_view text, NumberRules rules) {
    size_t begin = 0;
    size_t len = scanNumber(text, begin, rules.fortranExponent);
    if (len == 0) return 0;
    return parseScanned(text.substr(begin, len), rules.overflowToInfinity);
}

bool isNumeric(std::string_view text, NumberRules rules) {
    size_t begin = 0;
    size_t len = scanNumber(text, begin, rules.fortranExponent);
    if (len == 0) return false;
    for (size_t i = begin + len; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\t') return false;
    return true;
}

int16_t toInt16(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 32767) return 32767;
    if (v <= -32768) return -32768;
    return static_cast<int16_t>(std::nearbyint(v));
}

int32_t toInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int32_t>(std::nearbyint(v));
}

std::string str(double v) {
    if (std::isnan(v)) return " NaN";
    if (std::isinf(v)) return v > 0 ? " Inf" : "-Inf";
    if (v == 0) return " 0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == 'e') c = 'E';
    // Exponents keep two digits at least ("1E-05"), as to_chars writes them.
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    return v < 0 ? s : " " + s;
}

std::string formatRoundTrip(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string formatSignificant(double v, int digits) {
    if (!std::isfinite(v)) return formatRoundTrip(v);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, std::clamp(digits, 1, 17));
    return std::string(buf, res.ptr);
}

namespace {

struct Picture {
    int intMin = 0; // '0' placeholders before the point
    int decMin = 0; // '0' placeholders after the point
    int decMax = 0; // all placeholders after the point
    bool exponent = false;
    bool expPlus = false; // "e+0": sign always shown
    int expDigits = 1;
    char expChar = 'e';
};

Picture parsePicture(std::string_view p) {
    Picture pic;
    size_t e = p.find_first_of("eE");
    std::string_view mant = p.substr(0, e);
    size_t point = mant.find('.');
    std::string_view ip = mant.substr(0, point);
    pic.intMin = static_cast<int>(std::count(ip.begin(), ip.end(), '0'));
    if (point != std::string_view::npos) {
        std::string_view fp = mant.substr(point + 1);
        pic.decMin = static_cast<int>(std::count(fp.begin(), fp.end(), '0'));
        pic.decMax = pic.decMin + static_cast<int>(std::count(fp.begin(), fp.end(), '#'));
    }
    if (e != std::string_view::npos) {
        pic.exponent = true;
        pic.expChar = p[e];
        std::string_view ep = p.substr(e + 1);
        pic.expPlus = !ep.empty() && ep.front() == '+';
        pic.expDigits = std::max(1, static_cast<int>(std::count(ep.begin(), ep.end(), '0')));
    }
    return pic;
}

// Mantissa digits: int part and fraction, trailing fraction zeros trimmed
// down to decMin, integer part padded to intMin (a lone 0 dropped when the
// picture has no '0' before the point).
std::string joinDigits(std::string intPart, std::string frac, const Picture& pic) {
    while (static_cast<int>(frac.size()) > pic.decMin && !frac.empty() && frac.back() == '0') frac.pop_back();
    if (intPart == "0" && pic.intMin == 0) intPart.clear();
    while (static_cast<int>(intPart.size()) < pic.intMin) intPart.insert(0, "0");
    return frac.empty() ? intPart : intPart + "." + frac;
}

} // namespace

std::string formatPicture(double v, std::string_view picture) {
    if (!std::isfinite(v)) v = 0;
    Picture pic = parsePicture(picture);
    double a = std::fabs(v);
    char buf[400];
    std::string body;
    bool nonZero = false;
    if (pic.exponent) {
        auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, pic.decMax);
        std::string s(buf, res.ptr);
        size_t e = s.find('e');
        std::string mant = s.substr(0, e);
        int exp = std::stoi(s.substr(e + 1));
        size_t point = mant.find('.');
        std::string ip = mant.substr(0, point);
        std::string fp = point == std::string::npos ? std::string() : mant.substr(point + 1);
        Picture mp = pic;
        mp.intMin = std::max(1, pic.intMin);
        body = joinDigits(ip, fp, mp);
        std::string ed = std::to_string(std::abs(exp));
        while (static_cast<int>(ed.size()) < pic.expDigits) ed.insert(0, "0");
        body += pic.expChar;
        if (exp < 0) body += '-';
        else if (pic.expPlus) body += '+';
        body += ed;
        nonZero = a != 0;
    } else {
        auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, pic.decMax);
        std::string s(buf, res.ptr);
        size_t point = s.find('.');
        std::string ip = s.substr(0, point);
        std::string fp = point == std::string::npos ? std::string() : s.substr(point + 1);
        nonZero = s.find_first_of("123456789") != std::string::npos;
        body = joinDigits(ip, fp, pic);
        if (body.empty()) body = pic.decMax > 0 || pic.intMin > 0 ? body : "0";
    }
    return (v < 0 && nonZero) ? "-" + body : body;
}

std::string formatNumber(double v, int w) {
    static const std::string T = "#########0.0#########";
    auto fromT = [](int pos, int count) {
        if (count <= 0) return std::string();
        if (pos < 1) pos = 1;
        return T.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count));
    };
    auto head = [](const std::string& s, int count) { return s.substr(0, static_cast<size_t>(std::max(0, count))); };
    if (!std::isfinite(v)) v = 0;
    if (w < 1) w = 1;
    const int e = v == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(v))));
    const double a = std::fabs(v);
    if (v >= 0) {
        if (e < 0) {
            if (w == 1) return "0";
            if (e < -4 && w >= 4) return formatPicture(a, head("0.#####", w - 3) + "e-0");
            return formatPicture(a, fromT(11, w));
        }
        if (e >= w) {
            if (w < 3) return head("**", w);
            if (w == 3) return formatPicture(a, "0e-0");
            return formatPicture(a, head("0.######", w - 2) + "e-0");
        }
        return formatPicture(a, fromT(10 - e, w));
    }
    if (e < 0) {
        if (w == 1) return "0";
        if (w == 2) return "-0";
        if (w < 5 || e > -4) return "-" + formatPicture(a, fromT(11, w - 1));
        return "-" + formatPicture(a, head("0.####", w - 4) + "e-0");
    }
    if (e + 1 >= w) {
        if (w < 4) return head("***", w);
        if (w == 4) return "-" + formatPicture(a, "0e-0");
        return "-" + formatPicture(a, head("0.#####", w - 3) + "e-0");
    }
    return "-" + formatPicture(a, fromT(9 - e, w));
}

std::string oneLine(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return s;
}

std::string groupedNumber(long long v) {
    const auto magnitude = static_cast<unsigned long long>(v);
    std::string digits = std::to_string(v < 0 ? 0ULL - magnitude : magnitude);
    for (size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
    return v < 0 ? "-" + digits : digits;
}

size_t utf8SequenceLength(std::string_view s) {
    if (s.empty()) return 0;
    const auto lead = static_cast<unsigned char>(s[0]);
    // Allowed range of the second byte rules out overlong forms, surrogates
    // and code points above U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (lead == 0xE0) low = 0xA0;
    else if (lead == 0xED) high = 0x9F;
    else if (lead == 0xF0) low = 0x90;
    else if (lead == 0xF4) high = 0x8F;
    if (length == 0 || length > s.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

bool isValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = utf8SequenceLength(s.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

} // namespace wavra
