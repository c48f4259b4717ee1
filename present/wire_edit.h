// The wire edit of the geometry view: the fields of the "Wire geometry"
// dialog for one wire of the input deck, applying them to the wire table
// (end points, radius, rotations about the fixed end, a new length along the
// wire), and writing the changed wires back into the deck's GW lines with a
// ".bak" backup of the old file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// The dialog's fields as text. Segments and tag are shown, not applied.
struct WireFields {
    std::string x1, y1, z1, x2, y2, z2, radius, length, segments, tag;
    std::string rotateYZ = "0", rotateXZ = "0", rotateXY = "0"; // Xang, Yang, Zang, degrees
};

// Length of a wire row, metres.
double wireLength(const Model& model, int row);

// The fields of wire `row`: every number with the shared number formatter
// at 5 characters, the rotations 0.
WireFields wireFieldsOf(const Model& model, int row);

// Applies the dialog to wire `row`, moving end `end` (1 or 2; the other end
// stays fixed), in this order:
// 1. each of X1 ... Z2 and the radius whose field no longer reads as the
//    stored value formatted to 5 characters takes the field's value, so a
//    field left as shown keeps the unrounded value;
// 2. the rotations that are not 0, in the order YZ, XZ, XY: the moved end
//    turns about the fixed end in that plane by minus the angle;
// 3. a length field that no longer reads as the length the dialog showed
//    puts the moved end at that distance from the fixed end, along the
//    wire's direction.
// Text that is no number reads as 0. Every applied value sets
// inputModified and records the row in editedWires; the rotation fields are
// reset to "0". False, with nothing changed, when nothing was applied or
// row or end is out of range.
bool applyWireEdit(Model& model, int row, int end, WireFields& fields);

// A real number of a rewritten GW line: "###0.0####", or the exponent form
// when that picture would lose the value (a radius of a few micrometres).
std::string deckNumber(double v);

// The GW line of wire `row` in the deck's units (the table's metres divided
// by the deck's GS scale): "GW", tag and segments ("####0"), X1 Y1 Z1 X2 Y2,
// Z2 when Z2 or the radius is not 0, the radius when it is not 0, separated
// by `separator`. With `taperedRadius` (a GC card follows) the radius is
// written as 0, which tells the engine to take it from the GC card.
std::string gwLineOf(const Model& model, int row, char separator, double scale, bool taperedRadius);

// The deck with the GW lines of the rows in `rows` rewritten. GW cards are
// counted from 1 in file order up to EN, as the input reader numbers the
// wires; every other line, and the GW lines of rows not listed, stay as
// written, line endings included. A comment after the data of a rewritten
// line is kept.
struct WireRewrite {
    std::string text;
    bool dropsSymbols = false; // a rewritten line had a symbol, expression or unit in a field
};
WireRewrite rewriteWireLines(std::string_view deck, const Model& model, const std::vector<int16_t>& rows, double scale);

// The scale factor of the deck's last GS card before EN (field 4, evaluated
// when it is an expression); 1 without a GS card.
double deckScaleFactor(Model& model, Ui& ui, std::string_view deck);

enum class WireSave { Saved, NotSaved, Cancelled, Failed };

// Offers to write the changed wires into the input file: "Wire geometry
// modified, save changes ? " (Cancel posts the geometry view's code and
// keeps the changes; No clears inputModified and leaves the file), then,
// when a changed wire's GW line holds symbols, "Nec file contains symbol
// info,\nwhich will be lost, Continue ?". The old file becomes modelName +
// ".bak" in modelDir and the new one replaces it; when any of this fails the
// input file and the old backup stay as they were, the message says why and
// inputModified stays set.
WireSave saveWireGeometry(Model& model, Ui& ui);

} // namespace wavra
