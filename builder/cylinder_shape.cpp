// The Cylinder (or cone, or part of one): straight wires along the length,
// rings at every level, and radial end caps that leave out their outer ring,
// which the cylinder's end rings already form.
#include <cmath>

#include "builder/radial_disc.h"
#include "builder/shapes.h"

namespace wavra::build {
namespace {

struct Level {
    double radius, height;
};

Vec3 onLevel(const Level& level, double degrees) {
    const double a = degrees * degreeFactor();
    return {level.radius * std::cos(a), level.radius * std::sin(a), level.height};
}

RadialDisc cap(const CylinderShape& s, double radius) {
    return {s.startAngle,     s.stopAngle,        -std::fabs(radius), s.circularSections,
            s.radialSections, s.circularSegments, s.radialSegments};
}

} // namespace

void writeCylinder(WireWriter& writer, const CylinderShape& s) {
    const int ns = s.straightSections, nc = s.circularSections;
    if (ns <= 0 || nc <= 0) return;
    const double dR = (s.radius2 - s.radius1) / ns;
    const double dz = s.length / ns;
    // Level i = 0..ns; the last one exactly at R2 and L, where its cap sits.
    auto level = [&](int i) { return i == ns ? Level{s.radius2, s.length} : Level{s.radius1 + i * dR, i * dz}; };

    if (s.circularSegments > 0) {
        const int spokes = spokeCount(s.startAngle, s.stopAngle, nc);
        for (int k = 0; k < spokes && !writer.stopped(); ++k) {
            const double a = stepAngle(s.startAngle, s.stopAngle, nc, k);
            LineWalk walk(writer, s.circularSegments);
            for (int i = 0; i <= ns && !writer.stopped(); ++i) walk.to(onLevel(level(i), a));
        }
    }
    for (int i = 0; i <= ns && !writer.stopped(); ++i) {
        const Level lv = level(i);
        if (std::fabs(lv.radius) > std::fabs(dR) / 10000 && s.straightSegments > 0) {
            LineWalk walk(writer, s.straightSegments);
            for (int k = 0; k <= nc && !writer.stopped(); ++k)
                walk.to(onLevel(lv, stepAngle(s.startAngle, s.stopAngle, nc, k)));
        }
        if (i == ns) {
            writer.setFace({0, 0, 0}, {0, 0, s.length});
            writeRadialDisc(writer, cap(s, s.radius2));
            writer.clearFace();
        }
        if (i == 0) writeRadialDisc(writer, cap(s, s.radius1));
    }
}

} // namespace wavra::build
