// The field tables of the report: radiation patterns, the gain of a
// single-direction frequency sweep, surface-wave patterns and near fields.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "base/text.h"
#include "report/columns.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {

// Near fields are kept in single precision; out-of-range values saturate
// and a missing value stays missing.
float toSingle(double v) {
    if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
}

} // namespace

// In a frequency loop the patterns of all steps follow one another when the
// request is a one-dimensional cut.
bool ReportReader::appendsPatterns() const { return res.sweepPatternAxis != 0; }

void ReportReader::readPatternHeading() {
    if (frequencyLoop && res.sweepPatternAxis == 0) {
        readSweepGain();
        return;
    }
    if (geo.requestMode < 0) return; // no far-field request: the table has no place
    if (res.patternCount == 0) {
        loadFarField(false);
        return;
    }
    // Appending: one more pattern while the frequency steps it belongs to
    // were counted.
    const long long expected = static_cast<long long>(geo.requestCount[1]) * geo.requestCount[2] * res.freqCount;
    if (appendsPatterns() && expected > res.patternCount) loadFarField(false);
}

// A frequency loop without a cut: the total gain of the first pattern line of
// each step goes into the sweep gain table.
void ReportReader::readSweepGain() {
    std::string_view line;
    if (!readOutputLine(line)) return;
    if (!columnIsValue(line, layout->gainTotal)) {
        unreadLine(line);
        return;
    }
    if (!rowWantsGain) return;
    rowWantsGain = false;
    const double gain = result(line, layout->gainTotal, "the gain");
    res.sweepGain[static_cast<size_t>(res.freqCount)] = gain;
    if (!std::isfinite(gain)) return;
    s.sweep.gainMin = std::min(s.sweep.gainMin, gain);
    s.sweep.gainMax = std::max(s.sweep.gainMax, gain);
    if (s.sweep.theta == -1 && s.sweep.phi == -1) {
        s.sweep.theta = columnValue(line, layout->theta);
        s.sweep.phi = columnValue(line, layout->phi);
    }
}

void ReportReader::readSurfacePattern() {
    if (res.patternCount != 0 || geo.requestMode < 0) return;
    if (skipLines(layout->surfaceSkip)) loadFarField(true);
}

void ReportReader::readNearFieldHeading() {
    if (geo.requestMode == kNearRequest && s.nearFieldCount == 0) loadNearField();
}

// Shown once per report: a frequency loop would repeat it at every step.
// The second line says how to load the table next time.
void ReportReader::showNotLoaded(long long total, int size) {
    if (notLoadedShown) return;
    notLoadedShown = true;
    const std::string keep = total <= kInt16Max
                                 ? "Raise 'Max-nr. far-field pts' (Settings) to load it."
                                 : "wavra holds at most " + groupedNumber(kInt16Max) + " points: request fewer.";
    note(Severity::Error, "Total of" + str(static_cast<double>(total)) + " exceeds max. of" + str(size) +
                              "\ncalculation points, pattern not loaded.\n" + keep);
}

// Loads pattern points from row patternCount + 1 on. A table that does not
// fit the far-field tables is not loaded at all: checked first from the
// request, and again when the table turns out longer than announced.
void ReportReader::loadFarField(bool surfaceWave) {
    const int size = res.farFieldCapacity();
    const long long patterns = appendsPatterns() && !surfaceWave ? std::max<int>(res.freqCount, 1) : 1;
    const long long announced = requestedPoints * patterns;
    if (announced > size) {
        showNotLoaded(announced, size);
        return;
    }
    const int first = res.patternCount + 1;
    long long total = res.patternCount;
    std::string_view line;
    while (readOutputLine(line) && !endsTable(line)) {
        if (++total <= size) storeFarPoint(static_cast<int>(total), line, surfaceWave);
    }
    if (total > size) {
        showNotLoaded(total, size);
        return;
    }
    finishFarTable(first, static_cast<int>(total));
}

void ReportReader::storeFarPoint(int row, std::string_view line, bool surfaceWave) {
    const ReportLayout& l = *layout;
    auto& angles = res.farFieldAngles[static_cast<size_t>(row)];
    auto& values = res.farFieldGains[static_cast<size_t>(row)];
    if (surfaceWave) {
        // Fields near ground: the height stands in the theta column, and the
        // first distance found is the request's distance.
        const char* where = "the surface wave's position";
        angles = {position(line, l.swHeight, where), position(line, l.swPhi, where)};
        const double distance = position(line, l.swDistance, where);
        if (geo.requestDistance == 0 && !isMissing(distance)) geo.requestDistance = distance;
        const char* what = "the surface wave";
        values = {0, 0, result(line, l.swFieldRadial, what) * fieldScale,
                  result(line, l.swFieldTheta, what) * fieldScale, result(line, l.swFieldPhi, what) * fieldScale};
    } else {
        const char* what = "the radiation pattern";
        angles = {position(line, l.theta, "the pattern angles"), position(line, l.phi, "the pattern angles")};
        values = {result(line, l.gainVertical, what), result(line, l.gainHorizontal, what),
                  result(line, l.gainTotal, what), result(line, l.fieldTheta, what) * fieldScale,
                  result(line, l.fieldPhi, what) * fieldScale};
    }
    // A point without its direction cannot be placed: all of it is missing.
    if (isMissing(angles[0]) || isMissing(angles[1])) values.fill(kMissing);
}

// Counts the new points, keeps the largest value of each column over all
// loaded points (missing values left out), and hands the points to the hooks.
void ReportReader::finishFarTable(int first, int last) {
    for (int row = first; row <= last; ++row) {
        const auto& values = res.farFieldGains[static_cast<size_t>(row)];
        for (size_t k = 0; k < values.size(); ++k) {
            if (isMissing(values[k])) continue;
            double& best = res.patternMax[k + 1];
            best = maxSeen[k] ? std::max(best, values[k]) : values[k];
            maxSeen[k] = true;
        }
        if (hooks) {
            const auto& angles = res.farFieldAngles[static_cast<size_t>(row)];
            hooks->patternPoint(angles[0], angles[1], values);
        }
    }
    for (size_t k = 0; k < maxSeen.size(); ++k)
        if (!maxSeen[k] && last >= first) res.patternMax[k + 1] = kMissing;
    res.patternCount = static_cast<int16_t>(std::max(last, 0));
}

// A table ends at a blank line, a line of asterisks, or the echo of the next
// card, which nec2c prints right after the last pattern of a run; the echo is
// handed back so that the card is read.
bool ReportReader::endsTable(std::string_view line) {
    if (headingMatches(line, layout->heading.dataCard)) {
        unreadLine(line);
        return true;
    }
    return isBlank(line) || line.substr(0, 3) == " **";
}

bool ReportReader::isNearPoint(std::string_view line) const { return columnIsNumber(line, layout->nearX); }

// The first near-field table: the header lines after the heading (if any)
// are passed over, then one point per line.
void ReportReader::loadNearField() {
    const int size = res.nearFieldCapacity();
    const long long announced = requestedPoints;
    if (announced > size) {
        showNotLoaded(announced, size);
        return;
    }
    std::string_view line;
    bool have = readOutputLine(line);
    for (int skipped = 0; have && !isNearPoint(line) && skipped < layout->nearHeaderLines; ++skipped)
        have = readOutputLine(line);
    long long total = 0;
    while (have && !endsTable(line)) {
        if (++total <= size) storeNearPoint(static_cast<int>(total), line);
        have = readOutputLine(line);
    }
    if (total > size) {
        showNotLoaded(total, size);
        return;
    }
    s.nearFieldCount = static_cast<int>(total);
}

void ReportReader::storeNearPoint(int row, std::string_view line) {
    const ReportLayout& l = *layout;
    const size_t r = static_cast<size_t>(row);
    const char* where = "the near-field coordinates";
    const double x = position(line, l.nearX, where), y = position(line, l.nearY, where),
                 z = position(line, l.nearZ, where);
    res.nearFieldPoints[r] = {toSingle(x), toSingle(y), toSingle(z)};
    // A point without its place cannot be drawn: its field is missing too.
    const bool placed = !isMissing(x) && !isMissing(y) && !isMissing(z);
    double e[3];
    for (size_t k = 0; k < 3; ++k) e[k] = placed ? result(line, l.nearMag[k], "the near field") * fieldScale : kMissing;
    const double total = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    res.nearFieldValues[r] = {toSingle(e[0]), toSingle(e[1]), toSingle(e[2]), toSingle(total)};
    for (size_t k = 1; k <= 4; ++k) {
        const double v = res.nearFieldValues[r][k - 1];
        if (isMissing(v)) continue;
        s.nearFieldMax[k] = nearMaxSeen[k - 1] ? std::max(s.nearFieldMax[k], v) : v;
        nearMaxSeen[k - 1] = true;
    }
}

} // namespace wavra
