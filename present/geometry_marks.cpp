#include "present/geometry_marks.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace wavra {

namespace {

Point3 end1(const Geometry& geometry, int i) { return {geometry.wireX1[i], geometry.wireY1[i], geometry.wireZ1[i]}; }
Point3 end2(const Geometry& geometry, int i) { return {geometry.wireX2[i], geometry.wireY2[i], geometry.wireZ2[i]}; }

// The point at fraction t along row i.
Point3 along(const Geometry& geometry, int i, double t) {
    return {geometry.wireX1[i] + (geometry.wireX2[i] - geometry.wireX1[i]) * t,
            geometry.wireY1[i] + (geometry.wireY2[i] - geometry.wireY1[i]) * t,
            geometry.wireZ1[i] + (geometry.wireZ2[i] - geometry.wireZ1[i]) * t};
}

int segmentsOf(const Geometry& geometry, int i) { return std::max<int>(geometry.wireSegments[i], 1); }

// Every segment of the structure in order: row, segment within the row,
// segment number within its tag and absolute segment number.
void forEachSegment(const Geometry& geometry,
                    const std::function<void(int row, int segment, int inTag, int absolute)>& visit) {
    std::map<int, int> countByTag;
    int absolute = 0;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        int& inTag = countByTag[geometry.wireTag[i]];
        for (int j = 1; j <= segmentsOf(geometry, i); ++j) visit(i, j, ++inTag, ++absolute);
    }
}

Point3 segmentMidpoint(const Geometry& geometry, int row, int segment) {
    return along(geometry, row, (segment - 0.5) / segmentsOf(geometry, row));
}

bool sameEnd(const Point3& a, const Point3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

// Input wires: ends sorted by x, each compared with the ends within the
// tolerance in x.
std::vector<Point3> unmatchedEnds(const Geometry& geometry) {
    std::vector<Point3> ends;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        ends.push_back(end1(geometry, i));
        ends.push_back(end2(geometry, i));
    }
    const double tolerance = 1e-6 * std::max(geometry.modelExtent, 1e-9);
    std::vector<size_t> order(ends.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return ends[a].x < ends[b].x; });
    std::vector<bool> matched(ends.size(), false);
    for (size_t a = 0; a < order.size(); ++a)
        for (size_t b = a + 1; b < order.size() && ends[order[b]].x - ends[order[a]].x <= tolerance; ++b)
            if (order[a] / 2 != order[b] / 2 && sameEnd(ends[order[a]], ends[order[b]], tolerance))
                matched[order[a]] = matched[order[b]] = true;
    std::vector<Point3> open;
    for (size_t k = 0; k < ends.size(); ++k)
        if (!matched[k]) open.push_back(ends[k]);
    return open;
}

// Whether segment (tag, inTag, absolute) lies in segments first..last of
// `tag` (tag 0: absolute numbers; first 0: every segment).
bool covers(int tag, int first, int last, int segmentTag, int inTag, int absolute) {
    if (tag != 0 && tag != segmentTag) return false;
    if (first == 0) return true;
    const int n = tag == 0 ? absolute : inTag;
    return n >= first && n <= std::max(first, last);
}

} // namespace

bool showsReportSegments(const Geometry& geometry) {
    return geometry.wireCount >= 1 && geometry.wireEnd1Link[1] != kNoLink;
}

std::vector<Point3> openEnds(const Geometry& geometry) {
    if (!showsReportSegments(geometry)) return unmatchedEnds(geometry);
    std::vector<Point3> open;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        if (geometry.wireEnd1Link[i] == 0) open.push_back(end1(geometry, i));
        if (geometry.wireEnd2Link[i] == 0) open.push_back(end2(geometry, i));
    }
    return open;
}

std::vector<Point3> junctionEnds(const Geometry& geometry) {
    std::vector<Point3> ends;
    if (!showsReportSegments(geometry)) return ends;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        if (geometry.wireEnd1Link[i] < 0 && geometry.wireEnd1Link[i] != -i) ends.push_back(end1(geometry, i));
        if (geometry.wireEnd2Link[i] < 0 && geometry.wireEnd2Link[i] != -i) ends.push_back(end2(geometry, i));
    }
    return ends;
}

std::vector<Point3> sourcePoints(const Geometry& geometry) {
    std::vector<Point3> points;
    const int sources = std::min<int>(geometry.sourceCount, geometry.sourceCapacity());
    if (sources < 1) return points;
    forEachSegment(geometry, [&](int row, int segment, int inTag, int absolute) {
        for (int s = 1; s <= sources; ++s) {
            if (geometry.sourceTag[s] == kEmptyTag || geometry.sourceSegment[s] < 1) continue;
            if (covers(geometry.sourceTag[s], geometry.sourceSegment[s], geometry.sourceSegment[s],
                       geometry.wireTag[row], inTag, absolute))
                points.push_back(segmentMidpoint(geometry, row, segment));
        }
    });
    return points;
}

std::vector<Point3> loadPoints(const Geometry& geometry) {
    std::vector<Point3> points;
    const int loads = std::min<int>(geometry.loadCount, geometry.loadCapacity());
    if (loads < 1) return points;
    forEachSegment(geometry, [&](int row, int segment, int inTag, int absolute) {
        for (int l = 1; l <= loads; ++l) {
            if (geometry.loadTag[l] == kEmptyTag) continue;
            if (covers(geometry.loadTag[l], geometry.loadFirstSegment[l], geometry.loadLastSegment[l],
                       geometry.wireTag[row], inTag, absolute)) {
                points.push_back(segmentMidpoint(geometry, row, segment));
                break;
            }
        }
    });
    return points;
}

std::vector<Point3> segmentDivisions(const Geometry& geometry) {
    std::vector<Point3> points;
    for (int i = 1; i <= geometry.wireCount; ++i) {
        const int n = segmentsOf(geometry, i);
        for (int j = 0; j <= n; ++j) points.push_back(along(geometry, i, static_cast<double>(j) / n));
    }
    return points;
}

} // namespace wavra
