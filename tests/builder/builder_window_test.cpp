#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "build_test_support.h"
#include "builder/builder_window.h"
#include "builder/picture_projection.h"
#include "support/test_support.h"

using namespace wavra::build;
using namespace wavra::build::test;
using wavra::test::readText;
using wavra::test::TempDir;
using wavra::test::writeText;

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "build_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class BuilderWindowTest : public ::testing::Test {
protected:
    void SetUp() override { application(); }
    TempDir install;
    RecordingSink sink;
};

} // namespace

TEST_F(BuilderWindowTest, EveryShapeThroughTheDialogWithACommandLinePath) {
    for (ShapeKind kind : kAllShapes) {
        const std::string path = install.file(shapeName(kind) + ".out.nec");
        BuilderWindow window(path, wavra::portablePlaces(install.path()), sink);
        window.show();
        EXPECT_FALSE(window.createButton()->isEnabled());
        window.menuAction(kind)->trigger();
        EXPECT_TRUE(window.createButton()->isEnabled());
        EXPECT_TRUE(window.commonFrame()->isVisible());
        window.createButton()->click();
        EXPECT_EQ(readText(path), defaultDeck(kind).text) << shapeName(kind);
        EXPECT_FALSE(window.isVisible()) << "closes after writing";
    }
    EXPECT_TRUE(sink.failures.empty());
    EXPECT_TRUE(sink.notes.empty());
}

TEST_F(BuilderWindowTest, EntriesReachTheDeck) {
    const std::string path = install.file("Build.nec");
    BuilderWindow window(path, wavra::portablePlaces(install.path()), sink);
    window.chooseShape(ShapeKind::Box);
    window.entryBox(ShapeKind::Box, "Length Y")->setText("4");
    window.segmentBox(ShapeKind::Box, "Z sections")->setText("3"); // the front's upright lines
    window.checkBox(ShapeKind::Box, "Up")->setChecked(false);
    window.moveBox(0)->setText("dx");
    window.rotateBox(2)->setText("90");
    window.startTagBox()->setText("5");
    ASSERT_TRUE(window.create());
    const std::string deck = readText(path);
    EXPECT_NE(deck.find("CM Length Y = 4\n"), std::string::npos);
    EXPECT_NE(deck.find("CM Rotate X, Y, Z = 0, 0, 90\nCM Move X, Y, Z = dx, 0, 0\nCE\nSY dx = 0\nGW    5   3"),
              std::string::npos);
    EXPECT_EQ(window.moveBox(1)->text(), "0");
}

TEST_F(BuilderWindowTest, ParabolaLabelsFollowTheGridOption) {
    BuilderWindow window("", wavra::portablePlaces(install.path()), sink);
    window.show();
    window.chooseShape(ShapeKind::Parabola);
    QLabel* aperture = window.entryLabel(ShapeKind::Parabola, "Apperture");
    EXPECT_EQ(aperture->text(), "Apperture");
    EXPECT_EQ(window.entryLabel(ShapeKind::Parabola, "Radial wires")->text(), "Radial wires");
    EXPECT_FALSE(window.entryBox(ShapeKind::Parabola, "Length Y")->isVisible());
    window.optionButton("Rectangular shape/grid")->setChecked(true);
    EXPECT_EQ(aperture->text(), "Length X");
    EXPECT_EQ(window.entryLabel(ShapeKind::Parabola, "Radial wires")->text(), "Nr X wires");
    EXPECT_TRUE(window.entryBox(ShapeKind::Parabola, "Length Y")->isVisible());
    window.optionButton("Round + rectangular grid")->setChecked(true);
    EXPECT_EQ(aperture->text(), "Apperture");
    EXPECT_FALSE(window.entryBox(ShapeKind::Parabola, "Length Y")->isVisible());
    EXPECT_FALSE(window.picture()->pixmap().isNull());
}

TEST_F(BuilderWindowTest, WithoutAPathTheModelDirectoryAndAReport) {
    std::filesystem::create_directories(install.path() + "exe");
    std::filesystem::create_directories(install.path() + "models");
    writeText(install.path() + "exe/wavra.ini", "NECDIR=models\t' start directory\nNECEXT=.nec\n");
    BuilderWindow window("", wavra::portablePlaces(install.path()), sink);
    window.show();
    window.chooseShape(ShapeKind::Plane);
    ASSERT_TRUE(window.create());
    const std::string path = install.path() + "models/Plane.nec";
    EXPECT_EQ(readText(path), defaultDeck(ShapeKind::Plane).text);
    EXPECT_EQ(sink.notes, std::vector<std::string>{"'" + path + "' created, with 176 segments."});
    EXPECT_TRUE(window.isVisible());
    window.chooseShape(ShapeKind::Parabola);
    window.optionButton("Round + rectangular grid")->setChecked(true);
    ASSERT_TRUE(window.create());
    EXPECT_EQ(sink.notes.size(), 3u); // the clean-up note, then the report
}

TEST_F(BuilderWindowTest, AFailedWriteKeepsTheWindowAndReports) {
    BuilderWindow window(install.file("missing/Build.nec"), wavra::portablePlaces(install.path()), sink);
    window.show();
    window.chooseShape(ShapeKind::Helix);
    EXPECT_FALSE(window.create());
    ASSERT_EQ(sink.failures.size(), 1u);
    EXPECT_EQ(sink.failures[0].rfind("Path: " + install.file("missing/Build.nec") + " not found", 0), 0u);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(BuilderWindowTest, ChoosingAShapeResetsItsDefaults) {
    BuilderWindow window("", wavra::portablePlaces(install.path()), sink);
    window.chooseShape(ShapeKind::Patch);
    window.entryBox(ShapeKind::Patch, "Length X1")->setText("7");
    window.chooseShape(ShapeKind::Helix);
    window.chooseShape(ShapeKind::Patch);
    EXPECT_EQ(window.entryBox(ShapeKind::Patch, "Length X1")->text(), "1");
}

TEST(PictureProjection, FitsThePicture) {
    const Deck deck = defaultDeck(ShapeKind::Cylinder);
    for (const Line2D& l : projectWires(deck.wires, 200, 100, 10)) {
        for (double x : {l.x1, l.x2}) EXPECT_TRUE(x >= 10 - 1e-9 && x <= 190 + 1e-9);
        for (double y : {l.y1, l.y2}) EXPECT_TRUE(y >= 10 - 1e-9 && y <= 90 + 1e-9);
    }
    const std::vector<WrittenWire> point{{1, 1, {1, 1, 1}, {1, 1, 1}}};
    const auto lines = projectWires(point, 200, 100, 10);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0].x1, 100);
    EXPECT_TRUE(projectWires({}, 200, 100, 10).empty());
}
