// How wavra finds the programs it hands the windows and the painted views
// to, in a portable tree and in a system install, and what it says when one
// is missing.
#include "app/companion_programs.h"

#include <filesystem>

#include "batch_fixture.h"

using namespace wavra;
using wavra::test::Batch;

namespace {

namespace fs = std::filesystem;

void makeProgram(const std::string& path, bool executable = true) {
    fs::create_directories(fs::path(path).parent_path());
    test::writeText(path, "#!/bin/sh\n");
    fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
}

TEST(CompanionPrograms, AreFoundInTheExeFolderOfTheInstallOnly) {
    test::TempDir dir;
    // The portable tree: everything in exe/.
    makeProgram(dir.file("tree/exe/wavra"));
    makeProgram(dir.file("tree/exe/wavra-show"));
    makeProgram(dir.file("tree/exe/wavra-windows"), false);
    EXPECT_EQ(companionProgram(dir.file("tree/exe/wavra"), kShowProgram), dir.file("tree/exe/wavra-show"));
    EXPECT_EQ(companionProgram(dir.file("tree/exe/wavra"), kWindowsProgram), "") << "not executable";
    fs::create_directories(dir.file("tree/exe/wavra-other"));
    EXPECT_EQ(companionProgram(dir.file("tree/exe/wavra"), "wavra-other"), "") << "a folder";

    // A system install: bin/wavra, the companions in lib/wavra, reached
    // through the links in share/wavra/exe; a companion in bin/ is not used.
    makeProgram(dir.file("usr/bin/wavra"));
    makeProgram(dir.file("usr/bin/wavra-windows"));
    makeProgram(dir.file("usr/lib/wavra/wavra-show"));
    fs::create_directories(dir.file("usr/share/wavra/exe"));
    fs::create_symlink("../../../lib/wavra/wavra-show", dir.file("usr/share/wavra/exe/wavra-show"));
    EXPECT_EQ(companionProgram(dir.file("usr/bin/wavra"), kShowProgram), dir.file("usr/share/wavra/exe/wavra-show"));
    EXPECT_EQ(companionProgram(dir.file("usr/bin/wavra"), kWindowsProgram), "");
}

TEST_F(Batch, AMissingCompanionIsNamedAndTheCommandLineGoesOn) {
    fs::remove(tree.file("exe/wavra-show"));
    fs::remove(tree.file("exe/wavra-windows"));
    auto r = run({"--batch", "--show", "pattern", "--png", "p.png", "models/dipole.nec"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("--show needs the program wavra-show, which this install of wavra does not have."),
              std::string::npos)
        << r.err;

    r = test::runProgram({"env", "QT_QPA_PLATFORM=offscreen", tree.file("exe/wavra"), "models/dipole.nec"},
                         tree.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("the windows (wavra-windows) are not installed; showing the batch summary."),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("Filename"), std::string::npos) << r.out;
}

} // namespace
