// Run folders left behind: the next run removes those whose owner is gone
// and keeps those of a live process or of another machine sharing the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/files.h"
#include "base/text.h"
#include "engine/process.h"
#include "engine/run_files.h"
#include "support/test_support.h"

namespace wavra {
namespace {

namespace fs = std::filesystem;

std::string machineFile(const char* path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return trim(text);
}

TEST(RunFolders, OnlyFoldersOfOwnersThatAreGoneOnThisMachineAreRemoved) {
    test::TempDir out;
    const std::string boot = machineFile("/proc/sys/kernel/random/boot_id");
    const std::string host = machineFile("/proc/sys/kernel/hostname");
    const std::string self = std::to_string(currentProcessId());
    auto folder = [&](const std::string& name, const std::string& owner) {
        fs::create_directories(out.file(name));
        test::writeText(out.file(name + "/owner"), owner + "\n");
    };
    folder(".run-live", self + " " + processStartTime(currentProcessId()) + " " + boot + " " + host);
    folder(".run-reused-pid", self + " 1 " + boot + " " + host); // the number, taken over by this process
    folder(".run-earlier-boot", self + " 1 other-boot " + host);
    folder(".run-other-host", "999999999 1 " + boot + " other-host");

    removeAbandonedRunDirectories(out.path());
    EXPECT_TRUE(pathExists(out.file(".run-live")));
    EXPECT_FALSE(pathExists(out.file(".run-reused-pid")));
    EXPECT_FALSE(pathExists(out.file(".run-earlier-boot")));
    EXPECT_TRUE(pathExists(out.file(".run-other-host")));
}

} // namespace
} // namespace wavra
