// The cards the NEC-2 engine knows: comments, geometry and program control.
// A card of any other name stops nec2c ("FAULTY DATA CARD LABEL"), so the
// run names it before the engine starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ui.h"

namespace wavra {

// True for a card name of the engine, in upper case ("GW", "XQ"); also for
// SZ, the capacity card of the lapack engine.
bool isNecCard(std::string_view name);

struct ForeignCard {
    std::string name; // the first two characters of the line, in upper case
    int line = 0;     // its line in the model file, from 1; 0 when not found there
};

// The first card of the engine deck (up to its EN card) that the engine
// does not know, with the first line of the model file that starts with it.
std::optional<ForeignCard> firstForeignCard(std::string_view engineDeck, std::string_view modelText);

// Names such a card before the run: "Card 'ZZ' in line 7 is not a NEC-2
// card; ...", with OK and Cancel. True when there is none or OK runs the
// deck as it is.
bool acceptForeignCards(Ui& ui, std::string_view engineDeck, std::string_view modelText);

} // namespace wavra
