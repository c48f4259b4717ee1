// Picking a wire in the geometry view: the distance of the pointer from a
// wire's projected line, the wire nearest to a click, and the end of the
// picked wire nearer to it.
#pragma once

#include <cstdint>

#include "core/model.h"
#include "present/plot_math.h"

namespace wavra {

// A click within this distance (drawing units) of a wire's line picks it.
inline constexpr double kPickDistance = 6;

// Distance of the point (x, y) from the projected line from (x1, y1) to
// (x2, y2): the point is expressed relative to the first end and turned into
// the line's direction (both by toPolar); beyond an end the distance to that
// end counts. Negative for a line of zero projected length, which no click
// can pick.
double distanceToLine(double x, double y, double x1, double y1, double x2, double y2);

// The wire row whose projected line passes nearest to (x, y), within
// maxDistance; 0 when none does.
int16_t pickWire(const Geometry& geometry, const Projection& projection, double x, double y,
                 double maxDistance = kPickDistance);

// 1 or 2: the end of `row` whose projection lies nearer to (x, y).
int16_t nearerEnd(const Geometry& geometry, const Projection& projection, int row, double x, double y);

} // namespace wavra
