// Number reading and writing of the builder: the leading-number rule for
// entry boxes, symbol names, and the coordinate format of GW cards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace wavra::build {

// The leading numeric part of a text (blanks first allowed, sign, digits,
// decimal point, exponent); 0 when the text does not begin with a number.
// A number too large for a double reads as +/- infinity.
double leadingNumber(std::string_view text);

// True when the whole text, blanks around it allowed, is one number.
bool isNumber(std::string_view text);

// True when the text is a symbol name the deck reader accepts in a field:
// a letter or '_' followed by letters, digits or '_'.
bool isSymbolName(std::string_view text);

// An entry box read as a count or whole degrees.
inline int16_t entryCount(std::string_view text) { return toInt16(leadingNumber(text)); }

// A coordinate or radius as GW cards carry it: "######.0" above 9999,
// "####.0##" from 1 on and "#.0#####" below 1 (no zero before the point).
// The decimal point is always '.'; a value that rounds to zero has no sign.
std::string formatCoordinate(double v);

// One GW field: the number, or the symbol followed by "+" (unless the number
// is negative) and the number. Leading blanks pad the number part, with its
// "+", to 8 characters; the symbol is not counted.
std::string formatField(double v, std::string_view symbol);

// Blanks before a whole number up to `width` characters ("###0" pictures).
std::string padInteger(long long v, int width);

// The plain number-to-text conversion of messages for whole numbers: a
// leading blank when not negative (" 176").
std::string plainInteger(long long v);

} // namespace wavra::build
