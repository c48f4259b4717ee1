// Sections of the report that describe the structure: comments, ground and
// environment lines, multiple-wire junctions, segmentation data and loads.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/text.h"
#include "report/columns.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {

constexpr size_t kMaxCommentLines = 10;
constexpr size_t kMaxGroundEntries = 16;
constexpr size_t kMaxEnvironmentEntries = 17;
constexpr int kJunctionFields = 20;
constexpr double kDegToRad = std::numbers::pi / 180;

// A line of the junction list: numbers and signs only, or "NONE".
bool isJunctionLine(std::string_view line) {
    if (trim(line) == "NONE") return true;
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '-' || c == '+' || (c >= '0' && c <= '9'); });
}

// A row of the loading table: its tag is a number or "ALL" (every segment).
bool isLoadLine(std::string_view line, const ReportLayout& l) {
    return columnIsNumber(line, l.loadTag) || trim(columnText(line, l.loadTag)) == "ALL";
}

} // namespace

void ReportReader::readComments() {
    if (!skipLines(layout->commentSkip)) return;
    s.comments.clear();
    s.environment.clear();
    std::string_view line;
    for (size_t i = 0; i < kMaxCommentLines && readOutputLine(line) && !line.empty(); ++i)
        if (!isBlank(line)) s.comments.push_back(trim(line));
}

// "GROUND PLANE SPECIFIED." and the line about currents at wire ends that
// touch the ground: interpolated currents mean a ground-plane symmetry.
void ReportReader::readGroundLine(std::string_view line, bool interpolation) {
    if (!interpolation) geo.groundSymmetry = -1;
    else if (line.find("INTERPOL") != std::string_view::npos) geo.groundSymmetry = 1;
    if (s.environment.size() < kMaxGroundEntries) s.environment.push_back(trim(line));
}

// The antenna environment is printed at every frequency; only the block
// before the first power budget is listed.
void ReportReader::readEnvironment() {
    if (!skipLines(layout->environmentSkip) || fieldScale != 0) return;
    std::string_view line;
    for (size_t i = 0; i < kMaxCommentLines && readOutputLine(line) && !line.empty(); ++i)
        if (!isBlank(line) && s.environment.size() < kMaxEnvironmentEntries) s.environment.push_back(trim(line));
}

// Segment numbers of each junction: a negative number is a segment joined at
// its first end, a positive one at its second end. The segmentation data
// that follow use the marks to tell junctions from plain connections.
void ReportReader::readJunctions() {
    std::string_view line;
    for (;;) {
        if (!readOutputLine(line)) return;
        if (line.empty() && (!readOutputLine(line) || line.empty())) return;
        if (!isJunctionLine(line)) {
            unreadLine(line);
            return;
        }
        for (int k = 0; k < kJunctionFields; ++k) {
            const Column field{layout->junctionFirst.start + layout->junctionStep * k, layout->junctionFirst.width};
            const double segment = columnNumber(line, field);
            if (segment == 0) break;
            markJunction(segment);
        }
    }
}

void ReportReader::markJunction(double segment) {
    const double row = std::fabs(segment);
    if (row < 1 || row > geo.wireCapacity()) return;
    auto& links = segment < 0 ? geo.wireEnd1Link : geo.wireEnd2Link;
    links[static_cast<size_t>(row)] = -1;
}

// One wire-table row per segment. Rows fill up to the table's capacity; the
// rest of a longer table is counted, so the message can say what was dropped.
void ReportReader::readSegmentation() {
    if (!skipLines(layout->segmentationSkip)) return;
    const int capacity = std::min<int>(settings.maxSegments, geo.wireCapacity());
    int row = 0;
    long long total = 0;
    std::string_view line;
    while (readOutputLine(line) && !isBlank(line)) {
        if (++total <= capacity) storeSegment(++row, line);
    }
    geo.wireCount = static_cast<int16_t>(row);
    s.segments = row;
    s.wires = wireRuns(row);
    if (total > row) showDropped(row, total, "segments", "Nr of segments");
}

void ReportReader::storeSegment(int row, std::string_view line) {
    const ReportLayout& l = *layout;
    const double half = columnNumber(line, l.segLength) / 2;
    const double alpha = columnNumber(line, l.segAlpha) * kDegToRad;
    const double beta = columnNumber(line, l.segBeta) * kDegToRad;
    const double centre[3] = {columnNumber(line, l.segX), columnNumber(line, l.segY), columnNumber(line, l.segZ)};
    const double d[3] = {half * std::cos(alpha) * std::cos(beta), half * std::cos(alpha) * std::sin(beta),
                         half * std::sin(alpha)};
    const size_t r = static_cast<size_t>(row);
    geo.wireX1[r] = centre[0] - d[0];
    geo.wireY1[r] = centre[1] - d[1];
    geo.wireZ1[r] = centre[2] - d[2];
    geo.wireX2[r] = centre[0] + d[0];
    geo.wireY2[r] = centre[1] + d[1];
    geo.wireZ2[r] = centre[2] + d[2];
    geo.extentX = std::max({geo.extentX, std::fabs(geo.wireX1[r]), std::fabs(geo.wireX2[r])});
    geo.extentY = std::max({geo.extentY, std::fabs(geo.wireY1[r]), std::fabs(geo.wireY2[r])});
    geo.extentZ = std::max({geo.extentZ, std::fabs(geo.wireZ1[r]), std::fabs(geo.wireZ2[r])});
    geo.wireRadius[r] = columnNumber(line, l.segRadius);
    geo.wireTag[r] = columnInt16(line, l.segTag);
    geo.wireSegments[r] = 1;
    res.wireCurrentMag[r] = 0;
    res.wireCurrentPhase[r] = 0;
    geo.wireMark[r] = 0;
    // A connection is stored as the neighbour's number; a junction end, or an
    // end joined to its own image in a ground plane, as its negative.
    const int16_t own = static_cast<int16_t>(row);
    const int16_t c1 = toInt16(std::fabs(columnNumber(line, l.segEnd1)));
    const int16_t c2 = toInt16(std::fabs(columnNumber(line, l.segEnd2)));
    geo.wireEnd1Link[r] = (geo.wireEnd1Link[r] != -1 && c1 != own) ? c1 : static_cast<int16_t>(-c1);
    geo.wireEnd2Link[r] = (geo.wireEnd2Link[r] != -1 && c2 != own) ? c2 : static_cast<int16_t>(-c2);
}

// The wires of the structure in the report's segment rows: a segment of the
// same tag joined at its first end to the segment before it continues that
// wire (as along every GW, GA and GH wire); any other segment starts one.
int ReportReader::wireRuns(int rows) const {
    int wires = 0;
    for (int r = 1; r <= rows; ++r) {
        const auto i = static_cast<size_t>(r);
        const bool continues = r > 1 && geo.wireTag[i] == geo.wireTag[i - 1] && geo.wireEnd1Link[i] == r - 1;
        if (!continues) ++wires;
    }
    return wires;
}

// One load per row; the classic report separates the rows by a blank line.
// A load without a last segment covers its first segment only.
void ReportReader::readLoads() {
    const int capacity = std::min<int>(settings.maxLoads, geo.loadCapacity());
    std::string_view line;
    for (;;) {
        if (!skipLines(layout->loadSkip) || !readOutputLine(line) || isBlank(line)) return;
        if (!isLoadLine(line, *layout) || geo.loadCount >= capacity) continue;
        const size_t r = static_cast<size_t>(++geo.loadCount);
        geo.loadTag[r] = columnInt16(line, layout->loadTag);
        geo.loadFirstSegment[r] = columnInt16(line, layout->loadFirst);
        geo.loadLastSegment[r] = columnInt16(line, layout->loadLast);
        if (geo.loadLastSegment[r] == 0) geo.loadLastSegment[r] = geo.loadFirstSegment[r];
        geo.loadType[r] = headingMatches(line, layout->loadWire) ? 5 : 0;
    }
}

} // namespace wavra
