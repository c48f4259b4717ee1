// The SY lines of a trial model: the values of the chosen variables as the
// deck writes them (a number and its unit suffix) and the lines rewritten
// with new values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// A variable's value as written: the number in the unit of its suffix
// ("12.5mm": 12.5 and "mm"; no suffix: metres or the plain number).
struct WrittenValue {
    double number = 0;
    std::string unit;
};

// True for an SY card line.
bool isSyLine(std::string_view line);

// The value of each name at its first definition in the SY lines. False,
// with the name in `problem`, when a name has no definition or its value is
// an expression rather than a number.
bool findWrittenValues(const std::vector<std::string>& lines, const std::vector<std::string>& names,
                       std::vector<WrittenValue>& values, std::string& problem);

// The text of a new value and the value the deck then holds: 10
// significant digits, so the engine sees exactly the value kept.
std::string valueText(double number);
double heldValue(double number);

// An SY line with every definition of a chosen name (up to 10 definitions
// separated by ","; a definition starting with "*" ends the line) set to its
// new value with the old unit: "name = value", joined by ", ". A comment
// after an apostrophe stays. Lines with no chosen name come back unchanged.
std::string rewriteSyLine(std::string_view line, const std::vector<std::string>& names,
                          const std::vector<WrittenValue>& values);

// Every SY line of a deck rewritten.
std::vector<std::string> rewriteSyLines(const std::vector<std::string>& lines, const std::vector<std::string>& names,
                                        const std::vector<WrittenValue>& values);

} // namespace wavra
