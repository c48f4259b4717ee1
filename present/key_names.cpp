#include "present/key_names.h"

#include <array>
#include <utility>

#include "base/text.h"

namespace wavra {

namespace {

constexpr int kShiftKey = 16, kCtrlKey = 17, kAltKey = 18;

// Platform key codes of the keys that have names.
constexpr std::array<std::pair<std::string_view, int>, 19> kNamedKeys{{
    {"Backspace", 8}, {"Tab", 9},   {"Enter", 13}, {"Esc", 27}, {"Space", 32}, {"PgUp", 33}, {"PgDn", 34},
    {"End", 35},      {"Home", 36}, {"Left", 37},  {"Up", 38},  {"Right", 39}, {"Down", 40}, {"Ins", 45},
    {"Del", 46},      {"+", 107},   {"-", 109},    {"<", 188},  {">", 190},
}};

// The name of a platform key code; empty for a code without one.
std::string nameOfPlatformCode(int code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return std::string(1, static_cast<char>(code));
    if (code >= 112 && code <= 123) return "F" + std::to_string(code - 111);
    for (const auto& [name, c] : kNamedKeys)
        if (c == code) return std::string(name);
    return {};
}

std::optional<int> platformCodeOfName(std::string_view upper) {
    if (upper.size() == 1 && ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
        return upper[0];
    for (const auto& [name, code] : kNamedKeys)
        if (toUpper(name) == upper) return code;
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' && isNumeric(upper.substr(1))) {
        const int n = static_cast<int>(readNumber(upper.substr(1)));
        if (n >= 1 && n <= 12 && std::string(upper.substr(1)) == std::to_string(n)) return 111 + n;
    }
    return std::nullopt;
}

} // namespace

int16_t keyAction(int keyCode, bool shift, bool ctrl, bool alt) {
    if (keyCode == kShiftKey || keyCode == kCtrlKey || keyCode == kAltKey) return 0;
    const int state = (shift ? 1 : 0) + (ctrl ? 2 : 0) + (alt ? 4 : 0);
    return toInt16(100.0 * state + keyCode);
}

std::optional<int16_t> actionCodeOfKeyName(std::string_view name) {
    std::string rest = toUpper(trim(name));
    bool shift = false, ctrl = false, alt = false;
    // "Shift++" is Shift with the plus key: a modifier needs a key after it.
    for (;;) {
        const size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 >= rest.size()) break;
        const std::string modifier = rest.substr(0, plus);
        if (modifier == "SHIFT") shift = true;
        else if (modifier == "CTRL") ctrl = true;
        else if (modifier == "ALT") alt = true;
        else break;
        rest = rest.substr(plus + 1);
    }
    const auto code = platformCodeOfName(rest);
    if (!code) return std::nullopt;
    return keyAction(*code, shift, ctrl, alt);
}

std::string keyNameOfAction(int16_t code) {
    for (int state = 0; state <= 7; ++state) {
        const std::string name = nameOfPlatformCode(code - 100 * state);
        if (name.empty()) continue;
        return std::string((state & 2) != 0 ? "Ctrl+" : "") + ((state & 1) != 0 ? "Shift+" : "") +
               ((state & 4) != 0 ? "Alt+" : "") + name;
    }
    return {};
}

std::optional<std::vector<int16_t>> actionCodesOfKeyList(std::string_view list, std::string& bad) {
    std::vector<int16_t> codes;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t comma = list.find(',', pos);
        if (comma == std::string_view::npos) comma = list.size();
        const std::string_view item = list.substr(pos, comma - pos);
        const auto code = actionCodeOfKeyName(item);
        if (!code) {
            bad = std::string(item);
            return std::nullopt;
        }
        codes.push_back(*code);
        pos = comma + 1;
    }
    return codes;
}

} // namespace wavra
