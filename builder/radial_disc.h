// The radial disc: radials from the centre and concentric rings in the local
// x-y plane, used by the Plane and by the Cylinder's end caps.
#pragma once

#include "builder/wire_writer.h"

namespace wavra::build {

struct RadialDisc {
    int startAngle = 0;     // A1, whole degrees
    int stopAngle = 360;    // A2
    double radius = 0;      // R; a negative R leaves out the outermost ring
    int angleSteps = 0;     // Na
    int radiusSteps = 0;    // Nr
    int ringSegments = 0;   // Sc, per ring span
    int radialSegments = 0; // Sr, per radial span
};

// True when the angle range A1..A2 is a whole number of turns (and not
// empty): its last spoke would lie on its first.
bool isFullCircle(int startAngle, int stopAngle);

// Spokes (radials, straight wires) at the angles A1 + k (A2 - A1) / n: n + 1
// of them, n for a full circle, and one when the range is empty.
int spokeCount(int startAngle, int stopAngle, int steps);

// Angle k of n steps from A1 to A2 in degrees; a full circle's last angle is
// its first, so a ring closes on exactly its first point.
double stepAngle(int startAngle, int stopAngle, int steps, int k);

void writeRadialDisc(WireWriter& writer, const RadialDisc& disc);

} // namespace wavra::build
