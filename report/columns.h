// Fixed-column access to the lines of a printed NEC-2 report. Columns count
// from 1 as in the report's FORTRAN formats. Every accessor stays inside the
// line: a field that starts past the end of a short line is empty.
#pragma once

#include <cstdint>
#include <string_view>

namespace wavra {

// A field: `width` characters from column `start` (1-based).
struct Column {
    int start = 0;
    int width = 0;
};

// A heading: `text` standing at a column from `first` to `last`. An empty
// text never matches (a heading the layout does not have).
struct Heading {
    std::string_view text;
    int first = 0;
    int last = 0;
};

// The characters of a field, cut at the end of the line.
std::string_view columnText(std::string_view line, Column c);
// The field as a number (leading blanks and exponents allowed); 0 when the
// field holds no number. For values that describe the structure.
double columnNumber(std::string_view line, Column c);
// The field as the engine printed it: like columnNumber, but a printed NaN
// in any spelling ("NAN", "-nan", "NaN", "1.#QNAN", "-1.#IND") gives NaN and
// a printed infinity ("INF", "-inf", "Infinity", "1.#INF") gives an
// infinity, so a result the engine could not compute is never taken as 0.
double columnValue(std::string_view line, Column c);
// True when the field holds a number, a NaN or an infinity and nothing else.
bool columnIsValue(std::string_view line, Column c);
// The field as a 16-bit integer, clamped to the 16-bit range.
int16_t columnInt16(std::string_view line, Column c);
// True when the field holds a number and nothing else.
bool columnIsNumber(std::string_view line, Column c);

bool headingMatches(std::string_view line, const Heading& h);
// True for a line of blanks only (or no characters at all).
bool isBlank(std::string_view line);

} // namespace wavra
