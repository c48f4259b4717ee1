#include "builder/wire_writer.h"

#include <cmath>

#include "builder/number_text.h"

namespace wavra::build {
namespace {

bool isFinite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

double distance(const Vec3& a, const Vec3& b) {
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
}

Vec3 shifted(const Vec3& p, const Vec3& d) { return {p.x + d.x, p.y + d.y, p.z + d.z}; }

} // namespace

double degreeFactor() { return 4.0 * std::atan(1.0) / 180.0; }

Vec3 rotatePoint(const Vec3& p, const std::array<double, 3>& degrees) {
    const double ax = degrees[0] * degreeFactor();
    const double ay = degrees[1] * degreeFactor();
    const double az = degrees[2] * degreeFactor();
    const double y1 = p.y * std::cos(ax) + p.z * std::sin(ax);
    const double z1 = p.z * std::cos(ax) - p.y * std::sin(ax);
    const double x2 = p.x * std::cos(ay) + z1 * std::sin(ay);
    const double z2 = z1 * std::cos(ay) - p.x * std::sin(ay);
    const double x3 = x2 * std::cos(az) + y1 * std::sin(az);
    const double y3 = y1 * std::cos(az) - x2 * std::sin(az);
    return {x3, y3, z2};
}

WireWriter::WireWriter(const Placement& placement, int startTag) : m_placement(placement), m_nextTag(startTag) {}

void WireWriter::setFace(const std::array<double, 3>& rotationDeg, const Vec3& offset) {
    m_faceRotation = rotationDeg;
    m_faceOffset = offset;
}

void WireWriter::clearFace() { setFace({0, 0, 0}, Vec3{}); }

// The face is placed within the shape first and the whole shape is then
// turned and moved. With no face rotation this is: add the offset, rotate
// by the user's angles, add the move.
Vec3 WireWriter::place(const Vec3& p) const {
    const Vec3 inShape = shifted(rotatePoint(p, m_faceRotation), m_faceOffset);
    const auto& r = m_placement.userRotation;
    const Vec3 turned = rotatePoint(inShape, {double(r[0]), double(r[1]), double(r[2])});
    const auto& m = m_placement.move;
    return shifted(turned, {m[0], m[1], m[2]});
}

std::string WireWriter::card(int n, const Vec3& a, const Vec3& b) const {
    const auto& sym = m_placement.moveSymbol;
    std::string line = "GW " + padInteger(m_nextTag, 4) + " " + padInteger(n, 3);
    for (const Vec3* p : {&a, &b}) {
        line += " " + formatField(p->x, sym[0]);
        line += " " + formatField(p->y, sym[1]);
        line += " " + formatField(p->z, sym[2]);
    }
    const bool symbolic = !m_placement.radiusSymbol.empty();
    line += " " + formatField(symbolic ? m_placement.radiusSymbolNumber : m_placement.radius, m_placement.radiusSymbol);
    return line;
}

void WireWriter::wire(int n, const Vec3& end1, const Vec3& end2) {
    if (stopped() || n <= 0) return;
    if (++m_offered > kMaxOffered) {
        m_limit = WriterLimit::ZeroLengthWires;
        return;
    }
    if (!isFinite(end1) || !isFinite(end2)) {
        ++m_nonFinite;
        return;
    }
    if (distance(end1, end2) / n < 1e-6) return;
    const Vec3 a = place(end1), b = place(end2);
    if (!isFinite(a) || !isFinite(b)) {
        ++m_nonFinite;
        return;
    }
    if (m_nextTag > kMaxTag || m_totalSegments + n > kMaxSegments) {
        m_limit = WriterLimit::TagsOrSegments;
        return;
    }
    m_cards.push_back(card(n, a, b));
    m_wires.push_back({m_nextTag, n, a, b});
    ++m_nextTag;
    m_totalSegments += n;
}

} // namespace wavra::build
