// Reports of nec2c for frequency loops, cuts, several sources, surface waves,
// grounds and repeated requests: the rules that decide what is loaded.
#include "report_test_support.h"

namespace wavra::test {
namespace {

class Nec2cReport : public ReportTest {};

TEST_F(Nec2cReport, SingleDirectionLoopFillsTheSweepTablesAndNoPattern) {
    ASSERT_TRUE(load(fixtureReport("g_loop_direction.nec2c.out")));
    EXPECT_EQ(model.freqCount, 11);
    EXPECT_EQ(model.patternCount, 0);
    EXPECT_EQ(model.sweepPatternAxis, 0);
    EXPECT_DOUBLE_EQ(model.sweepFreq[1], 13.5);
    EXPECT_DOUBLE_EQ(model.sweepFreq[11], 14.5);
    EXPECT_DOUBLE_EQ(model.sweepR[1], 70.56);
    EXPECT_DOUBLE_EQ(model.sweepX[1], -11.443);
    EXPECT_DOUBLE_EQ(model.sweepR[11], 86.975);
    EXPECT_DOUBLE_EQ(model.sweepGain[1], 2.12);
    EXPECT_DOUBLE_EQ(model.sweepGain[11], 2.18);
    // Step 0 keeps the first impedance, which the main window shows.
    EXPECT_DOUBLE_EQ(model.sweepR[0], 70.56);
    const SweepRanges& r = model.summary.sweep;
    EXPECT_DOUBLE_EQ(r.freqMin, 13.5);
    EXPECT_DOUBLE_EQ(r.freqMax, 14.5);
    EXPECT_DOUBLE_EQ(r.rMin, 70.56);
    EXPECT_DOUBLE_EQ(r.rMax, 86.975);
    EXPECT_DOUBLE_EQ(r.xMin, -11.443);
    EXPECT_DOUBLE_EQ(r.xMax, 97.8);
    EXPECT_DOUBLE_EQ(r.gainMin, 2.12);
    EXPECT_DOUBLE_EQ(r.gainMax, 2.18);
    EXPECT_DOUBLE_EQ(r.theta, 90);
    EXPECT_DOUBLE_EQ(r.phi, 0);
    EXPECT_EQ(model.summary.frequencySteps, "11");
    EXPECT_EQ(model.summary.frequencyText, "13.50 Mhz");
    // The current of a loop is not shown; the voltage is.
    EXPECT_FALSE(model.summary.hasCurrent);
    EXPECT_GT(model.summary.voltageR, 0);
}

TEST_F(Nec2cReport, SweepTablesStopAtTheirCapacity) {
    model.maxFreqSteps = 4;
    model.allocateModelTables(model.maxSegments, 4, model.maxSources, model.maxLoads, model.maxTransLines);
    ASSERT_TRUE(load(fixtureReport("g_loop_direction.nec2c.out")));
    EXPECT_EQ(model.freqCount, 4);
    // Later steps do not overwrite the last row.
    EXPECT_DOUBLE_EQ(model.sweepFreq[4], 13.8);
    EXPECT_DOUBLE_EQ(model.sweepR[4], 75.148);
    EXPECT_DOUBLE_EQ(model.sweepGain[4], 2.14);
    EXPECT_DOUBLE_EQ(model.summary.sweep.rMax, 75.148);
    EXPECT_EQ(userMessages(), std::vector<std::string>{"Only 4 of 11 frequency steps were read: raise 'Max-nr. "
                                                       "frequency steps' (Settings)."});
}

TEST_F(Nec2cReport, HorizontalCutAppendsThePatternOfEveryFrequency) {
    ASSERT_TRUE(load(fixtureReport("h_loop_cut.nec2c.out")));
    EXPECT_EQ(model.sweepPatternAxis, 1);
    EXPECT_EQ(model.freqCount, 4);
    EXPECT_EQ(model.patternCount, 4 * 13);
    // The theta axis now counts the frequencies.
    EXPECT_EQ(model.requestCount[1], 4);
    EXPECT_EQ(model.requestCount[2], 13);
    // Point (t - 1) * 13 + p: the third frequency's pattern at phi 90.
    EXPECT_DOUBLE_EQ(model.farFieldAngles[2 * 13 + 4][1], 90);
    EXPECT_DOUBLE_EQ(model.farFieldGains[13 + 4][1], 2.16); // 14.2 MHz
    EXPECT_DOUBLE_EQ(model.patternMax[2], 2.19);
    EXPECT_DOUBLE_EQ(model.farFieldGains[52][2], -999.99);
    // The sweep gain table is for single directions only.
    EXPECT_DOUBLE_EQ(model.summary.sweep.gainMax, -999);
}

TEST_F(Nec2cReport, VerticalCutCountsFrequenciesOnThePhiAxis) {
    ASSERT_TRUE(load(fixtureReport("i_loop_vertical.nec2c.out")));
    EXPECT_EQ(model.sweepPatternAxis, -1);
    EXPECT_EQ(model.patternCount, 3 * 7);
    EXPECT_EQ(model.requestCount[1], 7);
    EXPECT_EQ(model.requestCount[2], 3);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[8][0], 0);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[21][0], 90);
}

TEST_F(Nec2cReport, PatternsThatNoLongerFitStopAppendingWithOneMessage) {
    model.maxFarFieldPoints = 30; // two of the four patterns of 13 points
    model.allocateFieldTables(30);
    ASSERT_TRUE(load(fixtureReport("h_loop_cut.nec2c.out")));
    EXPECT_EQ(model.patternCount, 26);
    EXPECT_EQ(model.requestCount[1], 2);
    EXPECT_EQ(userMessages(), std::vector<std::string>{"Total of 39 exceeds max. of 30\ncalculation points, "
                                                       "pattern not loaded.\nRaise 'Max-nr. far-field pts' "
                                                       "(Settings) to load it."});
}

TEST_F(Nec2cReport, SourcesLinesLoadsAndNearMagneticField) {
    ASSERT_TRUE(load(fixtureReport("j_two_sources_nh.nec2c.out")));
    const Summary& s = model.summary;
    // Two sources: their resistances and reactances add, and each is kept
    // as printed.
    EXPECT_DOUBLE_EQ(s.impedanceR, -5.2570 + 5.2253);
    EXPECT_DOUBLE_EQ(s.impedanceX, -5.2338 + -5.2149);
    ASSERT_EQ(s.sourceInputs.size(), 2u);
    EXPECT_EQ(s.sourceInputs[1].tag, 2);
    EXPECT_EQ(s.sourceInputs[1].segment, 8);
    EXPECT_DOUBLE_EQ(s.sourceInputs[1].voltageX, 1);
    EXPECT_DOUBLE_EQ(s.sourceInputs[1].currentR, -9.5689E-02);
    EXPECT_DOUBLE_EQ(s.sourceInputs[1].impedanceR, 5.2253);
    EXPECT_DOUBLE_EQ(s.sourceInputs[0].impedanceX, -5.2338);
    ASSERT_EQ(model.sourceCount, 2);
    EXPECT_EQ(model.sourceTag[2], 2);
    EXPECT_EQ(model.sourceSegment[2], 3);
    // The transmission line runs from tag 1 segment 3 to tag 2 segment 3 (row 8).
    ASSERT_EQ(model.transLineCount, 1);
    EXPECT_DOUBLE_EQ(model.tlZ[1][1][1], model.wireZ1[3]);
    EXPECT_DOUBLE_EQ(model.tlZ[1][2][1], model.wireZ2[3]);
    EXPECT_DOUBLE_EQ(model.tlX[1][1][2], model.wireX1[8]);
    EXPECT_DOUBLE_EQ(model.tlX[1][1][2], 1.0);
    ASSERT_EQ(model.loadCount, 3);
    EXPECT_EQ(model.loadTag[2], 2);
    EXPECT_EQ(model.loadFirstSegment[2], 1);
    EXPECT_EQ(model.loadLastSegment[2], 5);
    EXPECT_EQ(model.loadTag[3], 0); // "ALL"
    EXPECT_EQ(model.groundType, 0);
    EXPECT_EQ(model.groundRadials, 4);
    EXPECT_EQ(model.extendedKernel, -1);
    // The large negative coordinates and the five-digit tag are read whole.
    EXPECT_EQ(model.wireTag[11], 12345);
    EXPECT_TRUE(closeAsPrinted(model.wireX1[11], -100.5));
    EXPECT_TRUE(closeAsPrinted(model.extentZ, 300.125));
    EXPECT_EQ(model.requestMode, -1);
    EXPECT_TRUE(s.nearFieldMagnetic);
    ASSERT_EQ(s.nearFieldCount, 4);
    EXPECT_FLOAT_EQ(model.nearFieldPoints[2][0], 1);
    EXPECT_TRUE(closeAsPrinted(model.nearFieldValues[2][0], 1.2649E-04 * s.fieldScale, 0));
    EXPECT_TRUE(closeAsPrinted(s.nearFieldMax[1], 1.2649E-04 * s.fieldScale, 0));
    EXPECT_TRUE(closeAsPrinted(s.efficiency, 48.88));
    ASSERT_EQ(s.comments.size(), 2u);
    EXPECT_EQ(s.comments[1], "SECOND COMMENT LINE");
    ASSERT_EQ(s.requestRows.size(), 3u);
    EXPECT_EQ(s.requestRows[2].label, "   Z");
    EXPECT_DOUBLE_EQ(s.requestRows[0].stop, 1);
}

TEST_F(Nec2cReport, SurfaceWaveTableTakesHeightAndPhiAsAngles) {
    ASSERT_TRUE(load(fixtureReport("k_surface_wave.nec2c.out")));
    EXPECT_EQ(model.requestMode, 1);
    EXPECT_DOUBLE_EQ(model.requestDistance, 1000);
    ASSERT_EQ(model.patternCount, 12);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[2][0], 3);  // the height
    EXPECT_DOUBLE_EQ(model.farFieldAngles[4][1], 10); // phi
    const double scale = model.summary.fieldScale;
    // No gains: the three fields stand where the views show E(radial),
    // E(theta) and E(phi).
    EXPECT_DOUBLE_EQ(model.farFieldGains[1][kGainVertical], 0);
    EXPECT_DOUBLE_EQ(model.farFieldGains[1][kGainHorizontal], 0);
    EXPECT_TRUE(closeAsPrinted(model.farFieldGains[1][kSurfaceRadial], 2.6295E-06 * scale, 0));
    EXPECT_TRUE(closeAsPrinted(model.farFieldGains[1][kSurfaceTheta], 1.0572E-05 * scale, 0));
    EXPECT_DOUBLE_EQ(model.farFieldGains[1][kSurfacePhi], 0);
    EXPECT_EQ(model.groundSymmetry, 1);
}

TEST_F(Nec2cReport, SecondPatternIsIgnoredAndGainIsHalvedOverGround) {
    ASSERT_TRUE(load(fixtureReport("l_two_patterns_ground.nec2c.out")));
    EXPECT_EQ(model.patternCount, 370);
    EXPECT_EQ(model.requestCount[1], 10);
    EXPECT_EQ(model.requestCount[2], 37);
    EXPECT_EQ(model.requestXnda, 1001);
    EXPECT_DOUBLE_EQ(model.farFieldAngles[370][1], 360);
    const Summary& s = model.summary;
    EXPECT_EQ(model.groundType, 1);
    // The report prints 1.9923 over a solid angle of 2 pi.
    EXPECT_EQ(s.averageGainAngle, 360);
    EXPECT_TRUE(closeAsPrinted(s.averageGain, 1.9923 / 2, 0));
    EXPECT_FALSE(s.averageGainRed);
    EXPECT_EQ(s.averageGainText, " 0.9961 over 360 dg.");
}

TEST_F(Nec2cReport, AverageGainOverLossyGroundIsRed) {
    ASSERT_TRUE(load(fixtureReport("m_lossy_ground_avg.nec2c.out")));
    EXPECT_EQ(model.groundType, 0);
    EXPECT_TRUE(model.summary.averageGainRed);
    EXPECT_EQ(model.summary.averageGainText, " 0.7467 over 360 dg.");
}

// Overlapping wires the engine cannot solve: it prints NAN for the
// impedance, currents, powers and pattern. Those values are missing, not 0,
// and the user hears of it once.
TEST_F(Nec2cReport, PrintedNaNIsMissingAndSaidOnce) {
    ASSERT_TRUE(load(fixtureReport("n_overlap_nan.nec2c.out")));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Nec2d : the engine printed no valid number (NaN) for the input "
                                                      "impedance at 14.0 MHz; check the geometry (F3, validation)."});
    const Summary& s = model.summary;
    EXPECT_TRUE(s.hasImpedance);
    EXPECT_TRUE(isMissing(s.impedanceR));
    EXPECT_TRUE(isMissing(s.parallelR));
    EXPECT_TRUE(isMissing(s.inputPower));
    EXPECT_TRUE(isMissing(s.efficiency)); // printed "nan Percent"
    EXPECT_DOUBLE_EQ(s.structureLoss, 0); // printed as a number
    EXPECT_DOUBLE_EQ(s.sourceInputs.at(0).voltageR, 1);
    EXPECT_TRUE(isMissing(model.wireCurrentMag[1]));
    EXPECT_EQ(model.maxCurrentMag, -999); // no current was read
    ASSERT_EQ(model.patternCount, 1);
    EXPECT_TRUE(isMissing(model.farFieldGains[1][kGainTotal]));
    EXPECT_TRUE(isMissing(model.patternMax[3]));
    EXPECT_EQ(model.strongestPatternPoint(), 0);
    EXPECT_GT(s.invalidValues, 40);
    EXPECT_EQ(s.engineErrors.size(), 1u);
}

// A direction or a place printed as NaN: the point is missing as a whole,
// never drawn at angle 0 or at the origin, and the user hears of it once.
TEST_F(Nec2cReport, PrintedNaNAngleOrCoordinateMakesThePointMissing) {
    auto withNaN = [](std::string text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    auto said = [](const char* what) {
        return std::vector<std::string>{std::string("Nec2d : the engine printed no valid number (NaN) for the ") +
                                        what + " at 14.0 MHz; check the geometry (F3, validation)."};
    };
    ASSERT_TRUE(load(
        withNaN(fixtureReport("a_dipole.nec2c.out"), "   10.00      0.00    -15.17", "     NAN      0.00    -15.17")));
    EXPECT_EQ(ui.messages(), said("pattern angles"));
    EXPECT_TRUE(std::isnan(model.farFieldAngles[2][0]));
    for (double v : model.farFieldGains[2]) EXPECT_TRUE(isMissing(v));
    EXPECT_DOUBLE_EQ(model.farFieldAngles[3][0], 20);

    ui.clear();
    ASSERT_TRUE(load(withNaN(fixtureReport("b_dipole_fr3_ne.nec2c.out"), "    0.0000   -1.0000    0.0000   0.0000E+00",
                             "    0.0000      -nan    0.0000   0.0000E+00")));
    EXPECT_EQ(ui.messages(), said("near-field coordinates"));
    EXPECT_TRUE(std::isnan(model.nearFieldPoints[2][1]));
    for (float v : model.nearFieldValues[2]) EXPECT_TRUE(std::isnan(v));
    EXPECT_FLOAT_EQ(model.nearFieldPoints[3][1], -1);
}

// A loop followed by more cards and another XQ: the second calculation at
// the loop's last frequency prints input parameters (and patterns) without
// a frequency line. The sweep tables keep the loop's own values.
TEST_F(Nec2cReport, LaterCalculationsLeaveTheLoopRowsAlone) {
    ASSERT_TRUE(load(fixtureReport("o_loop_then_xq.nec2c.out")));
    ASSERT_EQ(model.freqCount, 4);
    EXPECT_DOUBLE_EQ(model.sweepFreq[4], 4);
    EXPECT_DOUBLE_EQ(model.sweepR[4], 3.8398); // not 53.84 of the loaded second run
    EXPECT_DOUBLE_EQ(model.sweepX[4], -2127.6);
    EXPECT_DOUBLE_EQ(model.summary.sweep.rMax, 3.8398);
    // No pattern inside the loop: no gain, and none is made up.
    EXPECT_TRUE(isMissing(model.sweepGain[1]));
    EXPECT_TRUE(isMissing(model.sweepGain[4]));
    EXPECT_DOUBLE_EQ(model.summary.sweep.gainMax, -999);

    ASSERT_TRUE(load(fixtureReport("p_loop_then_rp.nec2c.out")));
    ASSERT_EQ(model.freqCount, 3);
    EXPECT_DOUBLE_EQ(model.sweepGain[1], 2.10);
    EXPECT_DOUBLE_EQ(model.sweepGain[3], 2.22); // not 2.01 of the later direction
    EXPECT_DOUBLE_EQ(model.summary.sweep.gainMin, 2.10);
    EXPECT_EQ(model.summary.sweepRows, 3);
}

// A loop that printed some of its steps and then stopped is cut off, even
// with a run-time line (two reports pasted together, say).
TEST_F(Nec2cReport, LoopWithoutItsLastStepsIsIncomplete) {
    std::string text = fixtureReport("g_loop_direction.nec2c.out");
    const size_t ninth = text.find("FREQUENCY : 1.4300E+01");
    ASSERT_NE(ninth, std::string::npos);
    const size_t end = text.find("  TOTAL RUN TIME");
    text = text.substr(0, text.rfind('\n', ninth)) + "\n\n" + text.substr(end);
    EXPECT_FALSE(load(text));
    EXPECT_EQ(ui.messages().back(),
              "The report out/model.out is incomplete (the engine stopped early): only 8 of 11 "
              "frequency steps.");
    EXPECT_EQ(model.freqCount, 0);
    EXPECT_EQ(model.summary.sweepRows, 0);
}

} // namespace
} // namespace wavra::test
