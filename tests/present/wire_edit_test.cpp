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
    EXPECT_FALSE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_EQ(m.wireX2[1], -2.57519);
    EXPECT_EQ(m.wireY1[1], 0.123456);
    EXPECT_EQ(m.inputModified, 0);
    EXPECT_TRUE(m.editedWires.empty());
    // Only the field typed over changes; a value typed like the rounded
    // text of another field is still a change.
    f.y2 = "0.5";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_EQ(m.wireY2[1], 0.5);
    EXPECT_EQ(m.wireX2[1], -2.57519);
    EXPECT_NE(m.inputModified, 0);
    EXPECT_EQ(m.editedWires, (std::vector<int16_t>{1}));
    f = wireFieldsOf(m, 1);
    f.z1 = "nonsense"; // reads as 0, which is what z1 is: no change
    EXPECT_FALSE(applyWireEdit(m, m, 1, 1, f));
    f.x1 = "abc";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_EQ(m.wireX1[1], 0);
    EXPECT_EQ(m.editedWires.size(), 1u);
    EXPECT_FALSE(applyWireEdit(m, m, 0, 1, f));
    EXPECT_FALSE(applyWireEdit(m, m, 1, 0, f));
}

TEST(WireEdit, RotationsTurnTheMovedEndAboutTheFixedOne) {
    Model m = oneWire();
    WireFields f = wireFieldsOf(m, 1);
    f.rotateXY = "90"; // end 1 from +x about end 2 to -y: the angle is subtracted
    EXPECT_TRUE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireY1[1], -1, 1e-12);
    EXPECT_EQ(m.wireX2[1], 0);
    EXPECT_EQ(f.rotateXY, "0");
    // YZ before XY: (0, -1, 0) turns to (0, 0, -1), which XY leaves; the
    // other order would give (-1, 0, 0).
    f = wireFieldsOf(m, 1);
    f.rotateYZ = "-90";
    f.rotateXY = "90";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireY1[1], 0, 1e-12);
    EXPECT_NEAR(m.wireZ1[1], -1, 1e-12);
    // End 2 turns about end 1.
    f = wireFieldsOf(m, 1);
    f.rotateXZ = "90";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 2, f));
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
    EXPECT_TRUE(applyWireEdit(m, m, 1, 2, f));
    EXPECT_EQ(m.wireX1[1], 1);
    EXPECT_NEAR(m.wireX2[1], 3, 1e-12);
    EXPECT_NEAR(m.wireY2[1], 6, 1e-12);
    EXPECT_NEAR(m.wireZ2[1], 7, 1e-12);
    f = wireFieldsOf(m, 1);
    f.length = "3";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 1, f));
    EXPECT_NEAR(m.wireX1[1], 2, 1e-12);
    EXPECT_NEAR(m.wireY1[1], 4, 1e-12);
    EXPECT_NEAR(m.wireZ1[1], 5, 1e-12);
    // A new end point with the length field left as shown keeps the point
    // typed (the length changes with it).
    f = wireFieldsOf(m, 1);
    f.z2 = "17";
    EXPECT_TRUE(applyWireEdit(m, m, 1, 2, f));
    EXPECT_EQ(m.wireZ2[1], 17);
    EXPECT_NEAR(m.wireX2[1], 3, 1e-12);
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
        ASSERT_TRUE(readInputFileShown(m, ui));
        ASSERT_EQ(m.wireCount, 2);
        ASSERT_NEAR(m.wireZ2[1], 2, 1e-9); // 20 after the GS scale of 0.1
        ui.clear();
    }
    void edit(int row) {
        WireFields f = wireFieldsOf(m, row);
        f.x1 = "0.5";
        ASSERT_TRUE(applyWireEdit(m, m, row, 1, f));
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
    ASSERT_TRUE(readInputFileShown(m, ui));
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
