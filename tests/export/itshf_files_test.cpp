#include "export/itshf_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "base/text.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "support/test_support.h"

namespace wavra {
namespace {

namespace fs = std::filesystem;

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A classic report built from its documented columns: the frequency line
// (FREQ at column 37, the value in 48-57) and one pattern table whose total
// gain stands in columns 37-44.
std::string classicReport(double mhz, const std::vector<double>& totals) {
    std::string text = "1                       NUMERICAL ELECTROMAGNETICS CODE (NEC-2)\n\n";
    text += std::string(36, ' ') + "FREQUENCY=" + padded(formatPicture(mhz, "0.0000e+00"), 11) + " MHZ\n\n";
    text += "  ---- ANGLES -----     - POWER GAINS -\n";
    text += "  THETA     PHI       VERT.   HOR.    TOTAL\n";
    text += " DEGREES  DEGREES       DB      DB      DB\n";
    for (size_t i = 0; i < totals.size(); ++i) {
        const std::string gain = padded(formatPicture(totals[i], "0.00"), 8);
        text += padded("90.00", 8) + padded(formatPicture(static_cast<double>(i / 91), "0.00"), 9) + "   " + gain +
                padded("-999.99", 8) + gain + "\n";
    }
    return text + "\n\n RUN TIME =     1.000\n";
}

struct ItsHfTest : ::testing::Test {
    test::InstallTree tree;
    test::TempDir its;
    Model m;
    RecordingUi ui;
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();

    void SetUp() override {
        tree.prepare(m);
        m.modelName = "yagi";
        m.modelExt = ".nec";
        m.itsHfDir = its.path();
        m.itsHfSub = "wavra/";
        m.itsHfType = 1;
        m.power = 100;
        m.calcKind = kCalcItsHfArea;
        m.calcRange = {45, 0, 0, 14.2, 0, 0, 0, 0, 0};
        for (const char* dir : {"antennas/wavra", "areadata/wavra", "saved/wavra", "bin_win"})
            fs::create_directories(its.file(dir));
        for (const char* program : {"icepacw", "voacapw"}) {
            const std::string path = its.file(std::string("bin_win/") + program);
            test::writeText(path,
                            "#!/bin/sh\n{ printf '%s|' \"$0\" \"$@\"; echo; } >> \"" + its.file("calls.txt") + "\"\n");
            fs::permissions(path, fs::perms::owner_all);
        }
    }
    std::vector<std::string> calls() { return test::readLinesOf(its.file("calls.txt")); }
    bool exportReport(const std::string& text, ItsHfRequest request = {""}) {
        request.report = text;
        return exportItsHf(m, ui, *runner, request);
    }
    std::string program(const char* name) { return its.file(std::string("bin_win/") + name); }
};

// 360 x 91 gains, record r holding r / 10 dB except for two marked values.
std::vector<double> areaGains() {
    std::vector<double> gains(360 * 91);
    for (size_t i = 0; i < gains.size(); ++i) gains[i] = static_cast<double>(i / 91) / 10;
    gains[0] = -123.4;
    gains[1] = -12.34;
    gains[2] = -12.34;
    return gains;
}

TEST_F(ItsHfTest, AreaAntennaFileHas360RecordsOf91Gains) {
    m.itsHfArea = 1;
    std::vector<std::string> captions;
    ItsHfProgress progress;
    progress.caption = [&](const std::string& c) { captions.push_back(c); };
    std::vector<int> bar;
    progress.bar = [&](int p) { bar.push_back(p); };
    ASSERT_TRUE(exportItsHf(m, ui, *runner, {classicReport(14.2, areaGains())}, progress));
    const auto lines = test::readLinesOf(its.file("antennas/wavra/yagi.n13"));
    ASSERT_EQ(lines.size(), 6u + 360 * 10);
    EXPECT_EQ(lines[0], "yagi.nec: freq=14.2 Mhz");
    EXPECT_EQ(lines[1], " 4     4 parameters");
    EXPECT_EQ(lines[3], "  13    [ 2] Antenna Type..: 360 x 91 gain values follow");
    EXPECT_EQ(lines[5], "  14.2  [ 4] Frequency");
    EXPECT_EQ(lines[6].substr(0, 9 + 21), "    0    -99.900-12.340-12.340");
    EXPECT_EQ(lines[6].size(), 9u + 70);
    EXPECT_EQ(lines[15], "           0.000");
    EXPECT_EQ(lines[16], "    1      0.100  0.100  0.100  0.100  0.100  0.100  0.100  0.100  0.100  0.100");
    EXPECT_EQ(lines.back(), "          35.900");
    EXPECT_EQ(lines[6 + 359 * 10].substr(0, 9), "  359    ");
    EXPECT_EQ(captions.front(), "Generating yagi.n13 for 14.2 Mhz");
    EXPECT_EQ(bar.back(), 100);
    EXPECT_EQ(bar.size(), 360u);
    // Level 1: files only, no program, and the messages name just them.
    EXPECT_FALSE(fs::exists(its.file("calls.txt")));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{
                  "ItsHF area-coverage antenna file '" + its.file("antennas/wavra/yagi.n13") + "' generated.",
                  "ItsHF area-coverage input file '" + its.file("areadata/wavra/yagi.ice") + " created."}));
}

TEST_F(ItsHfTest, AreaAbove30MHzAndShortPatternsAndMissingFiles) {
    m.itsHfArea = 1;
    m.calcRange[3] = 50;
    ASSERT_TRUE(exportReport(classicReport(30, areaGains())));
    EXPECT_EQ(test::readLinesOf(its.file("antennas/wavra/yagi.n13"))[5], "  30.0  [ 4] Frequency");

    ui.clear();
    std::vector<double> short_ = areaGains();
    short_.resize(359 * 91);
    EXPECT_FALSE(exportReport(classicReport(14.2, short_)));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{
                  "The report holds 32669 pattern values; an ItsHF area-coverage antenna file needs 360 x 91."}));

    ui.clear();
    EXPECT_FALSE(exportItsHf(m, ui, *runner, {""})); // the run's report could not be read
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Nec output file not found"}));

    ui.clear();
    m.itsHfSub = "other/";
    EXPECT_FALSE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"ItsHF directory '" + its.file("antennas/other/") +
                                        "' does not exist.\nCheck for directory and/or ItsHF settings."}));
    ui.clear();
    m.itsHfDir.clear();
    EXPECT_FALSE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "The ItsHF main directory is not set.\nCheck for directory and/or ItsHF settings."}));
    m.itsHfDir = its.path();
    ui.clear();
    fs::create_directories(its.file("antennas/other"));
    EXPECT_FALSE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"ItsHF directory '" + its.file("areadata/other/") +
                                        "' does not exist.\nCheck for directory and/or ItsHF settings."}));
}

TEST_F(ItsHfTest, AreaInputFileFromTheTemplateAndTheProgramRuns) {
    m.itsHfArea = 2;
    const std::string templ = its.file("areadata/default/wavra.ice");
    ASSERT_TRUE(exportReport(classicReport(14.2, areaGains()), {"", 0, "Yagi at 45 degrees"}));
    // The missing template came from the program's own.
    EXPECT_EQ(test::readText(templ), test::readText(tree.file("exe/wavraa.ice")));
    const auto input = test::readLinesOf(its.file("areadata/wavra/yagi.ice"));
    const auto source = test::readLinesOf(templ);
    ASSERT_EQ(input.size(), source.size());
    for (size_t i = 0; i < input.size(); ++i) {
        if (source[i].starts_with("Freqs")) {
            EXPECT_EQ(input[i].substr(11, 6), "14.200");
            EXPECT_EQ(input[i].substr(17), source[i].substr(17));
        } else if (source[i].starts_with("Tx Ants")) {
            EXPECT_EQ(input[i].substr(0, 11), source[i].substr(0, 11));
            EXPECT_EQ(input[i].substr(11, 21), "wavra/yagi.n13       ");
            EXPECT_EQ(input[i].substr(32, 17), source[i].substr(32, 17));
            EXPECT_EQ(input[i].substr(49, 8), "  0.1000");
        } else {
            EXPECT_EQ(input[i], source[i]);
        }
    }
    EXPECT_EQ(test::readText(its.file("areadata/wavra/yagi.txt")), "Yagi at 45 degrees\n");
    const std::string home = its.path().substr(0, its.path().size() - 1);
    EXPECT_EQ(calls(), (std::vector<std::string>{program("icepacw") + "|" + home + "|area|calculate|wavra/yagi.ice|"}));
    EXPECT_TRUE(ui.saw("ItsHF area-coverage plot file '" + its.file("areadata/wavra/yagi.ig1 created.")));

    // Level 3 shows the plot; an edited template in the package stays.
    m.itsHfArea = 3;
    m.itsHfType = 3;
    test::writeText(its.file("areadata/default/wavra.voa"), "Freqs    :  1.000\nTx Ants  :[x]\n");
    ASSERT_TRUE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_EQ(test::readText(its.file("areadata/wavra/yagi.voa")),
              "Freqs    : 14.200\nTx Ants  :[wavra/yagi.n13       " + std::string(17, ' ') + "  0.1000\n");
    EXPECT_EQ(calls().back(), program("voacapw") + "|" + home + "|area|screen|wavra/yagi.voa|");
}

TEST_F(ItsHfTest, MissingProgramOrTemplateSourceIsNamed) {
    m.itsHfArea = 2;
    m.itsHfType = 2; // rec533: no stand-in
    ui.clear();
    EXPECT_FALSE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_TRUE(ui.saw("ItsHF program '" + program("rec533w") +
                       "' does not exist.\nCheck for directory and/or ItsHF settings."));
    EXPECT_FALSE(ui.saw("ItsHF area-coverage plot file '" + its.file("areadata/wavra/yagi.rg1 created.")));
    EXPECT_TRUE(ui.saw("ItsHF area-coverage antenna file '" + its.file("antennas/wavra/yagi.n13") + "' generated."));

    ui.clear();
    deleteFile(tree.file("exe/wavraa.ice"));
    m.itsHfType = 1;
    EXPECT_FALSE(exportReport(classicReport(14.2, areaGains())));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Cannot copy the ItsHF template " + tree.file("exe/wavraa.ice") +
                                                       " to " + its.file("areadata/default/wavra.ice") + "."}));
}

// The real nec2c on a dipole over 1 to 30 MHz, the pattern towards one
// azimuth from the horizon up, as the engine run asks for point to point.
TEST_F(ItsHfTest, PointToPointFileOfARealNec2cReportAndItsRuns) {
    const std::string deck = tree.file("out/dipole.inp");
    test::writeText(deck,
                    "CM dipole\nCE\nGW 1 21 0 -5 10 0 5 10 0.001\nGE 0\nGN 1\nEX 0 1 11 0 1 0\n"
                    "FR 0 30 0 0 1 1\nRP 0 91 1 1000 90 90 -1 0\nEN\n");
    const auto run = test::runProgram({"nec2c", "-i" + deck, "-o" + tree.file("out/dipole.out")}, tree.path());
    ASSERT_EQ(run.status, 0) << run.err;
    m.calcKind = kCalcItsHfPointToPoint;
    m.calcRange = {90, 0, 0, 30, 0, 0, 0, 0, 0}; // antenna azimuth 90, path azimuth 30
    m.frequencyMHz = 14;
    m.modelName = "dipole-for-40m"; // 14 characters: numbered files take the first 6
    m.itsHfPtop = 1 | 2 | 8;
    ASSERT_TRUE(exportItsHf(m, ui, *runner,
                            {test::readText(tree.file("out/dipole.out")), 3, "not written for numbered files", true}));
    EXPECT_TRUE(ui.messages().empty()); // the optimizer runs: no messages
    const auto lines = test::readLinesOf(its.file("antennas/wavra/dipole03.n14"));
    ASSERT_EQ(lines.size(), 5u + 30 * 10);
    EXPECT_EQ(lines[0], "dipole-for-40m.nec: Phi=60 deg.");
    EXPECT_EQ(lines[4], "  14.0  [ 3] Frequency");
    EXPECT_EQ(lines[5].substr(0, 9), " 1  0.00 ");
    EXPECT_EQ(lines[5 + 29 * 10].substr(0, 9), "30  0.00 ");

    // The gains are the report's total gains as the report reader reads them.
    Model read;
    read.installDir = tree.path();
    read.modelName = "dipole";
    RecordingUi quiet;
    ASSERT_TRUE(test::readModelReport(read, quiet, ".out"));
    ASSERT_GE(read.patternCount, 91 * 30);
    for (int f = 0; f < 30; f += 29)
        for (int k = 0; k < 91; k += 9) {
            const std::string& line = lines[static_cast<size_t>(5 + f * 10 + k / 10)];
            const double total = read.farFieldGains[static_cast<size_t>(f * 91 + k + 1)][2];
            EXPECT_EQ(line.substr(static_cast<size_t>(9 + 7 * (k % 10)), 7),
                      padded(formatPicture(std::max(total, -99.9), "##0.000"), 7))
                << "frequency " << f + 1 << ", elevation " << k;
        }

    const auto input = test::readLinesOf(its.file("saved/wavra/dipole03.ice"));
    const auto source = test::readLinesOf(tree.file("exe/wavrap.ice"));
    for (size_t i = 0; i < input.size(); ++i) {
        if (!source[i].starts_with("Xmtr Ants")) {
            EXPECT_EQ(input[i], source[i]);
            continue;
        }
        EXPECT_EQ(input[i].substr(0, 27), source[i].substr(0, 27));
        EXPECT_EQ(input[i].substr(27, 8), "wavra   ");
        EXPECT_EQ(input[i].substr(36, 12), "dipole03.n14");
        EXPECT_EQ(input[i].substr(49, 6), "  30.0");
        EXPECT_EQ(input[i].substr(56, 9), "  0.10000");
    }
    EXPECT_FALSE(pathExists(its.file("saved/wavra/dipole03.txt")));
    const std::string head = program("icepacw") + "|" + its.path().substr(0, its.path().size() - 1) + "|";
    EXPECT_EQ(calls(),
              (std::vector<std::string>{head + "icepacg.dat|icepacg.out|", head + "icepacd.dat|icepacd.out|"}));

    // Only the input file: nothing runs, and the messages say so. The whole
    // name does not fit the 12 columns of the template's antenna name.
    m.itsHfPtop = 1;
    ASSERT_TRUE(exportItsHf(m, ui, *runner, {test::readText(tree.file("out/dipole.out"))}));
    EXPECT_EQ(calls().size(), 2u);
    EXPECT_EQ(
        ui.messages(),
        (std::vector<std::string>{
            "ItsHF input file " + its.file("saved/wavra/dipole-for-40m.ice") +
                ":\n'dipole-for-40m.n14' is wider than columns 37 to 48; it was cut.\n",
            "ItsHF point-to-point antenna file '" + its.file("antennas/wavra/dipole-for-40m.n14") + "' generated.",
            "ItsHF point-to-point input file '" + its.file("saved/wavra/dipole-for-40m.ice") + " created."}));
}

TEST(ItsHfNamesTest, ProgramsExtensionsAndDirectories) {
    Model m;
    m.installDir = "/inst/";
    m.modelName = "thirteenchars";
    m.itsHfDir = "/its";
    m.itsHfSub = "sub";
    m.calcKind = kCalcItsHfPointToPoint;
    const ItsHfNames n = itsHfNames(m, 3);
    EXPECT_EQ(n.antennaName, "thirte03");
    EXPECT_EQ(n.antennaFile(), "/its/antennas/sub/thirte03.n14");
    EXPECT_EQ(n.inputFile(), "/its/saved/sub/thirte03.ice");
    EXPECT_EQ(n.templateFile, "/its/saved/default/wavra.ice");
    EXPECT_EQ(n.templateSource, "/inst/exe/wavrap.ice");
    EXPECT_EQ(n.programPath(), "/its/bin_win/icepacw");
    for (auto [type, program] : {std::pair{2, "rec533"}, {3, "voacap"}, {7, "icepac"}}) {
        m.itsHfType = static_cast<int16_t>(type);
        EXPECT_EQ(itsHfNames(m, 0).program, program);
    }
    EXPECT_EQ(itsHfNames(m, 0).extension, ".ice");
}

} // namespace
} // namespace wavra
