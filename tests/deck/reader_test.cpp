#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "deck/expression.h"
#include "deck/reader.h"
#include "support/test_support.h"

using namespace wavra;

namespace {

struct Reader : ::testing::Test {
    test::InstallTree tree;
    Model model;
    RecordingUi ui;
    Reader() {
        tree.prepare(model);
        initConstantTable(model, model);
        showDiagnostics(ui, loadConstantsFile(model, model));
    }
    bool load(const std::string& deck, const std::string& name = "model", const std::string& ext = ".nec") {
        test::writeText(tree.file(name + ext), deck);
        model.modelName = name;
        model.modelExt = ext;
        return readInputFileShown(model, ui);
    }
};

} // namespace

TEST_F(Reader, ScaleFactorAppliesToWiresRadiiAndExtents) {
    ASSERT_TRUE(load("GS 0 0 0.001\nGW 1 10 0 0 0 0 0 5000 1\nGE 0\nEN\n"));
    ASSERT_EQ(model.wireCount, 1);
    EXPECT_DOUBLE_EQ(model.wireZ2[1], 5);
    EXPECT_DOUBLE_EQ(model.wireRadius[1], 0.001);
    EXPECT_EQ(model.wireEnd1Link[1], kNoLink);
    EXPECT_DOUBLE_EQ(model.extentZ, 5);
    EXPECT_DOUBLE_EQ(model.extentX, 1e-9); // a wire on the z axis still has all extents > 0
    EXPECT_DOUBLE_EQ(model.modelExtent, 5);
    EXPECT_EQ(model.summary.segments, 10);
}

TEST_F(Reader, LoadSegmentDefaultsAndSources) {
    ASSERT_TRUE(
        load("GW 3 11 0 0 0 0 0 5 .001\nGW 4 5 1 0 0 1 0 5 .001\n"
             "LD 5 3 0 0 5.8e7\nLD 0 4 2 0 10\nLD 0 4 2 4 10\n"
             "EX 1 3 6 0 1 0\nEX 0 4 3 0 1 0\n"));
    ASSERT_EQ(model.loadCount, 3);
    EXPECT_EQ(model.loadType[1], 5);
    EXPECT_EQ(model.loadFirstSegment[1], 1);
    EXPECT_EQ(model.loadLastSegment[1], 11);
    EXPECT_EQ(model.loadFirstSegment[2], 2);
    EXPECT_EQ(model.loadLastSegment[2], 2);
    EXPECT_EQ(model.loadLastSegment[3], 4);
    // Only voltage sources (type 0) are kept.
    ASSERT_EQ(model.sourceCount, 1);
    EXPECT_EQ(model.sourceTag[1], 4);
    EXPECT_EQ(model.sourceSegment[1], 3);
    EXPECT_EQ(model.sourceTag[2], kEmptyTag);
}

TEST_F(Reader, CardsBeforeAnyWireAreNotStored) {
    ASSERT_TRUE(load("EX 0 1 1 0 1\nLD 0 1 1 1 50\nGW 1 3 0 0 0 0 0 1 .001\n"));
    EXPECT_EQ(model.sourceCount, 0);
    EXPECT_EQ(model.loadCount, 0);
}

TEST_F(Reader, ThirdSourceStopsReadingWithCapacityMessage) {
    ASSERT_TRUE(
        load("GW 1 11 0 0 0 0 0 5 .001\nEX 0 1 1 0 1\nEX 0 1 2 0 1\nEX 0 1 3 0 1\n"
             "GW 2 11 1 0 0 1 0 5 .001\n"));
    EXPECT_EQ(model.sourceCount, 2);
    EXPECT_EQ(model.wireCount, 1); // reading stopped at the third source
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Max-number of 2 V-sources exceeded,\nIncrease setting: 'Max-nr EX cards'.");
}

TEST_F(Reader, WireCapacityMessageKeepsWhatWasRead) {
    model.maxSegments = 2;
    model.allocateModelTables(2, 10, 2, 2, 2);
    ASSERT_TRUE(
        load("GW 1 1 0 0 0 0 0 1 .001\nGW 2 1 0 0 1 0 0 2 .001\nGW 3 1 0 0 2 0 0 3 .001\n"
             "FR 0 1 0 0 14 0\n"));
    EXPECT_EQ(model.wireCount, 2);
    EXPECT_TRUE(ui.saw("Max-number of 2 segments exceeded,\nIncrease setting: 'Max-nr segments'."));
    EXPECT_DOUBLE_EQ(model.frequencyMHz, 0); // nothing after the full table is read
    EXPECT_DOUBLE_EQ(model.extentZ, 2);
}

TEST_F(Reader, TransmissionLinePointsSitOnTheNamedSegments) {
    ASSERT_TRUE(
        load("GW 1 10 0 -5 0 0 5 0 .001\nGW 2 4 1 0 0 1 0 4 .001\nGS 0 0 2\n"
             "TL 1 3 2 4 75 0\nTL 9 1 2 1 -50 0\n"));
    ASSERT_EQ(model.transLineCount, 2);
    // End 1: segment 3 of 10 on y from -5 to 5 spans -3..-2, then scaled by 2.
    EXPECT_DOUBLE_EQ(model.tlY[1][1][1], -6);
    EXPECT_DOUBLE_EQ(model.tlY[1][2][1], -4);
    // End 2: last segment of tag 2 spans z 3..4, scaled.
    EXPECT_DOUBLE_EQ(model.tlZ[1][1][2], 6);
    EXPECT_DOUBLE_EQ(model.tlZ[1][2][2], 8);
    // A tag that matches no earlier wire takes the last wire.
    EXPECT_DOUBLE_EQ(model.tlX[2][1][1], 2);
    EXPECT_EQ(model.summary.environment[0], "Trans-line  1,  75 ohms.");
    EXPECT_EQ(model.summary.environment[1], "Trans-line  2, -50 ohms.");
    EXPECT_EQ(model.tlZ[3][1][1], kNoTransLine);
}

TEST_F(Reader, GroundEnvironmentLines) {
    ASSERT_TRUE(load("GW 1 1 0 0 1 0 0 2 .001\nGE -1\nGN 2 4 0 0 13 0.005 3.5 2\n"));
    EXPECT_EQ(model.groundType, 2);
    EXPECT_EQ(model.groundRadials, 4);
    EXPECT_DOUBLE_EQ(model.groundEpsilon, 13);
    EXPECT_DOUBLE_EQ(model.groundSigma, 0.005);
    EXPECT_EQ(model.groundSymmetry, -1);
    const std::vector<std::string> expected = {
        "Ground symmetry specified.", "Sommerfeld ground file input", "Diel. const. : 13.0", "Conductivity : 5.0 mS",
        "Nr radials   : 4",           "Radial length : 3.5 m.",       "Radial diam.  : 2 mm"};
    EXPECT_EQ(model.summary.environment, expected);
    ASSERT_TRUE(load("GW 1 1 0 0 1 0 0 2 .001\nGN 1\n"));
    EXPECT_EQ(model.summary.environment, std::vector<std::string>{"Perfect ground"});
    ASSERT_TRUE(load("GW 1 1 0 0 1 0 0 2 .001\n"));
    EXPECT_EQ(model.groundType, -1);
    EXPECT_TRUE(model.summary.environment.empty());
}

TEST_F(Reader, FrequencyTextsAndLaterFrequencyCards) {
    ASSERT_TRUE(load("FR 0 1 0 0 14 0\nFR 0 11 0 0 21 .1\n"));
    EXPECT_DOUBLE_EQ(model.frequencyMHz, 14);
    EXPECT_EQ(model.summary.frequencyText, "14.00 Mhz");
    EXPECT_EQ(model.summary.wavelengthText, "21.4");
    EXPECT_EQ(model.summary.frequencySteps, "11");
    ASSERT_TRUE(load("FR 0 1 0 0 435 0\n"));
    EXPECT_EQ(model.summary.frequencyText, "435 Mhz");
    EXPECT_EQ(model.summary.wavelengthText, "0.689");
}

TEST_F(Reader, OnlyTheFirstFieldRequestCounts) {
    ASSERT_TRUE(load("NE 0 2 3 4 0 -1 -2 0.5 0.25 0.125\nRP 0 19 37 1000 0 0 5 10\n"));
    EXPECT_EQ(model.requestMode, kNearRequest);
    EXPECT_EQ(model.requestCount[3], 4);
    EXPECT_DOUBLE_EQ(model.requestStep[2], 0.25);
    ASSERT_EQ(model.summary.requestRows.size(), 3u);
    EXPECT_EQ(model.summary.requestRows[2].label, "   Z");
    EXPECT_DOUBLE_EQ(model.summary.requestRows[2].stop, -2 + 3 * 0.125);
    EXPECT_EQ(model.summary.patternLines, 24);

    ASSERT_TRUE(load("RP 1 19 37 1001 0 0 5 10 2000 3\nNE 0 2 3 4 0 0 0 1 1 1\n"));
    EXPECT_EQ(model.requestMode, 1);
    EXPECT_EQ(model.requestXnda, 1001);
    EXPECT_DOUBLE_EQ(model.requestDistance, 2000);
    EXPECT_DOUBLE_EQ(model.requestGainNorm, 3);
    ASSERT_EQ(model.summary.requestRows.size(), 2u);
    EXPECT_EQ(model.summary.requestRows[0].label, "Theta");
    EXPECT_DOUBLE_EQ(model.summary.requestRows[1].stop, 360);
    EXPECT_EQ(model.summary.patternLines, 19 * 37);
}

TEST_F(Reader, CommentsTaperedWiresKernelAndGluedNames) {
    ASSERT_TRUE(
        load("CM   first comment\nCM\nCE last\n'GW 9 1 0 0 0 0 0 1 1\nG'W 9\n"
             "GW1 5 0 0 0 0 0 1 0\nGC 0 0 1 .002 .001\nEK\n"));
    EXPECT_EQ(model.summary.comments, (std::vector<std::string>{"first comment", "last"}));
    ASSERT_EQ(model.wireCount, 1);
    EXPECT_EQ(model.wireTag[1], 1);
    EXPECT_DOUBLE_EQ(model.wireRadius[1], 0.001);
    EXPECT_EQ(model.extendedKernel, -1);
}

TEST_F(Reader, SymbolicDeckIsConvertedIntoOutFolderFirst) {
    ASSERT_TRUE(load("SY h=lam/4, lam=1\nSY lam=2, q=lam/4\nGW 1 5 0 0 0 0 0 q 1mm\n", "a long model name"));
    EXPECT_DOUBLE_EQ(model.wireZ2[1], 0.5);
    EXPECT_EQ(model.summary.fileName, "a long model name.nec");
    EXPECT_TRUE(test::readText(tree.file("out/a long m.inp")).find("GW, 1, 5, 0, 0, 0, 0, 0, .5, .001") !=
                std::string::npos);
}

TEST_F(Reader, EngineDeckIsReadAsIsAndReportsAreRefused) {
    ASSERT_TRUE(load("GW, 1, 5, 0, 0, 0, 0, 0, 2, .001\nGW2 5 0 0 0 0 0 3 .001\nEN\nGW, 3, 5, 0, 0, 0, 0, 0, 2, .001\n",
                     "deck", ".inp"));
    ASSERT_EQ(model.wireCount, 2);
    EXPECT_EQ(model.wireTag[2], 2);
    EXPECT_DOUBLE_EQ(model.wireZ2[2], 3);
    model.modelExt = ".OUT";
    EXPECT_FALSE(readInputFileShown(model, ui));
    EXPECT_EQ(model.reloadInput, -1);
}

TEST_F(Reader, MissingFileIsReported) {
    model.modelName = "nothere";
    model.modelExt = ".nec";
    EXPECT_FALSE(readInputFileShown(model, ui));
    EXPECT_EQ(ui.messages().back(),
              "Open failure on NEC-2 input file " + tree.file("nothere.nec") + ": No such file or directory");
}

TEST_F(Reader, HostileDecksGiveAResultNotACrash) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 31 + 7) % 255 + 1);
    EXPECT_TRUE(load(garbage));
    EXPECT_FALSE(load(garbage + std::string(1, '\0')));
    EXPECT_EQ(ui.messages().back(),
              "The model file " + tree.file("model.nec") + " is not a text deck: it holds NUL bytes.");
    EXPECT_TRUE(
        load("GW 1 99999 0 0 0 0 0 1e400 .001\nGW -70000 -5 0 0 0 0 0 1 .001\nGS 0 0 0\n"
             "RP 0 40000 40000 0 0 0 1 1\nTL 1 1 1 99999 50\n"));
    EXPECT_EQ(model.wireSegments[1], 32767);
    EXPECT_EQ(model.wireTag[2], -32768);
    EXPECT_GE(model.extentX, 1e-9);
    EXPECT_EQ(model.requestCount[1], 32767);
    // No clamp is silent.
    EXPECT_TRUE(
        ui.saw("Field 3 of 'GW, 1, 99999, 0, 0, 0, 0, 0, 1e400, .001' is 99,999, outside the range wavra "
               "keeps (-32,768 to 32,767); 32,767 is used."));
    EXPECT_TRUE(
        ui.saw("Field 4 of 'RP, 0, 40000, 40000, 0, 0, 0, 1, 1' is 40,000, outside the range wavra keeps "
               "(-32,768 to 32,767); 32,767 is used."));
    EXPECT_TRUE(load(std::string(100000, ',') + "\n" + std::string(100000, ' ') + "\nGW\nEX 0\nLD\nTL\nGN\n"));
}

// The conversion's problems lie on lines of the model file; the numeric
// reader's on lines of the engine copy, which has no comment lines.
TEST_F(Reader, FindingsComeBackOnTheirLines) {
    test::writeText(tree.file("m.nec"), "' a comment\nGW 1 99999 0 0 0 0 0 1 .001\nGW 2 5 0 0 0 0 0 len .001\n");
    model.modelName = "m";
    DeckDiagnostics found;
    ASSERT_TRUE(readInputFile(model, found));
    ASSERT_EQ(found.modelFile.size(), 1u);
    EXPECT_EQ(found.modelFile[0].line, 3);
    EXPECT_EQ(found.modelFile[0].text, "Parser: Constant 'len' not found.");
    ASSERT_EQ(found.cards.size(), 1u);
    EXPECT_EQ(found.cards[0].line, 1);
    EXPECT_EQ(found.cards[0].severity, Severity::Warning);
    EXPECT_TRUE(found.cards[0].text.starts_with("Field 3 of 'GW, 1, 99999,")) << found.cards[0].text;
    EXPECT_TRUE(found.engineDeck.empty());
}

// 2,000 unknown names: ten messages of each kind, one summary per kind, and
// every message in model.log beside the model.
TEST_F(Reader, FloodsOfLikeMessagesAreSummedUpIntoModelLog) {
    std::string deck = "GW 1 11 0 0 0 0 0 5 .001\n";
    for (int i = 0; i < 2000; ++i) deck += "SY v" + std::to_string(i) + "=w" + std::to_string(i) + "+1\n";
    ASSERT_TRUE(load(deck));
    const auto log = test::readLinesOf(tree.file("model.log"));
    ASSERT_EQ(ui.messages().size(), 22u);
    // Each message names the deck line it is about; line 2 holds w0.
    EXPECT_EQ(ui.messages()[9], "line 11: Parser: Constant 'w9' not found.");
    // Once the symbol table is full, the definitions cannot be kept either.
    const std::string noRoom = "Parser: No more room in constant table.";
    EXPECT_TRUE(ui.messages()[19].starts_with("line ") && ui.messages()[19].ends_with(": " + noRoom))
        << ui.messages()[19];
    const long long missing =
        std::count_if(log.begin(), log.end(), [&](const std::string& l) { return l.ends_with(noRoom); });
    EXPECT_EQ(ui.messages()[20],
              "line 2: Parser: Constant 'w0' not found.\n\u2026 and 1,990 more like it; see model.log");
    EXPECT_TRUE(ui.messages()[21].ends_with(noRoom + "\n\u2026 and " + groupedNumber(missing - 10) +
                                            " more like it; see model.log"))
        << ui.messages()[21];
    EXPECT_EQ(log[0], "line 2: Parser: Constant 'w0' not found.");
    EXPECT_EQ(model.summary.deckErrors, static_cast<int>(log.size()));
}

TEST_F(Reader, ZoCardIsTheModelsZ0AndStaysOutOfTheEngineDeck) {
    ASSERT_TRUE(load("SY zl=3*25\nGW 1 5 0 0 0 0 0 1 1mm\nZO zl\nFR 0 1 0 0 14 0\n"));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 75);
    EXPECT_STREQ(model.referenceZ0Source(), "deck");
    EXPECT_EQ(model.z0, 50); // the setting, written back at exit, stays
    EXPECT_EQ(model.summary.environment.back(), "Feed line Z0 : 75 ohm (ZO card)");
    EXPECT_EQ(toUpper(test::readText(tree.file("out/model.inp"))).find("ZO"), std::string::npos);

    ASSERT_TRUE(load("GW 1 5 0 0 0 0 0 1 1mm\n")); // the next deck has none
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 50);
    EXPECT_STREQ(model.referenceZ0Source(), "settings");

    ASSERT_TRUE(load("GW, 1, 5, 0, 0, 0, 0, 0, 1, .001\nzo 52.5\n", "deck", ".inp"));
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 52.5);

    ASSERT_TRUE(load("GW 1 5 0 0 0 0 0 1 1mm\nZO -50\n"));
    EXPECT_EQ(ui.messages().back(), "line 2: The ZO card needs a positive characteristic impedance in ohms: 'ZO -50'.");
    EXPECT_EQ(model.summary.deckErrors, 1);
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 50);
}

TEST_F(Reader, ZoCardIsTakenFromTheDeckForAModelReadFromItsReport) {
    test::writeText(tree.file("model.nec"), "CM feed line\nGW 1 5 0 0 0 0 0 1 1mm\nZO 300\nEN\n");
    model.modelName = "model";
    model.deckZ0 = 0;
    readDeckZ0(model);
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 300);
    EXPECT_EQ(model.summary.environment.back(), "Feed line Z0 : 300 ohm (ZO card)");
    test::writeText(tree.file("model.nec"), "GW 1 5 0 0 0 0 0 1 1mm\n");
    readDeckZ0(model);
    EXPECT_DOUBLE_EQ(model.referenceZ0(), 50);
}
