// The requests a model deck makes itself: its frequency loop, its first
// far-field (RP) card and its first near-field (NE/NH) card with points. The
// calculation dialog and the batch command line start a calculation from
// them when the user gives no range of their own.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/model.h"

namespace wavra {

// Start, stop and step of one axis, with its number of points. A loop whose
// steps multiply holds its factor in `ratio` (else 0); its `step` is the
// linear step between the same ends that gives the same count.
struct DeckAxis {
    double start = 0, stop = 0, step = 0;
    int count = 0;
    double ratio = 0;
};

// A frequency loop of `count` steps from `start`, each `ratio` times the one
// before (an FR card with I1 = 1).
DeckAxis multiplicativeAxis(double start, double count, double ratio);

struct DeckRequests {
    // The deck's frequency loop: the first FR card of more than one step;
    // without one, the first FR card.
    std::optional<DeckAxis> frequency;
    std::optional<std::array<DeckAxis, 2>> farField;  // theta, phi of the first RP card
    std::optional<std::array<DeckAxis, 3>> nearField; // X, Y, Z of the first NE/NH card with points
};

// The requests of a numeric deck (as the engine reads it), up to its EN card.
// A single point keeps step 1, so start, stop and step move towards each
// other as every range of a calculation must.
DeckRequests findDeckRequests(std::string_view numericDeck);

// The requests of the model's deck file, converted with its SY values;
// nothing when the file cannot be read or its conversion reports errors.
DeckRequests modelDeckRequests(Model& model);

} // namespace wavra
