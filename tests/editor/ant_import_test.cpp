// The conversion of .ant model files: segment counts, units, comments, the
// sources and loads by position, the end of the model, and three converted
// models run by the real nec2c.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "editor/ant_import.h"
#include "editor_test_support.h"
#include "engine/calculate.h"
#include "engine/engine_choice.h"

using namespace wavra;
namespace fs = std::filesystem;

namespace {

struct AntImportTest : ::testing::Test {
    test::EditorFixture f;
    Diagnostics found;
    std::vector<std::string> convert(const std::string& text) {
        std::vector<std::string> lines;
        forEachLine(text, [&lines](std::string_view line) {
            lines.emplace_back(line);
            return true;
        });
        return convertAntModel(f.model, found, lines);
    }
};

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(AntImportTest, AnAutomaticSegmentCountFollowsTheWavelength) {
    EXPECT_EQ(automaticSegments(10, 14.2), 11); // 10 x 10 / 21.11 = 4.74, rounded to 5
    EXPECT_EQ(automaticSegments(10, 0), 3);
    const std::string wires = "2 wires\n1 0 0 0 0 0 10 .001\n-7 0 0 0 0 0 10 .001\n1 source\n1 1 center\n";
    EXPECT_TRUE(has(convert("Ten metres\nfree\n14.2 MHz\n" + wires), "GW\t1\t11\t0\t0\t0\t0\t0\t10\t.001"));
    const auto without = convert("Ten metres\nfree\n" + wires);
    EXPECT_TRUE(has(without, "GW\t1\t3\t0\t0\t0\t0\t0\t10\t.001"));
    EXPECT_TRUE(has(without, "GW\t2\t7\t0\t0\t0\t0\t0\t10\t.001")); // a negative count made positive
    EXPECT_FALSE(
        std::any_of(without.begin(), without.end(), [](const std::string& l) { return l.rfind("FR", 0) == 0; }));
}

TEST_F(AntImportTest, AnUnknownSymbolIsFoundOnItsLine) {
    convert("Title\nfree\nh = 2 * nosuch\n1 wire\n1 0 0 0 0 0 h .001\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].text, "Parser: Constant 'nosuch' not found.");
    EXPECT_EQ(found[0].line, 3);
}

TEST_F(AntImportTest, AFeetModelScalesByGsAndDividesOwnUnitsByFeet) {
    const auto deck = convert(
        "Feet\nground\nh = 30'\n2 wires, feet\nshift z 6\"\n"
        "1 0 0 0 0 6in h 0.05\n3 12\" 0 h 0 0 h+20 1in\n1 source\n1 1 end1\n");
    EXPECT_TRUE(has(deck, "SY h=30ft/ft")); // the unit is known before the symbols
    EXPECT_TRUE(has(deck, "SY dz=6in/ft"));
    EXPECT_TRUE(has(deck, "GW\t1\t3\t0\t0\t0+dz\t0\t6in/ft\th+dz\t0.05"));
    EXPECT_TRUE(has(deck, "GW\t2\t3\t12in/ft\t0\th+dz\t0\t0\th+20+dz\t1in/ft"));
    EXPECT_TRUE(has(deck, "GS\t0\t0\tft"));
    EXPECT_TRUE(has(deck, "GE\t1"));
    EXPECT_EQ(convertUnits("6in", ""), "6in");
    EXPECT_EQ(convertUnits("10'", "mm"), "10ft/mm");
    EXPECT_EQ(convertUnits("#14", "in"), "#14/in");
    EXPECT_EQ(convertUnits("2.5", "ft"), "2.5");
}

TEST_F(AntImportTest, CommentsSourcesLoadsAndTheTrailer) {
    const auto deck = convert(
        "Title; with a semicolon\nfree sym ; symmetric\n14.2 mhz\nf = 14.2; MHz\n"
        "2 wires\n11 0 -5 0 0 5 0 .001 ; feed point\n4 1 -5 0 1 5 0 .001\n"
        "2 sources\n1 1 center 2 90\n1 2 end1\n"
        "2 loads\n1 2 end 10 ohm 3 uh 100 pf\n1 9 center 50 ohms\n"
        "end of the model\n2 wires\n");
    const std::vector<std::string> expected{
        "CE Title; with a semicolon",
        "' symmetric",
        "SY f=14.2\t' MHz",
        "GW\t1\t11\t0\t-5\t0\t0\t5\t0\t.001\t' feed point",
        "GW\t2\t4\t1\t-5\t0\t1\t5\t0\t.001",
        "GX\t1\t010",
        "GE\t0",
        "EX\t0\t1\t6\t00\t0\t2",
        "EX\t0\t2\t1\t00\t1\t0",
        "LD\t1\t2\t4\t0\t10\t3 uh\t100 pf",
        "LD\t1\t9\t4\t0\t50\t0\t0", // no such tag: the last segment count read
        "GN\t-1",
        "FR\t0\t1\t0\t0\t 14.2",
        "EN",
        "'end of the model",
        "'2 wires",
        "",
    };
    EXPECT_EQ(deck, expected);
    EXPECT_EQ(f.model.constCount, f.model.baseConstantCount + 1); // f, for the lines that follow
}

TEST_F(AntImportTest, AFileEndingInsideTheModelStillGetsItsGroundAndEnd) {
    const auto deck = convert("Short\nover ground\n7 MHz\n1 wire\n5 0 0 1 0 0 11 .002\n");
    const std::vector<std::string> tail(deck.end() - 5, deck.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"GE\t1", "GN\t0\t0\t0\t0\t13\t.005", "FR\t0\t1\t0\t0\t 7", "EN", ""}));
}

// Found by fuzzing (the input is kept in fuzz/findings/): a wire count
// beyond the range of int overflowed the conversion to int. It now waits for
// more wires than the file holds, so the model ends with the file like any
// cut-off model.
TEST_F(AntImportTest, AWireCountBeyondIntEndsWithTheFile) {
    const auto deck =
        convert(test::readText(std::string(WAVRA_SOURCE_DIR) + "/fuzz/findings/ant_import-wire-count-beyond-int.ant"));
    ASSERT_GE(deck.size(), 5u);
    EXPECT_TRUE(has(deck, "GW\t1\t5\t0\t0\t1\t0\t0\t11\t.002"));
    EXPECT_EQ(deck[deck.size() - 2], "EN");
}

namespace {

// The three models of tests/fixtures/ant, converted and saved as decks by the
// editor, run by nec2c through the staged launchers.
struct ConvertedModelRun : ::testing::TestWithParam<const char*> {};

std::string nameOf(const ::testing::TestParamInfo<const char*>& info) { return info.param; }

} // namespace

TEST_P(ConvertedModelRun, RunsInNec2cWithoutAnError) {
    test::EditorFixture f;
    for (const std::string& engine : engineNames()) fs::create_symlink("wavra.sh", f.tree.file("exe/" + engine));
    fs::permissions(f.tree.file("exe/wavra.sh"), fs::perms::owner_all, fs::perm_options::add);
    const std::string name = GetParam();
    EditSession& s = f.open(test::readText(test::fixturePath("ant/" + name + ".ant")), name + ".ant");
    f.ui.queueFile(splitPath(f.tree.file(name + ".nec")));
    ASSERT_TRUE(s.save());
    ASSERT_EQ(f.model.modelPath(), f.tree.file(name + ".nec"));
    f.model.calcKind = kCalcOriginal;
    auto runner = makeNativeProcessRunner();
    ASSERT_EQ(runCalculation(f.model, f.ui, *runner, {}), std::optional<std::string>(".out"));
    const std::string report = test::readText(f.tree.file("out/" + name + ".out"));
    EXPECT_NE(report.find("NUMERICAL ELECTROMAGNETICS CODE (nec2c)"), std::string::npos);
    EXPECT_NE(report.find("ANTENNA INPUT PARAMETERS"), std::string::npos);
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
    for (const std::string& m : f.ui.messages()) ADD_FAILURE() << m;
}

INSTANTIATE_TEST_SUITE_P(AntFiles, ConvertedModelRun, ::testing::Values("free_symbols", "symmetric", "feet_loads"),
                         nameOf);
