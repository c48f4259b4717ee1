// The near field drawn on the wire structure: one mark per field point,
// sized by its value relative to the largest value of the component shown,
// for all points or only those of one x, y or z plane.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "present/geometry_view_state.h"

namespace wavra {

// The coordinates of the field points along one axis (0 x, 1 y, 2 z), in
// ascending order, each once.
std::vector<float> nearAxisCoordinates(const Results& results, const Summary& summary, int axis);

// A mark at a point, in drawing units, with its fraction of the largest
// value (the colourOf fraction of multi-colour marks).
struct NearFieldMark {
    double x, y, radius, fraction;
};

// The marks of the state's component (patternQuantity 1..4: x, y, z,
// total) for the points of the shown plane (gridType 0: all points; 1, 2, 3:
// the x, y or z plane at coordinate number planeIndex). The largest mark's
// radius is patternSize times the smallest point spacing.
std::vector<NearFieldMark> nearFieldMarks(const Results& results, const Summary& summary,
                                          const GeometryViewState& state);

// "X = 1.5 mtr." for the plane shown; empty for all points.
std::string nearPlaneLabel(const Results& results, const Summary& summary, const GeometryViewState& state);

// "E(x) field [Volt/m]", "H(y) field [Amp/m]", "Etot field [Volt/m]" ...
std::string nearQuantityLabel(const Summary& summary, int component);

} // namespace wavra
