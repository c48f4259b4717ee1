// The card descriptions: reading exe/edit.dat, the card-type list, the choice
// of the variant by the first value, and the shipped file against the card
// set, the example decks and the decks of the builder.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "editor/card_line.h"
#include "editor_test_support.h"

#ifdef WAVRA_WITH_BUILDER
#include "builder/build_deck.h"
#endif

using namespace wavra;

namespace {

const char* const kGroups =
    "GN:-1:Free space, IPERF\n"
    "GN:0:Finite, IPERF, NRADL\n"
    "GN:2:Sommerfeld, IPERF, NRADL, EPSE\n"
    "GW::Wire, ITG, NS  ' the rest is a remark\n"
    "GN:1:Perfect, IPERF\n";

} // namespace

TEST(CardTable, GroupsConsecutiveLinesAndChoosesTheVariantByTheFirstValue) {
    const CardTable table(kGroups);
    std::vector<std::string> entries;
    for (const auto& e : table.cardList()) entries.push_back(e.text);
    // A code that comes back after another code gets an entry of its own.
    EXPECT_EQ(entries,
              (std::vector<std::string>{"'  : Wavra comment line", "GN : Free space", "GW : Wire", "GN : Perfect"}));
    EXPECT_EQ(table.cardList()[0].code, "' ");
    const std::string zero = "0", two = "2.0", other = "7", tag = "5";
    EXPECT_EQ(table.find("GN", &zero), 2);
    EXPECT_EQ(table.find("GN", &two), 3); // compared as numbers
    EXPECT_EQ(table.find("GN", nullptr), 1);
    EXPECT_EQ(table.find("GN", &other), 3); // no match: the last line of the group
    EXPECT_EQ(table.find("GW", &tag), 4);   // no selector holds for every value
    EXPECT_EQ(table.find("EX", &zero), 0);
    EXPECT_EQ(table.line(4).labels, (std::vector<std::string>{"ITG", "NS"}));
    std::vector<std::string> variants;
    for (const auto& v : table.variants(3)) variants.push_back(v.text);
    EXPECT_EQ(variants, (std::vector<std::string>{"-1:Free space", " 0:Finite", " 2:Sommerfeld"}));
    EXPECT_TRUE(table.variants(4).empty());
}

TEST(CardTable, ReadsTheFirst75LinesOnly) {
    std::string text = "' a remark line counts as a line\n";
    for (int i = 1; i < 80; ++i)
        text += std::string{static_cast<char>('A' + i / 26), static_cast<char>('A' + i % 26)} + "::Card, L\n";
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("exe"));
    test::writeText(dir.file("exe/edit.dat"), text);
    const CardTable table = CardTable::load(dir.path());
    EXPECT_EQ(table.lineCount(), 74);
    EXPECT_EQ(table.find("CW", nullptr), 74); // line 75 of the file
    EXPECT_EQ(table.find("CX", nullptr), 0);  // line 76
}

TEST(CardTable, WithoutDescriptionsOnlyTextCardsAndCommentsHaveBoxes) {
    const CardTable table = CardTable::load("/nonexistent/");
    ASSERT_EQ(table.cardList().size(), 1u);
    EXPECT_EQ(cardKind("GW 1 1 0 0 0 0 0 1 1", "GW", table.find("GW", nullptr)), CardKind::Unrecognised);
    EXPECT_EQ(cardKind("SY f=14", "SY", 0), CardKind::Text);
    EXPECT_EQ(cardKind("'GW 1", "'G", 0), CardKind::Comment);
}

TEST(ShippedDescriptions, DescribeTheWholeCardSetWithinTheLimit) {
    std::vector<std::string> lines;
    ASSERT_TRUE(readLines(test::sourcePath("exe/edit.dat"), lines));
    EXPECT_LE(lines.size(), kMaxDescriptionLines);
    const CardTable table = CardTable::load(test::sourcePath(""));
    for (const char* code :
         {"GA", "GE", "GF", "GH", "GM", "GR", "GS", "GW", "GX", "GC", "SC", "SP", "SM", "CP", "EK", "EN", "EX", "FR",
          "GD", "GN", "KH", "LD", "NE", "NH", "NT", "NX", "PQ", "PT", "RP", "TL", "WG", "XQ", "CM", "CE", "SY"})
        EXPECT_GT(table.find(code, nullptr), 0) << code;
    auto selectorOf = [&table](const char* code, int value) {
        const std::string text = std::to_string(value);
        return table.line(table.find(code, &text)).selector;
    };
    for (int type = 0; type <= 5; ++type) EXPECT_EQ(selectorOf("EX", type), std::to_string(type));
    for (int type = -1; type <= 2; ++type) EXPECT_EQ(selectorOf("GN", type), std::to_string(type));
    for (int type = -1; type <= 5; ++type) EXPECT_EQ(selectorOf("LD", type), std::to_string(type));
    EXPECT_EQ(cardKind("GN", "GN", table.find("GN", nullptr)), CardKind::Control);
    EXPECT_EQ(cardKind("GD", "GD", table.find("GD", nullptr)), CardKind::Control);
    EXPECT_EQ(cardKind("SP", "SP", table.find("SP", nullptr)), CardKind::Geometry);
    for (int i = 1; i <= table.lineCount(); ++i)
        for (const std::string& label : table.line(i).labels) EXPECT_FALSE(label.empty()) << table.line(i).code;
}

namespace {

// Every line of a deck shows boxes, and no value of a card goes without a
// labelled box (a value without one would be dropped when the line is
// rebuilt).
void expectLabelledBoxes(const std::string& name, const std::string& deck) {
    test::EditorFixture f;
    EditSession& s = f.open(deck, name + ".nec");
    for (int i = 1; i <= static_cast<int>(s.lines().size()); ++i) {
        s.select(i);
        const std::string& line = s.lines()[static_cast<size_t>(i - 1)];
        ASSERT_NE(s.card().kind, CardKind::Unrecognised) << name << ": " << line;
        if (s.card().kind != CardKind::Geometry && s.card().kind != CardKind::Control) continue;
        size_t values = 0;
        for (const std::string& v : valueFields(splitComment(line).body, 2 * kControlValues)) values += !v.empty();
        EXPECT_LE(values, s.labels().size()) << name << ": " << line;
    }
}

} // namespace

TEST(ShippedDescriptions, LabelEveryCardOfTheExampleDecks) {
    for (const char* example : {"dipole", "nearfield", "phased", "vertical", "yagi"})
        expectLabelledBoxes(example, test::readText(test::sourcePath(std::string("examples/") + example + ".nec")));
}

#ifdef WAVRA_WITH_BUILDER
TEST(ShippedDescriptions, LabelEveryCardOfTheBuilderDecks) {
    for (build::ShapeKind kind : build::kAllShapes) {
        const build::Deck deck = build::defaultDeck(kind);
        ASSERT_TRUE(deck.ok) << build::shapeName(kind);
        expectLabelledBoxes(build::shapeName(kind), deck.text);
    }
}
#endif
