#include "core/model.h"

#include <algorithm>
#include <cmath>

namespace wavra {

Model::Model() {
    const auto rows = static_cast<size_t>(constCapacity) + 1;
    constNames.assign(rows, std::string());
    constValues.assign(rows, 0.0);
    constFlags.assign(rows, 0);
    allocateModelTables(maxSegments, maxFreqSteps, maxSources, maxLoads, maxTransLines);
    allocateFieldTables(maxFarFieldPoints);
}

namespace {
template <class T>
void sizeRows(std::vector<T>& column, int rows, const T& fill = T{}) {
    column.assign(static_cast<size_t>(rows) + 1, fill);
}
} // namespace

void Model::allocateModelTables(int segments, int freqSteps, int sources, int loads, int transLines) {
    if (segments > 0) {
        for (auto* c : {&wireTag, &wireSegments, &wireEnd1Link, &wireEnd2Link, &wireMark}) resetRows(*c, segments);
        for (auto* c :
             {&wireX1, &wireY1, &wireZ1, &wireX2, &wireY2, &wireZ2, &wireRadius, &wireCurrentMag, &wireCurrentPhase})
            resetRows(*c, segments);
        wireCount = std::min<int16_t>(wireCount, static_cast<int16_t>(segments));
    }
    if (freqSteps > 0) {
        for (auto* c : {&sweepR, &sweepX, &sweepFreq, &sweepGain, &sweepPlot}) sizeRows<double>(*c, freqSteps);
    }
    if (sources > 0) {
        sizeRows<int16_t>(sourceTag, sources, kEmptyTag);
        sizeRows<int16_t>(sourceSegment, sources);
    }
    if (loads > 0) {
        sizeRows<int16_t>(loadTag, loads, kEmptyTag);
        for (auto* c : {&loadType, &loadFirstSegment, &loadLastSegment}) sizeRows<int16_t>(*c, loads);
    }
    if (transLines > 0) {
        TlPoints zero{};
        TlPoints empty{};
        empty[1][1] = kNoTransLine;
        sizeRows(tlX, transLines, zero);
        sizeRows(tlY, transLines, zero);
        sizeRows(tlZ, transLines, empty);
    }
}

void Model::allocateFieldTables(int points) { sizeFieldTables(points, requestMode == kNearRequest); }

void Results::sizeFieldTables(int points, bool nearField) {
    if (points <= 0) return;
    const int farPoints = nearField ? 1 : points;
    const int nearPoints = nearField ? points : 1;
    resetRows(farFieldAngles, farPoints);
    resetRows(farFieldGains, farPoints);
    resetRows(nearFieldPoints, nearPoints);
    resetRows(nearFieldValues, nearPoints);
}

TableCapacities Model::releaseModelTables() {
    TableCapacities caps;
    caps.maxSegments = wireCapacity();
    caps.maxFreqSteps = freqCapacity();
    caps.maxSources = sourceCapacity();
    caps.maxLoads = loadCapacity();
    caps.maxTransLines = transLineCapacity();
    caps.fieldPoints = std::max(farFieldCapacity(), nearFieldCapacity());
    const int16_t keepWires = wireCount;
    allocateModelTables(1, 1, 1, 1, 1);
    wireCount = keepWires; // the counters stay; the rows come back from the report
    resetRows(farFieldAngles, 1);
    resetRows(farFieldGains, 1);
    resetRows(nearFieldPoints, 1);
    resetRows(nearFieldValues, 1);
    return caps;
}

int Results::strongestPatternPoint() const {
    const int points = std::min<int>(patternCount, farFieldCapacity());
    int best = 0;
    for (int i = 1; i <= points; ++i) {
        const double v = farFieldGains[static_cast<size_t>(i)][kGainTotal];
        if (!isMissing(v) && (best == 0 || v > farFieldGains[static_cast<size_t>(best)][kGainTotal])) best = i;
    }
    return best;
}

std::string ModelFile::engineBaseName() const {
    size_t bytes = 0;
    for (int characters = 0; bytes < modelName.size() && characters < 8; ++characters) {
        ++bytes;
        while (bytes < modelName.size() && (static_cast<unsigned char>(modelName[bytes]) & 0xC0) == 0x80) ++bytes;
    }
    return modelName.substr(0, bytes);
}

void Model::resetForLoad() {
    countLoad();
    Geometry::clearForLoad();
    Results::clearForLoad();
}

void Geometry::clearForLoad() {
    extentX = extentY = extentZ = modelExtent = -1;
    extendedKernel = 0;
    groundSymmetry = 0;
    groundType = -1;
    groundRadials = 0;
    groundEpsilon = 0;
    groundSigma = 0;
    requestMode = kNoRequest;
    frequencyMHz = 0;
    sourceCount = 0;
    loadCount = 0;
    transLineCount = 0;
    std::fill(sourceTag.begin(), sourceTag.end(), kEmptyTag);
    std::fill(loadTag.begin(), loadTag.end(), kEmptyTag);
    for (auto& line : tlZ) line[1][1] = kNoTransLine;
}

void Results::clearForLoad() {
    maxCurrentMag = maxCurrentPhase = -1;
    freqCount = 0;
    patternCount = 0;
}

} // namespace wavra
