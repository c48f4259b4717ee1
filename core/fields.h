// Fields of deck and settings lines read with the message the user sees
// when a field that must be there is missing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/diagnostics.h"

namespace wavra {

// Field n of a line (see the deck format): separators are comma, blank and
// tab when `separator` is empty, else that character and tab. |n| > 100 keeps
// apostrophes as text; otherwise an apostrophe starts a comment. A missing
// field gives "*", with the message "Fld ..." added to `found` when n is
// positive (line unknown: the caller that knows it sets it).
std::string getField(Diagnostics& found, std::string_view line, int n, std::string_view separator);
// The same field for readers that collect their own diagnostics: nullopt
// where getField gives "*", and no message.
std::optional<std::string> findField(std::string_view line, int n, std::string_view separator);

} // namespace wavra
