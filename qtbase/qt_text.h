// Text between the Qt-free layers (UTF-8 std::string) and Qt (QString).
#pragma once

#include <QString>
#include <string>

#include "base/text.h"

namespace wavra {

// Decks and reports are bytes: text that is not valid UTF-8 (a Latin-1
// comment of an old deck) is shown as Latin-1, not as replacement marks.
inline QString q(const std::string& s) {
    return isValidUtf8(s) ? QString::fromStdString(s) : QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace wavra
