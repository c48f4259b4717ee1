// Program-control cards as the engine echoes them ("DATA CARD"): sources,
// transmission lines, ground, frequency, field requests and the extended
// kernel.
#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "report/columns.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {

// The points a request asks for, from its counts as printed: a count beyond
// the 16-bit fields of the model still gives the true total for the message.
// A count printed beyond the double range times a count of 0 asks for none.
long long pointCount(double a, double b, double c) {
    const double total = std::trunc(a) * std::trunc(b) * std::trunc(c);
    if (std::isnan(total)) return 0;
    return static_cast<long long>(std::clamp(total, -9e15, 9e15));
}

} // namespace

void ReportReader::readCard(std::string_view line) {
    const ReportLayout& l = *layout;
    const std::string_view name = columnText(line, l.cardName);
    std::array<int16_t, 4> ints{};
    std::array<double, 6> reals{};
    std::array<double, 4> printed{};
    for (size_t k = 0; k < ints.size(); ++k) {
        printed[k] = columnNumber(line, l.cardInt[k]);
        ints[k] = toInt16(printed[k]);
    }
    for (size_t k = 0; k < reals.size(); ++k) reals[k] = columnNumber(line, l.cardReal[k]);

    if (name == "EX") {
        // Voltage sources (type 0) only, while the source table has room.
        const int capacity = std::min<int>(settings.maxSources, geo.sourceCapacity());
        if (trim(columnText(line, l.cardInt[0])) == "0" && geo.sourceCount < capacity) {
            const size_t r = static_cast<size_t>(++geo.sourceCount);
            geo.sourceTag[r] = ints[1];
            geo.sourceSegment[r] = ints[2];
        }
    } else if (name == "TL") {
        readTransLine(ints);
    } else if (name == "GN") {
        geo.groundType = ints[0];
        geo.groundRadials = ints[1];
        geo.groundEpsilon = reals[0];
        geo.groundSigma = reals[1];
    } else if (name == "FR") {
        // The step count as printed: a count beyond 16 bits is no reason to
        // take the loop for a single frequency.
        const double printedSteps = printed[1];
        closeLoop();
        frequencyLoop = printedSteps >= 2;
        loopSteps = frequencyLoop ? static_cast<long long>(std::min(printedSteps, 1e15)) : 0;
        readFrequencyCard(line, printed);
    } else if (name == "RP") {
        if (geo.requestMode == kNoRequest) requestedPoints = pointCount(printed[1], printed[2], 1);
        readFarRequest(ints, reals);
    } else if (name == "NE" || name == "NH") {
        if (geo.requestMode == kNoRequest) requestedPoints = pointCount(printed[1], printed[2], printed[3]);
        readNearRequest(ints, reals, name == "NH");
    } else if (name == "EK") {
        geo.extendedKernel = -1;
    }
}

// The start and step of the frequencies (F1, F2), linear or multiplicative
// (I1 = 1). A card whose start or step is no number gives no frequencies:
// the printed ones are taken as they are.
void ReportReader::readFrequencyCard(std::string_view line, const std::array<double, 4>& printed) {
    const ReportLayout& l = *layout;
    steps = FrequencySteps{};
    steps.multiplicative = printed[0] == 1;
    steps.count = std::max(1LL, loopSteps);
    steps.start = columnValue(line, l.cardReal[0]);
    steps.step = columnValue(line, l.cardReal[1]);
    steps.startSlack = printedHalfUnit(columnText(line, l.cardReal[0]));
    steps.stepSlack = printedHalfUnit(columnText(line, l.cardReal[1]));
    steps.known = columnIsNumber(line, l.cardReal[0]) && (steps.count < 2 || columnIsNumber(line, l.cardReal[1]));
}

// The wire-table row of segment `segment` of the wire tagged `tag` (tag 0:
// the absolute segment number), 0 when there is none.
int ReportReader::findSegment(int tag, int segment) const {
    if (tag == 0) return segment >= 1 && segment <= geo.wireCount ? segment : 0;
    int seen = 0;
    for (int r = 1; r <= geo.wireCount; ++r)
        if (geo.wireTag[static_cast<size_t>(r)] == tag && ++seen == segment) return r;
    return 0;
}

// Each end of a transmission line is drawn along the segment it connects to:
// point 1 the segment's start, point 2 its end. A line whose segments are not
// in the wire table keeps its "not read" mark.
void ReportReader::readTransLine(const std::array<int16_t, 4>& ints) {
    const int capacity = std::min<int>(settings.maxTransLines, geo.transLineCapacity());
    if (geo.transLineCount >= capacity) return;
    const size_t line = static_cast<size_t>(++geo.transLineCount);
    const int rows[3] = {0, findSegment(ints[0], ints[1]), findSegment(ints[2], ints[3])};
    if (rows[1] == 0 || rows[2] == 0) return;
    for (size_t end = 1; end <= 2; ++end) {
        const size_t r = static_cast<size_t>(rows[end]);
        geo.tlX[line][1][end] = geo.wireX1[r];
        geo.tlY[line][1][end] = geo.wireY1[r];
        geo.tlZ[line][1][end] = geo.wireZ1[r];
        geo.tlX[line][2][end] = geo.wireX2[r];
        geo.tlY[line][2][end] = geo.wireY2[r];
        geo.tlZ[line][2][end] = geo.wireZ2[r];
    }
}

// The first field request of the report sets the request; later ones (a
// second RP card, or a request of the other kind) leave it, so the request
// always describes the table that is loaded.
void ReportReader::readFarRequest(const std::array<int16_t, 4>& ints, const std::array<double, 6>& reals) {
    if (geo.requestMode != kNoRequest) return;
    geo.requestMode = ints[0];
    geo.requestXnda = ints[3];
    geo.requestDistance = reals[4];
    geo.requestGainNorm = reals[5];
    geo.requestCount[1] = ints[1];
    geo.requestCount[2] = ints[2];
    geo.requestStep[1] = reals[2];
    geo.requestStep[2] = reals[3];
    // In a frequency loop a one-dimensional cut makes the patterns of all
    // frequencies follow one another.
    if (frequencyLoop && ints[1] == 1 && ints[2] > 1) res.sweepPatternAxis = 1;
    if (frequencyLoop && ints[1] > 1 && ints[2] == 1) res.sweepPatternAxis = -1;
    s.requestRows = {RequestRow{"Theta", reals[0], reals[0] + (ints[1] - 1) * reals[2], reals[2], ints[1]},
                     RequestRow{"Phi", reals[1], reals[1] + (ints[2] - 1) * reals[3], reals[3], ints[2]}};
    sizeFieldTables();
}

void ReportReader::readNearRequest(const std::array<int16_t, 4>& ints, const std::array<double, 6>& reals,
                                   bool magnetic) {
    if (geo.requestMode != kNoRequest) return;
    geo.requestMode = kNearRequest;
    s.nearFieldMagnetic = magnetic;
    static const char* labels[] = {"   X", "   Y", "   Z"};
    s.requestRows.clear();
    for (size_t k = 1; k <= 3; ++k) {
        geo.requestCount[k] = ints[k];
        geo.requestStep[k] = reals[k + 2];
        const double start = reals[k - 1];
        s.requestRows.push_back(
            RequestRow{labels[k - 1], start, start + (ints[k] - 1) * geo.requestStep[k], geo.requestStep[k], ints[k]});
    }
    sizeFieldTables();
}

// The field tables of the request's kind get their full size when they were
// released to one element (as during an engine run).
void ReportReader::sizeFieldTables() {
    const bool nearField = geo.requestMode == kNearRequest;
    const int size = nearField ? res.nearFieldCapacity() : res.farFieldCapacity();
    if (size <= 1) res.sizeFieldTables(settings.maxFarFieldPoints, nearField);
}

} // namespace wavra
