#include "base/places.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace wavra {
namespace {

using test::TempDir;

// A portable tree <dir>/inst (exe/ with the program and the shipped
// settings) and a system install <dir>/usr (bin/wavra, share/wavra/exe).
struct Trees : TempDir {
    Trees() {
        fs::create_directories(file("inst/exe"));
        test::writeText(file("inst/exe/wavra"), "");
        test::writeText(file("inst/exe/wavra.ini"), "Z0= 50\n");
        test::writeText(file("inst/exe/view.ini"), "DSPEXT=.bmp\n");
        fs::create_directories(file("usr/bin"));
        fs::create_directories(file("usr/share/wavra/exe"));
        test::writeText(file("usr/bin/wavra"), "");
    }
};

// A probe with the given environment and the directories this user may write.
struct Probe {
    std::map<std::string, std::string> env;
    bool treeWritable = true;
    PlaceProbe probe() const {
        return {[this](const std::string& name) {
                    auto it = env.find(name);
                    return it == env.end() ? std::string() : it->second;
                },
                [this](const std::string&) { return treeWritable; }};
    }
};

TEST(InstallDir, IsTheParentOfTheProgramDirectoryOrTheSharedDataOfASystemInstall) {
    Trees t;
    EXPECT_EQ(installDirOf(t.file("inst/exe/wavra")), t.file("inst/"));
    EXPECT_EQ(installDirOf(t.file("inst/exe/./../exe/wavra")), t.file("inst/"));
    fs::create_directories(t.file("bin"));
    fs::create_symlink(t.file("inst/exe/wavra"), t.file("bin/wavra"));
    EXPECT_EQ(installDirOf(t.file("bin/wavra")), t.file("inst/")); // a link to the portable program
    EXPECT_EQ(installDirOf(t.file("usr/bin/wavra")), t.file("usr/share/wavra/"));
    EXPECT_EQ(installDirOf("/wavra"), "/");
}

TEST(Places, AWritablePortableTreeKeepsEverythingBelowIt) {
    Trees t;
    Probe p;
    p.env = {{"HOME", "/home/ann"}};
    const Places places = placesFor(t.file("inst/exe/wavra"), p.probe());
    EXPECT_FALSE(places.perUser);
    EXPECT_EQ(places.settingsDir, t.file("inst/exe/"));
    EXPECT_EQ(places.dataDir, t.file("inst/"));
    std::string note, error;
    EXPECT_TRUE(preparePlaces(places, note, error));
    EXPECT_EQ(note, "");
    EXPECT_FALSE(pathExists("/home/ann"));
}

TEST(Places, AReadOnlyTreeASystemInstallOrTheSwitchUseTheXdgFoldersOfTheUser) {
    Trees t;
    Probe p;
    p.env = {{"HOME", "/home/ann"}};
    p.treeWritable = false;
    Places places = placesFor(t.file("inst/exe/wavra"), p.probe());
    EXPECT_TRUE(places.perUser);
    EXPECT_EQ(places.installDir, t.file("inst/"));
    EXPECT_EQ(places.settingsDir, "/home/ann/.config/wavra/");
    EXPECT_EQ(places.dataDir, "/home/ann/.local/share/wavra/");

    // The variables when they hold absolute paths; a relative one is ignored.
    p.env = {{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "data"}};
    places = placesFor(t.file("inst/exe/wavra"), p.probe());
    EXPECT_EQ(places.settingsDir, "/cfg/wavra/");
    EXPECT_EQ(places.dataDir, "/home/ann/.local/share/wavra/");

    p.treeWritable = true; // root may write anywhere: the system install is per user all the same
    places = placesFor(t.file("usr/bin/wavra"), p.probe());
    EXPECT_TRUE(places.perUser);
    EXPECT_TRUE(places.systemInstall);
    EXPECT_EQ(places.installDir, t.file("usr/share/wavra/"));
    p.env["WAVRA_PER_USER"] = "1";
    EXPECT_TRUE(placesFor(t.file("inst/exe/wavra"), p.probe()).perUser);

    p.env = {};
    places = placesFor(t.file("usr/bin/wavra"), p.probe());
    std::string note, error;
    EXPECT_FALSE(preparePlaces(places, note, error));
    EXPECT_EQ(error,
              "No folder for your settings and results: neither $XDG_CONFIG_HOME, $XDG_DATA_HOME nor $HOME "
              "names one.");
}

TEST(Places, TheFirstStartCopiesTheShippedSettingsOnceAndSaysWhereTheUsersFilesAre) {
    Trees t;
    Probe p;
    p.env = {{"XDG_CONFIG_HOME", t.file("cfg")}, {"XDG_DATA_HOME", t.file("data")}};
    p.treeWritable = false;
    const Places places = placesFor(t.file("inst/exe/wavra"), p.probe());
    fs::permissions(t.file("inst/exe/wavra.ini"), fs::perms::owner_read); // a read-only install
    std::string note, error;
    ASSERT_TRUE(preparePlaces(places, note, error)) << error;
    EXPECT_EQ(note, "Your settings are in " + t.file("cfg/wavra/") + ", your engine decks, reports and scenes in " +
                        t.file("data/wavra/out/") + " and " + t.file("data/wavra/pov/") + ".");
    EXPECT_EQ(test::readText(t.file("cfg/wavra/wavra.ini")), "Z0= 50\n");
    EXPECT_EQ(test::readText(t.file("cfg/wavra/view.ini")), "DSPEXT=.bmp\n");
    EXPECT_FALSE(isWriteProtected(t.file("cfg/wavra/wavra.ini"))); // rewritten at exit
    EXPECT_TRUE(fs::is_directory(t.file("data/wavra/out")));
    EXPECT_TRUE(fs::is_directory(t.file("data/wavra/pov")));

    // The user's settings are theirs from now on.
    test::writeText(t.file("cfg/wavra/wavra.ini"), "Z0= 75\n");
    ASSERT_TRUE(preparePlaces(places, note, error));
    EXPECT_EQ(note, "");
    EXPECT_EQ(test::readText(t.file("cfg/wavra/wavra.ini")), "Z0= 75\n");

    // A settings folder that cannot be made is said.
    Probe blocked = p;
    test::writeText(t.file("file"), "");
    blocked.env["XDG_CONFIG_HOME"] = t.file("file");
    EXPECT_FALSE(preparePlaces(placesFor(t.file("inst/exe/wavra"), blocked.probe()), note, error));
    EXPECT_EQ(error.rfind("Cannot make the folder " + t.file("file/wavra/") + " for your files: ", 0), 0u) << error;
}

} // namespace
} // namespace wavra
