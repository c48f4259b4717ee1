// The main program loads what `build` writes: every shape's default deck
// read by wavra's input reader gives the wires and segments build counted.
#include <gtest/gtest.h>

#include "builder/build_deck.h"
#include "deck/expression.h"
#include "deck/reader.h"
#include "support/test_support.h"

using namespace wavra;

TEST(BuildDecksInTheMainProgram, ReaderCountsTheSameWiresAndSegments) {
    test::InstallTree tree;
    Model model;
    tree.prepare(model);
    model.maxSegments = 32767;
    model.allocateModelTables(model.maxSegments, 10, 2, 2, 2);
    RecordingUi ui;
    initConstantTable(model, model);
    showDiagnostics(ui, loadConstantsFile(model, model));
    for (build::ShapeKind kind : build::kAllShapes) {
        const build::Deck deck = build::defaultDeck(kind);
        const std::string name = build::shapeName(kind);
        ASSERT_TRUE(deck.ok) << name;
        test::writeText(tree.file("Build.nec"), deck.text);
        model.modelName = "Build";
        model.modelExt = ".nec";
        ASSERT_TRUE(readInputFileShown(model, ui)) << name;
        EXPECT_EQ(model.wireCount, deck.wireCount) << name;
        EXPECT_EQ(model.summary.segments, deck.totalSegments) << name;
        EXPECT_TRUE(ui.messages().empty()) << name << ": " << ::testing::PrintToString(ui.messages());
    }
}
