#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "view_test_support.h"
#include "viewer/settings.h"

using namespace wavra::view;
using namespace wavra::view::test;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    TempDir install;
    ScriptedUi ui;
    std::string ini() const { return install.path() + "exe/view.ini"; }
};

} // namespace

TEST(SettingLine, KeyUpperValueAsWrittenCommentWithoutItsLead) {
    const SettingLine line = splitSettingLine(" dspDir = /Maps/Area \t'   last directory ");
    EXPECT_EQ(line.key, "DSPDIR");
    EXPECT_EQ(line.value, "/Maps/Area");
    EXPECT_TRUE(line.hasComment);
    EXPECT_EQ(line.comment, "last directory");
    // An apostrophe inside a directory name is part of the value.
    EXPECT_EQ(splitSettingLine("DSPDIR=/home/o'neil/maps").value, "/home/o'neil/maps");
    EXPECT_FALSE(splitSettingLine("DSPDIR=/home/o'neil/maps").hasComment);
    EXPECT_TRUE(splitSettingLine("' only a note").key.empty());
    EXPECT_TRUE(splitSettingLine("no equals sign").key.empty());
    EXPECT_TRUE(splitSettingLine("=value").key.empty());
}

TEST_F(SettingsFile, ReadTakesExistingDirectoriesAndFallsBackForMissingOnes) {
    fs::create_directories(install.path() + "maps/Area");
    const ViewSettings absolute =
        readSettings({"DSPDIR=" + install.path() + "maps/Area", "dspext=.PNG"}, install.path());
    EXPECT_EQ(absolute.pictureDir, install.path() + "maps/Area/");
    EXPECT_EQ(absolute.extension, ".PNG");
    EXPECT_EQ(absolute.plotProgram, "bin_win/worldwin");
    EXPECT_EQ(readSettings({"DSPDIR=maps/Area\t' relative to the tree", "DSPEXT=ig1"}, install.path()).extension,
              ".ig1");
    EXPECT_EQ(readSettings({"DSPDIR=maps/Area"}, install.path()).pictureDir, install.path() + "maps/Area/");
    // Paths are case-sensitive: the directory is not found in upper case.
    EXPECT_EQ(readSettings({"DSPDIR=" + install.path() + "MAPS/AREA"}, install.path()).pictureDir, install.path());
    const ViewSettings defaults = readSettings({"DSPDIR=", "PLOTPRG=", "junk"}, install.path());
    EXPECT_EQ(defaults.pictureDir, install.path());
    EXPECT_EQ(defaults.extension, ".bmp");
    EXPECT_EQ(defaults.plotProgram, "bin_win/worldwin");
    EXPECT_EQ(readSettings({"PLOTPRG=/opt/itshf/plot.sh"}, install.path()).plotProgram, "/opt/itshf/plot.sh");
}

TEST_F(SettingsFile, RewriteKeepsLinesNotesAndUnknownKeysAndIsStable) {
    ViewSettings current;
    current.pictureDir = "/data/maps/";
    current.extension = ".ig1";
    const std::vector<std::string> lines{
        "' viewer settings",       "", "dspdir=/old\t\t'directory", "DSPEXT=.bmp", "OTHER=Keep Case  ' someone else's",
        "PLOTPRG=bin_win/worldwin"};
    const std::string once = rewriteSettings(lines, current);
    EXPECT_EQ(once,
              "' viewer settings\n\nDSPDIR=/data/maps/\t' directory\nDSPEXT=.ig1\nOTHER=Keep Case\t' someone "
              "else's\nPLOTPRG=bin_win/worldwin\n");
    std::vector<std::string> again;
    std::string line;
    for (char c : once) {
        if (c == '\n') {
            again.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    EXPECT_EQ(rewriteSettings(again, current), once);
}

TEST_F(SettingsFile, MissingFileStopsTheStartWithItsMessage) {
    ViewSettings settings;
    EXPECT_FALSE(loadSettings(wavra::portablePlaces(install.path()), settings, ui));
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Initialisation file exe/view.ini not found."});
    EXPECT_FALSE(saveSettings(wavra::portablePlaces(install.path()), settings, ui));
    EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(SettingsFile, RoundTripThroughTheFile) {
    writeText(ini(), "DSPDIR=\t' directory\r\nDSPEXT=.bmp\r\n");
    ViewSettings settings;
    ASSERT_TRUE(loadSettings(wavra::portablePlaces(install.path()), settings, ui));
    EXPECT_EQ(settings.pictureDir, install.path());
    settings.pictureDir = install.path() + "maps/";
    settings.extension = ".vg1";
    ASSERT_TRUE(saveSettings(wavra::portablePlaces(install.path()), settings, ui));
    EXPECT_EQ(readText(ini()), "DSPDIR=" + install.path() + "maps/\t' directory\nDSPEXT=.vg1\n");
    EXPECT_FALSE(fs::exists(install.path() + "exe/view.new"));
    fs::create_directories(install.path() + "maps");
    ViewSettings back;
    ASSERT_TRUE(loadSettings(wavra::portablePlaces(install.path()), back, ui));
    EXPECT_EQ(back.pictureDir, settings.pictureDir);
    EXPECT_EQ(back.extension, ".vg1");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(SettingsFile, AFailedRewriteKeepsTheOldFileAndSaysSo) {
    writeText(ini(), "DSPEXT=.bmp\n");
    fs::create_directories(install.path() + "exe/view.new"); // the temporary file cannot be made
    ViewSettings settings;
    settings.extension = ".png";
    EXPECT_FALSE(saveSettings(wavra::portablePlaces(install.path()), settings, ui));
    EXPECT_EQ(readText(ini()), "DSPEXT=.bmp\n");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0], "Initialisation file exe/view.ini could not be rewritten; it keeps its old settings.");
}

TEST(SettingsBytes, AnyLinesReadAndRewriteWithoutHarm) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines;
        for (int n = 0; n < 8; ++n) {
            std::string line;
            for (int k = length(random); k > 0; --k)
                line += static_cast<char>(byte(random) % 4 == 0 ? "='\t"[k % 3] : byte(random));
            lines.push_back(line);
        }
        const ViewSettings settings = readSettings(lines, "/nonexistent-install/");
        EXPECT_FALSE(settings.extension.empty());
        EXPECT_FALSE(settings.plotProgram.empty());
        rewriteSettings(lines, settings);
    }
}
