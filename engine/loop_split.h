// Splitting an engine deck's frequency loop into consecutive ranges of
// steps, each run as an engine process of its own. Every part's deck is the
// whole deck with its FR card rewritten, so the engine echoes, checks and
// computes exactly what the single run does, only over fewer frequencies.
//
// nec2c steps a loop by accumulation: the next frequency is the previous
// one plus the step (FR I1 = 0) or times the step (I1 = 1), in double
// precision. A part's first frequency is accumulated the same way from the
// deck's own start and step, and written so that the engine reads back the
// very same double: every part's frequencies equal the single run's to the
// last bit. One more piece of state crosses steps: a negative ground
// conductivity (GN F2) is scaled by the wavelength of the loop's first
// frequency and kept for the whole loop, so the parts after the first get
// the conductivity the single run has from its first step on.
//
// Plain text arithmetic: nothing here writes a file or starts a program.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// A control card as nec2c reads it: the two-letter mnemonic (upper case)
// and the four integer and six real fields, missing fields 0.
struct EngineCard {
    std::string mnemonic;
    std::array<int, 4> ints{};
    std::array<double, 6> reals{};
};

// Reads one card line the way the engine does (fields separated by blanks,
// tabs or commas; an integer field read up to its first non-digit, a real
// field as the C library reads it). nullopt when the engine would stop on
// the line (a letter in an integer field, a mnemonic shorter than two).
std::optional<EngineCard> readEngineCard(std::string_view line);

// The card as a deck line the engine reads back to the same values.
std::string engineCardLine(const EngineCard& card);

// A deck's frequency loop that can be split.
struct FrequencyLoop {
    std::vector<std::string> lines; // the deck, one card per entry
    size_t frequencyLine = 0;       // the FR card
    EngineCard frequency;           // its fields
    int steps = 0;
    // The GN card in effect with a negative conductivity, when there is one.
    std::optional<size_t> groundLine;
    EngineCard ground;
    // The calculations at one frequency before the loop (the header's), when
    // one part alone may make them: each execution card before the loop's FR
    // card with the line of the FR card in effect there, which stands in for
    // it in the other parts' decks. Empty when every part makes them.
    struct HeaderCalculation {
        size_t line;
        size_t frequencyLine;
    };
    std::vector<HeaderCalculation> header;
    int headerSolutions = 0; // the matrix solutions they take, for balancing
    // The last of them is at the loop's first frequency with only cards
    // that leave the matrix as it is (FR, XQ, RP, NE, NH, PT, PQ) up to the
    // loop, and no network: an engine that keeps a factored matrix for the
    // same frequency (the lapack engine) solves it once for both.
    bool headerAtLoopStart = false;
};

// The deck's frequency loop when the engine runs it once and every step's
// section depends only on its own frequency: the last FR card, with at
// least four steps, then only cards that set up the run (LD, GN, EX, NT,
// TL, GD, KH, EK, PQ, PT, NE, NH) up to the RP or XQ card that starts the
// loop, then EN (XQ cards with I1 = 0 right after that RP are skipped by
// the engine and may stand before it). Calculations at one frequency may
// come before the loop (as the frequency-loop choice writes them): every
// part prints them alike. Not split, nullopt: no such loop, a second loop,
// anything calculated after the loop, a Sommerfeld ground (GN I1 = 2,
// whose integration in nec2c carries state from step to step), a
// plane-wave excitation, the
// normalised impedance table of an EX card (I4 ending in 1 to 9), a PT
// card printing receiving patterns, a PL plot file, CP, NX, no EN, or a
// card the engine would refuse.
std::optional<FrequencyLoop> splittableLoop(std::string_view deck);

// The frequency of step `index` (0 = the FR card's own) as the engine
// reaches it by accumulation.
double loopFrequency(const EngineCard& frequencyCard, int index);

// The conductivity the engine uses for a negative GN conductivity once the
// loop's first frequency (MHz) has scaled it.
double scaledConductivity(double conductivity, double firstFrequencyMHz);

// Consecutive steps of one part.
struct LoopPart {
    int first = 0; // index of its first step in the whole loop
    int steps = 0;
    bool header = true; // it makes the calculations before the loop
};

// `steps` split into at most `parts` consecutive ranges of nearly equal
// length, the longer ones last, none shorter than two steps (the engine
// runs a single frequency differently: near and far fields as separate
// passes). One part when that leaves no split. `headerSolutions` 0 or
// more: only the first part makes the calculations before the loop, and
// they count as that many steps of its share; negative: every part makes
// them (or there are none).
std::vector<LoopPart> splitSteps(int steps, int parts, int headerSolutions = -1);

// The deck of one part: the FR card starting at the part's first frequency
// with its number of steps; after the first part also the scaled ground
// conductivity; a part without the header has each calculation before the
// loop replaced by a repeat of the FR card in effect there (the cards keep
// their numbers, and the cards after it see an FR card as they saw a
// calculation: a new load or source set starts). nullopt when a rewritten
// card would be longer than the engine reads (132 characters).
std::optional<std::string> partDeck(const FrequencyLoop& loop, const LoopPart& part);

} // namespace wavra
