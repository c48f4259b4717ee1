#include <gtest/gtest.h>

#include <algorithm>

#include "deck/expression.h"
#include "deck/writer.h"
#include "support/test_support.h"

using namespace wavra;

namespace {

struct Writer : ::testing::Test {
    Model model;
    Diagnostics found;
    Writer() { initConstantTable(model, model); }
    std::string convert(const std::string& deck) { return convertDeck(model, model, model, found, deck); }
    std::vector<std::string> messages() const { return shownTexts(found); }
};

} // namespace

TEST_F(Writer, EvaluatesSymbolsUnitsAndKeepsPlainNumbersAsWritten) {
    EXPECT_EQ(convert("SY len=5\nGW 1 11 0 0 -len/2 0 0 len/2 1mm\nGE 0\nEN\n"),
              "GW, 1, 11, 0, 0, -2.5, 0, 0, 2.5, .001\nGE, 0\nXQ\nEN\n");
    EXPECT_EQ(convert("GW 1 11 0.000 0 -1e-1 0 0 +5 .25\nRP 0 1 1 1000 90 0\n"),
              "GW, 1, 11, 0.000, 0, -1e-1, 0, 0, +5, .25\nRP, 0, 1, 1, 1000, 90, 0\nEN\n");
    EXPECT_TRUE(found.empty());
}

TEST_F(Writer, IntegerAndRealFieldsFollowTheCardName) {
    // The first two values are always integers; the third and fourth are
    // reals only on geometry cards (G*, except GN and GD) and S* cards.
    const std::string out = convert(
        "SY a=2.6, b=1.5\n"
        "GW a b 1 b 0 0 0 0 0.001\n"
        "GN 2 0 a b 13 0.005\n"
        "GD 0 0 a b\n"
        "GS 0 0 b\n"
        "GM 0 0 a b 0 0 0 0 0\n"
        "SP 0 a b b 0 0 0\n"
        "EX 0 1 a 0 b 0\n");
    EXPECT_NE(out.find("GW, 3, 2, 1, 1.5, 0,"), std::string::npos) << out;
    EXPECT_NE(out.find("GN, 2, 0, 3, 2, 13, 0.005"), std::string::npos) << out;
    EXPECT_NE(out.find("GD, 0, 0, 3, 2"), std::string::npos) << out;
    EXPECT_NE(out.find("GS, 0, 0, 1.5"), std::string::npos) << out;
    EXPECT_NE(out.find("GM, 0, 0, 2.6, 1.5,"), std::string::npos) << out;
    EXPECT_NE(out.find("SP, 0, 3, 1.5, 1.5,"), std::string::npos) << out;
    EXPECT_NE(out.find("EX, 0, 1, 3, 0, 1.5, 0"), std::string::npos) << out;
}

TEST_F(Writer, EndsWithXqAndEnOnlyWhereNeeded) {
    EXPECT_EQ(convert("GW 1 1 0 0 0 0 0 1 .001\nFR 0 1 0 0 14 0\n"),
              "GW, 1, 1, 0, 0, 0, 0, 0, 1, .001\nFR, 0, 1, 0, 0, 14, 0\nXQ\nEN\n");
    EXPECT_EQ(convert("FR 0 1 0 0 14 0\nRP 0 1 1 1000 0 0\nEN\n"),
              "FR, 0, 1, 0, 0, 14, 0\nRP, 0, 1, 1, 1000, 0, 0\nEN\n");
    EXPECT_EQ(convert("NE 0 1 1 1 0 0 0\nXQ\n"), "NE, 0, 1, 1, 1, 0, 0, 0\nXQ\nEN\n");
    // Lines after EN are ignored, whatever they hold.
    EXPECT_EQ(convert("FR 0 1 0 0 14 0\nEN\nRP 0 1 1 1000 0 0\n"), "FR, 0, 1, 0, 0, 14, 0\nXQ\nEN\n");
    EXPECT_EQ(convert(""), "XQ\nEN\n");
}

TEST_F(Writer, DropsCommentsSymbolsSizeCardsAndBlankLines) {
    EXPECT_EQ(convert("'a comment\nG' also a comment\nCM keep me, as written\nCE\nSY x=1\nSZ 3000 0\n"
                      "  indented line\n\n   \nGE 0\n"),
              "CM keep me, as written\nCE\nGE, 0\nXQ\nEN\n");
}

TEST(EngineDeck, RunAsWrittenLosesItsZoCards) {
    EXPECT_EQ(withoutFeedLineCards("GW, 1\nzo, 50\nZO 75\nEN\n"), "GW, 1\nEN\n");
}

TEST_F(Writer, LapackEngineGetsSizeCardAfterCe) {
    model.engineName = "&NEC2D_LA";
    model.maxSegments = 3000;
    EXPECT_EQ(convert("CM x\nCE\nGE 0\n"), "CM x\nCE\nSZ 3000 0\nGE, 0\nXQ\nEN\n");
}

TEST_F(Writer, TabSeparatedLinesAllowBlanksInExpressions) {
    EXPECT_EQ(convert("SY d = 4\nGW\t1\t3\t0\t-d / 2\t0\t0\td / 2\t0\t2 mm\n"),
              "GW, 1, 3, 0, -2.0, 0, 0, 2.0, 0, .002\nXQ\nEN\n");
}

TEST_F(Writer, CardNameGluedToFirstValueAndLowerCaseNames) {
    EXPECT_EQ(convert("gw1 5 0 0 0 0 0 1 .001\nEx-1 1 1 0 1\n"),
              "GW, 1, 5, 0, 0, 0, 0, 0, 1, .001\nEX, -1, 1, 1, 0, 1\nXQ\nEN\n");
}

TEST_F(Writer, LaterSymbolDefinitionReplacesEarlierAndPreviousDeckIsForgotten) {
    model.baseConstantCount = model.constCount;
    EXPECT_EQ(convert("SY h=1\nSY h=h+2\nGS 0 0 h\n"), "GS, 0, 0, 3.0\nXQ\nEN\n");
    found.clear();
    EXPECT_EQ(convert("GS 0 0 h\n"), "GS, 0, 0, 0.0\nXQ\nEN\n");
    const std::vector<std::string> shown = messages();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "line 1: Parser: Constant 'h' not found."), shown.end())
        << ::testing::PrintToString(shown);
}

TEST_F(Writer, SymbolDefinitionWithoutEqualsIsReported) {
    convert("SY lonely\nGE 0\n");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(messages()[0], "line 1: Fld 2 not found in 'lonely' (Sep='=').");
}

// A bad card deep in a deck is found by its line as an editor counts it:
// comments, blank lines and any line ending count.
TEST_F(Writer, MessagesNameTheDeckLineTheyAreAbout) {
    std::string deck = "' a comment\r\n\r\nCM dipole\rCE\n";
    for (int i = 5; i <= 11; ++i) deck += "SY a" + std::to_string(i) + "=1\n";
    deck += "GW 1 11 0 0 0 0 0 len .001\nGE 0\n";
    convert(deck);
    EXPECT_EQ(messages(), std::vector<std::string>{"line 12: Parser: Constant 'len' not found."});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, 12);
    EXPECT_EQ(found[0].text, "Parser: Constant 'len' not found.");
}

TEST_F(Writer, WritesNumericDeckIntoOutFolder) {
    test::InstallTree tree;
    tree.prepare(model);
    test::writeText(tree.file("m.nec"), "SY l=2\nGW 1 3 0 0 0 0 0 l 1mm\n");
    auto path = writeEngineInput(model, found, tree.file("m.nec"), "m.inp");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, tree.file("out/m.inp"));
    EXPECT_EQ(test::readText(*path), "GW, 1, 3, 0, 0, 0, 0, 0, 2.0, .001\nXQ\nEN\n");
    EXPECT_FALSE(writeEngineInput(model, found, tree.file("missing.nec"), "x.inp").has_value());
    model.installDir = tree.file("no-such-dir/");
    EXPECT_FALSE(writeEngineInput(model, found, tree.file("m.nec"), "m.inp").has_value());
}

TEST_F(Writer, SurvivesHostileInput) {
    std::string deep = "GW 1 1 0 0 0 0 0 " + std::string(100000, '(') + "1 .001\n";
    std::string longLine = "GW" + std::string(100000, ',') + "\n";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    for (const std::string& deck : {deep, longLine, garbage, std::string("GW 1 1e999 0 0 0 0 0 1/0 .001\n")}) {
        std::string out = convert(deck);
        EXPECT_GE(out.size(), 3u);
        EXPECT_EQ(out.substr(out.size() - 3), "EN\n");
    }
}
