// A portable tree that its users may not write: every user's settings,
// engine decks and reports go to their own XDG folders, and two users'
// models of the same name do not meet. WAVRA_PER_USER=1 makes wavra take
// the tree as shared where the test runs as root, for whom it is writable.
#include <filesystem>

#include "base/files.h"
#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;

namespace {

namespace fs = std::filesystem;

struct SharedInstall : test::Batch {
    test::TempDir homes;
    SharedInstall() {
        for (const char* dir : {"", "exe", "out", "pov"})
            fs::permissions(tree.file(dir), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
    }
    ~SharedInstall() override {
        for (const char* dir : {"", "exe", "out", "pov"})
            fs::permissions(tree.file(dir), fs::perms::owner_write, fs::perm_options::add);
    }
    // The user's model of the given frequency, under the same name for all.
    std::string model(const std::string& user, const std::string& frequency) {
        fs::create_directories(homes.file(user + "/models"));
        std::string deck = test::readText(tree.file("models/dipole.nec"));
        deck.replace(deck.find("14.2 0"), 4, frequency);
        test::writeText(homes.file(user + "/models/dipole.nec"), deck);
        return homes.file(user + "/models/dipole.nec");
    }
    test::RunResult runAs(const std::string& user, const std::string& deck) {
        return test::runProgram({"env", "WAVRA_PER_USER=1", "HOME=" + homes.file(user),
                                 "XDG_CONFIG_HOME=" + homes.file(user + "/config"),
                                 "XDG_DATA_HOME=" + homes.file(user + "/data"), tree.file("exe/wavra"), "--batch",
                                 "--calc", "far", "--json", deck},
                                homes.path());
    }
};

TEST_F(SharedInstall, EachUserKeepsSettingsAndResultsInTheirOwnFolders) {
    const auto ann = runAs("ann", model("ann", "14.3"));
    ASSERT_EQ(ann.status, 0) << ann.err;
    const auto bob = runAs("bob", model("bob", "21.1"));
    ASSERT_EQ(bob.status, 0) << bob.err;
    EXPECT_DOUBLE_EQ(json::parse(ann.out)["frequencyMHz"].get<double>(), 14.3);
    EXPECT_DOUBLE_EQ(json::parse(bob.out)["frequencyMHz"].get<double>(), 21.1);
    for (const char* user : {"ann", "bob"}) {
        const std::string data = homes.file(std::string(user) + "/data/wavra/");
        EXPECT_TRUE(pathExists(homes.file(std::string(user) + "/config/wavra/wavra.ini"))) << user;
        EXPECT_TRUE(pathExists(homes.file(std::string(user) + "/config/wavra/view.ini"))) << user;
        EXPECT_TRUE(pathExists(data + "out/dipole.inp")) << user;
        EXPECT_TRUE(pathExists(data + "out/dipole.out")) << user;
        EXPECT_TRUE(fs::is_directory(data + "pov")) << user;
    }
    EXPECT_NE(test::readText(homes.file("ann/data/wavra/out/dipole.out")).find("1.4300E+01"), std::string::npos);
    EXPECT_NE(test::readText(homes.file("bob/data/wavra/out/dipole.out")).find("2.1100E+01"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(tree.file("out")));
    EXPECT_TRUE(fs::is_empty(tree.file("pov")));

    // The first start says where the user's files are; later ones do not.
    const std::string note = "Your settings are in " + homes.file("ann/config/wavra/");
    EXPECT_NE(ann.err.find(note), std::string::npos) << ann.err;
    const auto again = runAs("ann", homes.file("ann/models/dipole.nec"));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err.find(note), std::string::npos) << again.err;
}

} // namespace
