// Helpers of the builder tests: a sink that records messages, and writers
// with the shape placed as generated (no rotation, no move).
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "builder/message_sink.h"
#include "builder/wire_writer.h"

namespace wavra::build::test {

class RecordingSink : public MessageSink {
public:
    void inform(const std::string& text) override { notes.push_back(text); }
    void fail(const std::string& text) override { failures.push_back(text); }
    std::vector<std::string> notes, failures;
};

inline WireWriter plainWriter(int startTag = 1) { return WireWriter(Placement{}, startTag); }

// The wires one generator writes for one shape, placed as generated.
template <class Shape>
std::vector<WrittenWire> wiresOf(void (*write)(WireWriter&, const Shape&), const Shape& shape) {
    WireWriter w = plainWriter();
    write(w, shape);
    return w.wires();
}

inline bool near(const Vec3& a, const Vec3& b, double tolerance = 1e-9) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance && std::fabs(a.z - b.z) < tolerance;
}

// Whether two wires join the same two points (in either direction).
inline bool sameSpan(const WrittenWire& a, const WrittenWire& b) {
    return (near(a.end1, b.end1, 1e-6) && near(a.end2, b.end2, 1e-6)) ||
           (near(a.end1, b.end2, 1e-6) && near(a.end2, b.end1, 1e-6));
}

inline int duplicateSpans(const std::vector<WrittenWire>& wires) {
    int duplicates = 0;
    for (size_t i = 0; i < wires.size(); ++i)
        for (size_t k = i + 1; k < wires.size(); ++k) duplicates += sameSpan(wires[i], wires[k]);
    return duplicates;
}

} // namespace wavra::build::test
