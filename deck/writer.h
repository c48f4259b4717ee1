// The engine input writer: turns a model deck (comments, SY variables,
// expressions, unit suffixes, tab-separated lines) into the plain numeric
// deck that the NEC-2 engine reads, always ending in XQ (when needed) and EN.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/model.h"
#include "core/ui.h"

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
// from the deck's SY cards in card order.
std::optional<std::string> writeEngineInput(Model& model, Ui& ui, const std::string& inputPath,
                                            const std::string& outputName);

// ZO: the feed line's characteristic impedance in ohms (a number, a unit
// value or an expression). The engine does not know the card, so the
// conversion leaves it out and keeps its value in model.deckZ0; a value
// that is not positive is reported and leaves deckZ0 as it was.
void readFeedLineCard(Model& model, Ui& ui, std::string_view line);
// An engine deck without its ZO cards, for decks that are run as written.
std::string withoutFeedLineCards(std::string_view deck);

// The same conversion on text already in memory; returns the numeric deck.
// A ZO card sets model.deckZ0 (the caller clears it before a whole deck).
// `errors`, when given, receives the number of errors the conversion
// reported (unknown symbols, syntax errors, missing fields): a deck with
// errors holds zeros where values failed and must not be calculated.
std::string convertDeck(Model& model, Ui& ui, std::string_view deckText, int* errors = nullptr);

// Why a deck whose conversion reported `errors` errors is not calculated.
std::string deckErrorText(const Model& model, int errors);

} // namespace wavra
