#include "engine/engine_choice.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "engine/engine_run.h"
#include "engine_test_support.h"

namespace wavra {
namespace {

using Choice = std::pair<std::string, int>;

class SetexeTest : public ::testing::Test {
protected:
    test::EngineTree tree;
    Model m;
    RecordingUi ui;
    void SetUp() override { tree.prepare(m); }
    Choice choose(int segments) {
        setexe(m, ui, segments);
        return {m.engineName, m.maxSegments};
    }
};

TEST_F(SetexeTest, TakesTheFirstEngineWhoseBoundTheCountStaysBelow) {
    EXPECT_EQ(choose(1393), (Choice("&NEC2D1K9", 1900)));
    EXPECT_EQ(choose(1392), (Choice("&NEC2D1K4", 1400)));
    EXPECT_EQ(choose(1), (Choice("&NEC2D   ", 256)));
    EXPECT_EQ(choose(256), (Choice("&NEC2D   ", 256)));
    EXPECT_EQ(choose(257), (Choice("&NEC2D512", 512)));
    EXPECT_EQ(choose(700), (Choice("&NEC2D960", 960)));
    EXPECT_EQ(choose(11000), (Choice("&NEC2D11K", 11000)));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SetexeTest, KeepsTheWindowFlag) {
    m.engineName = "?NEC2D_LA";
    EXPECT_EQ(choose(3000), (Choice("?NEC2D4K ", 4000)));
}

TEST_F(SetexeTest, ACountBeyondTheTableChangesNothing) {
    EXPECT_EQ(choose(11001), (Choice("&NEC2D512", 512)));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"No engine for 11001 segments available !"});
}

TEST_F(SetexeTest, AMissingLauncherChangesNothingAndSaysWhichFile) {
    deleteFile(tree.file("exe/NEC2D960"));
    EXPECT_EQ(choose(700), (Choice("&NEC2D512", 512)));
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"File " + tree.path() + "exe/NEC2D960, for 700 segments, not available !"});
}

TEST(EngineChoice, EveryEngineNameHasAStagedLauncher) {
    for (const auto& name : engineNames()) {
        EXPECT_TRUE(pathExists(std::string(WAVRA_STAGE_DIR) + "/exe/" + name)) << name;
        EXPECT_TRUE(isValidEngineName(name)) << name;
    }
    EXPECT_EQ(engineNames().size(), engineTable().size() + 2);
}

TEST(EngineChoice, SplitsEngineNameIntoFlagAndName) {
    Model m;
    m.engineName = "?NEC32";
    selectEngine(m, kLapackEngine);
    EXPECT_EQ(m.engineName, "?NEC2D_LA");
    EXPECT_EQ(engineOf(m), "NEC2D_LA");
    EXPECT_TRUE(waitFlagSet(m));
    EXPECT_FALSE(isSpecialEngine(m));
    selectEngine(m, kSpecialEngine);
    EXPECT_EQ(m.engineName, "?NEC32   ");
    EXPECT_EQ(engineOf(m), "NEC32");
    EXPECT_TRUE(isSpecialEngine(m));
    m.engineName = "&";
    EXPECT_EQ(engineOf(m), "");
    EXPECT_FALSE(isSpecialEngine(m));
    EXPECT_FALSE(waitFlagSet(m));
}

TEST(EngineChoice, EngineNamesAreBareFileNames) {
    for (const char* bad : {"", "../bin/sh", "NEC 2", "NEC;rm", ".hidden", "NÉC"}) EXPECT_FALSE(isValidEngineName(bad));
}

TEST(LauncherCommand, PassesModeGroundAndEngineAndPausesOnlyOutsideTheOptimizer) {
    Model m;
    m.installDir = "/opt/wavra dir/";
    m.engineName = "&NEC2D512";
    using Argv = std::vector<std::string>;
    const std::string control = "/opt/wavra dir/out/.run-1/nec2d.tmp";
    EXPECT_EQ(launcherCommand(m, control, "gen", "my yagi;'x'"),
              (Argv{"/opt/wavra dir/exe/wavra.sh", "--control", control, "gen", "my yagi;'x'", "NEC2D512"}));
    m.engineName = "?NEC2D   ";
    EXPECT_EQ(launcherCommand(m, control, "som", "out/135710.gnd"),
              (Argv{"/opt/wavra dir/exe/wavra.sh", "--control", control, "som", "out/135710.gnd", "NEC2D", "pause"}));
    m.optimizerVarCount = 2;
    EXPECT_EQ(launcherCommand(m, control, "gen", "a").back(), "NEC2D");
}

} // namespace
} // namespace wavra
