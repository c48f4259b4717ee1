// The GW lines of an input deck rewritten from the wire table, in the
// deck's own units: the wire edit of the geometry view saves the changed
// wires this way, leaving every other line of the deck as it was written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"

namespace wavra {

// A real number of a rewritten GW line: "###0.0####", or the exponent form
// when that picture would lose the value (a radius of a few micrometres).
std::string deckNumber(double v);

// The GW line of wire `row` in the deck's units (the table's metres divided
// by the deck's GS scale): "GW", tag and segments ("####0"), X1 Y1 Z1 X2 Y2,
// Z2 when Z2 or the radius is not 0, the radius when it is not 0, separated
// by `separator`. With `taperedRadius` (a GC card follows) the radius is
// written as 0, which tells the engine to take it from the GC card.
std::string gwLineOf(const Geometry& geometry, int row, char separator, double scale, bool taperedRadius);

// The deck with the GW lines of the rows in `rows` rewritten. GW cards are
// counted from 1 in file order up to EN, as the input reader numbers the
// wires; every other line, and the GW lines of rows not listed, stay as
// written, line endings included. A comment after the data of a rewritten
// line is kept.
struct WireRewrite {
    std::string text;
    bool dropsSymbols = false; // a rewritten line had a symbol, expression or unit in a field
};
WireRewrite rewriteWireLines(std::string_view deck, const Geometry& geometry, const std::vector<int16_t>& rows,
                             double scale);

// The scale factor of the deck's last GS card before EN (field 4, evaluated
// when it is an expression, with `symbols`, its problems added to `found`);
// 1 without a GS card.
double deckScaleFactor(Symbols& symbols, Diagnostics& found, std::string_view deck);

} // namespace wavra
