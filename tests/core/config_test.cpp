#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "base/files.h"
#include "core/config.h"
#include "support/test_support.h"

using namespace wavra;
using namespace wavra::test;

namespace {

// An install tree whose exe/wavra.ini holds the given text.
struct IniTree {
    InstallTree tree;
    Model model;
    RecordingUi ui;

    explicit IniTree(const std::string& iniText) {
        tree.prepare(model);
        writeText(ini(), iniText);
    }
    std::string ini() const { return tree.file("exe/wavra.ini"); }
    bool read() { return readConfiguration(model, ui, ConfigMode::Read); }
    bool write() { return readConfiguration(model, ui, ConfigMode::Write); }
};

} // namespace

TEST(ConfigRead, SingleKeyFileLeavesDefaultsAndRewritesOnlyThatLine) {
    IniTree t("MXSEGS=2000\n");
    t.model.z0 = 75; // a value left over from before must go back to its default
    t.model.calcPresets[3][1] = "OLD";
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.maxSegments, 2000);
    EXPECT_EQ(t.model.z0, 50);
    EXPECT_EQ(t.model.power, 100);
    EXPECT_EQ(t.model.minLinearDb, -24);
    EXPECT_EQ(t.model.minLogDb, -100);
    EXPECT_DOUBLE_EQ(t.model.linLogFactor, 0.8);
    EXPECT_DOUBLE_EQ(t.model.optimizerMinStep, 0.0001);
    EXPECT_EQ(t.model.engineName, "&NEC2D512");
    EXPECT_EQ(t.model.notepadPath, "C:\\");
    EXPECT_EQ(t.model.modelExt, ".nec");
    EXPECT_EQ(t.model.modelDir, t.model.installDir);
    EXPECT_EQ(t.model.calcPresets[3][1], "");
    EXPECT_TRUE(t.ui.messages().empty());

    t.model.z0 = 60;
    t.model.maxSegments = 3000;
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readText(t.ini()), "MXSEGS= 3000\n");
    EXPECT_FALSE(pathExists(t.tree.file("exe/wavra.new")));
}

TEST(ConfigWrite, KnownKeyKeepsCommentWithItsTabsAndKeyIsUpperCased) {
    IniTree t("Z0=75\t' characteristic impedance\nlinlog = 0.5\t\t'lin-log factor\nSMITH=1 ' blank kept\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.z0, 75);
    EXPECT_DOUBLE_EQ(t.model.linLogFactor, 0.5);
    EXPECT_EQ(t.model.smithMode, 1);
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readText(t.ini()),
              "Z0= 75\t' characteristic impedance\nLINLOG= .5\t\t'lin-log factor\nSMITH= 1 ' blank kept\n");

    t.model.z0 = -3;
    t.model.linLogFactor = 0.8;
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readLinesOf(t.ini())[0], "Z0=-3\t' characteristic impedance");
    EXPECT_EQ(readLinesOf(t.ini())[1], "LINLOG= .8\t\t'lin-log factor");
}

TEST(ConfigWrite, UnknownEmptyAndCommentLinesStayVerbatim) {
    const std::string text =
        "' header comment\n"
        "\n"
        "FOO=bar   ' not ours\n"
        "=orphan value\n"
        "*=star\n"
        "   \t\n"
        "17=ignored preset\n"
        "70=ignored too\n"
        "POWER=200\n";
    IniTree t(text);
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.power, 200);
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readText(t.ini()), text.substr(0, text.size() - 10) + "POWER= 200\n");
}

TEST(ConfigRead, TwoDigitKeysAddressPresetRowAndColumn) {
    IniTree t(
        "10=rp 0, 37, 73, 1000, 0, 0, 5, 5\n21=FR 0,10,0,0,14,.1\n61=NE 0\n"
        "17=seventeen\n70=seventy\n05=five\n62=sixty-two\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.calcPresets[1][0], "RP 0, 37, 73, 1000, 0, 0, 5, 5");
    EXPECT_EQ(t.model.calcPresets[2][1], "FR 0,10,0,0,14,.1");
    EXPECT_EQ(t.model.calcPresets[6][1], "NE 0");
    int filled = 0;
    for (const auto& row : t.model.calcPresets)
        for (const std::string& entry : row) filled += entry.empty() ? 0 : 1;
    EXPECT_EQ(filled, 3);

    t.model.calcPresets[2][1] = "FR 0, 5, 0, 0, 7, 1";
    ASSERT_TRUE(t.write());
    auto lines = readLinesOf(t.ini());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "21=FR 0, 5, 0, 0, 7, 1");
    EXPECT_EQ(lines[3], "17=seventeen");
    EXPECT_EQ(lines[4], "70=seventy");
}

TEST(ConfigRead, EngineKeepsNineUpperCaseCharactersAndIsPaddedWhenShorter) {
    IniTree t("ENGINE=?nec2d11000x\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.engineName, "?NEC2D110");

    writeText(t.ini(), "ENGINE=&NEC32\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.engineName, "&NEC32   ");

    writeText(t.ini(), "ENGINE=\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.engineName, "&NEC2D512");
}

TEST(ConfigRead, NumbersAreRoundedHalfToEvenAndClampedNotWrapped) {
    IniTree t(
        "MXSEGS=40000\nMXPNTS=-99999\nZ0=2.5\nPOWER=3.5\nMNLIN=-24.5\nLINSTP=abc\nLOGSTP=\n"
        "MAXS=1e-3xyz\nMINS=oops\nLINLOG=1e999\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.maxSegments, 32767);
    EXPECT_EQ(t.model.maxFarFieldPoints, -32768);
    EXPECT_EQ(t.model.z0, 2);
    EXPECT_EQ(t.model.power, 4);
    EXPECT_EQ(t.model.minLinearDb, -24);
    EXPECT_EQ(t.model.linearStepDb, 0);
    EXPECT_EQ(t.model.logStepDb, 10); // no value at all keeps the setting
    EXPECT_DOUBLE_EQ(t.model.optimizerMaxStep, 0.001);
    EXPECT_DOUBLE_EQ(t.model.optimizerMinStep, 0);
    EXPECT_GT(t.model.linLogFactor, 1e300);
    // A clamp is said, never silent.
    EXPECT_EQ(t.ui.messages(),
              (std::vector<std::string>{"MXSEGS in exe/wavra.ini is 40,000, outside the range wavra keeps (-32,768 to "
                                        "32,767); 32,767 is used.",
                                        "MXPNTS in exe/wavra.ini is -99,999, outside the range wavra keeps (-32,768 to "
                                        "32,767); -32,768 is used."}));
}

TEST(ConfigRead, AClampIsFoundOnTheLineOfItsSetting) {
    Model model;
    Diagnostics found;
    readSettings(model, found, {"' capacities", "MXSEGS=2000", "MXPNTS=-99999"});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, 3);
    EXPECT_EQ(found[0].severity, Severity::Warning);
}

TEST(ConfigRead, CrlfLineEndsAndBlanksAroundKeysAreAccepted) {
    IniTree t("' comment\r\n  power = 150 \r\nMXFREQ=250\t' steps\r\nNECEXT=.NEC\r\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.power, 150);
    EXPECT_EQ(t.model.maxFreqSteps, 250);
    EXPECT_EQ(t.model.modelExt, ".NEC");
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readText(t.ini()), "' comment\nPOWER= 150\nMXFREQ= 250\t' steps\nNECEXT=.NEC\n");
}

TEST(ConfigRead, PathsAndTextsKeepTheirCaseOthersDefaultWhenEmpty) {
    IniTree t(
        "NPAD=/usr/bin/Mousepad\nWPAD=\nWORD=/opt/Viewer/Bin/okular\nITSDIR=/home/Op/ItsHF/\n"
        "ITSSUB=Wavra/\nOPT1=1, 1, 0, 0, 0, 0, 0, Up\nNECEXT=\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.notepadPath, "/usr/bin/Mousepad");
    EXPECT_EQ(t.model.wordpadPath, "C:\\");
    EXPECT_EQ(t.model.wordPath, "/opt/Viewer/Bin/okular");
    EXPECT_EQ(t.model.itsHfDir, "/home/Op/ItsHF/");
    EXPECT_EQ(t.model.itsHfSub, "Wavra/");
    EXPECT_EQ(t.model.optimizerText1, "1, 1, 0, 0, 0, 0, 0, Up");
    EXPECT_EQ(t.model.modelExt, ".nec");
    ASSERT_TRUE(t.write());
    auto lines = readLinesOf(t.ini());
    EXPECT_EQ(lines[1], "WPAD=C:\\");
    EXPECT_EQ(lines[3], "ITSDIR=/home/Op/ItsHF/");
    EXPECT_EQ(lines[6], "NECEXT=.nec");
}

TEST(ConfigWrite, LineBreakInsideATextValueCannotInjectAKey) {
    IniTree t("ITSDIR=\nMXSEGS=512\n");
    ASSERT_TRUE(t.read());
    t.model.itsHfDir = "/a\nMXSEGS=30000\r";
    ASSERT_TRUE(t.write());
    Model again;
    t.tree.prepare(again);
    ASSERT_TRUE(readConfiguration(again, t.ui, ConfigMode::Read));
    EXPECT_EQ(again.maxSegments, 512);
    EXPECT_EQ(readLinesOf(t.ini()).size(), 2u);
}

TEST(ConfigRead, StartDirectoryMustExistAndIsRelativeToInstallDir) {
    IniTree t("NECDIR=models\n");
    std::filesystem::create_directories(t.tree.file("models/Yagi"));
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.modelDir, t.tree.file("models/"));

    writeText(t.ini(), "NECDIR=" + t.tree.file("models/Yagi") + "\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.modelDir, t.tree.file("models/Yagi/"));

    writeText(t.ini(), "NECDIR=" + t.tree.file("models/yagi/") + "\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.modelDir, t.model.installDir);

    writeText(t.ini(), "NECDIR=C:\\NEC\\\nNECEXT=.nec\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.modelDir, t.model.installDir);
    t.model.modelDir = t.tree.file("models/Yagi/");
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readLinesOf(t.ini())[0], "NECDIR=" + t.tree.file("models/Yagi/"));
}

TEST(ConfigRead, MissingFileShowsMessageInBothModes) {
    InstallTree tree;
    Model model;
    tree.prepare(model);
    deleteFile(tree.file("exe/wavra.ini"));
    RecordingUi ui;
    EXPECT_FALSE(readConfiguration(model, ui, ConfigMode::Read));
    EXPECT_FALSE(readConfiguration(model, ui, ConfigMode::Write));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0], "Initialisation file exe/wavra.ini not found.");
    EXPECT_EQ(ui.messages()[1], "Initialisation file exe/wavra.ini not found.");
    EXPECT_FALSE(pathExists(tree.file("exe/wavra.ini")));
}

TEST(ConfigWrite, FailedRewriteKeepsTheOldFileAndReportsFailure) {
    const std::string text = "Z0=75\t' impedance\n";
    IniTree t(text);
    ASSERT_TRUE(t.read());
    std::filesystem::create_directories(t.tree.file("exe/wavra.new/blocker"));
    t.model.z0 = 20;
    EXPECT_FALSE(t.write());
    EXPECT_EQ(readText(t.ini()), text);
    EXPECT_TRUE(t.ui.saw("Settings not saved: exe/wavra.new could not be written."));
}

TEST(ConfigShipped, ShippedFileReadsAsTheDefaultsWithTheLapackEngineAndCapacitiesForEveryEngineModel) {
    InstallTree tree;
    Model model;
    tree.prepare(model);
    RecordingUi ui;
    const std::string shipped = readText(tree.file("exe/wavra.ini"));
    ASSERT_TRUE(readConfiguration(model, ui, ConfigMode::Read));
    const Model defaults;
    EXPECT_EQ(model.engineName, "&NEC2D_LA");
    // Capacities that fit every model the engines take, so that nothing a
    // report holds is dropped.
    EXPECT_EQ(model.maxSegments, 11000);
    EXPECT_EQ(model.maxFreqSteps, 2000);
    EXPECT_EQ(model.maxFarFieldPoints, 32767);
    // Room for curtains and phased arrays of many sources, loads and lines.
    EXPECT_EQ(model.maxSources, 64);
    EXPECT_EQ(model.maxLoads, 256);
    EXPECT_EQ(model.maxTransLines, 64);
    EXPECT_EQ(model.minLogDb, defaults.minLogDb);
    EXPECT_DOUBLE_EQ(model.optimizerMaxStep, defaults.optimizerMaxStep);
    EXPECT_EQ(model.wordPath, "C:\\");
    EXPECT_EQ(model.itsHfDir, "");
    EXPECT_EQ(model.modelDir, model.installDir);
    EXPECT_TRUE(ui.messages().empty());

    // Every key of the table is present: each one is rewritten with the value set here.
    model.modelDir = "/";
    ASSERT_TRUE(readConfiguration(model, ui, ConfigMode::Write));
    const std::string rewritten = readText(tree.file("exe/wavra.ini"));
    for (const char* key : {"NPAD=",    "WPAD=",   "WORD=",   "ITSDIR=",   "ITSSUB=", "ITSTYP=", "AREA=",   "PTOP=",
                            "NECDIR=/", "NECEXT=", "REDRAW=", "NOTEP=",    "Z0=",     "POWER=",  "LINLOG=", "MNLIN=",
                            "MNLOG=",   "LINSTP=", "LOGSTP=", "SMITH=",    "SWRLIM=", "ENGINE=", "MXSEGS=", "MXPNTS=",
                            "MXFREQ=",  "MXEX=",   "MXLD=",   "MXTL=",     "ABSS=",   "MAXS=",   "MINS=",   "OPT1=",
                            "OPT2=",    "\n10=",   "\n61=",   "PARALLEL=", "REUSE="})
        EXPECT_NE(rewritten.find(key), std::string::npos) << key;
    model.modelDir = "";
    ASSERT_TRUE(readConfiguration(model, ui, ConfigMode::Write));
    EXPECT_EQ(readText(tree.file("exe/wavra.ini")), shipped);
}

TEST(ConfigRead, ParallelRunsAreOnePerCoreUnlessSetAndReuseIsOnByDefault) {
    IniTree t("PARALLEL= 0\nREUSE= 0\n");
    ASSERT_TRUE(t.read());
    EXPECT_GE(parallelRunCount(t.model), 1); // the machine's cores
    EXPECT_EQ(t.model.reuseResults, 0);
    EXPECT_NE(Model().reuseResults, 0);
    t.model.parallelRuns = 3;
    EXPECT_EQ(parallelRunCount(t.model), 3);
    t.model.parallelRuns = -4; // a stray negative value: one per core, as 0
    EXPECT_EQ(parallelRunCount(t.model), parallelRunCount(Model()));
    t.model.parallelRuns = 3;
    ASSERT_TRUE(t.write());
    EXPECT_NE(readText(t.ini()).find("PARALLEL= 3"), std::string::npos);
}

TEST(DisplayTables, PaletteRampAndStepSeries) {
    const DisplayTables& t = displayTables();
    EXPECT_EQ(t.palette[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(t.palette[2], (Rgb{128, 64, 64}));
    EXPECT_EQ(t.palette[8 * 3 + 6], (Rgb{0, 0, 255}));
    EXPECT_EQ(t.palette[8 * 5 + 2], (Rgb{255, 240, 224}));
    EXPECT_EQ(t.palette[47], (Rgb{255, 192, 255}));

    EXPECT_EQ(t.colourRamp[0], (Rgb{0, 0, 255}));
    EXPECT_EQ(t.colourRamp[1], (Rgb{0, 64, 255}));
    EXPECT_EQ(t.colourRamp[4], (Rgb{0, 255, 255}));
    EXPECT_EQ(t.colourRamp[6], (Rgb{0, 255, 128}));
    EXPECT_EQ(t.colourRamp[8], (Rgb{0, 255, 0}));
    EXPECT_EQ(t.colourRamp[12], (Rgb{255, 255, 0}));
    EXPECT_EQ(t.colourRamp[15], (Rgb{255, 64, 0}));
    EXPECT_EQ(t.colourRamp[16], (Rgb{255, 0, 0}));

    EXPECT_EQ(t.stepSeries[1], 1e-9);
    EXPECT_EQ(t.stepSeries[2], 2e-9);
    EXPECT_EQ(t.stepSeries[3], 5e-9);
    EXPECT_EQ(t.stepSeries[4], 1e-8);
    EXPECT_EQ(t.stepSeries[26], 0.2);
    EXPECT_EQ(t.stepSeries[28], 1);
    EXPECT_EQ(t.stepSeries[42], 5e4);
    EXPECT_EQ(t.stepSeries[43], 1e5);
    for (size_t i = 2; i <= 43; ++i) EXPECT_LT(t.stepSeries[i - 1], t.stepSeries[i]);
}

TEST(NiceRange, WidensOutwardOntoTheSeries) {
    auto range = [](double lo, double hi) {
        niceRange(lo, hi);
        return std::pair{lo, hi};
    };
    EXPECT_EQ(range(-3, 7), (std::pair{-5.0, 10.0}));
    EXPECT_EQ(range(-0.2, 0.2), (std::pair{-0.2, 0.2}));
    EXPECT_EQ(range(3, 7), (std::pair{2.0, 10.0}));
    EXPECT_EQ(range(2, 4), (std::pair{1.0, 5.0}));       // a positive lo goes strictly below
    EXPECT_EQ(range(-30, -3), (std::pair{-50.0, -2.0})); // a negative hi may stay on an entry
    EXPECT_EQ(range(-30, -2), (std::pair{-50.0, -2.0}));
    EXPECT_EQ(range(0, 0), (std::pair{0.0, 0.0}));
    EXPECT_EQ(range(0, 0.013), (std::pair{0.0, 0.02}));
    // Beyond the ends of the series: large bounds stay, tiny ones go to zero.
    EXPECT_EQ(range(-2e5, 3e5), (std::pair{-2e5, 3e5}));
    EXPECT_EQ(range(1e-10, 1e-10), (std::pair{0.0, 1e-9}));
    auto [lo, hi] = range(-1e-10, -1e-10);
    EXPECT_EQ(lo, -1e-9);
    EXPECT_EQ(hi, 0.0);
    EXPECT_FALSE(std::signbit(hi));
}

// A file the user made read-only stays as it is; a link is written through
// to its file, which keeps its permissions.
TEST(ConfigWrite, ReadOnlyFileLinkAndModeAreKept) {
    namespace fs = std::filesystem;
    IniTree t("Z0=75\n");
    ASSERT_TRUE(t.read());
    t.model.z0 = 60;
    fs::permissions(t.ini(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(t.write());
    EXPECT_EQ(readText(t.ini()), "Z0=75\n");
    EXPECT_TRUE(t.ui.saw("Settings not saved: exe/wavra.ini is read-only."));

    const std::string target = t.tree.file("settings/shared.ini");
    fs::create_directories(t.tree.file("settings"));
    writeText(target, "Z0=75\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::remove(t.ini());
    fs::create_symlink("../settings/shared.ini", t.ini());
    ASSERT_TRUE(t.write());
    EXPECT_TRUE(fs::is_symlink(t.ini()));
    EXPECT_EQ(readText(target), "Z0= 60\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(t.tree.file("settings/wavra.new")));
}

// Found by the configuration fuzz target: "Z0" and two CRs. A lone CR ends a
// line, and a key without a value keeps the setting, so the round trip keeps
// Z0 at 50.
TEST(ConfigRead, LoneCarriageReturnsEndLinesAndAKeyWithoutValueKeepsItsSetting) {
    IniTree t("Z0\r\rPOWER=150\rMXFREQ=\r");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.z0, 50);
    EXPECT_EQ(t.model.power, 150);
    EXPECT_EQ(t.model.maxFreqSteps, 100);
    ASSERT_TRUE(t.write());
    EXPECT_EQ(readText(t.ini()), "Z0= 50\n\nPOWER= 150\nMXFREQ= 100\n");
    ASSERT_TRUE(t.read());
    EXPECT_EQ(t.model.z0, 50);
}
