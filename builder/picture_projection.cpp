#include "builder/picture_projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wavra::build {
namespace {

struct Flat {
    double u, v;
};

// Seen from azimuth 30 degrees and elevation 25 degrees: x to the lower
// left, y to the lower right, z up.
Flat project(const Vec3& p) {
    const double az = 30 * degreeFactor(), el = 25 * degreeFactor();
    const double u = -p.x * std::sin(az) + p.y * std::cos(az);
    const double v = -p.x * std::cos(az) * std::sin(el) - p.y * std::sin(az) * std::sin(el) + p.z * std::cos(el);
    return {u, v};
}

struct Bounds {
    double uMin = std::numeric_limits<double>::max(), uMax = -std::numeric_limits<double>::max();
    double vMin = std::numeric_limits<double>::max(), vMax = -std::numeric_limits<double>::max();
    void add(const Flat& f) {
        uMin = std::min(uMin, f.u), uMax = std::max(uMax, f.u);
        vMin = std::min(vMin, f.v), vMax = std::max(vMax, f.v);
    }
};

} // namespace

std::vector<Line2D> projectWires(const std::vector<WrittenWire>& wires, double width, double height, double margin) {
    std::vector<Line2D> lines;
    if (wires.empty()) return lines;
    Bounds b;
    for (const WrittenWire& w : wires) b.add(project(w.end1)), b.add(project(w.end2));
    const double spanU = b.uMax - b.uMin, spanV = b.vMax - b.vMin;
    const double roomU = std::max(width - 2 * margin, 1.0), roomV = std::max(height - 2 * margin, 1.0);
    const double largest = std::max(spanU / roomU, spanV / roomV);
    const double scale = largest > 0 ? 1 / largest : 0;
    const double cu = (b.uMin + b.uMax) / 2, cv = (b.vMin + b.vMax) / 2;
    auto toPicture = [&](const Vec3& p, double& x, double& y) {
        const Flat f = project(p);
        x = width / 2 + (f.u - cu) * scale;
        y = height / 2 - (f.v - cv) * scale;
    };
    lines.reserve(wires.size());
    for (const WrittenWire& w : wires) {
        Line2D line{};
        toPicture(w.end1, line.x1, line.y1);
        toPicture(w.end2, line.x2, line.y2);
        lines.push_back(line);
    }
    return lines;
}

} // namespace wavra::build
