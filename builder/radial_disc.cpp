#include "builder/radial_disc.h"

#include <cmath>
#include <cstdlib>

namespace wavra::build {
namespace {

Vec3 polar(double r, double degrees) {
    const double a = degrees * degreeFactor();
    return {r * std::cos(a), r * std::sin(a), 0};
}

void writeRadials(WireWriter& writer, const RadialDisc& d, double radiusStep) {
    if (d.radialSegments <= 0) return;
    const int spokes = spokeCount(d.startAngle, d.stopAngle, d.angleSteps);
    for (int k = 0; k < spokes && !writer.stopped(); ++k) {
        const double a = stepAngle(d.startAngle, d.stopAngle, d.angleSteps, k);
        LineWalk walk(writer, d.radialSegments);
        for (int m = 0; m <= d.radiusSteps && !writer.stopped(); ++m) walk.to(polar(m * radiusStep, a));
    }
}

void writeRings(WireWriter& writer, const RadialDisc& d, double radiusStep) {
    if (d.ringSegments <= 0) return;
    const int rings = d.radius < 0 ? d.radiusSteps - 1 : d.radiusSteps;
    for (int m = 1; m <= rings && !writer.stopped(); ++m) {
        LineWalk walk(writer, d.ringSegments);
        for (int k = 0; k <= d.angleSteps && !writer.stopped(); ++k)
            walk.to(polar(m * radiusStep, stepAngle(d.startAngle, d.stopAngle, d.angleSteps, k)));
    }
}

} // namespace

bool isFullCircle(int startAngle, int stopAngle) {
    const int span = std::abs(stopAngle - startAngle);
    return span != 0 && span % 360 == 0;
}

int spokeCount(int startAngle, int stopAngle, int steps) {
    if (steps <= 0) return 0;
    if (startAngle == stopAngle) return 1;
    return isFullCircle(startAngle, stopAngle) ? steps : steps + 1;
}

double stepAngle(int startAngle, int stopAngle, int steps, int k) {
    if (isFullCircle(startAngle, stopAngle) && k == steps) k = 0;
    return startAngle + k * (double(stopAngle) - startAngle) / steps;
}

void writeRadialDisc(WireWriter& writer, const RadialDisc& disc) {
    if (disc.radiusSteps <= 0 || disc.angleSteps <= 0) return;
    const double radiusStep = std::fabs(disc.radius) / disc.radiusSteps;
    writeRadials(writer, disc, radiusStep);
    writeRings(writer, disc, radiusStep);
}

} // namespace wavra::build
