#include "export/pov_scene.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "export/pov_render.h"
#include "support/test_support.h"

namespace wavra {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Two wires of a vee joined at the top (end 2 of wire 1 meets wire 2).
struct PovSceneTest : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    PovSceneView view;

    void SetUp() override {
        tree.prepare(m);
        m.modelName = "vee";
        m.wireCount = 2;
        auto wire = [this](int i, double x1, double z1, double x2, double z2, double radius, int16_t link) {
            m.wireTag[i] = static_cast<int16_t>(i);
            m.wireX1[i] = x1, m.wireY1[i] = 0, m.wireZ1[i] = z1;
            m.wireX2[i] = x2, m.wireY2[i] = 0, m.wireZ2[i] = z2;
            m.wireRadius[i] = radius;
            m.wireEnd2Link[i] = link;
        };
        wire(1, -1, 0, 0, 2, 0.001, 2);
        wire(2, 0, 2, 1, 0, 0.02, 0);
        view.theta = 80;
        view.phi = 280;
    }
};

TEST_F(PovSceneTest, FreeSpaceAndGroundPlanesAndCamera) {
    m.groundType = -1;
    std::string text = povStatements(m, view, {});
    EXPECT_FALSE(has(text, "plane"));
    EXPECT_EQ(text.substr(0, 2), " \n");
    EXPECT_TRUE(has(text,
                    "\ncamera { location <      0.0+cdist*sin(1.4)*cos(4.89),     0.0+cdist*cos(1.4),"
                    "     0.0+cdist*sin(1.4)*sin(4.89) > look_at <      0.0,     0.0,     0.0 > angle cang }\n\n"))
        << text;
    m.groundType = 1;
    text = povStatements(m, view, {});
    EXPECT_EQ(text.substr(0, 37), "plane { y, 0 texture { PerfGnd } }\n \n");
    EXPECT_TRUE(has(text, "look_at <      0.0,     0.0+height,     0.0 > angle cang }"));
    for (int16_t finite : std::initializer_list<int16_t>{0, 2}) {
        m.groundType = finite;
        EXPECT_EQ(povStatements(m, view, {}).substr(0, 37), "plane { y, 0 texture { FiniGnd } }\n \n");
    }
}

TEST_F(PovSceneTest, LightTurnsTowardsTheZenithOnEitherSide) {
    view.theta = 0;
    view.phi = 0;
    std::string text = povStatements(m, view, {});
    EXPECT_TRUE(has(text,
                    "light_source { <      0.0+ldist*sin(0.0-dTHE)*cos(0.0-dPHI),     0.0+ldist*cos(0.0-dTHE),"
                    "     0.0+ldist*sin(0.0-dTHE)*sin(0.0-dPHI) > color lcolor }\n\n"))
        << text;
    view.theta = -10;
    text = povStatements(m, view, {});
    EXPECT_TRUE(has(text,
                    "ldist*sin(-0.17+dTHE)*cos(0.0-dPHI),     0.0+ldist*cos(-0.17+dTHE),"
                    "     0.0+ldist*sin(-0.17+dTHE)*sin(0.0-dPHI) >"))
        << text;
    EXPECT_FALSE(has(text, "-dTHE"));
}

TEST_F(PovSceneTest, PointsSwapHeightIntoTheSecondAxis) {
    EXPECT_EQ(povPoint(1, 2, 3, 1), "<      1.0,     3.0,     2.0 >");
    EXPECT_EQ(povPoint(-0.0125, 1234.5, 0.3, 100), "<    -1.25,    30.0,123450.0 >");
}

TEST_F(PovSceneTest, WiresAreCylindersWithSpheresOverJoints) {
    view.zoom = 0.5; // scale 50
    const std::string text = povStatements(m, view, {.wires = true});
    EXPECT_TRUE(has(text,
                    "union {    // mult-fact=50.0\n"
                    "cylinder { <    -50.0,     0.0,     0.0 > <      0.0,   100.0,     0.0 > 0.5 }   // 1\n"
                    "sphere { <      0.0,   100.0,     0.0 > 0.5 }   // 1\n"
                    "cylinder { <      0.0,   100.0,     0.0 > <     50.0,     0.0,     0.0 > 1.0 }   // 2\n"
                    "texture { Geometry } }\n"))
        << text;
    EXPECT_FALSE(has(text, "mesh"));
}

TEST_F(PovSceneTest, PatternCellsBecomeTrianglePairs) {
    PovPatternMesh mesh;
    mesh.rows = 2;
    mesh.columns = 3;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            mesh.points.push_back({double(c), 0, double(r)});
            mesh.angles.push_back({90.0 - 10 * r, 5.0 * c});
        }
    view.zoom = 0.01; // scale 1
    const std::string text = povStatements(m, view, {.pattern = &mesh});
    const size_t at = text.find("mesh {\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at),
              "mesh {\n"
              "triangle { <      0.0,     0.0,     0.0 > <      0.0,     1.0,     0.0 > "
              "<      1.0,     1.0,     0.0 > }\n"
              "triangle { <      0.0,     0.0,     0.0 > <      1.0,     1.0,     0.0 > "
              "<      1.0,     0.0,     0.0 > }\n"
              "// T,P:90.0,0.0\n"
              "triangle { <      1.0,     0.0,     0.0 > <      1.0,     1.0,     0.0 > "
              "<      2.0,     1.0,     0.0 > }\n"
              "triangle { <      1.0,     0.0,     0.0 > <      2.0,     1.0,     0.0 > "
              "<      2.0,     0.0,     0.0 > }\n"
              "// T,P:90.0,5.0\n"
              "texture { Pattern } }\n");
}

TEST_F(PovSceneTest, SceneFileStartsWithTheTemplate) {
    const std::string path = tree.file("pov/vee.pov");
    ASSERT_EQ(writePovScene(m, ui, view, {.wires = true}, path), path);
    const std::string text = test::readText(path);
    const std::string pov = test::readText(tree.file("exe/default.pov"));
    EXPECT_EQ(text.substr(0, pov.size()), pov);
    EXPECT_EQ(text.substr(pov.size()), povStatements(m, view, {.wires = true}));
    // Every identifier the statements use is declared by the shipped template.
    for (const char* name :
         {"cdist", "cang", "height", "ldist", "dTHE", "dPHI", "lcolor", "PerfGnd", "FiniGnd", "Geometry", "Pattern"})
        EXPECT_TRUE(has(pov, std::string("#declare ") + name + " ")) << name;

    deleteFile(tree.file("exe/default.pov"));
    test::writeText(path, "old scene\n");
    EXPECT_EQ(writePovScene(m, ui, view, {.wires = true}, path), "");
    EXPECT_TRUE(ui.saw("Open failure on povray default scene file: exe/default.pov"));
    EXPECT_EQ(test::readText(path), "old scene\n");
}

TEST_F(PovSceneTest, UnwritableSceneIsReported) {
    test::writeText(tree.file("pov-file"), "");
    EXPECT_EQ(writePovScene(m, ui, view, {.wires = true}, tree.file("pov-file/vee.pov")), "");
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_TRUE(has(ui.messages().back(), "Cannot write the POV-Ray scene"));
}

TEST(PovRender, ProgressIsTheNewestPercentage) {
    EXPECT_EQ(povrayProgress("Parsing...\n"), -1);
    EXPECT_EQ(povrayProgress("\rRendered 1024 of 76800 pixels (1%)\rRendered 38912 of 76800 pixels (50%)"), 50);
    EXPECT_EQ(povrayProgress("Rendered 1024 of 76800 pixels (1"), -1);
}

// The real povray: a scene renders to a PNG; a scene it cannot parse
// leaves no picture (an old one stays) and its parse error is shown.
TEST_F(PovSceneTest, PovrayRendersTheSceneAndNamesItsParseError) {
    const std::string scene = writePovScene(m, ui, view, {.wires = true}, tree.file("pov/vee.pov"));
    ASSERT_FALSE(scene.empty());
    auto runner = makeNativeProcessRunner();
    std::vector<int> percents;
    const std::string picture = tree.file("out/vee.png");
    ASSERT_TRUE(renderPovScene(*runner, ui, scene, picture, {64, 48}, [&](int p) {
        percents.push_back(p);
        return true;
    })) << (ui.messages().empty() ? "" : ui.messages().back());
    const std::string png = test::readText(picture);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");

    test::writeText(scene, test::readText(scene) + "sphere { <0,0,0> 1 texture { Undeclared } }\n");
    EXPECT_FALSE(renderPovScene(*runner, ui, scene, picture, {64, 48}, nullptr));
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_TRUE(has(ui.messages().back(), "povray could not render " + scene)) << ui.messages().back();
    EXPECT_TRUE(has(ui.messages().back(), "Parse Error")) << ui.messages().back();
    EXPECT_EQ(test::readText(picture), png);
}

} // namespace
} // namespace wavra
