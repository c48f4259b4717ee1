#include "present/wire_edit.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "core/action_codes.h"
#include "deck/reader.h"
#include "support/test_support.h"

namespace wavra {
namespace {

namespace fs = std::filesystem;

// One wire from (1, 0, 0) to (0, 0, 0), radius 1 mm, tag 3, 7 segments.
Model oneWire() {
    Model m;
    m.wireCount = 1;
    m.wireTag[1] = 3;
    m.wireSegments[1] = 7;
    m.wireX1[1] = 1;
    m.wireRadius[1] = 0.001;
    m.wireEnd1Link[1] = m.wireEnd2Link[1] = kNoLink;
    return m;
}

TEST(WireEdit, FieldsShowFiveCharacterNumbers) {
    Model m = oneWire();
    m.wireX2[1] = -2.57519;
    const WireFields f = wireFieldsOf(m, 1);
    EXPECT_EQ(f.x1, "1.0");
    EXPECT_EQ(f.x2, "-2.58");
    EXPECT_EQ(f.radius, ".001");
    EXPECT_EQ(f.length, "3.575");
    EXPECT_EQ(f.segments, "7");
    EXPECT_EQ(f.tag, "3");
    EXPECT_EQ(f.rotateXY, "0");
}

TEST(WireEdit, OkWithoutChangesKeepsEveryUnroundedValue) {
    Model m = oneWire();
    m.wireX2[1] = -2.57519;
    m.wireY1[1] = 0.123456;
    WireFields f = wireFieldsOf(m, 1);
    EXPECT_FALSE(applyWireEdit(m, 1, 1, f));
    EXPECT_EQ(m.wireX2[1], -2.57519);
    EXPECT_EQ(m.wireY1[1], 0.123456);
    EXPECT_EQ(m.inputModified, 0);
    EXPECT_TRUE(m.editedWires.empty());
    // Only the field typed over changes; a value typed like the rounded
    // text of another field is still a change.
    f.y2 = "0.5";
    EXPECT_TRUE(applyWireEdit(m, 1, 1, f));
    EXPECT_EQ(m.wireY2[1], 0.5);
    EXPECT_EQ(m.wireX2[1], -2.57519);
    EXPECT_NE(m.inputModified, 0);
    EXPECT_EQ(m.editedWires, (std::vector<int16_t>{1}));
    f = wireFieldsOf(m, 1);
    f.z1 = "nonsense"; // reads as 0, which is what z1 is: no change
    EXPECT_FALSE(applyWireEdit(m, 1, 1, f));
    f.x1 = "abc";
    EXPECT_TRUE(applyWireEdit(m, 1, 1, f));
    EXPECT_EQ(m.wireX1[1], 0);
    EXPECT_EQ(m.editedWires.size(), 1u);
    EXPECT_FALSE(applyWireEdit(m, 0, 1, f));
    EXPECT_FALSE(applyWireEdit(m, 1, 0, f));
}

TEST(WireEdit, RotationsTurnTheMovedEndAboutTheFixedOne) {
    Model m = oneWire();
    WireFields f = wireFieldsOf(m, 1);
    f.rotateXY = "90"; // end 1 from +x about end 2 to -y: the angle is subtracted
    EXPECT_TRUE(applyWireEdit(m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireY1[1], -1, 1e-12);
    EXPECT_EQ(m.wireX2[1], 0);
    EXPECT_EQ(f.rotateXY, "0");
    // YZ before XY: (0, -1, 0) turns to (0, 0, -1), which XY leaves; the
    // other order would give (-1, 0, 0).
    f = wireFieldsOf(m, 1);
    f.rotateYZ = "-90";
    f.rotateXY = "90";
    EXPECT_TRUE(applyWireEdit(m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireY1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireZ1[1], -1, 1e-12);
    // End 2 turns about end 1.
    f = wireFieldsOf(m, 1);
    f.rotateXZ = "90";
    EXPECT_TRUE(applyWireEdit(m, 1, 2, f));
    EXPECT_NEAR(m.wireX2[1], 1, 1e-12);
    EXPECT_NEAR(m.wireZ2[1], -1, 1e-12);
    EXPECT_NEAR(m.wireX1[1], 0, 1e-12);
}

TEST(WireEdit, NewLengthMovesOnlyTheChosenEndAlongTheWire) {
    Model m = oneWire();
    m.wireX1[1] = 1, m.wireY1[1] = 2, m.wireZ1[1] = 3;
    m.wireX2[1] = 2, m.wireY2[1] = 4, m.wireZ2[1] = 5; // length 3
    WireFields f = wireFieldsOf(m, 1);
    EXPECT_EQ(f.length, "3.0");
    f.length = "6";
    EXPECT_TRUE(applyWireEdit(m, 1, 2, f));
    EXPECT_EQ(m.wireX1[1], 1);
    EXPECT_NEAR(m.wireX2[1], 3, 1e-12);
    EXPECT_NEAR(m.wireY2[1], 6, 1e-12);
    EXPECT_NEAR(m.wireZ2[1], 7, 1e-12);
    f = wireFieldsOf(m, 1);
    f.length = "3";
    EXPECT_TRUE(applyWireEdit(m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 2, 1e-12);
    EXPECT_NEAR(m.wireY1[1], 4, 1e-12);
    EXPECT_NEAR(m.wireZ1[1], 5, 1e-12);
    // A new end point with the length field left as shown keeps the point
    // typed (the length changes with it).
    f = wireFieldsOf(m, 1);
    f.z2 = "17";
    EXPECT_TRUE(applyWireEdit(m, 1, 2, f));
    EXPECT_EQ(m.wireZ2[1], 17);
    EXPECT_NEAR(m.wireX2[1], 3, 1e-12);
}

TEST(WireEdit, GwLinesHoldEightNineOrTenFields) {
    Model m = oneWire();
    std::vector<std::string_view> fields;
    auto count = [&](const std::string& line) {
        splitFields(line, "\t", false, fields);
        return fields.size();
    };
    m.wireRadius[1] = 0;
    EXPECT_EQ(gwLineOf(m, 1, '\t', 1, false), "GW\t3\t7\t1.0\t0.0\t0.0\t0.0\t0.0");
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, false)), 8u);
    m.wireZ2[1] = 2.5;
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, false)), 9u);
    m.wireZ2[1] = 0;
    m.wireRadius[1] = 0.0012345;
    const std::string ten = gwLineOf(m, 1, '\t', 1, false);
    EXPECT_EQ(count(ten), 10u);
    EXPECT_EQ(std::string(fields[9]), "1.2345e-3");      // "###0.0####" would drop digits
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, true)), 8u); // a GC card gives the radius
    EXPECT_EQ(gwLineOf(m, 1, ' ', 0.001, false), "GW 3 7 1000.0 0.0 0.0 0.0 0.0 0.0 1.2345");
    EXPECT_EQ(deckNumber(-0.5), "-0.5");
    EXPECT_EQ(deckNumber(0.0000043), "4.3e-6"); // not written as 0
}

Model yagiWires() {
    Model m;
    m.wireCount = 3;
    for (int i = 1; i <= 3; ++i) {
        m.wireTag[i] = static_cast<int16_t>(i);
        m.wireSegments[i] = 11;
        m.wireY1[i] = -5;
        m.wireY2[i] = 5;
        m.wireRadius[i] = 0.001;
        m.wireX1[i] = m.wireX2[i] = i - 2;
    }
    return m;
}

TEST(WireEdit, RewriteTouchesOnlyTheChangedWiresLines) {
    const Model m = yagiWires();
    const std::string deck =
        "CM test\r\n"
        "SY d=10\r\n"
        "GW 1 11 -1 -d/2 0 -1 d/2 0 1mm ' reflector\r\n"
        "'GW 9 9 9 9 9 9 9 9 9\r\n"
        "gw 2 11 0 -5 0 0 5 0 .001\r\n"
        "GW\t3\t11\t1\t-d / 2\t0\t1\td / 2\t0\t.001\r\n"
        "GW 4 11 0 0 0 0 0 1 .001\r\n" // more GW lines than rows
        "EN\r\n"
        "GW 5 1 0 0 0 0 0 1 .001\r\n";
    WireRewrite r = rewriteWireLines(deck, m, {2}, 1);
    EXPECT_FALSE(r.dropsSymbols);
    EXPECT_EQ(r.text,
              "CM test\r\n"
              "SY d=10\r\n"
              "GW 1 11 -1 -d/2 0 -1 d/2 0 1mm ' reflector\r\n"
              "'GW 9 9 9 9 9 9 9 9 9\r\n"
              "GW\t2\t11\t0.0\t-5.0\t0.0\t0.0\t5.0\t0.0\t0.001\r\n"
              "GW\t3\t11\t1\t-d / 2\t0\t1\td / 2\t0\t.001\r\n"
              "GW 4 11 0 0 0 0 0 1 .001\r\n"
              "EN\r\n"
              "GW 5 1 0 0 0 0 0 1 .001\r\n");
    r = rewriteWireLines(deck, m, {1, 3, 4}, 1);
    EXPECT_TRUE(r.dropsSymbols);
    EXPECT_NE(r.text.find("GW\t1\t11\t-1.0\t-5.0\t0.0\t-1.0\t5.0\t0.0\t0.001\t' reflector\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("GW\t3\t11\t1.0\t-5.0"), std::string::npos);
    EXPECT_NE(r.text.find("GW 4 11 0 0 0 0 0 1 .001\r\n"), std::string::npos); // no row 4
}

TEST(WireEdit, RowsFollowTheOrderOfTheGwLinesAndATaperKeepsItsGcCard) {
    Model m = yagiWires();
    m.wireTag[1] = 7; // the rows hold what the reader read, in line order
    const std::string deck = "GW 7 11 0 0 0 0 0 0 0\nGC 0 0 1 .002 .001\nGW 1 1 0 0 0 0 0 0 0\nGE\n";
    const std::string text = rewriteWireLines(deck, m, {1, 2}, 1).text;
    EXPECT_EQ(text,
              "GW\t7\t11\t-1.0\t-5.0\t0.0\t-1.0\t5.0\nGC 0 0 1 .002 .001\n"
              "GW\t2\t11\t0.0\t-5.0\t0.0\t0.0\t5.0\t0.0\t0.001\nGE\n");
}

TEST(WireEdit, ScaleOfTheGsCard) {
    Model m;
    RecordingUi ui;
    EXPECT_EQ(deckScaleFactor(m, ui, "GW 1 1 0 0 0 0 0 1 1\nGE\n"), 1);
    EXPECT_EQ(deckScaleFactor(m, ui, "GS 0 0 .5\nGS 0 0 0.001\nGE\nEN\nGS 0 0 7\n"), 0.001);
    EXPECT_EQ(deckScaleFactor(m, ui, "GS 0 0 1mm\n"), 0.001);
    EXPECT_EQ(deckScaleFactor(m, ui, "GS 0 0 2*0.5\n"), 1);
    EXPECT_EQ(deckScaleFactor(m, ui, "GS\n"), 0);
}

// A model file on disk with its wires read by the input reader.
struct SavedDeck : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    std::string path;
    const std::string deck =
        "CM two wires\nCE\nSY h=2\nGS 0 0 0.1\nGW 1 5 0 0 0 0 0 h*10 1\n"
        "GW 2 5 10 0 0 10 0 20 1\nGE 0\nEN\n";

    void SetUp() override {
        tree.prepare(m);
        m.modelName = "pair";
        path = tree.file("pair.nec");
        test::writeText(path, deck);
        ASSERT_TRUE(readInputFile(m, ui));
        ASSERT_EQ(m.wireCount, 2);
        ASSERT_NEAR(m.wireZ2[1], 2, 1e-9); // 20 after the GS scale of 0.1
        ui.clear();
    }
    void edit(int row) {
        WireFields f = wireFieldsOf(m, row);
        f.x1 = "0.5";
        ASSERT_TRUE(applyWireEdit(m, row, 1, f));
    }
};

TEST_F(SavedDeck, YesWritesTheChangedWireInTheDecksUnitsAndKeepsABackup) {
    edit(2);
    ui.queueAnswer(Answer::Yes);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::Saved);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Wire geometry modified, save changes ? "}));
    EXPECT_EQ(test::readText(tree.file("pair.bak")), deck);
    EXPECT_EQ(test::readText(path),
              "CM two wires\nCE\nSY h=2\nGS 0 0 0.1\nGW 1 5 0 0 0 0 0 h*10 1\n"
              "GW\t2\t5\t5.0\t0.0\t0.0\t10.0\t0.0\t20.0\t1.0\nGE 0\nEN\n");
    EXPECT_EQ(m.inputModified, 0);
    EXPECT_TRUE(m.editedWires.empty());
    // Read back, the wire is where the edit put it.
    ASSERT_TRUE(readInputFile(m, ui));
    EXPECT_NEAR(m.wireX1[2], 0.5, 1e-9);
    EXPECT_NEAR(m.wireZ2[2], 2, 1e-9);
}

TEST_F(SavedDeck, SymbolsAreLostOnlyWhenTheUserAgrees) {
    edit(1);
    ui.queueAnswer(Answer::Yes);
    ui.queueAnswer(Answer::No);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::NotSaved);
    EXPECT_TRUE(ui.saw("Nec file contains symbol info,\nwhich will be lost, Continue ?"));
    EXPECT_EQ(test::readText(path), deck);
    EXPECT_FALSE(fs::exists(tree.file("pair.bak")));
    EXPECT_EQ(m.inputModified, 0);
    m.inputModified = -1; // the edit is still in the wire table
    ui.queueAnswer(Answer::Yes);
    ui.queueAnswer(Answer::Yes);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::Saved);
    EXPECT_NE(test::readText(path).find("GW\t1\t5\t5.0\t0.0\t0.0\t0.0\t0.0\t20.0\t1.0\n"), std::string::npos);
}

TEST_F(SavedDeck, NoAndCancelLeaveTheFile) {
    edit(2);
    m.reloadInput = 1;
    ui.queueAnswer(Answer::Cancel);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::Cancelled);
    EXPECT_EQ(m.actionCode, kActionGeometry); // back to the view
    EXPECT_EQ(m.reloadInput, 0);              // which keeps the changes
    EXPECT_NE(m.inputModified, 0);
    ui.queueAnswer(Answer::No);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::NotSaved);
    EXPECT_EQ(m.inputModified, 0);
    EXPECT_EQ(test::readText(path), deck);
    EXPECT_FALSE(fs::exists(tree.file("pair.bak")));
}

TEST_F(SavedDeck, AFailedSaveLeavesFileAndBackupAsTheyWere) {
    // A backup that cannot be replaced: a directory of that name.
    fs::create_directory(tree.file("pair.bak"));
    test::writeText(tree.file("pair.bak/older"), "kept\n");
    const auto before = std::distance(fs::directory_iterator(tree.path()), fs::directory_iterator());
    edit(2);
    ui.queueAnswer(Answer::Yes);
    EXPECT_EQ(saveWireGeometry(m, ui), WireSave::Failed);
    EXPECT_NE(ui.messages().back().find("The wire geometry was not saved: the backup"), std::string::npos);
    EXPECT_EQ(test::readText(path), deck);
    EXPECT_EQ(test::readText(tree.file("pair.bak/older")), "kept\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.path()), fs::directory_iterator()), before); // no leftovers
    EXPECT_NE(m.inputModified, 0); // still to be saved
    EXPECT_EQ(m.editedWires.size(), 1u);
}

} // namespace
} // namespace wavra
