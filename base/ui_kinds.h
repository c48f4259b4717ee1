// The kinds of message box every program's Ui shows: its icon, its buttons
// and the answer the user gave.
#pragma once

namespace wavra {

enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

} // namespace wavra
