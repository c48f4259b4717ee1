// The arithmetic of the shape pictures: wires seen obliquely from above,
// scaled to fill a picture of a given size.
#pragma once

#include <vector>

#include "builder/wire_writer.h"

namespace wavra::build {

struct Line2D {
    double x1, y1, x2, y2; // picture coordinates, y downwards
};

// Projects the wires onto a picture of width x height with a margin, keeping
// the aspect ratio and centring the drawing. Empty input gives no lines; a
// drawing with no extent (one point) lands in the centre.
std::vector<Line2D> projectWires(const std::vector<WrittenWire>& wires, double width, double height, double margin);

} // namespace wavra::build
