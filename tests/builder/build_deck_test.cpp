#include <gtest/gtest.h>

#include <random>

#include "build_test_support.h"
#include "builder/build_deck.h"

using namespace wavra::build;
using namespace wavra::build::test;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

ShapeForm plane(const std::string& circularWires) {
    ShapeForm f = defaultForm(ShapeKind::Plane);
    f.entries[4].text = circularWires;
    return f;
}

} // namespace

TEST(Deck, CardOrderOfAPlainDeck) {
    const Deck deck = defaultDeck(ShapeKind::Helix);
    ASSERT_TRUE(deck.ok);
    const auto lines = linesOf(deck.text);
    const std::vector<std::string> head{"CM Length L in mtr. = 1.2", "CM Radius R1 in cm. = 10",
                                        "CM Radius R2 in cm. = 10",  "CM Number of turns = 10",
                                        "CM Segments per turn = 16", "CM Rotate X, Y, Z = 0, 0, 0",
                                        "CM Move X, Y, Z = 0, 0, 0", "CE"};
    ASSERT_EQ(lines.size(), head.size() + 162 + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8), head);
    EXPECT_EQ(lines[8].substr(0, 7), "GW    1");
    EXPECT_EQ(lines.back(), "GE 0");
    EXPECT_EQ(deck.wireCount, 162);
}

TEST(Deck, SymbolicMovesGetSyLinesAndSignedFields) {
    CommonEntries common;
    common.move = {"dx", " ", "0.5"};
    RecordingSink sink;
    DeckBuilder builder;
    ShapeForm patch = defaultForm(ShapeKind::Patch);
    const Deck deck = builder.create(patch, common, sink);
    ASSERT_TRUE(deck.ok);
    EXPECT_EQ(common.move[1], "0");
    const auto lines = linesOf(deck.text);
    EXPECT_EQ(lines[5], "CM Rotate X, Y, Z = 0, 0, 0");
    EXPECT_EQ(lines[6], "CM Move X, Y, Z = dx, 0, 0.5");
    EXPECT_EQ(lines[7], "CE");
    EXPECT_EQ(lines[8], "SY dx = 0");
    // The first wire runs up the left edge from (-0.5, -1.5), lifted by 0.5.
    EXPECT_EQ(lines[9], "GW    1   2      dx-.5     -1.5       .5     dx-.55     -1.2       .5     .001");
    EXPECT_EQ(deck.text.find("SY", deck.text.find("SY dx") + 1), std::string::npos);
}

TEST(Deck, RefusesMovesAndRadiiThatCannotBeWritten) {
    for (const char* bad : {"1.5m", "d x", "a,b", "dx\nGW"}) {
        CommonEntries common;
        common.move[2] = bad;
        RecordingSink sink;
        DeckBuilder builder;
        EXPECT_FALSE(builder.create(defaultForm(ShapeKind::Patch), common, sink).ok);
        ASSERT_EQ(sink.failures.size(), 1u);
        EXPECT_EQ(sink.failures[0].rfind("Move Z: ", 0), 0u) << sink.failures[0];
    }
    for (const char* bad : {"0", "", "-1", "r a d"}) {
        CommonEntries common;
        common.radius = bad;
        RecordingSink sink;
        DeckBuilder builder;
        EXPECT_FALSE(builder.create(defaultForm(ShapeKind::Patch), common, sink).ok) << bad;
        ASSERT_EQ(sink.failures.size(), 1u);
        EXPECT_EQ(sink.failures[0].rfind("Wire radius in mm.: ", 0), 0u) << sink.failures[0];
    }
}

TEST(Deck, RadiusSymbolTakesTheLastNumericRadius) {
    DeckBuilder builder;
    RecordingSink sink;
    CommonEntries symbolic;
    symbolic.radius = "rad";
    EXPECT_NE(builder.create(plane("1"), symbolic, sink).text.find("    rad+.0\n"), std::string::npos);
    CommonEntries numeric;
    numeric.radius = "2.5";
    EXPECT_NE(builder.create(plane("1"), numeric, sink).text.find("    .0025\n"), std::string::npos);
    EXPECT_NE(builder.create(plane("1"), symbolic, sink).text.find("   rad+.0025\n"), std::string::npos);
}

TEST(Deck, EndsWithGeEvenWithoutWires) {
    ShapeForm patch = defaultForm(ShapeKind::Patch);
    patch.entries[3].text = "abc"; // reads as 0 sections
    patch.entries[4].text = "0";
    CommonEntries common;
    RecordingSink sink;
    DeckBuilder builder;
    const Deck deck = builder.create(patch, common, sink);
    ASSERT_TRUE(deck.ok);
    EXPECT_EQ(deck.wireCount, 0);
    EXPECT_EQ(linesOf(deck.text).back(), "GE 0");
}

TEST(Deck, StartTagAndCountingAcrossTheShape) {
    CommonEntries common;
    common.startTag = "100";
    RecordingSink sink;
    DeckBuilder builder;
    const Deck deck = builder.create(defaultForm(ShapeKind::Cylinder), common, sink);
    ASSERT_EQ(deck.wires.size(), 77u);
    for (size_t i = 0; i < deck.wires.size(); ++i) EXPECT_EQ(deck.wires[i].tag, 100 + static_cast<int>(i));

    common.startTag = "-1";
    EXPECT_FALSE(builder.create(defaultForm(ShapeKind::Cylinder), common, sink).ok);
}

TEST(Deck, OverfullAndUndefinedShapesWriteNoDeck) {
    RecordingSink sink;
    DeckBuilder builder;
    CommonEntries common;
    ShapeForm big = defaultForm(ShapeKind::Helix);
    big.entries[3].text = "5000";
    EXPECT_FALSE(builder.create(big, common, sink).ok);
    ShapeForm flat = defaultForm(ShapeKind::Parabola);
    flat.entries[0].text = "0";
    EXPECT_FALSE(builder.create(flat, common, sink).ok);
    ASSERT_EQ(sink.failures.size(), 2u);
    EXPECT_NE(sink.failures[0].find("32767"), std::string::npos);
    EXPECT_NE(sink.failures[1].find("not finite"), std::string::npos);
}

TEST(Deck, CommentsListOnlyTheBoxesShown) {
    ShapeForm f = defaultForm(ShapeKind::Parabola);
    EXPECT_EQ(defaultDeck(ShapeKind::Parabola).text.find("Length Y"), std::string::npos);
    f.option = 2;
    updateCaptions(f);
    const Deck deck = shapeDeck(f);
    EXPECT_NE(deck.text.find("CM Length X = 2\nCM Length Y = 2\nCM Nr X wires = 16\nCM Nr Y wires = 10\n"),
              std::string::npos);
}

TEST(Deck, AnyEntriesGiveADeckOrAMessage) {
    const char* values[] = {"0",    "-1",    "1",   "2.5",  "-0.5",  "3",   "360",
                            "-720", "32767", "1e9", "-1e9", "1e308", "abc", ""};
    std::mt19937 random(11);
    auto pick = [&] { return std::string(values[random() % std::size(values)]); };
    for (ShapeKind kind : kAllShapes) {
        for (int round = 0; round < 40; ++round) {
            ShapeForm form = defaultForm(kind);
            for (FormEntry& e : form.entries) e.text = pick(), e.segments = e.hasSegments ? pick() : "";
            for (FormCheck& c : form.checks) c.checked = random() % 2;
            if (!form.options.empty()) form.option = static_cast<int>(random() % form.options.size());
            CommonEntries common;
            common.rotate = {pick(), pick(), pick()};
            RecordingSink sink;
            DeckBuilder builder;
            const Deck deck = builder.create(form, common, sink);
            EXPECT_EQ(deck.ok, sink.failures.empty());
            if (!deck.ok) continue;
            EXPECT_LE(deck.totalSegments, 32767);
            EXPECT_EQ(deck.text.find("nan"), std::string::npos);
            EXPECT_EQ(deck.text.find("inf"), std::string::npos);
        }
    }
}
