// The wire edit of the geometry view: the fields of the "Wire geometry"
// dialog for one wire of the input deck, applying them to the wire table
// (end points, radius, rotations about the fixed end, a new length along the
// wire), and the questions of saving the changed wires into the deck
// (written by deck/wire_save.h with a ".bak" backup of the old file).
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
double wireLength(const Geometry& geometry, int row);

// The fields of wire `row`: every number with the shared number formatter
// at 5 characters, the rotations 0.
WireFields wireFieldsOf(const Geometry& geometry, int row);

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
bool applyWireEdit(Geometry& geometry, ViewState& viewState, int row, int end, WireFields& fields);

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
