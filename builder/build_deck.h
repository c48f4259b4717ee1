// Create: reads the common entries, generates the shape and assembles the
// deck: CM lines with the parameters, CE, SY lines for symbolic moves, the
// GW cards and GE 0.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "builder/message_sink.h"
#include "builder/shape_form.h"
#include "builder/wire_writer.h"

namespace wavra::build {

// The common frames of the dialog, as texts.
struct CommonEntries {
    std::string radius = "1";                         // "Wire radius in mm."
    std::string startTag = "1";                       // "Start with tagnr."
    std::array<std::string, 3> move{"", "", ""};      // "Move X, Y, Z"
    std::array<std::string, 3> rotate{"0", "0", "0"}; // "Rotate X, Y, Z"
};

struct Deck {
    bool ok = false;
    std::string text; // the whole file, '\n' after every line
    int wireCount = 0;
    int totalSegments = 0;
    std::vector<WrittenWire> wires;
};

// Creates decks one after another. It remembers the last numeric wire
// radius, which is the number written after a radius symbol.
class DeckBuilder {
public:
    // On failure the sink is told why and the deck is not ok. Empty move
    // boxes are set to "0".
    Deck create(const ShapeForm& form, CommonEntries& common, MessageSink& sink);

private:
    double m_lastNumericRadius = 0;
};

// The deck of a form with the common entries at their defaults (no move, no
// rotation); notes are dropped. Used for the pictures.
Deck shapeDeck(const ShapeForm& form);

// The deck of a shape with every entry at its default.
Deck defaultDeck(ShapeKind kind);

} // namespace wavra::build
