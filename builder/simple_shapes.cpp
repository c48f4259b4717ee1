// Patch, Plane and Helix: one grid patch, one radial disc, one wound line.
#include <cmath>

#include "builder/grid_patch.h"
#include "builder/radial_disc.h"
#include "builder/shapes.h"

namespace wavra::build {

void writePatch(WireWriter& writer, const PatchShape& s) {
    writeGridPatch(writer, {s.lengthX1, s.lengthX2, s.lengthY, s.sectionsX, s.sectionsY, s.segmentsX, s.segmentsY, 0});
}

// Without circular wires only the radials remain, each one span from the
// centre to the rim: one radial division with the outer ring left out.
void writePlane(WireWriter& writer, const PlaneShape& s) {
    RadialDisc disc{s.startAngle,         s.stopAngle,           s.radius, s.radialWires, s.circularWires,
                    s.radialWireSegments, s.circularWireSegments};
    if (s.circularWires == 0) {
        disc.radius = -std::fabs(s.radius);
        disc.radiusSteps = 1;
    }
    writeRadialDisc(writer, disc);
}

// A feed wire from the axis out to R1, the turns one segment per step with
// the radius going linearly from R1 to R2, and a wire back to the axis at L.
void writeHelix(WireWriter& writer, const HelixShape& s) {
    const Vec3 start{s.radius1, 0, 0};
    writer.wire(1, Vec3{}, start);
    LineWalk walk(writer, 1);
    walk.to(start);
    const long long n = s.segmentsPerTurn;
    const long long steps = n > 0 && s.turns > 0 ? n * s.turns : 0;
    for (long long k = 1; k <= steps && !writer.stopped(); ++k) {
        const long long j = (k - 1) % n + 1;
        const double a = double(j) * 360.0 / double(n) * degreeFactor();
        const double r = s.radius1 - (s.radius1 - s.radius2) * double(k) / double(steps);
        const Vec3 p{r * std::cos(a), r * std::sin(a), double(k) * s.length / double(steps)};
        walk.to(p);
    }
    walk.to({0, 0, s.length});
}

} // namespace wavra::build
