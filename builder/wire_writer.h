// The common wire writer: every wire of every shape passes through it. It
// places the wire (face rotation and offset of the shape, the user's
// rotation and move), numbers it and writes it as one GW card.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace wavra::build {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// Where the finished shape goes and how its wires are written; set from the
// dialog's common entries before a shape is generated.
struct Placement {
    std::array<int, 3> userRotation{};     // whole degrees about X, Y, Z
    std::array<double, 3> move{};          // metres
    std::array<std::string, 3> moveSymbol; // symbol written before X, Y, Z
    double radius = 0.001;                 // metres
    std::string radiusSymbol;
    double radiusSymbolNumber = 0; // number written after the radius symbol
};

struct WrittenWire {
    int tag = 0;
    int segments = 0;
    Vec3 end1, end2; // as written, after placement
};

// Why a writer stopped taking wires.
enum class WriterLimit { None, TagsOrSegments, ZeroLengthWires };

class WireWriter {
public:
    static constexpr int kMaxTag = 32767;
    static constexpr int kMaxSegments = 32767;
    // Wires offered (written or dropped for zero length) before a shape is
    // taken to be degenerate: a valid deck holds at most 32767 wires.
    static constexpr long kMaxOffered = 1000000;

    WireWriter(const Placement& placement, int startTag);

    // Face placement of a shape part (Box faces, Cylinder caps): the part is
    // turned by `rotationDeg` about X, Y, Z and then shifted by `offset`, in
    // the shape's own frame, before the user's rotation and move.
    void setFace(const std::array<double, 3>& rotationDeg, const Vec3& offset);
    void clearFace();

    // Writes a wire of n segments from end1 to end2. Nothing is written when
    // n is not positive, when a segment would be shorter than 1e-6 m (points
    // that coincide) or when an end is not a finite number.
    void wire(int n, const Vec3& end1, const Vec3& end2);

    // True once the deck is full: generators stop walking.
    bool stopped() const { return m_limit != WriterLimit::None; }
    WriterLimit limit() const { return m_limit; }
    int nonFiniteWires() const { return m_nonFinite; }

    int nextTag() const { return m_nextTag; }
    int totalSegments() const { return m_totalSegments; }
    const std::vector<std::string>& cards() const { return m_cards; }
    const std::vector<WrittenWire>& wires() const { return m_wires; }

private:
    Vec3 place(const Vec3& p) const;
    std::string card(int n, const Vec3& a, const Vec3& b) const;

    Placement m_placement;
    std::array<double, 3> m_faceRotation{};
    Vec3 m_faceOffset;
    int m_nextTag;
    int m_totalSegments = 0;
    long m_offered = 0;
    int m_nonFinite = 0;
    WriterLimit m_limit = WriterLimit::None;
    std::vector<std::string> m_cards;
    std::vector<WrittenWire> m_wires;
};

// Walks a line of points, writing a wire of `segments` segments from each
// point to the next. `lift` ends the line, so the next point starts anew.
class LineWalk {
public:
    LineWalk(WireWriter& writer, int segments) : m_writer(writer), m_segments(segments) {}
    void to(const Vec3& p) {
        if (m_previous) m_writer.wire(m_segments, *m_previous, p);
        m_previous = p;
    }
    void lift() { m_previous.reset(); }

private:
    WireWriter& m_writer;
    int m_segments;
    std::optional<Vec3> m_previous;
};

// pi / 180.
double degreeFactor();

// Turns a point about X, then Y, then Z by whole or fractional degrees. The
// sense is the deck's: Y' = Y cos a + Z sin a, Z' = Z cos a - Y sin a about X,
// and likewise about Y and Z.
Vec3 rotatePoint(const Vec3& p, const std::array<double, 3>& degrees);

} // namespace wavra::build
