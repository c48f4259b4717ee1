#include "editor/option_digits.h"

#include <array>

#include "base/text.h"

namespace wavra {

namespace {

using Entries = std::vector<std::string>;

const std::array<Entries, 4>& rpLists() {
    static const std::array<Entries, 4> lists{{
        {"0: major/minor/total gain", "1: vert/horiz/total gain"},
        {"0: no normalization", "1: minor axis norm.", "2: major axis norm.", "3: vert-axis norm.",
         "4: horiz-axis norm.", "5: total gain norm."},
        {"0: power gain", "1: directive gain"},
        {"0: no avaraging", "1: get average gain", "2: aver-gain (no print)"},
    }};
    return lists;
}

const std::array<Entries, 2>& exLists() {
    static const std::array<Entries, 2> lists{{
        {"0: no action", "1: Print admittance matrix."},
        {"0: no action", "1: Tabulate impedances."},
    }};
    return lists;
}

const Entries& entriesOf(std::string_view code, size_t digit) {
    return code == "RP" ? rpLists().at(digit) : exLists().at(digit);
}

} // namespace

size_t optionDigitCount(std::string_view code, std::string_view firstValue) {
    if (code == "RP") return 4;
    if (code != "EX") return 0;
    const double type = readNumber(firstValue);
    return type == 0 || type == 5 ? 2 : 1;
}

std::optional<std::string> optionDigits(std::string_view box, size_t count) {
    const std::string text = trim(box);
    if (text.size() > count) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    return std::string(count - text.size(), '0') + text;
}

std::vector<DigitList> optionDigitLists(std::string_view code, std::string_view firstValue, std::string_view box) {
    std::vector<DigitList> lists;
    const size_t count = optionDigitCount(code, firstValue);
    const auto digits = optionDigits(box, count);
    if (count == 0 || !digits) return lists;
    for (size_t d = 0; d < count; ++d) {
        DigitList list{entriesOf(code, d), -1};
        const std::string digit(1, (*digits)[d]);
        for (size_t e = 0; e < list.entries.size(); ++e)
            if (list.entries[e].compare(0, 1, digit) == 0) list.current = static_cast<int>(e);
        lists.push_back(std::move(list));
    }
    return lists;
}

std::string chooseOptionDigit(std::string_view code, std::string_view firstValue, std::string_view box, size_t digit,
                              size_t entry) {
    const size_t count = optionDigitCount(code, firstValue);
    auto digits = optionDigits(box, count);
    if (!digits || digit >= count || entry >= entriesOf(code, digit).size()) return std::string(box);
    const std::string& text = entriesOf(code, digit)[entry];
    digits->replace(digit, 1, text.substr(0, text.find(':')));
    return *digits;
}

} // namespace wavra
