// The option digits of the fourth integer of EX and RP cards, chosen from one
// list per digit: XNDA of RP (output format, normalization, gain type,
// averaging), and of EX the admittance-matrix print and, for voltage sources
// (types 0 and 5), the impedance table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

struct DigitList {
    std::vector<std::string> entries; // "0: no normalization" ...
    int current = -1;                 // the entry of the digit the box holds; -1 when none
};

// Number of option digits of box 5 of a card: 4 for RP, 2 for EX of type 0
// or 5, 1 for other EX types, 0 for every other card.
size_t optionDigitCount(std::string_view code, std::string_view firstValue);

// The value of box 5 as that many digits, padded with leading zeros; nullopt
// when the box holds anything but a whole number of at most that many digits
// (an expression is edited as text).
std::optional<std::string> optionDigits(std::string_view box, size_t count);

// One list per digit with the box's digits preselected; empty when the card
// has no option digits or the box cannot be shown as digits.
std::vector<DigitList> optionDigitLists(std::string_view code, std::string_view firstValue, std::string_view box);

// The box text with digit `digit` (from 0) replaced by the digits before the
// colon of entry `entry` of its list; the box unchanged when it has no such
// digit or entry.
std::string chooseOptionDigit(std::string_view code, std::string_view firstValue, std::string_view box, size_t digit,
                              size_t entry);

} // namespace wavra
