// The six parametric shapes, each divided into straight wires and handed to
// the common wire writer. Lengths in metres, angles in whole degrees.
#pragma once

#include "builder/message_sink.h"
#include "builder/wire_writer.h"

namespace wavra::build {

struct PatchShape {
    double lengthX1 = 1, lengthX2 = 2, lengthY = 3;
    int sectionsX = 10, segmentsX = 1;
    int sectionsY = 10, segmentsY = 2;
};

// A hat or ground plane: radials and rings.
struct PlaneShape {
    double radius = 10;
    int startAngle = 0, stopAngle = 360;
    int radialWires = 16, radialWireSegments = 1;     // box "Nr radial wires" and its segments
    int circularWires = 1, circularWireSegments = 10; // box "Nr circular wires" and its segments
};

struct HelixShape {
    double length = 1.2;
    double radius1 = 0.1, radius2 = 0.1; // metres
    int turns = 10, segmentsPerTurn = 16;
};

struct BoxShape {
    double lengthX1 = 2, lengthX2 = 2, lengthY = 3, lengthZ1 = 1, lengthZ2 = 1;
    int sectionsX = 2, segmentsX = 1;
    int sectionsY = 2, segmentsY = 1;
    int sectionsZ = 2, segmentsZ = 1;
    bool front = true, back = true, left = true, right = true, up = true, down = true;
};

struct CylinderShape {
    double length = 1.2;
    double radius1 = 0.2, radius2 = 0.2; // metres
    int startAngle = 0, stopAngle = 270;
    int straightSections = 3, straightSegments = 1;
    int circularSections = 8, circularSegments = 1;
    int radialSections = 1, radialSegments = 1;
};

enum class ParabolaGrid { RoundRectangular, RoundCircular, Rectangular };

struct ParabolaShape {
    double focus = 0.25;
    double lengthX = 2; // the aperture of the round grids
    double lengthY = 2; // rectangular shape only
    int wiresX = 16, segmentsX = 1;
    int wiresY = 10, segmentsY = 1;
    ParabolaGrid grid = ParabolaGrid::RoundCircular;
    bool bentX = true, bentY = true;
};

inline constexpr const char* kCleanUpNote = "Manually remove any unwanted segments due to numerical inaccuracy.";

void writePatch(WireWriter& writer, const PatchShape& shape);
void writePlane(WireWriter& writer, const PlaneShape& shape);
void writeHelix(WireWriter& writer, const HelixShape& shape);
void writeBox(WireWriter& writer, const BoxShape& shape);
void writeCylinder(WireWriter& writer, const CylinderShape& shape);
// The round rectangular grid ends with the clean-up note.
void writeParabola(WireWriter& writer, const ParabolaShape& shape, MessageSink& sink);

} // namespace wavra::build
