// Every shape's deck, with a source, a frequency and a pattern request
// added, runs through the real NEC-2 engine without an error.
#include <gtest/gtest.h>

#include "builder/build_deck.h"
#include "builder/command_line.h"
#include "support/test_support.h"

using namespace wavra::build;
using wavra::test::readText;
using wavra::test::TempDir;
using wavra::test::writeText;

namespace {

// The deck's GE card followed by a source on the first wire's first
// segment, 7 MHz and one far-field point, then EN.
std::string runnable(const Deck& deck) {
    const std::string tag = std::to_string(deck.wires.front().tag);
    return deck.text + "EX 0 " + tag + " 1 0 1 0\nFR 0 1 0 0 7 0\nRP 0 1 1 1000 90 0 0 0\nEN\n";
}

void expectEngineRuns(const Deck& deck, const std::string& name) {
    ASSERT_TRUE(deck.ok) << name;
    ASSERT_GT(deck.wireCount, 0) << name;
    TempDir dir;
    writeText(dir.file("deck.nec"), runnable(deck));
    const auto run =
        wavra::test::runProgram({"nec2c", "-i", dir.file("deck.nec"), "-o", dir.file("report.out")}, dir.path());
    EXPECT_EQ(run.status, 0) << name << run.err;
    const std::string report = readText(dir.file("report.out"));
    EXPECT_EQ(report.find("ERROR"), std::string::npos) << name;
    EXPECT_NE(report.find("ANTENNA INPUT PARAMETERS"), std::string::npos) << name;
}

Deck deckWith(ShapeKind kind, const std::vector<std::string>& params) {
    ShapeForm form = defaultForm(kind);
    CommonEntries common;
    std::string error;
    for (const std::string& p : params) EXPECT_TRUE(applyParam(p, form, common, error)) << error;
    return shapeDeck(form);
}

} // namespace

TEST(EngineRun, EveryShapeWithItsDefaults) {
    for (ShapeKind kind : kAllShapes) expectEngineRuns(defaultDeck(kind), shapeName(kind));
}

TEST(EngineRun, OtherGridsAndFaces) {
    expectEngineRuns(deckWith(ShapeKind::Parabola, {"Round + rectangular grid=1"}), "round rectangular");
    expectEngineRuns(deckWith(ShapeKind::Parabola, {"Rectangular shape/grid=1", "Bent X=0"}), "rectangular");
    expectEngineRuns(deckWith(ShapeKind::Box, {"Length X2=1", "Length Z2=0.5", "Up=0", "Le=0"}), "open box");
    expectEngineRuns(deckWith(ShapeKind::Cylinder, {"Stop angle A2=360", "Radius R2 in cm.=5"}), "cone");
}
