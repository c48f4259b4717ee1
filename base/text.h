// Text and number helpers shared by every reader and writer of the three
// programs: case and blanks, the field splitter, the locale-independent
// number reading, and the number pictures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);
// Without the blanks at both ends; `blanks` names the characters taken
// for blanks (kBlanksAndTabs: tabs too).
std::string trim(std::string_view s, std::string_view blanks = " ");
inline constexpr std::string_view kBlanksAndTabs = " \t";
std::string trimLeft(std::string_view s);

// The fields of a line, untrimmed, at most maxFields of them: separated by
// comma, blank and tab when `separator` is empty, else by that character
// and tab; an apostrophe starts a comment unless keepApostrophes. Readers
// that need many fields of one line split it once with this.
void splitFields(std::string_view line, std::string_view separator, bool keepApostrophes,
                 std::vector<std::string_view>& fields, size_t maxFields = 1000);

// Calls visit(line) for each line of a text; the visitor returns false to
// stop. A line ends at LF, at CRLF or at a lone CR, so decks and settings
// written on any system read alike.
template <class Visit>
void forEachLine(std::string_view text, Visit visit) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        if (!visit(line)) return;
    }
}

// The lines of a text, split as forEachLine splits them.
std::vector<std::string> splitLines(std::string_view text);

// How a number is read. Engine decks and reports may print the Fortran
// exponent "1.5D+03"; a number beyond the double range becomes the largest
// double (the readers of decks and reports), or infinity (the builder's
// entry boxes, whose checks then refuse it).
struct NumberRules {
    bool fortranExponent = true;
    bool overflowToInfinity = false;
};

// The leading numeric part of a text as a number (blanks first allowed,
// exponent allowed); 0 when there is none. Independent of the locale.
double readNumber(std::string_view text, NumberRules rules = {});
// True when the whole text (blanks around allowed) is one number: sign,
// digits, decimal point, exponent.
bool isNumeric(std::string_view text, NumberRules rules = {});

// The largest count a 16-bit field of the model store holds.
inline constexpr int kInt16Max = 32767;

// Round half to even and clamp into the 16-bit range (NaN gives 0).
int16_t toInt16(double v);
// Round half to even into a 32-bit integer, clamped.
int32_t toInt32(double v);

// The plain number-to-text conversion: a leading blank when not negative,
// no zero before the point, up to 15 significant digits: Str(.8) = " .8".
std::string str(double v);

// The shortest text that reads back as exactly the same double (for data
// files other programs read): "14.05", "-0.1234567890123", "1e-05"; "."
// always, no leading blank; "nan", "inf" or "-inf" when not finite.
std::string formatRoundTrip(double v);

// At most `digits` significant digits, with "." and a zero before it
// ("0.0125", "5.1051", "1.2e-11"): values that people read and programs
// read back.
std::string formatSignificant(double v, int digits);

// Apply a number picture such as "##0.0", "0.0###", "0000", "#0.00" or
// "0.#####e-0": '0' a digit always shown, '#' a digit shown when
// significant, '.' the decimal point, "e-0"/"e+0" an exponent. Rounds half
// away from zero; the point is always '.'.
std::string formatPicture(double v, std::string_view picture);

// The width-limited number format of engine decks and labels.
std::string formatNumber(double v, int width);

// A whole number with a comma between groups of three digits: "99,990".
std::string groupedNumber(long long v);

// Replaces control characters (line breaks, tabs, ...) by blanks: a text
// placed on a card can never start another card, a message stays one line.
std::string oneLine(std::string_view text);

// Length of the valid UTF-8 sequence at the start of s, 0 when the bytes
// there are ASCII, not valid UTF-8, or s is empty.
size_t utf8SequenceLength(std::string_view s);
// True when every byte of the text belongs to ASCII or a valid UTF-8
// sequence.
bool isValidUtf8(std::string_view s);

} // namespace wavra
