// Classic reports built field by field, once with the nominal columns of the
// classic layout and once with the widths the FORTRAN engine prints, each
// also in the enhanced layout: every field must read whole and signed.
#include "classic_report_builder.h"
#include "report_test_support.h"

namespace wavra::test {
namespace {

using Columns = ClassicReportBuilder::Columns;

struct Variant {
    Columns columns;
    bool enhanced;
    const char* name;
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

class ClassicLayout : public ReportTest, public ::testing::WithParamInterface<Variant> {
protected:
    bool printed() const { return GetParam().columns == Columns::Printed; }
    // The largest number the nominal 4-wide (or 3-wide) fields hold, or a
    // five-digit number for the printed I5 fields.
    int big(int nominalDigits) const { return printed() ? 12345 : (nominalDigits == 3 ? 999 : 9999); }

    ClassicReportBuilder structure() const {
        ClassicReportBuilder b(GetParam().columns, GetParam().enhanced);
        b.comments({"FIRST COMMENT", "SECOND COMMENT"});
        b.groundPlane();
        b.junctions({{2, -3}});
        // Down from z -1, along x from the origin, then along y: a bent wire.
        b.segmentation({{0, 0, -1.5, 1, -90, 0, 0.00125, 0, 1, 2, 12345},
                        {0.5, 0, 0, 1, 0, 0, 0.00125, 1, 2, 3, 2},
                        {1, 0.5, 0, 1, 0, 90, 0.00125, 2, 3, big(4), 3}});
        return b;
    }

    void results(ClassicReportBuilder& b) const {
        b.frequency(14.2);
        b.loads({{big(3), 1, 3, false}, {2, 0, 0, true}});
        b.environment({"FREE SPACE"});
        b.inputs({{1, 0, 0.01, -0.005, 78.5, -43.25}});
        b.currents({{1e-3, -2e-3, 2.2361e-3, -63.435}, {-1e-3, 0, 1e-3, 180}, {0, 5e-4, 5e-4, 90}});
        const double powers[5] = {0.005, 0.0045, 0.0005, 0, 90};
        b.powerBudget(powers);
    }
};

TEST_P(ClassicLayout, StructureAndCardsReadWhole) {
    ClassicReportBuilder b = structure();
    b.card("EX", {0, 1, 2, 0}, {1, 0});
    b.card("GN", {2, big(4), 0, 0}, {13, 0.005});
    b.card("FR", {0, 1, 0, 0}, {14.2, 0});
    b.card("RP", {0, 2, 2, 1001}, {0, 0, 90, 90, -2.5, 3.25});
    results(b);
    b.runTime(12.345);
    ASSERT_TRUE(load(b.text()));

    const Model& m = model;
    EXPECT_EQ(m.summary.comments, (std::vector<std::string>{"FIRST COMMENT", "SECOND COMMENT"}));
    EXPECT_EQ(m.groundSymmetry, 1);
    ASSERT_EQ(m.wireCount, 3);
    EXPECT_NEAR(m.wireZ1[1], -1.0, 1e-12);
    EXPECT_NEAR(m.wireZ2[1], -2.0, 1e-12);
    EXPECT_NEAR(m.wireX1[2], 0.0, 1e-12);
    EXPECT_NEAR(m.wireX2[2], 1.0, 1e-12);
    EXPECT_NEAR(m.wireY1[3], 0.0, 1e-12);
    EXPECT_NEAR(m.wireY2[3], 1.0, 1e-12);
    EXPECT_NEAR(m.extentZ, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(m.modelExtent, m.extentZ);
    EXPECT_DOUBLE_EQ(m.wireRadius[1], 0.00125);
    EXPECT_EQ(m.wireTag[1], 12345);
    EXPECT_EQ(m.wireEnd1Link[1], 0);
    EXPECT_EQ(m.wireEnd2Link[1], 2);
    EXPECT_EQ(m.wireEnd1Link[2], 1);
    EXPECT_EQ(m.wireEnd2Link[2], -3); // junction
    EXPECT_EQ(m.wireEnd1Link[3], -2); // junction
    EXPECT_EQ(m.wireEnd2Link[3], big(4));

    EXPECT_EQ(m.sourceCount, 1);
    EXPECT_EQ(m.sourceSegment[1], 2);
    EXPECT_EQ(m.groundType, 2);
    EXPECT_EQ(m.groundRadials, big(4));
    EXPECT_DOUBLE_EQ(m.groundSigma, 0.005);
    EXPECT_EQ(m.requestMode, 0);
    EXPECT_EQ(m.requestXnda, 1001);
    EXPECT_DOUBLE_EQ(m.requestDistance, -2.5);
    EXPECT_DOUBLE_EQ(m.requestGainNorm, 3.25);
    EXPECT_DOUBLE_EQ(m.requestStep[2], 90);

    ASSERT_EQ(m.loadCount, 2);
    EXPECT_EQ(m.loadTag[1], big(3));
    EXPECT_EQ(m.loadLastSegment[1], 3);
    EXPECT_EQ(m.loadType[1], 0);
    EXPECT_EQ(m.loadType[2], 5);
    EXPECT_EQ(m.loadLastSegment[2], 0);
}

TEST_P(ClassicLayout, ResultsReadWhole) {
    ClassicReportBuilder b = structure();
    b.card("RP", {0, 2, 2, 1001}, {0, 0, 100, 112.25});
    results(b);
    const double t = printed() ? -100 : 100;
    const double p = printed() ? 112.25 : 12.25;
    b.pattern({{0, 0, -999.99, -999.99, -999.99, 0, 0},
               {t, 0, 1.5, -3.25, 2.5, 0.5, 0.25},
               {0, p, -12.5, 4.75, 5.0, 0.125, 0.75},
               {t, p, 0, 0, 0, 0, 0}});
    b.averageGain(0.99, 4);
    b.runTime(12.345);
    ASSERT_TRUE(load(b.text()));

    const Model& m = model;
    const Summary& s = m.summary;
    EXPECT_DOUBLE_EQ(m.frequencyMHz, 14.2);
    EXPECT_EQ(s.frequencyText, "14.20 Mhz");
    EXPECT_DOUBLE_EQ(s.impedanceR, 78.5);
    EXPECT_DOUBLE_EQ(s.impedanceX, -43.25);
    EXPECT_DOUBLE_EQ(m.sweepX[0], -43.25);
    EXPECT_EQ(s.seriesCompUnit, "uH");
    EXPECT_EQ(s.environment, (std::vector<std::string>{"GROUND PLANE SPECIFIED.",
                                                       "WHERE WIRE ENDS TOUCH GROUND, CURRENT WILL BE INTERPOLATED TO "
                                                       "IMAGE IN GROUND PLANE.",
                                                       "FREE SPACE"}));
    EXPECT_DOUBLE_EQ(m.wireCurrentMag[1], 2.2361e-3);
    EXPECT_DOUBLE_EQ(m.wireCurrentMag[2], -1e-3); // negative real part
    EXPECT_DOUBLE_EQ(m.wireCurrentPhase[3], 90);
    EXPECT_DOUBLE_EQ(m.maxCurrentMag, 2.2361e-3);
    EXPECT_DOUBLE_EQ(m.maxCurrentPhase, 180);

    // 100 W for 5 mW of input power.
    EXPECT_TRUE(s.hasPower);
    EXPECT_DOUBLE_EQ(s.inputPower, 100);
    EXPECT_DOUBLE_EQ(s.radiatedPower, 90);
    EXPECT_DOUBLE_EQ(s.structureLoss, 10);
    EXPECT_DOUBLE_EQ(s.efficiency, 90);
    const double scale = std::sqrt(100 / 0.005 / 2);
    EXPECT_DOUBLE_EQ(s.fieldScale, scale);
    EXPECT_DOUBLE_EQ(s.voltageR, scale);
    EXPECT_DOUBLE_EQ(s.currentX, -0.005 * scale);

    ASSERT_EQ(m.patternCount, 4);
    EXPECT_DOUBLE_EQ(m.farFieldAngles[2][0], t);
    EXPECT_DOUBLE_EQ(m.farFieldAngles[3][1], p);
    EXPECT_DOUBLE_EQ(m.farFieldGains[2][1], -3.25);
    EXPECT_DOUBLE_EQ(m.farFieldGains[3][0], -12.5);
    EXPECT_DOUBLE_EQ(m.farFieldGains[3][4], 0.75 * scale);
    EXPECT_DOUBLE_EQ(m.patternMax[1], 1.5);
    EXPECT_DOUBLE_EQ(m.patternMax[2], 4.75);
    EXPECT_DOUBLE_EQ(m.patternMax[3], 5.0);
    EXPECT_DOUBLE_EQ(m.patternMax[4], 0.5 * scale);
    EXPECT_EQ(s.averageGainText, " 0.99 over 720 dg.");
    EXPECT_EQ(s.calculationTime, " 12.345");
    EXPECT_EQ(m.expectedRunTime, 123);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_P(ClassicLayout, NearAndSurfaceTables) {
    ClassicReportBuilder b = structure();
    b.card("NE", {0, 2, 1, 1}, {-1, 0, 0.5, 2, 0, 0});
    results(b);
    b.nearField({{-1, 0, 0.5, 1e-3, -2e-3, 0.125}, {1, 0, 0.5, 3e-3, 4e-3, 0}});
    b.runTime(0.5);
    ASSERT_TRUE(load(b.text()));
    const double scale = std::sqrt(100 / 0.005 / 2);
    ASSERT_EQ(model.summary.nearFieldCount, 2);
    EXPECT_FLOAT_EQ(model.nearFieldPoints[1][0], -1);
    EXPECT_FLOAT_EQ(model.nearFieldPoints[2][2], 0.5);
    EXPECT_FLOAT_EQ(model.nearFieldValues[2][0], static_cast<float>(3e-3 * scale));
    EXPECT_FLOAT_EQ(model.nearFieldValues[2][3], static_cast<float>(5e-3 * scale));
    EXPECT_FLOAT_EQ(static_cast<float>(model.summary.nearFieldMax[3]), static_cast<float>(0.125 * scale));
    EXPECT_EQ(model.expectedRunTime, 0);

    ClassicReportBuilder w = structure();
    w.card("RP", {1, 1, 2, 1001}, {2, 0, 0, 30, 0, 0});
    results(w);
    w.surfaceWave({{1000, 0, 2, 1e-5, 2e-5, 3e-6}, {1000, 30, 2, 4e-5, 5e-5, 6e-6}});
    w.runTime(0.5);
    ASSERT_TRUE(load(w.text()));
    ASSERT_EQ(model.patternCount, 2);
    EXPECT_DOUBLE_EQ(model.requestDistance, 1000);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[2][0], 2);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[2][1], 30);
    EXPECT_DOUBLE_EQ(model.farFieldGains[2][kGainVertical], 0);
    EXPECT_DOUBLE_EQ(model.farFieldGains[2][kSurfaceRadial], 6e-6 * scale);
    EXPECT_DOUBLE_EQ(model.farFieldGains[2][kSurfaceTheta], 4e-5 * scale);
    EXPECT_DOUBLE_EQ(model.farFieldGains[2][kSurfacePhi], 5e-5 * scale);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ClassicLayout,
                         ::testing::Values(Variant{Columns::Documented, false, "documented"},
                                           Variant{Columns::Documented, true, "documentedEnhanced"},
                                           Variant{Columns::Printed, false, "printed"},
                                           Variant{Columns::Printed, true, "printedEnhanced"}),
                         [](const ::testing::TestParamInfo<Variant>& testCase) { return std::string(testCase.param.name); });

} // namespace
} // namespace wavra::test
