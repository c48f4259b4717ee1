// Qt key events as the action codes of the main loop: the platform key
// codes (F1 = 112 ... F12 = 123, Esc = 27, Enter = 13, letters in upper
// case) plus 100 x modifier state (Shift 1, Ctrl 2, Alt 4).
#pragma once

#include <cstdint>

class QKeyEvent;

namespace wavra {

// The key code of a Qt key; 0 for keys without one.
int platformKeyCode(int qtKey);

// The action code of a key press.
int16_t actionCodeOf(const QKeyEvent& event);

} // namespace wavra
