// The conversion of a foreign, free-form ".ant" antenna description into
// NEC-2 cards: a title, an environment line ("free" space, "sym"metric), a
// frequency, symbol assignments, a wire block with its unit, a source block
// and a load block; whatever follows becomes comment lines.
#pragma once

#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"

namespace wavra {

// The deck lines of an .ant file's lines, ending in an empty line. The
// symbols are evaluated and stored in `symbols` as they are read (the table
// is cut back to the fixed constants first); the parser's messages are added
// to `found`, each on the line of the .ant file it concerns.
std::vector<std::string> convertAntModel(Symbols& symbols, Diagnostics& found, const std::vector<std::string>& input);

// A value field of the .ant file in the deck's terms, for model unit `unit`
// ("", "ft", "in", "cm", "mm"): 12" becomes 12in, 10' becomes 10ft, and a
// value with its own unit or a wire gauge (#14) is divided by the model unit,
// which the GS card applies to every plain number.
std::string convertUnits(const std::string& value, const std::string& unit);

// The number of segments of a wire line whose count is 1 (automatic): 2n + 1
// with n = 10 x length / wavelength rounded, or 3 without a frequency.
int automaticSegments(double lengthMetres, double frequencyMHz);

} // namespace wavra
