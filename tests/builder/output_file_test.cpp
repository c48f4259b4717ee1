#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "builder/output_file.h"
#include "support/test_support.h"

using namespace wavra::build;
using wavra::test::readText;
using wavra::test::TempDir;
using wavra::test::writeText;

namespace {

OutputSettings settingsFrom(const TempDir& install, const std::string& ini) {
    std::filesystem::create_directories(install.path() + "exe");
    writeText(install.path() + "exe/wavra.ini", ini);
    return readOutputSettings(wavra::portablePlaces(install.path()));
}

} // namespace

TEST(OutputSettings, DefaultsWithoutTheFile) {
    TempDir install;
    const OutputSettings s = readOutputSettings(wavra::portablePlaces(install.path()));
    EXPECT_EQ(s.directory, install.path() + "exe/");
    EXPECT_EQ(outputPathFor(s, "Box"), install.path() + "exe/Box.nec");
}

TEST(OutputSettings, ReadsNecdirAndNecext) {
    TempDir install;
    OutputSettings s = settingsFrom(install, "MXSEGS= 512\r\nnecdir=/Models/Ant\t\t' start directory\r\nNECEXT=NEC\n");
    EXPECT_EQ(outputPathFor(s, "Plane"), "/Models/Ant/Plane.NEC");
    s = settingsFrom(install, "NECDIR=out\nNECEXT=.nec\n");
    EXPECT_EQ(outputPathFor(s, "Plane"), install.path() + "out/Plane.nec");
    s = settingsFrom(install, "NECDIR=\t\t' empty: the installation directory\nNECEXT=\n");
    EXPECT_EQ(outputPathFor(s, "Plane"), install.path() + "Plane.nec");
}

TEST(OutputSettings, AnyBytesAreSafe) {
    TempDir install;
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(random() % 300, '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 256);
        if (round % 2) bytes = "NECDIR=" + bytes;
        const OutputSettings s = settingsFrom(install, bytes);
        EXPECT_EQ(outputPathFor(s, "X").find('\n'), std::string::npos);
    }
}

TEST(DeckFile, WritesAndReplaces) {
    TempDir dir;
    const std::string path = dir.file("Build.nec");
    ASSERT_TRUE(writeDeckFile(path, "old\n").ok);
    ASSERT_TRUE(writeDeckFile(path, "CE\nGE 0\n").ok);
    EXPECT_EQ(readText(path), "CE\nGE 0\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(DeckFile, FailuresNameTheProblemAndKeepTheOldFile) {
    TempDir dir;
    writeText(dir.file("keep.nec"), "old\n");
    const WriteOutcome missing = writeDeckFile(dir.file("no/such/Build.nec"), "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message.rfind("Path: " + dir.file("no/such/Build.nec") + " not found; CurDir$: ", 0), 0u);
    const WriteOutcome underFile = writeDeckFile(dir.file("keep.nec/Build.nec"), "x");
    EXPECT_EQ(underFile.message.rfind("Path: ", 0), 0u);
    const WriteOutcome directory = writeDeckFile(dir.path(), "x");
    EXPECT_EQ(directory.message.rfind("File: " + dir.path() + " not found; CurDir$: ", 0), 0u);
    EXPECT_EQ(readText(dir.file("keep.nec")), "old\n");
}

TEST(DeckFile, CreatedMessage) {
    EXPECT_EQ(createdMessage("/m/Plane.nec", 176), "'/m/Plane.nec' created, with 176 segments.");
}
