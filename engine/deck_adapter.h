// Adaptation of the numeric engine deck to the calculation chosen for the
// run (calcKind with its sub-option and ranges): the frequency card and the
// first execution card are rewritten, the ground card read, and the deck
// always ends with EN.
//
// The adaptation is a function of the deck text and the model: it writes no
// file and starts nothing, so every choice can be checked on text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"

namespace wavra {

struct AdaptedDeck {
    std::string text;                   // the engine deck, one card per line, ending in EN
    std::vector<std::string> generated; // the cards written in place of the deck's, in order
};

// I1 of a generated RP card: -1 for near field; 1 with a surface wave; else
// the deck's RP mode adjusted to the ground screen: modes 0, 1, 4 become 4
// with radials and 0 without; 2 and 3 become 5 and 6 with radials; 5 and 6
// become 2 and 3 without radials. A deck without a far-field request (mode
// -9 or -1) counts as mode 0.
int16_t effectiveRpMode(const Model& model, int calcKind);

// The calcPresets entry that remembers the card generated for the current
// choice: row 1 far field, 2 + sub-option frequency loop, 6 near field, 0
// for the choices that remember nothing; column 1 with a surface wave (far
// field, frequency loop) or the H field (near field).
struct PresetEntry {
    int row = 0;
    int column = 0;
};
PresetEntry presetEntry(const Model& model);

// Rewrites a numeric deck (as convertDeck writes it) for model.calcKind 2,
// 3, 4, 13 or 14. Sets groundType, groundRadials, groundEpsilon,
// groundSigma, frequencyMHz, freqCount and requestMode from the cards as
// the engine will see them, and stores the generated cards in calcPresets.
AdaptedDeck adaptDeck(Model& model, std::string_view deck);

// For calcKind 1 (the deck runs unchanged): reads ground and frequency
// values from the deck into the model, as adaptDeck does, without changing
// any card.
void readRunValues(Model& model, std::string_view deck);

} // namespace wavra
