#include "present/pattern_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "pattern_test_support.h"
#include "present/pattern_compare.h"
#include "present/pattern_cut.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "support/test_support.h"

namespace wavra {
namespace {

using test::allColumns;
using test::gridModel;
using test::range;

constexpr int16_t kRight = 39;

// A total gain of 7.3 dB at phi 0 in the horizon, falling off elsewhere.
Model sevenDb() {
    Model m = gridModel(range(0, 180, 10), range(0, 350, 10), allColumns([](double t, double p) {
                            return 7.3 - std::fabs(t - 90) / 10 - std::min(p, 360 - p) / 20;
                        }));
    m.linLogFactor = 0.5;
    return m;
}

// A full sphere from theta -180 whose maximum lies at theta 60, phi 120:
// the horizontal cuts start through it (theta -180 would show nothing),
// and 'M' brings both cuts there from anywhere. A request that starts
// elsewhere keeps its first cut.
TEST(PatternCommands, CutsStartAndReturnThroughTheMaximum) {
    auto peak = allColumns([](double t, double p) { return 9 - (std::fabs(t - 60) + std::fabs(p - 120)) / 10; });
    Model m = gridModel(range(-180, 180, 10), range(0, 350, 10), peak);
    RecordingUi ui;
    PatternState s;
    openPatternView(s, m, m, m, m);
    EXPECT_EQ(thetaOfIndex(m, m, s.view.thetaIndex), 60);
    EXPECT_EQ(s.view.phiIndex, 1);
    s.view.thetaIndex = 3;
    applyPatternCommand(s, m, ui, kPatternMaximum);
    EXPECT_EQ(extractCut(m, m, s, 0).angle, 120); // the vertical cut at the maximum's phi
    applyPatternCommand(s, m, ui, kPatternPlane);
    EXPECT_EQ(extractCut(m, m, s, 0).angle, 60); // the horizontal one at its theta

    Model later = gridModel(range(10, 180, 10), range(0, 350, 10), peak);
    PatternState fromTen;
    openPatternView(fromTen, later, later, later, later);
    EXPECT_EQ(fromTen.view.thetaIndex, 1);
}

TEST(PatternCommands, HomeThreeTimesReturnsToAFreshScale) {
    Model m = sevenDb();
    RecordingUi ui;
    PatternState s = test::openedOn(m, kVerticalCut);
    s.view.phiIndex = 10; // phi 90: the cut's maximum is 7.3 - 4.5 = 2.8 dB
    raiseMax(s.window.scale);
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(s.window.normMode, 1);
    EXPECT_NEAR(s.window.normOffset, 2.8, 1e-12);
    EXPECT_EQ(s.window.scale.max, 0);
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(s.window.normMode, 2);
    EXPECT_NEAR(s.window.normOffset, 7.3, 1e-12);
    EXPECT_NEAR(extractCut(m, m, s, 0).points[9].value, 2.8 - 7.3, 1e-12);
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(s.window.normMode, 0);
    EXPECT_EQ(s.window.normOffset, 0);
    EXPECT_EQ(s.window.scale.max, 12);
    // Field strengths are never normalised.
    s.view.patternQuantity = kQuantityFieldTheta;
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(s.window.normMode, 0);
}

TEST(PatternCommands, QuantityAndScaleKeys) {
    Model m = sevenDb();
    RecordingUi ui;
    PatternState s = test::openedOn(m, kVerticalCut);
    s.view.patternQuantity = 5;
    applyPatternCommand(s, m, ui, kPatternNext);
    EXPECT_EQ(s.view.patternQuantity, 1);
    applyPatternCommand(s, m, ui, kPatternPrevious + 100); // '<' typed with Shift
    EXPECT_EQ(s.view.patternQuantity, 5);
    EXPECT_EQ(s.window.scale.min, 0); // a field scale
    applyPatternCommand(s, m, ui, kPatternNext);
    applyPatternCommand(s, m, ui, kPatternLinLog);
    EXPECT_EQ(m.linLogFactor, 0.8);
    EXPECT_EQ(s.window.scale.min, -100);
    EXPECT_EQ(s.window.scale.step, 10);
    // PgDn zooms the structure while it is shown, else halves the step.
    applyPatternCommand(s, m, ui, kPatternStructure);
    const double zoom = s.window.structureZoom;
    applyPatternCommand(s, m, ui, kPatternStepDown);
    EXPECT_NEAR(s.window.structureZoom, zoom / 1.5, 1e-12);
    EXPECT_EQ(s.window.scale.step, 10);
    // A frequency loop of cuts keeps its plane.
    m.sweepPatternAxis = -1;
    applyPatternCommand(s, m, ui, kPatternPlane);
    EXPECT_EQ(s.view.cutPlane, kVerticalCut);
}

TEST(PatternCommands, ViewStateSurvivesReentryUntilTheNextLoad) {
    Model m = sevenDb();
    RecordingUi ui;
    PatternState s;
    openPatternView(s, m, m, m, m);
    EXPECT_EQ(s.view.cutPlane, kVerticalCut);
    applyPatternCommand(s, m, ui, kPatternInfo);
    applyPatternCommand(s, m, ui, kRight);
    applyPatternCommand(s, m, ui, kPatternIndicator);
    applyPatternCommand(s, m, ui, kPatternRaiseMax);
    openPatternView(s, m, m, m, m);
    EXPECT_TRUE(s.view.showInfo);
    EXPECT_EQ(s.view.phiIndex, 2);
    EXPECT_FALSE(s.window.showIndicator);
    EXPECT_EQ(s.window.scale.max, 12);

    // After an optimizer run aimed at phi 40 the vertical cut starts there.
    m.optimizerTargetFlag = -1;
    m.optimizerTargetActive = true;
    m.optimizerTargetPhi = 40;
    openPatternView(s, m, m, m, m);
    EXPECT_EQ(s.view.phiIndex, 5);
    EXPECT_EQ(m.optimizerTargetFlag, 0);

    m.resetForLoad();
    m.patternCount = static_cast<int16_t>(19 * 36);
    openPatternView(s, m, m, m, m);
    EXPECT_FALSE(s.view.showInfo);
    EXPECT_EQ(s.view.phiIndex, 1);
}

// The engine reports of the tests in an install tree's out/ folder.
struct Comparison : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    PatternState s;
    Comparison() {
        tree.prepare(m);
        put("reports/a_dipole.nec2c.out", "a_dipole");
        put("reports/a_dipole.classic.out", "classic");
        put("reports/m_lossy_ground_avg.nec2c.out", "lossy");
        m.modelName = "a_dipole";
        EXPECT_TRUE(test::readModelReport(m, ui, ".out"));
        openPatternView(s, m, m, m, m);
        ui.clear();
    }
    void put(const std::string& source, const std::string& name) {
        std::filesystem::copy_file(test::fixturePath(source), tree.file("out/" + name + ".out"));
    }
    void pick(const std::string& name) {
        ui.queueFile(FileChoice{tree.path() + "models/", name, ".nec"});
        applyPatternCommand(s, m, ui, kPatternAdd);
    }
};

TEST_F(Comparison, RefusesMissingReportsAndOtherGrids) {
    pick("nothing");
    EXPECT_TRUE(ui.saw("No output file available for: nothing.nec"));
    pick("lossy");
    EXPECT_TRUE(ui.saw("Start, count or stepsize on RP cards do not match."));
    EXPECT_FALSE(comparing(s));
    EXPECT_EQ(ui.fileRequests().at(0).caption, "Open file");
}

TEST_F(Comparison, AddsUpToFivePatternsOfTheSameGrid) {
    applyPatternCommand(s, m, ui, kPatternNormalise);
    const uint32_t serial = m.loadSerial;
    pick("classic");
    // The other report is read beside the current model, not into it.
    EXPECT_EQ(m.loadSerial, serial);
    EXPECT_EQ(m.summary.fileName, "a_dipole.out");
    ASSERT_EQ(s.window.compared.size(), 2u);
    EXPECT_EQ(s.window.compared[0].name, "a_dipole");
    EXPECT_EQ(s.window.compared[1].name, "classic");
    EXPECT_EQ(s.window.normMode, 0);
    // The classic report of the same run gives the same gains.
    EXPECT_NEAR(s.window.compared[1].max, m.patternMax[3], 0.01);
    for (int i = 0; i < 3; ++i) pick("classic");
    EXPECT_EQ(s.window.compared.size(), 5u);
    EXPECT_FALSE(canAddPattern(s, m));
    const size_t asked = ui.fileRequests().size();
    applyPatternCommand(s, m, ui, kPatternAdd); // a sixth Ins is ignored
    EXPECT_EQ(ui.fileRequests().size(), asked);
    // '>' now steps through the patterns, Home does not normalise.
    applyPatternCommand(s, m, ui, kPatternPrevious);
    EXPECT_EQ(s.window.selectedPattern, 5);
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(s.window.normMode, 0);
    applyPatternCommand(s, m, ui, kPatternRemove);
    EXPECT_FALSE(comparing(s));
    EXPECT_EQ(m.modelName, "a_dipole"); // the current model was never touched
}

} // namespace
} // namespace wavra
