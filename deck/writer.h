// The engine input writer: turns a model deck (comments, SY variables,
// expressions, unit suffixes, tab-separated lines) into the plain numeric
// deck that the NEC-2 engine reads, always ending in XQ (when needed) and EN.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/diagnostics.h"
#include "core/model.h"

namespace wavra {

// True for cards whose third and fourth values are reals: names starting
// with "G" (except GN and GD) or with "S".
bool isRealCard(std::string_view card);
// True for RP, NE, NH and XQ.
bool isRequestCard(std::string_view card);

// A card name followed directly by its first value ("GW1 ...", "GW-1 ...")
// is read as if a blank stood after the name.
std::string separateCardName(std::string_view line);

// Converts the deck at inputPath into outDir() + outputName and
// returns the path written. nullopt when the input cannot be read or the
// output cannot be created; the caller then reads the model deck itself.
// The symbol table is cut back to the fixed constants first, then filled
// from the deck's SY cards in card order. What the conversion found is added
// to `found`, as convertDeck adds it.
std::optional<std::string> writeEngineInput(Model& model, Diagnostics& found, const std::string& inputPath,
                                            const std::string& outputName);

// ZO: the feed line's characteristic impedance in ohms (a number, a unit
// value or an expression). The engine does not know the card, so the
// conversion leaves it out and keeps its value in geometry.deckZ0; a value
// that is not positive adds a diagnostic and leaves deckZ0 as it was. Its
// expression is evaluated with `symbols`.
void readFeedLineCard(Symbols& symbols, Geometry& geometry, Diagnostics& found, std::string_view line);
// An engine deck without its ZO cards, for decks that are run as written.
std::string withoutFeedLineCards(std::string_view deck);

// The same conversion on text already in memory; returns the numeric deck.
// A lapack engine in `settings` gets the SZ card after CE; the SY cards fill
// `symbols`; a ZO card sets geometry.deckZ0 (the caller clears it before a
// whole deck). Every diagnostic the conversion adds to `found` is an error
// about the deck line it names (unknown symbols, syntax errors, missing
// fields), counted as an editor counts lines: a deck with errors holds zeros
// where values failed and must not be calculated.
std::string convertDeck(const Settings& settings, Symbols& symbols, Geometry& geometry, Diagnostics& found,
                        std::string_view deckText);

// Why a deck whose conversion reported `errors` errors is not calculated.
std::string deckErrorText(const ModelFile& file, int errors);

} // namespace wavra
