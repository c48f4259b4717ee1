// The wire edit of the geometry view saved into the input deck: its GW lines
// rewritten from the wire table (deck/wire_lines.h), the old file kept as
// modelName + ".bak" in modelDir.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "deck/wire_lines.h"

namespace wavra {

// The input file as read and with the GW lines of the edited wires
// rewritten; `error` says why there is none ("<path> cannot be read.",
// "the GS card of <path> scales by 0."). The evaluator's messages about a GS
// card's expression are shown through `ui`.
struct WireDeckEdit {
    std::string deck;
    WireRewrite rewrite;
    std::string error;
};
WireDeckEdit rewriteInputDeck(Model& model, Ui& ui);

// Writes `newDeck` as the input file and `oldDeck` as its backup. The new
// deck is complete on disk before the backup and the input file change, so
// a full disk or a read-only directory loses nothing: on any failure the
// input file and the old backup stay as they were and the reason comes back
// (ending in "."); empty when done.
std::string replaceInputDeck(const ModelFile& file, const std::string& oldDeck, const std::string& newDeck);

} // namespace wavra
