// The grid patch: a flat trapezoid of wires in the local x-y plane, used by
// the Patch and by each face of the Box.
#pragma once

#include "builder/wire_writer.h"

namespace wavra::build {

// Skip-mask bits: each drops one family of grid lines.
enum GridSkip : int {
    SkipFirstRow = 1,    // the crosswise line j = 0 (bottom edge)
    SkipLastRow = 2,     // the crosswise line j = Ny (top edge)
    SkipFirstColumn = 4, // the lengthwise line i = 0
    SkipLastColumn = 8,  // the lengthwise line i = Nx
    SkipInner = 16,      // every line that is not a border
};

struct GridPatch {
    double bottomWidth = 0; // W1, at y = -H/2
    double topWidth = 0;    // W2, at y = +H/2
    double height = 0;      // H
    int sectionsX = 0;      // Nx
    int sectionsY = 0;      // Ny
    int segmentsX = 0;      // Sx, per crosswise span
    int segmentsY = 0;      // Sy, per lengthwise span
    int skip = 0;
};

// Writes the lengthwise lines (i = 0..Nx, each along j) and then the
// crosswise lines (j = 0..Ny, each along i).
void writeGridPatch(WireWriter& writer, const GridPatch& patch);

} // namespace wavra::build
