// The wire edit of the geometry view saved into the input deck: its GW lines
// rewritten from the wire table (deck/wire_lines.h), the old file kept as
// modelName + ".bak" in modelDir.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"
#include "deck/wire_lines.h"

namespace wavra {

// The input file of `file` as read and with the GW lines of the wire-table
// rows `editedWires` rewritten from `geometry`; `error` says why there is
// none ("<path> cannot be read.", "the GS card of <path> scales by 0."). The
// evaluator's problems with a GS card's expression (evaluated with
// `symbols`) come back in `found`.
struct WireDeckEdit {
    std::string deck;
    WireRewrite rewrite;
    std::string error;
    Diagnostics found;
};
WireDeckEdit rewriteInputDeck(const ModelFile& file, Symbols& symbols, const Geometry& geometry,
                              const std::vector<int16_t>& editedWires);

// Writes `newDeck` as the input file and `oldDeck` as its backup. The new
// deck is complete on disk before the backup and the input file change, so
// a full disk or a read-only directory loses nothing: on any failure the
// input file and the old backup stay as they were and the reason comes back
// (ending in "."); empty when done.
std::string replaceInputDeck(const ModelFile& file, const std::string& oldDeck, const std::string& newDeck);

} // namespace wavra
