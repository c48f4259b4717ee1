// Keys as action codes, and action codes by key name. A key press is stored
// as 100 x modifier state (Shift 1, Ctrl 2, Alt 4) + the platform key code
// (Space 32, PgUp 33, PgDn 34, End 35, Home 36, Left 37, Up 38, Right 39,
// Down 40, Ins 45, Del 46, digits and upper-case letters as their ASCII
// codes, F1 = 112 ... F12 = 123, '<' 188, '>' 190), so Ctrl+PgUp is 233.
// The batch command line names keys the way a user reads them on the
// keyboard ("I", "Space", "Shift+PgDn", ">") and applies them through the
// same codes the windows post.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// The action code of a key: 0 for a key that is only a modifier.
int16_t keyAction(int keyCode, bool shift, bool ctrl, bool alt);

// The action code of a key name: modifiers "Shift+", "Ctrl+", "Alt+" (any
// case, any order) before one key: a letter or digit, "Space", "Enter",
// "Tab", "Esc", "Backspace", "PgUp", "PgDn", "Home", "End", "Left", "Up",
// "Right", "Down", "Ins", "Del", "F1" ... "F12", "<", ">", "+", "-".
// nullopt for a name that is no key.
std::optional<int16_t> actionCodeOfKeyName(std::string_view name);

// The name of an action code as the keyboard reads it, the inverse of
// actionCodeOfKeyName: "F7", "Ctrl+O", "Shift+PgUp", "M"; empty for a
// code that no named key gives.
std::string keyNameOfAction(int16_t code);

// A comma-separated list of key names ("I,Space,Shift+PgDn"); a lone ","
// cannot be named, so the list has no empty items. nullopt, with the first
// bad name in `bad`, when a name is no key.
std::optional<std::vector<int16_t>> actionCodesOfKeyList(std::string_view list, std::string& bad);

} // namespace wavra
