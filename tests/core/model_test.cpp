#include <gtest/gtest.h>

#include "core/model.h"

using namespace wavra;

TEST(ModelStore, ReleaseAndReallocateRestoreEveryCapacity) {
    Model m;
    m.allocateModelTables(700, 40, 3, 9, 5);
    m.allocateFieldTables(1234);
    m.wireCount = 17;
    m.freqCount = 4;
    m.patternCount = 12;
    TableCapacities caps = m.releaseModelTables();
    EXPECT_EQ(m.wireCapacity(), 1);
    EXPECT_EQ(m.farFieldCapacity(), 1);
    EXPECT_EQ(caps.maxSegments, 700);
    EXPECT_EQ(caps.fieldPoints, 1234);
    m.allocateModelTables(caps.maxSegments, caps.maxFreqSteps, caps.maxSources, caps.maxLoads, caps.maxTransLines);
    m.allocateFieldTables(caps.fieldPoints);
    EXPECT_EQ(m.wireCapacity(), 700);
    EXPECT_EQ(m.freqCapacity(), 40);
    EXPECT_EQ(static_cast<int>(m.sweepR.size()), 41); // rows 0..maxFreqSteps
    EXPECT_EQ(m.sourceCapacity(), 3);
    EXPECT_EQ(m.loadCapacity(), 9);
    EXPECT_EQ(m.transLineCapacity(), 5);
    EXPECT_EQ(m.farFieldCapacity(), 1234);
    EXPECT_EQ(m.wireCount, 17);
    EXPECT_EQ(m.freqCount, 4);
    EXPECT_EQ(m.patternCount, 12);
}

TEST(ModelStore, NonPositiveCapacitiesLeaveTablesAlone) {
    Model m;
    m.allocateModelTables(0, -1, 0, -5, 0);
    EXPECT_EQ(m.wireCapacity(), 512);
    EXPECT_EQ(m.freqCapacity(), 100);
    m.allocateFieldTables(0);
    EXPECT_EQ(m.farFieldCapacity(), 6000);
}

TEST(ModelStore, FieldTablesFollowTheRequestKind) {
    Model m;
    m.requestMode = kNearRequest;
    m.allocateFieldTables(300);
    EXPECT_EQ(m.nearFieldCapacity(), 300);
    EXPECT_EQ(m.farFieldCapacity(), 1);
    m.requestMode = 0;
    m.allocateFieldTables(300);
    EXPECT_EQ(m.farFieldCapacity(), 300);
    EXPECT_EQ(m.nearFieldCapacity(), 1);
}

TEST(ModelStore, ResetForLoadSetsTheMarkers) {
    Model m;
    m.sourceTag[1] = 4;
    m.loadTag[2] = 3;
    m.tlZ[1][1][1] = 2.5;
    m.groundType = 2;
    m.requestMode = 0;
    m.frequencyMHz = 14;
    m.extendedKernel = -1;
    m.resetForLoad();
    EXPECT_EQ(m.sourceTag[1], kEmptyTag);
    EXPECT_EQ(m.loadTag[2], kEmptyTag);
    EXPECT_EQ(m.tlZ[1][1][1], kNoTransLine);
    EXPECT_EQ(m.groundType, -1);
    EXPECT_EQ(m.requestMode, kNoRequest);
    EXPECT_EQ(m.frequencyMHz, 0);
    EXPECT_EQ(m.extendedKernel, 0);
    EXPECT_EQ(m.extentX, -1);
}

TEST(ModelStore, EngineFileNameKeepsWholeCharacters) {
    Model m;
    m.modelName = "yagi";
    EXPECT_EQ(m.engineBaseName(), "yagi");
    m.modelName = "a long model name";
    EXPECT_EQ(m.engineBaseName(), "a long m");
    m.modelName = "\xc3\x84rmelkanal-beam"; // starts with a two-byte letter
    EXPECT_EQ(m.engineBaseName(), "\xc3\x84rmelkan");
    m.modelName =
        "\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2\xe6\xb3\xa2";
    EXPECT_EQ(m.engineBaseName().size(), 24u);
}

// The large tables take fresh zeroed memory on every allocation, mapped
// (11000 segments, 32767 points) or from the heap (a few rows): rows written
// before are 0 again, and a copy of the model holds the rows written.
TEST(ModelStore, ReallocatedLargeTablesAreZeroAndCopiesKeepTheirRows) {
    for (const int rows : {11000, 20}) {
        SCOPED_TRACE(rows);
        Model m;
        m.allocateModelTables(rows, 10, 2, 2, 2);
        m.allocateFieldTables(rows);
        for (int i = 1; i <= rows; ++i) {
            m.wireX1[static_cast<size_t>(i)] = i;
            m.wireTag[static_cast<size_t>(i)] = 7;
            m.farFieldGains[static_cast<size_t>(i)][kGainTotal] = -i;
        }
        const Model copy = m;
        m.allocateModelTables(rows, 10, 2, 2, 2);
        m.allocateFieldTables(rows);
        const size_t last = static_cast<size_t>(rows);
        EXPECT_EQ(m.wireX1[last], 0.0);
        EXPECT_EQ(m.wireTag[1], 0);
        EXPECT_EQ(m.farFieldGains[last][kGainTotal], 0.0);
        EXPECT_EQ(copy.wireX1[last], rows);
        EXPECT_EQ(copy.wireTag[last], 7);
        EXPECT_EQ(copy.farFieldGains[1][kGainTotal], -1.0);
    }
}
