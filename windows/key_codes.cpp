#include "windows/key_codes.h"

#include <QKeyEvent>

#include "present/main_menu_rules.h"

namespace wavra {

int platformKeyCode(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    default: return 0;
    }
}

int16_t actionCodeOf(const QKeyEvent& event) {
    const int code = platformKeyCode(event.key());
    if (code == 0) return 0;
    const Qt::KeyboardModifiers mods = event.modifiers();
    return keyAction(code, mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                     mods.testFlag(Qt::AltModifier));
}

} // namespace wavra
