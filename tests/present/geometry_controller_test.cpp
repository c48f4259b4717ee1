#include "present/geometry_controller.h"

#include <gtest/gtest.h>

#include "core/config.h"
#include "present/geometry_picking.h"
#include "present/key_names.h"
#include "support/test_support.h"

namespace wavra {
namespace {

int16_t key(const char* name) { return *actionCodeOfKeyName(name); }

// Three parallel wires along y, 1 m apart, as the input reader leaves them.
struct GeometryControllerTest : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    GeometryController c{m, ui};

    void SetUp() override {
        tree.prepare(m);
        m.resetForLoad(); // a load: the state belongs to it
        m.modelName = "wires";
        m.frequencyMHz = 14;
        m.modelExtent = 5;
        m.wireCount = 3;
        for (int i = 1; i <= 3; ++i) {
            m.wireTag[i] = static_cast<int16_t>(i);
            m.wireSegments[i] = 11;
            m.wireX1[i] = m.wireX2[i] = i - 2;
            m.wireY1[i] = -5;
            m.wireY2[i] = 5;
            m.wireRadius[i] = 0.001;
            m.wireEnd1Link[i] = m.wireEnd2Link[i] = kNoLink;
        }
    }
    // The wire table as the report reader leaves it, with or without a
    // current table.
    void asReport(bool currents) {
        for (int i = 1; i <= 3; ++i) {
            m.wireSegments[i] = 1;
            m.wireEnd1Link[i] = m.wireEnd2Link[i] = 0;
            m.wireCurrentMag[i] = 0.1 * i;
            m.wireCurrentPhase[i] = -30.0 * i;
        }
        m.maxCurrentMag = currents ? 0.3 : -999;
        m.maxCurrentPhase = currents ? 90 : -999;
    }
    // Puts the pointer on the middle of wire `row`, a little towards end 2.
    void pointAt(int row) {
        const Projection p = modelProjection(c.state());
        m.pointerX = p.x(m.wireX1[row], 1);
        m.pointerY = p.y(m.wireX1[row], 1, 0);
    }
};

TEST_F(GeometryControllerTest, StateLivesUntilTheNextLoad) {
    c.open();
    EXPECT_EQ(c.state().geometryScale, 10);
    EXPECT_TRUE(c.command(key("Up")));
    EXPECT_TRUE(c.command(key("PgUp")));
    c.open(); // the view left and called again
    EXPECT_EQ(c.state().viewElevation, 85);
    EXPECT_EQ(c.state().geometryScale, 5);
    m.resetForLoad();
    m.modelExtent = 5;
    c.open();
    EXPECT_EQ(c.state().viewElevation, 80);
    EXPECT_EQ(c.state().geometryScale, 10);
}

TEST_F(GeometryControllerTest, HomeRestoresTheInitialState) {
    c.open();
    for (const char* k : {"Right", "Down", "PgDn", "Ctrl+Left", "Ctrl+Down", "E", "S", "M", "Alt+Left", "Space"})
        EXPECT_TRUE(c.command(key(k))) << k;
    EXPECT_EQ(c.state().viewAzimuth, 275);
    EXPECT_EQ(c.state().viewElevation, 75);
    EXPECT_EQ(c.state().geometryScale, 20);
    EXPECT_EQ(c.state().shiftX, 42);
    EXPECT_EQ(c.state().shiftY, 42);
    EXPECT_EQ(c.state().selectedSegment, 3); // Alt+Left from none: the last wire
    EXPECT_EQ(c.state().gridType, 2);
    c.command(key("Home"));
    EXPECT_EQ(c.state().viewAzimuth, 280);
    EXPECT_EQ(c.state().viewElevation, 80);
    EXPECT_EQ(c.state().geometryScale, 10);
    EXPECT_EQ(c.state().shiftX, 0);
    EXPECT_FALSE(c.state().showEnds);
    EXPECT_FALSE(c.state().multiColour);
    EXPECT_EQ(c.state().selectedSegment, 0);
    EXPECT_EQ(c.state().gridType, 1);
}

TEST_F(GeometryControllerTest, PatternKeysCycleAndWrap) {
    c.open();
    for (int expected : {2, 3, 1}) {
        c.command(key("Space"));
        EXPECT_EQ(c.state().gridType, expected);
    }
    c.command(key(">"));
    c.command(key(">"));
    EXPECT_EQ(c.state().patternQuantity, 5);
    c.command(key(">"));
    EXPECT_EQ(c.state().patternQuantity, 1);
    c.command(key("<"));
    EXPECT_EQ(c.state().patternQuantity, 5);
    m.linLogFactor = 0.8;
    c.command(key("L"));
    EXPECT_EQ(m.linLogFactor, 0.5);
    c.command(key("L"));
    EXPECT_EQ(m.linLogFactor, 0.8);
    c.command(key("Ctrl+PgDn"));
    c.command(key("Ctrl+PgDn"));
    EXPECT_EQ(c.state().lineStep, 3);
    c.command(key("Ctrl+PgUp"));
    EXPECT_EQ(c.state().lineStep, 2);
    // 'R' without pattern points does nothing.
    c.command(key("R"));
    EXPECT_FALSE(c.state().showPattern);
    m.requestMode = 0;
    m.requestCount = {0, 1, 2, 1};
    m.patternCount = 2;
    c.command(key("R"));
    EXPECT_TRUE(c.state().showPattern);
    m.requestMode = kSurfaceWaveRequest;
    c.command(key("R"));
    c.command(key("R"));
    EXPECT_FALSE(c.state().showPattern);
    EXPECT_NE(c.status().find("surface-wave"), std::string::npos);
}

TEST_F(GeometryControllerTest, NearFieldPlanes) {
    m.requestMode = kNearRequest;
    m.allocateFieldTables(10);
    const float at[3] = {0, 0.5f, 1};
    for (int i = 1; i <= 3; ++i) m.nearFieldPoints[i] = {at[i - 1], 0, 2};
    m.summary.nearFieldCount = 3;
    m.resetForLoad();
    m.requestMode = kNearRequest;
    c.open();
    EXPECT_EQ(c.state().gridType, 0);
    EXPECT_EQ(c.state().patternQuantity, 4);
    c.command(key("Shift+Right")); // all points: no plane to step
    EXPECT_EQ(c.state().planeIndex, 1);
    c.command(key("Space")); // the x plane
    c.command(key("Shift+Left"));
    EXPECT_EQ(c.state().planeIndex, 3);
    c.command(key("Shift+Right"));
    EXPECT_EQ(c.state().planeIndex, 1);
    c.command(key("Shift+Left"));
    c.command(key("Space")); // the y plane has one coordinate
    EXPECT_EQ(c.state().planeIndex, 1);
    c.command(key("Space"));
    c.command(key("Space"));
    EXPECT_EQ(c.state().gridType, 0);
    c.command(key("<"));
    EXPECT_EQ(c.state().patternQuantity, 3);
    c.command(key(">"));
    c.command(key(">"));
    EXPECT_EQ(c.state().patternQuantity, 1);
    c.command(key("R"));
    EXPECT_TRUE(c.state().showPattern);
}

TEST_F(GeometryControllerTest, CurrentAndPhaseBarsNeedTheReportsCurrents) {
    c.open();
    c.command(key("C"));
    EXPECT_FALSE(c.state().showCurrent);
    EXPECT_NE(c.status().find("input file has no currents"), std::string::npos);
    asReport(false);
    c.command(key("C"));
    c.command(key("P"));
    EXPECT_FALSE(c.state().showCurrent);
    EXPECT_FALSE(c.state().showPhase);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"No currents available; PT -1 card specified",
                                                       "No phase values available; PQ -1 card specified"}));
    asReport(true);
    c.command(key("C"));
    EXPECT_TRUE(c.state().showCurrent);
    c.command(key("P")); // never both bars at once
    EXPECT_FALSE(c.state().showPhase);
    EXPECT_FALSE(c.status().empty());
    c.command(key("C"));
    c.command(key("P"));
    EXPECT_TRUE(c.state().showPhase);
    EXPECT_FALSE(c.state().showCurrent);
    c.command(key("J")); // junctions are known on the report's segments
    EXPECT_TRUE(c.state().showJunctions);
    c.command(key("X"));
    EXPECT_NE(m.cartesianCurrents, 0);
}

TEST_F(GeometryControllerTest, InputAndOutputSwitchThroughTheMainLoop) {
    c.open();
    EXPECT_TRUE(c.command(key("I"))); // already the input
    EXPECT_TRUE(c.command(key("O")));
    EXPECT_NE(c.status().find("No output file"), std::string::npos);
    EXPECT_EQ(m.reloadInput, 0);
    test::writeText(tree.file("out/wires.out"), "report\n");
    EXPECT_FALSE(c.command(key("O")));
    EXPECT_EQ(m.reloadInput, -1);
    EXPECT_EQ(m.actionCode, kActionGeometry);
    asReport(true);
    m.reloadInput = 0;
    EXPECT_TRUE(c.command(key("I"))); // no input file to read
    EXPECT_NE(c.status().find("No input file"), std::string::npos);
    test::writeText(m.modelPath(), "GW 1 1 0 0 0 0 0 1 1\n");
    EXPECT_FALSE(c.command(key("I")));
    EXPECT_EQ(m.reloadInput, 1);
}

TEST_F(GeometryControllerTest, ValidationAndOptimizerLog) {
    m.wireSegments[2] = 2; // 5 m segments at 14 MHz: above wlen/5
    c.open();
    EXPECT_EQ(m.wireMark[2] & 2, 2);
    EXPECT_EQ(m.wireMark[1], 0);
    c.command(key("2")); // radius only
    EXPECT_EQ(c.state().validationMode, 2);
    EXPECT_EQ(m.wireMark[2], 0);
    c.command(key("9"));
    EXPECT_EQ(ui.shownFiles(), (std::vector<std::string>{m.modelDir + "model.log"}));
    c.command(key("V"));
    EXPECT_EQ(ui.messages().back(), "Optimizer log " + m.modelDir + "Optimizer.log not found.");
    test::writeText(m.modelDir + "Optimizer.log", "run 1\n");
    c.command(key("V"));
    EXPECT_EQ(ui.shownFiles().back(), m.modelDir + "Optimizer.log");
}

TEST_F(GeometryControllerTest, PovRayScenesAreWrittenAndOfferedForRendering) {
    c.open();
    const std::string scene = tree.file("pov/wires.pov");
    ui.queueAnswer(Answer::No);
    c.command(key("Shift+G"));
    EXPECT_EQ(c.status(), "POV-Ray scene written: " + scene);
    EXPECT_NE(test::readText(scene).find("cylinder {"), std::string::npos);
    EXPECT_EQ(ui.messages().back(), "Scene " + scene + " written.\nRender it with POV-Ray ?");
    EXPECT_FALSE(c.takeRenderRequest());
    // No far-field pattern: Shift+R writes nothing and asks nothing.
    ui.clear();
    c.command(key("Shift+R"));
    EXPECT_EQ(c.status(), "No far-field pattern to export to POV-Ray.");
    EXPECT_TRUE(ui.messages().empty());
    ui.queueAnswer(Answer::Yes);
    c.command(key("Shift+G"));
    const auto request = c.takeRenderRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->scene, scene);
    EXPECT_EQ(request->picture, tree.file("pov/wires.png"));
    EXPECT_FALSE(c.takeRenderRequest()); // once
}

TEST_F(GeometryControllerTest, PickedInputWireIsEditedThroughTheDialog) {
    c.open();
    pointAt(2);
    c.command(kActionLeftClick);
    EXPECT_EQ(c.state().selectedSegment, 2);
    EXPECT_EQ(c.takeWireDialogRequest(), std::optional<int16_t>(2));
    EXPECT_FALSE(c.takeWireDialogRequest().has_value()); // once
    c.command(kActionRightClick);                        // the right button also picks the nearer end
    EXPECT_EQ(c.state().editEnd, 2);
    EXPECT_EQ(c.takeWireDialogRequest(), std::optional<int16_t>(2));
    WireFields f = wireFieldsOf(m, 2);
    f.length = "5";
    c.setPendingEdit(2, 2, f);
    c.command(kActionGenerate);
    EXPECT_NEAR(m.wireY2[2], 0, 1e-12); // end 2 moved, end 1 kept
    EXPECT_EQ(m.wireY1[2], -5);
    EXPECT_EQ(c.state().selectedSegment, 0);
    EXPECT_EQ(m.editedWires, (std::vector<int16_t>{2}));
    // Confirmed while another window had control: applied on the next entry.
    f = wireFieldsOf(m, 1);
    f.z1 = "1";
    c.setPendingEdit(1, 1, f);
    c.open();
    EXPECT_EQ(m.wireZ1[1], 1);
    // Cancel and a reload drop an edit.
    f = wireFieldsOf(m, 3);
    f.z1 = "1";
    c.setPendingEdit(3, 1, f);
    c.command(kActionWireCancel);
    c.command(kActionGenerate);
    EXPECT_EQ(m.wireZ1[3], 0);
    c.setPendingEdit(3, 1, f);
    ++m.loadSerial;
    c.open();
    EXPECT_EQ(m.wireZ1[3], 0);
    // A click on the report's segments only picks: no dialog.
    asReport(true);
    pointAt(3);
    c.command(kActionLeftClick);
    EXPECT_EQ(c.state().selectedSegment, 3);
    EXPECT_FALSE(c.takeWireDialogRequest().has_value());
    m.pointerX = 1000;
    c.command(kActionLeftClick);
    EXPECT_EQ(c.state().selectedSegment, 0);
}

} // namespace
} // namespace wavra
