// The search for the outside editor and report viewer.
#include <gtest/gtest.h>

#include <filesystem>

#include "control/main_loop_programs.h"
#include "support/test_support.h"

using namespace wavra;
using namespace wavra::test;
namespace fs = std::filesystem;

namespace {

struct Programs : ::testing::Test {
    TempDir dir;
    RecordingUi ui;
    std::string program(const std::string& name, bool executable = true) {
        writeText(dir.file(name), "#!/bin/sh\n");
        fs::permissions(dir.file(name), executable ? fs::perms::owner_all : fs::perms::owner_read);
        return dir.file(name);
    }
};

} // namespace

TEST_F(Programs, SearchFollowsThePathList) {
    program("myedit");
    program("plain", false);
    EXPECT_EQ(searchProgram("myedit", "/nonexistent:" + dir.path()), dir.file("myedit"));
    EXPECT_EQ(searchProgram("plain", dir.path()), "");
    EXPECT_EQ(searchProgram(dir.file("myedit"), ""), dir.file("myedit"));
    EXPECT_EQ(searchProgram(dir.file("plain"), ""), "");
    EXPECT_EQ(searchProgram("", dir.path()), "");
}

TEST_F(Programs, EditorCandidatesSkipTerminalEditors) {
    const auto list = editorCandidates("/usr/bin/vim", "kate --new");
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[0], "kate");
    EXPECT_EQ(list[1], "xdg-open");
    EXPECT_EQ(editorCandidates(nullptr, "  ")[0], "xdg-open");
}

TEST_F(Programs, ConfiguredProgramFirstThenCandidatesThenTheUser) {
    program("configured");
    program("candidate");
    std::string setting = "configured";
    EXPECT_EQ(locateProgram(ui, setting, {"candidate"}, "text editor", dir.path()), dir.file("configured"));
    setting = kProgramNotFound;
    EXPECT_EQ(locateProgram(ui, setting, {"missing", "candidate"}, "text editor", dir.path()), dir.file("candidate"));
    EXPECT_EQ(setting, dir.file("candidate")); // kept for the settings file
    EXPECT_TRUE(ui.messages().empty());
    setting = kProgramNotFound;
    EXPECT_EQ(locateProgram(ui, setting, {}, "text editor", dir.path()), kProgramNotFound);
    EXPECT_TRUE(ui.saw("Executable program 'text editor' not found."));
    ASSERT_EQ(ui.fileRequests().size(), 1u);
    EXPECT_EQ(ui.fileRequests()[0].caption, "Search for executable program :");
    EXPECT_EQ(ui.fileRequests()[0].label, "Look for");
    ui.queueFile(splitPath(program("chosen")));
    EXPECT_EQ(locateProgram(ui, setting, {}, "text editor", dir.path()), dir.file("chosen"));
    ui.queueFile(splitPath(program("notrunnable", false)));
    EXPECT_EQ(findProgram(ui, "report viewer", dir.path()), kProgramNotFound);
    EXPECT_TRUE(ui.saw(dir.file("notrunnable") + " is not an executable program."));
}

TEST(FilePaths, SplitIntoDirectoryNameAndExtension) {
    EXPECT_EQ(splitPath("/a/b/yagi.v2.nec"), (FileChoice{"/a/b/", "yagi.v2", ".nec"}));
    EXPECT_EQ(splitPath("/a/.profile"), (FileChoice{"/a/", ".profile", ""}));
    EXPECT_EQ(splitPath("name"), (FileChoice{"", "name", ""}));
}
