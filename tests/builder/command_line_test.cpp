#include <gtest/gtest.h>

#include <sstream>

#include "builder/command_line.h"
#include "support/test_support.h"

using namespace wavra::build;
using wavra::test::readText;
using wavra::test::TempDir;

namespace {

// The exit status of the build program run with `arguments`.
int runBuild(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), BUILD_PROGRAM);
    return wavra::test::runProgram(arguments, TempDir().path()).status;
}

} // namespace

TEST(CommandLine, Modes) {
    EXPECT_EQ(parseCommandLine({}).mode, RunMode::Dialog);
    const CommandLine withPath = parseCommandLine({"/m/Build.nec"});
    EXPECT_EQ(withPath.mode, RunMode::Dialog);
    EXPECT_EQ(withPath.outputPath, "/m/Build.nec");
    const CommandLine batch = parseCommandLine({"--shape", "box", "--param", "Fr=0", "--param=Ba=0", "out.nec"});
    EXPECT_EQ(batch.mode, RunMode::Batch);
    EXPECT_EQ(batch.params, (std::vector<std::string>{"Fr=0", "Ba=0"}));
    EXPECT_EQ(parseCommandLine({"--", "-odd.nec"}).outputPath, "-odd.nec");
}

TEST(CommandLine, BadUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--shape", "Patch"},
                                                                                      {"--shape", "Star", "x.nec"},
                                                                                      {"a.nec", "b.nec"},
                                                                                      {"--param", "X=1", "a.nec"},
                                                                                      {"--shape"},
                                                                                      {"--size", "3"},
                                                                                      {""}}) {
        const CommandLine cmd = parseCommandLine(args);
        EXPECT_EQ(cmd.mode, RunMode::Invalid);
        EXPECT_FALSE(cmd.error.empty());
    }
}

TEST(CommandLine, ParamsByCaption) {
    ShapeForm form = defaultForm(ShapeKind::Parabola);
    CommonEntries common;
    std::string error;
    EXPECT_TRUE(applyParam("Rectangular shape/grid=1", form, common, error));
    EXPECT_TRUE(applyParam("length x=3", form, common, error));
    EXPECT_TRUE(applyParam("Apperture=4", form, common, error)); // the same box under its other caption
    EXPECT_TRUE(applyParam("Nr X wires segments=3", form, common, error));
    EXPECT_TRUE(applyParam("Bent Y=no", form, common, error));
    EXPECT_TRUE(applyParam("Move X, Y, Z=dx, 0, 1", form, common, error));
    EXPECT_EQ(form.option, 2);
    EXPECT_EQ(form.entries[1].text, "4");
    EXPECT_EQ(form.entries[1].caption, "Length X");
    EXPECT_EQ(form.entries[3].segments, "3");
    EXPECT_FALSE(form.checks[1].checked);
    EXPECT_EQ(common.move, (std::array<std::string, 3>{"dx", "0", "1"}));

    EXPECT_FALSE(applyParam("Radius R=3", form, common, error));
    EXPECT_NE(error.find("\"Focus pnt\""), std::string::npos);
    EXPECT_FALSE(applyParam("Bent X=maybe", form, common, error));
    EXPECT_FALSE(applyParam("Rotate X, Y, Z=1, 2", form, common, error));
    EXPECT_FALSE(applyParam("Focus pnt=1\nGW", form, common, error));
    EXPECT_FALSE(applyParam("Focus pnt", form, common, error));
}

TEST(CommandLine, BatchWritesTheDeck) {
    TempDir dir;
    CommandLine cmd = parseCommandLine({"--shape", "Plane", "--param", "Nr circular wires=0", dir.file("p.nec")});
    std::ostringstream out, err;
    EXPECT_EQ(runBatch(cmd, out, err), 0);
    EXPECT_EQ(out.str(), "'" + dir.file("p.nec") + "' created, with 160 segments.\n");
    EXPECT_NE(readText(dir.file("p.nec")).find("CM Nr circular wires = 0\n"), std::string::npos);

    cmd = parseCommandLine({"--shape", "Plane", dir.file("missing/p.nec")});
    EXPECT_EQ(runBatch(cmd, out, err), 1);
    EXPECT_NE(err.str().find("Path: "), std::string::npos);
    cmd = parseCommandLine({"--shape", "Plane", "--param", "Move X, Y, Z=1 m, 0, 0", dir.file("q.nec")});
    EXPECT_EQ(runBatch(cmd, out, err), 1);
    cmd = parseCommandLine({"--shape", "Plane", "--param", "Colour=red", dir.file("q.nec")});
    EXPECT_EQ(runBatch(cmd, out, err), 2);
}

TEST(CommandLine, ProgramExitStatus) {
    TempDir dir;
    EXPECT_EQ(runBuild({"--shape", "Helix", dir.file("h.nec")}), 0);
    EXPECT_NE(readText(dir.file("h.nec")).find("GE 0"), std::string::npos);
    EXPECT_EQ(runBuild({"--shape", "Helix"}), 2);
    EXPECT_EQ(runBuild({"--shape", "Helix", "--param", "Number of turns=1e6", dir.file("h2.nec")}), 1);
    EXPECT_EQ(runBuild({"--help"}), 0);
}
