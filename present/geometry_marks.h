// Where the geometry view puts its marks on the wire structure: open wire
// ends, junctions of more than two wires, sources, loaded segments and
// segment divisions. The wire table holds either the wires of the input
// deck (one row per GW card, wireSegments segments each) or the segments of
// the engine report (one row per segment with its connection numbers).
#pragma once

#include <vector>

#include "core/model.h"

namespace wavra {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// True when the wire table holds the report's segments: the input reader
// leaves the connection columns at kNoLink, the report reader fills them.
bool showsReportSegments(const Geometry& geometry);

// Wire ends connected to nothing: for the report's segments the ends whose
// connection number is 0; for input wires the ends that meet no other wire
// end (within a millionth of the model's extent).
std::vector<Point3> openEnds(const Geometry& geometry);

// Report segments only: the ends that the report lists in a junction of more
// than two wires (stored as a negative connection number other than the
// segment's own, which marks an end on a ground plane).
std::vector<Point3> junctionEnds(const Geometry& geometry);

// The midpoints of the source segments (tag and segment of each EX card;
// tag 0 counts segments through the whole structure).
std::vector<Point3> sourcePoints(const Geometry& geometry);

// The midpoints of the loaded segments (segments first..last of a tag; a
// first segment of 0 loads every segment of the tag, tag 0 counts through
// the whole structure).
std::vector<Point3> loadPoints(const Geometry& geometry);

// Both ends of every segment.
std::vector<Point3> segmentDivisions(const Geometry& geometry);

} // namespace wavra
