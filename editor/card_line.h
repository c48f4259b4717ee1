// How the card editor takes a line apart into entry boxes and puts it back
// together: the trailing comment with the TABs before it, the values split on
// TABs only when a TAB follows the code, and the rebuilt line with "0" for an
// empty box before a filled one and without trailing empty fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/card_table.h"

namespace wavra {

struct LineParts {
    std::string body;    // the line up to its first apostrophe
    std::string comment; // the text after it
    int tabsBefore = -1; // TABs directly before the apostrophe; -1 without comment
};

LineParts splitComment(std::string_view line);

// The card code: the first two characters, upper-cased.
std::string cardCode(std::string_view line);

// The first value of a card (field 2 with the default separators); nullopt
// when the line has none.
std::optional<std::string> firstValue(std::string_view body);

// Fields 2 to count + 1 of a card, "" where the line has fewer. A TAB after
// the code means only TABs separate the values; otherwise commas, blanks and
// TABs do. A value written straight after the code ("GW1 ...") is a value.
std::vector<std::string> valueFields(std::string_view body, size_t count);

// The free text of a CM, CE or SY line: from its 4th character when the 3rd
// is a blank, else from the 3rd.
std::string freeText(std::string_view body);

// The line rebuilt from its boxes (boxes[0] the code, then the values): an
// empty box before a filled one becomes "0", in the box as well; trailing
// empty boxes are dropped; a blank separates the fields of a text card and a
// TAB those of the others. A comment follows after `tabsBefore` TABs (one
// when the line had none) and an apostrophe. A comment line is an apostrophe
// and the comment.
std::string buildLine(CardKind kind, std::vector<std::string>& boxes, const std::string& comment, int tabsBefore);

} // namespace wavra
