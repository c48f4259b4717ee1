#include "present/geometry_marks.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace wavra {

namespace {

Point3 end1(const Model& m, int i) { return {m.wireX1[i], m.wireY1[i], m.wireZ1[i]}; }
Point3 end2(const Model& m, int i) { return {m.wireX2[i], m.wireY2[i], m.wireZ2[i]}; }

// The point at fraction t along row i.
Point3 along(const Model& m, int i, double t) {
    return {m.wireX1[i] + (m.wireX2[i] - m.wireX1[i]) * t, m.wireY1[i] + (m.wireY2[i] - m.wireY1[i]) * t,
            m.wireZ1[i] + (m.wireZ2[i] - m.wireZ1[i]) * t};
}

int segmentsOf(const Model& m, int i) { return std::max<int>(m.wireSegments[i], 1); }

// Every segment of the structure in order: row, segment within the row,
// segment number within its tag and absolute segment number.
void forEachSegment(const Model& m, const std::function<void(int row, int segment, int inTag, int absolute)>& visit) {
    std::map<int, int> countByTag;
    int absolute = 0;
    for (int i = 1; i <= m.wireCount; ++i) {
        int& inTag = countByTag[m.wireTag[i]];
        for (int j = 1; j <= segmentsOf(m, i); ++j) visit(i, j, ++inTag, ++absolute);
    }
}

Point3 segmentMidpoint(const Model& m, int row, int segment) {
    return along(m, row, (segment - 0.5) / segmentsOf(m, row));
}

bool sameEnd(const Point3& a, const Point3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

// Input wires: ends sorted by x, each compared with the ends within the
// tolerance in x.
std::vector<Point3> unmatchedEnds(const Model& m) {
    std::vector<Point3> ends;
    for (int i = 1; i <= m.wireCount; ++i) {
        ends.push_back(end1(m, i));
        ends.push_back(end2(m, i));
    }
    const double tolerance = 1e-6 * std::max(m.modelExtent, 1e-9);
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

bool showsReportSegments(const Model& m) { return m.wireCount >= 1 && m.wireEnd1Link[1] != kNoLink; }

std::vector<Point3> openEnds(const Model& m) {
    if (!showsReportSegments(m)) return unmatchedEnds(m);
    std::vector<Point3> open;
    for (int i = 1; i <= m.wireCount; ++i) {
        if (m.wireEnd1Link[i] == 0) open.push_back(end1(m, i));
        if (m.wireEnd2Link[i] == 0) open.push_back(end2(m, i));
    }
    return open;
}

std::vector<Point3> junctionEnds(const Model& m) {
    std::vector<Point3> ends;
    if (!showsReportSegments(m)) return ends;
    for (int i = 1; i <= m.wireCount; ++i) {
        if (m.wireEnd1Link[i] < 0 && m.wireEnd1Link[i] != -i) ends.push_back(end1(m, i));
        if (m.wireEnd2Link[i] < 0 && m.wireEnd2Link[i] != -i) ends.push_back(end2(m, i));
    }
    return ends;
}

std::vector<Point3> sourcePoints(const Model& m) {
    std::vector<Point3> points;
    const int sources = std::min<int>(m.sourceCount, m.sourceCapacity());
    if (sources < 1) return points;
    forEachSegment(m, [&](int row, int segment, int inTag, int absolute) {
        for (int s = 1; s <= sources; ++s) {
            if (m.sourceTag[s] == kEmptyTag || m.sourceSegment[s] < 1) continue;
            if (covers(m.sourceTag[s], m.sourceSegment[s], m.sourceSegment[s], m.wireTag[row], inTag, absolute))
                points.push_back(segmentMidpoint(m, row, segment));
        }
    });
    return points;
}

std::vector<Point3> loadPoints(const Model& m) {
    std::vector<Point3> points;
    const int loads = std::min<int>(m.loadCount, m.loadCapacity());
    if (loads < 1) return points;
    forEachSegment(m, [&](int row, int segment, int inTag, int absolute) {
        for (int l = 1; l <= loads; ++l) {
            if (m.loadTag[l] == kEmptyTag) continue;
            if (covers(m.loadTag[l], m.loadFirstSegment[l], m.loadLastSegment[l], m.wireTag[row], inTag, absolute)) {
                points.push_back(segmentMidpoint(m, row, segment));
                break;
            }
        }
    });
    return points;
}

std::vector<Point3> segmentDivisions(const Model& m) {
    std::vector<Point3> points;
    for (int i = 1; i <= m.wireCount; ++i) {
        const int n = segmentsOf(m, i);
        for (int j = 0; j <= n; ++j) points.push_back(along(m, i, static_cast<double>(j) / n));
    }
    return points;
}

} // namespace wavra
