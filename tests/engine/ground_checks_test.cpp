#include "engine/ground_checks.h"

#include <gtest/gtest.h>

namespace wavra {
namespace {

class GroundChecksTest : public ::testing::Test {
protected:
    Model m;
    RecordingUi ui;
    void SetUp() override {
        m.wireCount = 1;
        m.wireZ1[1] = 5;
        m.wireZ2[1] = 10;
        m.requestMode = 0;
    }
};

TEST_F(GroundChecksTest, FreeSpaceAndASoundGroundAskNothing) {
    EXPECT_TRUE(checkGround(m, ui));
    m.groundType = 2;
    m.groundSigma = 0.005;
    m.groundEpsilon = 13;
    EXPECT_TRUE(checkGround(m, ui));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GroundChecksTest, AWireOnTheGroundWithoutGroundPlaneAsksAndCancelStops) {
    m.groundType = 1;
    m.wireZ1[1] = 0;
    EXPECT_TRUE(checkGround(m, ui));
    ui.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(checkGround(m, ui));
    EXPECT_EQ(ui.messages(), std::vector<std::string>(2, "Note: Ground(plane) option for GE card not set."));
    m.groundSymmetry = 1;
    ui.clear();
    EXPECT_TRUE(checkGround(m, ui));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GroundChecksTest, GroundScreenConflictsAreAskedInOrder) {
    m.groundType = 2;
    m.groundRadials = 4;
    m.groundSymmetry = 1;
    m.requestMode = 2;
    EXPECT_TRUE(checkGround(m, ui)); // OK to every question goes on
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Ground screen not allowed with GE card ground plane.",
                                                       "Ground screen not allowed with SOMNEC ground.",
                                                       "No ground screen option specified in RP card."}));
    ui.clear();
    ui.queueAnswer(Answer::Ok);
    ui.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(checkGround(m, ui));
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(GroundChecksTest, ScreenModeWithoutRadialsAndNegativeConductivityAreQuestioned) {
    m.groundType = 0;
    m.requestMode = 4;
    m.groundSigma = -0.005;
    m.freqCount = 8; // in a loop as at one frequency
    EXPECT_TRUE(checkGround(m, ui));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"No ground screen specified but option set in RP card.",
                                                       "Conductivity in GN card is negative."}));
    m.groundType = 1; // perfect ground has no conductivity
    ui.clear();
    EXPECT_TRUE(checkGround(m, ui));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"No ground screen specified but option set in RP card."});
}

TEST(SommerfeldFiles, NameAndRequestLineFollowTheGroundAndFrequency) {
    Model m;
    m.groundEpsilon = 13;
    m.groundSigma = -0.005;
    m.frequencyMHz = 7.1;
    EXPECT_EQ(sommerfeldGroundFile(m), "out/13-5710.gnd");
    EXPECT_EQ(sommerfeldRequestLine(m), "13,-0.005,7.1,0");
    m.groundEpsilon = 4.9;
    m.groundSigma = 0.0157;
    m.frequencyMHz = 144.125;
    EXPECT_EQ(sommerfeldGroundFile(m), "out/41514412.gnd");
    EXPECT_EQ(sommerfeldRequestLine(m), "5,0.0157,144.125,0");
}

} // namespace
} // namespace wavra
