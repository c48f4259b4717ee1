// The bytes of a model file as the readers take them: only regular files are
// opened, a byte-order mark is recognised (UTF-16 text is converted to
// UTF-8), line ends become LF, and a file without a single card is refused.
// Other bytes are kept as they are: old decks often hold Latin-1 comments.
#pragma once

#include <string>
#include <string_view>

#include "core/diagnostics.h"

namespace wavra {

// Reads the model file at `path` into `text`. False, with a fatal
// diagnostic added to `found`, when the file cannot be opened ("Open failure
// on NEC-2 input file <path>: <reason>"), is not text (NUL bytes) or holds
// no cards ("The model file <path> holds no cards."). A byte-order mark adds
// a note that says how the file was read.
bool readModelFile(Diagnostics& found, const std::string& path, std::string& text);

// The text of a deck with its byte-order mark handled and every line end
// (CR, LF, CRLF) written as LF. `encoding` says what the mark made of the
// file ("UTF-16 text (little-endian); wavra reads it converted to UTF-8"),
// empty when there was none.
std::string deckText(std::string_view bytes, std::string& encoding);

} // namespace wavra
