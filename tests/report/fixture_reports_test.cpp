// The same decks calculated by the classic FORTRAN engine and by nec2c: both
// reports must give the same model to the printed precision, and the values
// must be the ones printed.
#include "report_test_support.h"

namespace wavra::test {
namespace {

struct Loaded {
    Model model;
    RecordingUi ui;
};

void loadInto(Loaded& l, const std::string& report) {
    InstallTree tree;
    tree.prepare(l.model);
    l.model.modelName = "fixture";
    writeText(tree.path() + "out/fixture.out", report);
    ASSERT_TRUE(test::readModelReport(l.model, l.ui, ".out"));
}

void expectSameWires(const Model& a, const Model& b) {
    ASSERT_EQ(a.wireCount, b.wireCount);
    for (int i = 1; i <= a.wireCount; ++i) {
        SCOPED_TRACE("segment " + std::to_string(i));
        EXPECT_EQ(a.wireTag[i], b.wireTag[i]);
        EXPECT_EQ(a.wireSegments[i], 1);
        EXPECT_EQ(a.wireEnd1Link[i], b.wireEnd1Link[i]);
        EXPECT_EQ(a.wireEnd2Link[i], b.wireEnd2Link[i]);
        using Column = TableRows<double> Model::*; // wire table and currents are parts of their own
        for (Column col : std::initializer_list<Column>{&Model::wireX1, &Model::wireY1, &Model::wireZ1, &Model::wireX2,
                                                        &Model::wireY2, &Model::wireZ2, &Model::wireRadius,
                                                        &Model::wireCurrentMag, &Model::wireCurrentPhase})
            EXPECT_TRUE(closeAsPrinted((a.*col)[i], (b.*col)[i]));
    }
    EXPECT_TRUE(closeAsPrinted(a.maxCurrentMag, b.maxCurrentMag));
    EXPECT_TRUE(closeAsPrinted(a.maxCurrentPhase, b.maxCurrentPhase));
    EXPECT_TRUE(closeAsPrinted(a.modelExtent, b.modelExtent));
}

void expectSameRequest(const Model& a, const Model& b) {
    EXPECT_EQ(a.sourceCount, b.sourceCount);
    for (int i = 1; i <= a.sourceCount; ++i) {
        EXPECT_EQ(a.sourceTag[i], b.sourceTag[i]);
        EXPECT_EQ(a.sourceSegment[i], b.sourceSegment[i]);
    }
    EXPECT_EQ(a.loadCount, b.loadCount);
    for (int i = 1; i <= a.loadCount; ++i) {
        EXPECT_EQ(a.loadType[i], b.loadType[i]);
        EXPECT_EQ(a.loadTag[i], b.loadTag[i]);
        EXPECT_EQ(a.loadFirstSegment[i], b.loadFirstSegment[i]);
        EXPECT_EQ(a.loadLastSegment[i], b.loadLastSegment[i]);
    }
    EXPECT_EQ(a.groundType, b.groundType);
    EXPECT_EQ(a.groundRadials, b.groundRadials);
    EXPECT_DOUBLE_EQ(a.groundEpsilon, b.groundEpsilon);
    EXPECT_DOUBLE_EQ(a.groundSigma, b.groundSigma);
    EXPECT_EQ(a.groundSymmetry, b.groundSymmetry);
    EXPECT_DOUBLE_EQ(a.frequencyMHz, b.frequencyMHz);
    EXPECT_EQ(a.requestMode, b.requestMode);
    EXPECT_EQ(a.requestXnda, b.requestXnda);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(a.requestCount[k], b.requestCount[k]);
        EXPECT_DOUBLE_EQ(a.requestStep[k], b.requestStep[k]);
    }
    EXPECT_EQ(a.freqCount, b.freqCount);
}

void expectSameResults(const Model& a, const Model& b) {
    const Summary& s = a.summary;
    const Summary& t = b.summary;
    EXPECT_EQ(s.comments, t.comments);
    EXPECT_EQ(s.frequencyText, t.frequencyText);
    EXPECT_EQ(s.segments, t.segments);
    EXPECT_EQ(s.patternLines, t.patternLines);
    EXPECT_TRUE(closeAsPrinted(s.impedanceR, t.impedanceR));
    EXPECT_TRUE(closeAsPrinted(s.impedanceX, t.impedanceX));
    EXPECT_TRUE(closeAsPrinted(s.voltageR, t.voltageR));
    EXPECT_TRUE(closeAsPrinted(s.currentR, t.currentR));
    EXPECT_TRUE(closeAsPrinted(s.currentX, t.currentX));
    EXPECT_TRUE(closeAsPrinted(s.inputPower, t.inputPower));
    EXPECT_TRUE(closeAsPrinted(s.radiatedPower, t.radiatedPower));
    EXPECT_TRUE(closeAsPrinted(s.structureLoss, t.structureLoss));
    EXPECT_TRUE(closeAsPrinted(s.efficiency, t.efficiency, 0.02));
    EXPECT_TRUE(closeAsPrinted(s.fieldScale, t.fieldScale));
    EXPECT_EQ(s.hasAverageGain, t.hasAverageGain);
    EXPECT_EQ(s.averageGainText, t.averageGainText);
    EXPECT_EQ(s.averageGainAngle, t.averageGainAngle);
    EXPECT_EQ(s.environment.size(), t.environment.size());

    ASSERT_EQ(a.patternCount, b.patternCount);
    for (int i = 1; i <= a.patternCount; ++i) {
        EXPECT_DOUBLE_EQ(a.farFieldAngles[i][0], b.farFieldAngles[i][0]);
        EXPECT_DOUBLE_EQ(a.farFieldAngles[i][1], b.farFieldAngles[i][1]);
        for (size_t k = 0; k < 5; ++k) EXPECT_TRUE(closeAsPrinted(a.farFieldGains[i][k], b.farFieldGains[i][k]));
    }
    for (int k = 1; k <= 5; ++k) EXPECT_TRUE(closeAsPrinted(a.patternMax[k], b.patternMax[k]));

    ASSERT_EQ(s.nearFieldCount, t.nearFieldCount);
    for (int i = 1; i <= s.nearFieldCount; ++i)
        for (size_t k = 0; k < 4; ++k) {
            if (k < 3) {
                EXPECT_FLOAT_EQ(a.nearFieldPoints[i][k], b.nearFieldPoints[i][k]);
            }
            EXPECT_TRUE(closeAsPrinted(a.nearFieldValues[i][k], b.nearFieldValues[i][k], 1e-6));
        }

    for (int i = 0; i <= a.freqCount; ++i) {
        EXPECT_DOUBLE_EQ(a.sweepFreq[i], b.sweepFreq[i]);
        EXPECT_TRUE(closeAsPrinted(a.sweepR[i], b.sweepR[i]));
        EXPECT_TRUE(closeAsPrinted(a.sweepX[i], b.sweepX[i]));
        EXPECT_DOUBLE_EQ(a.sweepGain[i], b.sweepGain[i]);
    }
}

class FixturePair : public ::testing::TestWithParam<const char*> {
protected:
    Loaded classic, nec2c;
    void SetUp() override {
        loadInto(classic, fixtureReport(std::string(GetParam()) + ".classic.out"));
        loadInto(nec2c, fixtureReport(std::string(GetParam()) + ".nec2c.out"));
    }
};

TEST_P(FixturePair, BothLayoutsGiveTheSameModel) {
    expectSameWires(classic.model, nec2c.model);
    expectSameRequest(classic.model, nec2c.model);
    expectSameResults(classic.model, nec2c.model);
}

TEST_P(FixturePair, CompleteReportsShowNoMessage) {
    EXPECT_TRUE(classic.ui.messages().empty()) << classic.ui.messages().front();
    EXPECT_TRUE(nec2c.ui.messages().empty()) << nec2c.ui.messages().front();
}

INSTANTIATE_TEST_SUITE_P(Decks, FixturePair,
                         ::testing::Values("a_dipole", "b_dipole_fr3_ne", "c_dipole_ground", "e_dipole_loads",
                                           "f_junction"),
                         [](const ::testing::TestParamInfo<const char*>& testCase) {
                             return std::string(testCase.param);
                         });

// Runs `check` on the model read from the classic and from the nec2c report
// of a deck.
template <class Check>
void forBothLayouts(const std::string& deck, Check check) {
    for (const char* layout : {".classic.out", ".nec2c.out"}) {
        SCOPED_TRACE(deck + layout);
        Loaded l;
        loadInto(l, fixtureReport(deck + layout));
        check(l.model);
    }
}

// Values as printed in the reports, read from both layouts.
TEST(FixtureValues, DipoleInFreeSpace) {
    forBothLayouts("a_dipole", [](const Model& m) {
        EXPECT_EQ(m.wireCount, 11);
        EXPECT_TRUE(closeAsPrinted(m.wireZ1[1], -5.35));
        EXPECT_TRUE(closeAsPrinted(m.wireZ2[11], 5.35));
        EXPECT_DOUBLE_EQ(m.wireRadius[1], 0.001);
        EXPECT_EQ(m.wireEnd1Link[1], 0);
        EXPECT_EQ(m.wireEnd2Link[1], 2);
        EXPECT_EQ(m.wireEnd1Link[11], 10);
        EXPECT_EQ(m.wireEnd2Link[11], 0);
        EXPECT_TRUE(closeAsPrinted(m.wireCurrentMag[6], 1.1170E-02, 0));
        EXPECT_TRUE(closeAsPrinted(m.wireCurrentPhase[6], -28.917, 0));
        EXPECT_EQ(m.sourceCount, 1);
        EXPECT_EQ(m.sourceTag[1], 1);
        EXPECT_EQ(m.sourceSegment[1], 6);
        EXPECT_EQ(m.groundType, -1);
        EXPECT_EQ(m.requestMode, 0);
        EXPECT_EQ(m.requestXnda, 1001);
        EXPECT_EQ(m.requestCount[1], 19);
        EXPECT_EQ(m.requestCount[2], 37);
        EXPECT_DOUBLE_EQ(m.requestStep[1], 10);
        EXPECT_EQ(m.patternCount, 703);
        EXPECT_DOUBLE_EQ(m.farFieldAngles[703][0], 180);
        EXPECT_DOUBLE_EQ(m.farFieldAngles[703][1], 360);
        EXPECT_DOUBLE_EQ(m.farFieldGains[10][2], 2.15);
        EXPECT_DOUBLE_EQ(m.patternMax[3], 2.15);
        const Summary& s = m.summary;
        EXPECT_EQ(s.frequencyText, "14.00 Mhz");
        EXPECT_EQ(s.wavelengthText, "21.4");
        EXPECT_TRUE(closeAsPrinted(s.impedanceR, 78.361));
        EXPECT_TRUE(closeAsPrinted(s.impedanceX, 43.288));
        // 100 W into 4.8889 mW of input power: fields scale by sqrt(100 / 4.8889e-3 / 2).
        EXPECT_TRUE(closeAsPrinted(s.fieldScale, std::sqrt(100 / 4.8889e-3 / 2)));
        EXPECT_TRUE(closeAsPrinted(m.farFieldGains[10][3], 6.9363E-01 * s.fieldScale));
        EXPECT_DOUBLE_EQ(s.inputPower, 100);
        EXPECT_DOUBLE_EQ(s.efficiency, 100);
        EXPECT_EQ(s.averageGainText, " 0.9959 over 720 dg.");
        EXPECT_FALSE(s.averageGainRed);
        ASSERT_EQ(s.comments.size(), 1u);
        EXPECT_EQ(s.comments[0], "HALF-WAVE DIPOLE 14 MHZ");
        EXPECT_EQ(s.environment, std::vector<std::string>{"FREE SPACE"});
        EXPECT_TRUE(s.hasRunTime);
    });
}

TEST(FixtureValues, JunctionEndsAreMarkedNegative) {
    forBothLayouts("f_junction", [](const Model& m) {
        ASSERT_EQ(m.wireCount, 15);
        // Segments 5 (end 2), 6 and 11 (end 1) meet at one junction.
        EXPECT_EQ(m.wireEnd2Link[5], -6);
        EXPECT_EQ(m.wireEnd1Link[6], -11);
        EXPECT_EQ(m.wireEnd1Link[11], -5);
        EXPECT_EQ(m.wireEnd2Link[4], 5);
        EXPECT_EQ(m.wireTag[11], 3);
        EXPECT_TRUE(closeAsPrinted(m.wireX2[15], 3.0));
        EXPECT_TRUE(closeAsPrinted(m.extentX, 3.0));
        EXPECT_DOUBLE_EQ(m.extentY, 1e-9);
    });
}

TEST(FixtureValues, LoadsAndGround) {
    Loaded loads, ground;
    loadInto(loads, fixtureReport("e_dipole_loads.classic.out"));
    ASSERT_EQ(loads.model.loadCount, 2);
    EXPECT_EQ(loads.model.loadType[1], 5); // wire conductivity over the whole tag
    EXPECT_EQ(loads.model.loadTag[1], 1);
    EXPECT_EQ(loads.model.loadFirstSegment[1], 0);
    EXPECT_EQ(loads.model.loadLastSegment[1], 0);
    EXPECT_EQ(loads.model.loadType[2], 0);
    EXPECT_EQ(loads.model.loadFirstSegment[2], 6);
    EXPECT_EQ(loads.model.loadLastSegment[2], 6);
    EXPECT_TRUE(closeAsPrinted(loads.model.summary.efficiency, 87.81));

    loadInto(ground, fixtureReport("c_dipole_ground.classic.out"));
    const Model& g = ground.model;
    EXPECT_EQ(g.groundType, 2);
    EXPECT_DOUBLE_EQ(g.groundEpsilon, 13);
    EXPECT_DOUBLE_EQ(g.groundSigma, 0.005);
    EXPECT_EQ(g.groundSymmetry, 1);
    EXPECT_EQ(g.patternCount, 10);
    EXPECT_DOUBLE_EQ(g.patternMax[3], 0.42);
}

TEST(FixtureValues, FrequencyLoopWithNearField) {
    Loaded l;
    loadInto(l, fixtureReport("b_dipole_fr3_ne.nec2c.out"));
    const Model& m = l.model;
    EXPECT_EQ(m.freqCount, 3);
    EXPECT_DOUBLE_EQ(m.sweepFreq[3], 14.2);
    EXPECT_TRUE(closeAsPrinted(m.sweepR[2], 80.015));
    EXPECT_TRUE(closeAsPrinted(m.sweepX[3], 65.102));
    // The near-field request comes first: it is the model's request and its
    // first table is loaded; the pattern has no table (no cut in the loop).
    EXPECT_EQ(m.requestMode, -1);
    EXPECT_EQ(m.requestCount[1], 3);
    EXPECT_EQ(m.requestCount[3], 1);
    EXPECT_EQ(m.summary.nearFieldCount, 9);
    EXPECT_FLOAT_EQ(m.nearFieldPoints[1][0], -1);
    EXPECT_FLOAT_EQ(m.nearFieldPoints[9][1], 1);
    const double scale = m.summary.fieldScale;
    EXPECT_TRUE(closeAsPrinted(m.nearFieldValues[5][2], 1.0280 * scale));
    EXPECT_TRUE(closeAsPrinted(m.nearFieldValues[5][3], 1.0280 * scale));
    EXPECT_EQ(m.patternCount, 0);
    EXPECT_EQ(m.summary.frequencySteps, "3");
    EXPECT_EQ(m.summary.sweep.freqMin, 14);
    EXPECT_EQ(m.summary.sweep.freqMax, 14.2);
}

} // namespace
} // namespace wavra::test
