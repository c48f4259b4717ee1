#include <gtest/gtest.h>

#include "deck/validation.h"
#include "support/test_support.h"

using namespace wavra;

namespace {

// A model holding segment rows as the report reader leaves them.
struct Validation : ::testing::Test {
    Model model;
    RecordingUi ui;
    int addSegment(int tag, double x1, double z1, double x2, double z2, double radius, int segments = 1) {
        const int i = ++model.wireCount;
        model.wireTag[i] = static_cast<int16_t>(tag);
        model.wireSegments[i] = static_cast<int16_t>(segments);
        model.wireX1[i] = x1;
        model.wireZ1[i] = z1;
        model.wireX2[i] = x2;
        model.wireZ2[i] = z2;
        model.wireRadius[i] = radius;
        model.wireEnd1Link[i] = model.wireEnd2Link[i] = kNoLink;
        return i;
    }
    void dipole(int segments) {
        const double half = 299.8 / 14 / 4, len = 2 * half / segments;
        for (int s = 0; s < segments; ++s) addSegment(1, 0, -half + s * len, 0, -half + (s + 1) * len, 0.001);
    }
    void link(int a, int b) {
        model.wireEnd2Link[a] = static_cast<int16_t>(b);
        model.wireEnd1Link[b] = static_cast<int16_t>(a);
    }
    std::vector<std::string> findings(int mode = 0) {
        std::vector<std::string> lines;
        validateGeometry(model, model.maxSegments, mode, &lines);
        return lines;
    }
};

} // namespace

TEST_F(Validation, WellSegmentedDipoleHasNoFinding) {
    model.frequencyMHz = 14;
    dipole(11);
    EXPECT_TRUE(validateGeometry(model, model.maxSegments, 0));
    EXPECT_TRUE(findings().empty());
}

TEST_F(Validation, CoarseSegmentsGiveLengthWarningsThenErrors) {
    model.frequencyMHz = 14;
    dipole(3);
    auto lines = findings();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Warning on segment 1: length (3.569) above wlen/10 (2.141)");
    EXPECT_TRUE(validateGeometry(model, model.maxSegments, 1));
    EXPECT_EQ(model.wireMark[3], 1);

    model.wireCount = 0;
    dipole(2);
    EXPECT_FALSE(validateGeometry(model, model.maxSegments, 0));
    EXPECT_EQ(model.wireMark[2], 2);
    // The main loop's check stops at the first segment with an error.
    EXPECT_FALSE(validateGeometry(model, model.maxSegments, 99));
    EXPECT_EQ(model.wireMark[1], 2);
    EXPECT_EQ(model.wireMark[2], 0);
}

TEST_F(Validation, ThickWiresAndTinySegments) {
    model.frequencyMHz = 14;            // wavelength 21.41 m
    addSegment(1, 0, 0, 0, 1, 0.8);     // radius above wlen/30, length below 2 * radius
    addSegment(2, 0, 0, 0, 1, 0.25);    // radius above wlen/100, length below 8 * radius
    addSegment(3, 0, 0, 0, 0.01, 1e-5); // length below wlen/1000
    auto lines = findings();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Error on segment 1: radius (.8) above wlen/30 (.7138)");
    EXPECT_EQ(lines[1], "Error on segment 1: length (1.0) below 2 * radius (1.6)");
    EXPECT_EQ(model.wireMark[1], 2);
    EXPECT_EQ(model.wireMark[2], 1);
    EXPECT_EQ(model.wireMark[3], 2);
    EXPECT_EQ(lines[4], "Error on segment 3: segment length (.01) below wlen/1000 (.0214)");
    EXPECT_FALSE(validateGeometry(model, model.maxSegments, 2)); // radius rules only
    EXPECT_EQ(model.wireMark[3], 0);
}

TEST_F(Validation, LengthToRadiusDependsOnKernel) {
    model.frequencyMHz = 14;
    addSegment(1, 0, 0, 0, 0.005, 0.001);
    auto lines = findings(3);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Warning on segment 1: length (.005) below 8 * radius (.008)");
    model.extendedKernel = -1;
    EXPECT_TRUE(findings(3).empty());
}

TEST_F(Validation, RadiusStepsAtJunctions) {
    model.frequencyMHz = 14;
    const int a = addSegment(1, 0, 0, 0, 1, 0.001);
    const int b = addSegment(2, 0, 1, 0, 2, 0.007);
    link(a, b);
    auto lines = findings(5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Warning on segment 1: radius (.001) differs more than 5 * radius(.007)");
    EXPECT_EQ(model.wireMark[a], 1);
    EXPECT_EQ(model.wireMark[b], 1);
    model.wireRadius[b] = 0.012;
    EXPECT_FALSE(validateGeometry(model, model.maxSegments, 5));
    EXPECT_EQ(model.wireMark[a], 2);
    // Segments of one wire are never a junction.
    model.wireTag[b] = 1;
    EXPECT_TRUE(findings(5).empty());
}

TEST_F(Validation, LengthStepsAndShortSegmentsAtJunctions) {
    model.frequencyMHz = 14;
    const int a = addSegment(1, 0, 0, 0, 0.1, 0.001);
    const int b = addSegment(2, 0, 0.1, 0, 1.1, 0.001);
    link(a, b);
    EXPECT_FALSE(validateGeometry(model, model.maxSegments, 4));
    EXPECT_EQ(model.wireMark[a], 2);
    EXPECT_EQ(model.wireMark[b], 2);
    model.wireRadius[a] = model.wireRadius[b] = 0.02; // L/R = 5 on a: warning; 50 on b
    auto lines = findings(6);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Warning on segment 1: len/rad at junction (5.0) below 6.");
    // Links outside the table are free ends, not junctions.
    model.wireEnd2Link[a] = 500;
    model.wireEnd1Link[b] = -3;
    EXPECT_TRUE(findings(6).empty());
}

TEST_F(Validation, WithoutFrequencyOnlyWavelengthFreeRulesRun) {
    addSegment(1, 0, 0, 0, 100, 0.001); // would be far above wlen/5 at any HF frequency
    addSegment(2, 0, 0, 0, 0.005, 0.001);
    auto lines = findings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Warning on segment 2"), std::string::npos);
}

TEST_F(Validation, ReportModeWritesModelLog) {
    test::TempDir dir;
    model.modelDir = dir.path();
    model.modelName = "dip";
    model.modelExt = ".nec";
    model.frequencyMHz = 14;
    dipole(3);
    showGeometryLog(ui, validateGeometryToLog(model, model.maxSegments, model));
    auto lines = test::readLinesOf(dir.file("model.log"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "dip.nec wavelength=21.41 mtr");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Warning on segment 1: length (3.569) above wlen/10 (2.141)");
    EXPECT_EQ(ui.shownFiles(), std::vector<std::string>{dir.file("model.log")});

    model.wireCount = 0;
    dipole(11);
    showGeometryLog(ui, validateGeometryToLog(model, model.maxSegments, model));
    EXPECT_TRUE(ui.saw("No errors or warnings found."));
    EXPECT_EQ(test::readLinesOf(dir.file("model.log")).size(), 2u);
    model.modelDir = dir.file("missing/");
    EXPECT_TRUE(validateGeometryToLog(model, model.maxSegments, model).ok); // no report file: nothing is checked
}
