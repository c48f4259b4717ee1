// The parabolic screen: a paraboloid (or a surface bent in one direction
// only) divided by a circular grid, a rectangular grid clipped to the round
// aperture, or a plain rectangular grid.
#include <cmath>

#include "builder/shapes.h"

namespace wavra::build {
namespace {

double height(const ParabolaShape& s, double x, double y) {
    if (s.bentX && s.bentY) return (x * x + y * y) / (4 * s.focus);
    if (s.bentX) return x * x / (4 * s.focus);
    if (s.bentY) return y * y / (4 * s.focus);
    return 0;
}

Vec3 onParaboloid(double focus, double r, double degrees) {
    const double a = degrees * degreeFactor();
    const double x = r * std::cos(a), y = r * std::sin(a);
    return {x, y, (x * x + y * y) / (4 * focus)};
}

void writeCircularGrid(WireWriter& writer, const ParabolaShape& s) {
    const int nPhi = s.wiresX, nR = s.wiresY;
    if (nPhi <= 0 || nR <= 0) return;
    const double dPhi = 360.0 / nPhi, dr = s.lengthX / (2.0 * nR);
    if (s.segmentsX > 0) {
        for (int k = 0; k < nPhi && !writer.stopped(); ++k) {
            LineWalk walk(writer, s.segmentsX);
            for (int m = 0; m <= nR && !writer.stopped(); ++m) walk.to(onParaboloid(s.focus, m * dr, k * dPhi));
        }
    }
    if (s.segmentsY > 0) {
        for (int m = 1; m <= nR && !writer.stopped(); ++m) {
            LineWalk walk(writer, s.segmentsY);
            for (int k = 0; k <= nPhi && !writer.stopped(); ++k)
                walk.to(onParaboloid(s.focus, m * dr, (k % nPhi) * dPhi));
        }
    }
}

// Grid coordinates along one direction: n + 1 values (round grid) or n
// values (rectangular grid) spread evenly over [-length/2, +length/2].
struct Axis {
    int count = 0;
    double start = 0, step = 0;
    double at(int k) const { return start + k * step; }
};

Axis roundAxis(double aperture, int sections) {
    if (sections <= 0) return {};
    return {sections + 1, -aperture / 2, aperture / sections};
}

Axis rectangularAxis(double length, int wires) {
    if (wires <= 0) return {};
    if (wires == 1) return {1, 0, 0}; // a single wire runs along the middle
    return {wires, -length / 2, length / (wires - 1)};
}

// Writes the lines of constant x (along y), then those of constant y (along
// x), leaving out grid points for which `inside` is false.
template <class Inside>
void writeGrid(WireWriter& writer, const ParabolaShape& s, const Axis& ax, const Axis& ay, Inside inside) {
    auto walkLine = [&](int segments, int fixed, bool alongY) {
        LineWalk walk(writer, segments);
        const int n = alongY ? ay.count : ax.count;
        for (int k = 0; k < n && !writer.stopped(); ++k) {
            const double x = ax.at(alongY ? fixed : k), y = ay.at(alongY ? k : fixed);
            if (inside(x, y)) walk.to({x, y, height(s, x, y)});
            else walk.lift();
        }
    };
    if (s.segmentsY > 0)
        for (int i = 0; i < ax.count && !writer.stopped(); ++i) walkLine(s.segmentsY, i, true);
    if (s.segmentsX > 0)
        for (int j = 0; j < ay.count && !writer.stopped(); ++j) walkLine(s.segmentsX, j, false);
}

// Points on the aperture circle count as inside; a relative tolerance keeps
// rim points that rounding puts a hair outside.
void writeRoundRectangularGrid(WireWriter& writer, const ParabolaShape& s) {
    const double rim = s.lengthX / 2;
    const double limit = rim * rim * (1 + 1e-9);
    writeGrid(writer, s, roundAxis(s.lengthX, s.wiresX), roundAxis(s.lengthX, s.wiresY),
              [limit](double x, double y) { return x * x + y * y <= limit; });
}

void writeRectangularGrid(WireWriter& writer, const ParabolaShape& s) {
    writeGrid(writer, s, rectangularAxis(s.lengthX, s.wiresX), rectangularAxis(s.lengthY, s.wiresY),
              [](double, double) { return true; });
}

} // namespace

void writeParabola(WireWriter& writer, const ParabolaShape& shape, MessageSink& sink) {
    switch (shape.grid) {
    case ParabolaGrid::RoundCircular: writeCircularGrid(writer, shape); break;
    case ParabolaGrid::RoundRectangular:
        writeRoundRectangularGrid(writer, shape);
        sink.inform(kCleanUpNote);
        break;
    case ParabolaGrid::Rectangular: writeRectangularGrid(writer, shape); break;
    }
}

} // namespace wavra::build
