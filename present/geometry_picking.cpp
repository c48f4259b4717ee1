#include "present/geometry_picking.h"

#include <cmath>

namespace wavra {

double distanceToLine(double x, double y, double x1, double y1, double x2, double y2) {
    const Polar line = toPolar(x2 - x1, y2 - y1);
    if (line.magnitude == 0) return -1;
    const Polar pointer = toPolar(x - x1, y - y1);
    const Cartesian along = toCartesian(pointer.magnitude, pointer.angle - line.angle);
    if (along.re < 0) return pointer.magnitude;
    if (along.re > line.magnitude) return std::hypot(x - x2, y - y2);
    return std::fabs(along.im);
}

int16_t pickWire(const Geometry& geometry, const Projection& p, double x, double y, double maxDistance) {
    int16_t best = 0;
    double bestDistance = 0;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        const double d = distanceToLine(x, y, p.x(geometry.wireX1[i], geometry.wireY1[i]),
                                        p.y(geometry.wireX1[i], geometry.wireY1[i], geometry.wireZ1[i]),
                                        p.x(geometry.wireX2[i], geometry.wireY2[i]),
                                        p.y(geometry.wireX2[i], geometry.wireY2[i], geometry.wireZ2[i]));
        if (d < 0 || d > maxDistance) continue;
        if (best == 0 || d < bestDistance) {
            best = static_cast<int16_t>(i);
            bestDistance = d;
        }
    }
    return best;
}

int16_t nearerEnd(const Geometry& geometry, const Projection& p, int row, double x, double y) {
    const double d1 = std::hypot(x - p.x(geometry.wireX1[row], geometry.wireY1[row]),
                                 y - p.y(geometry.wireX1[row], geometry.wireY1[row], geometry.wireZ1[row]));
    const double d2 = std::hypot(x - p.x(geometry.wireX2[row], geometry.wireY2[row]),
                                 y - p.y(geometry.wireX2[row], geometry.wireY2[row], geometry.wireZ2[row]));
    return d2 < d1 ? int16_t{2} : int16_t{1};
}

} // namespace wavra
