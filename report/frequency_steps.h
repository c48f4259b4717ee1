// The frequencies of a loop as its FR card defines them. The engine prints
// each step's frequency with 5 significant digits, too few for a loop with
// a fine step (2400 MHz in steps of 0.05 MHz prints 2400.1 twice); the echo
// of the FR card gives the start and step, from which every step's own
// frequency follows. A printed frequency is checked against it to the
// precision of the print.
#pragma once

#include <string>
#include <string_view>

namespace wavra {

struct FrequencySteps {
    bool known = false;          // start and step were read from the card's echo
    bool multiplicative = false; // FR I1 = 1: each step multiplies by `step`
    double start = 0, step = 0;
    long long count = 0; // steps of the loop (FR I2)
    // Half a unit of the last digit of the echoed start and step: how far
    // the echo may lie from the values the engine computes with.
    double startSlack = 0, stepSlack = 0;
};

// A frequency in MHz for a message: "14.0", "2400.05".
std::string mhzText(double f);

// Half a unit of the last digit of a printed number: 5e-4 for "1.4000E+01",
// 0.005 for "14.05"; 0 when the text holds no number.
double printedHalfUnit(std::string_view text);

// The frequency of step `index` (0 for the first): start + index * step, on
// the decimal grid of the echoed start and step, or start * step^index for a
// multiplicative loop.
double stepFrequency(const FrequencySteps& loop, long long index);

// True when `printed`, printed to within `printedSlack`, can be the
// frequency of step `index`.
bool printedAsStep(const FrequencySteps& loop, long long index, double printed, double printedSlack);

// The step of the loop (0 .. count - 1) that `printed` can be, the one
// nearest to it; -1 when none.
long long stepOfPrinted(const FrequencySteps& loop, double printed, double printedSlack);

} // namespace wavra
