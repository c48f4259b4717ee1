// The main window's menus, keys and check marks, and its fields after a
// model or report was read.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "control/startup.h"
#include "deck/reader.h"
#include "gui_test_support.h"
#include "present/main_menu_rules.h"
#include "report/report_reader.h"
#include "support/report_reading.h"
#include "windows/main_window.h"

using namespace wavra;
using namespace wavra::test;
namespace fs = std::filesystem;

namespace {

struct MainWindowTest : ::testing::Test {
    Program p;
    MainWindow& window() { return p.windows->mainWindow(); }

    void choose(const char* item, std::optional<std::string> answer = std::nullopt) {
        if (answer) p.ui.queueInput(*answer);
        QAction* action = window().findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    bool checked(const char* item) {
        // The marks are refreshed whenever the settings menu opens.
        for (QMenu* menu : window().findChildren<QMenu*>()) emit menu->aboutToShow();
        return window().findChild<QAction*>(QString::fromLatin1(item))->isChecked();
    }
};

} // namespace

TEST_F(MainWindowTest, NumberSettingsKeepTheirLimits) {
    choose("Z0i", "75");
    EXPECT_EQ(p.model.z0, 75);
    EXPECT_TRUE(p.ui.saw("Characteristic impedance"));
    choose("Z0i", "-5"); // positive only
    choose("Z0i", "");   // empty keeps
    choose("Z0i", "fifty");
    EXPECT_EQ(p.model.z0, 75);
    EXPECT_TRUE(p.ui.saw("'fifty' is not a number."));
    choose("Z0i", "40000"); // kept within 16 bits, never wrapped
    EXPECT_EQ(p.model.z0, 32767);
    choose("mnlin", "-30"); // minimum levels may be negative
    EXPECT_EQ(p.model.minLinearDb, -30);
    choose("list", "2.6");
    EXPECT_EQ(p.model.linearStepDb, 3);
    choose("tmo", "600");
    EXPECT_EQ(p.model.engineTimeout, 600);
    EXPECT_TRUE(p.ui.saw("Engine time-out [s] (0 = none):"));
    choose("tmo", "-5"); // no negative time-out
    EXPECT_EQ(p.model.engineTimeout, 600);
    choose("tmo", "0");
    EXPECT_EQ(p.model.engineTimeout, 0);
    choose("par", "4");
    EXPECT_EQ(p.model.parallelRuns, 4);
    EXPECT_TRUE(p.ui.saw("Parallel engine runs (0 = one per core, 1 = off):"));
    choose("par", "-1"); // 0 is one per core; below it nothing
    EXPECT_EQ(p.model.parallelRuns, 4);
}

TEST_F(MainWindowTest, ReuseOfUnchangedResultsIsACheckedToggle) {
    EXPECT_TRUE(checked("reuse"));
    choose("reuse");
    EXPECT_EQ(p.model.reuseResults, 0);
    EXPECT_FALSE(checked("reuse"));
}

TEST_F(MainWindowTest, PowerSettingReloadsIntoTheMainWindow) {
    choose("pwer", "0");
    EXPECT_EQ(p.model.power, 0);
    EXPECT_TRUE(p.ui.saw("Power value < 1 defaults to constant voltage source"));
    EXPECT_EQ(p.model.reloadInput, -1);
    EXPECT_EQ(p.model.actionCode, 113);
    p.model.actionCode = 0;
    p.ui.clear();
    choose("pwer", "250");
    EXPECT_EQ(p.model.power, 250);
    EXPECT_FALSE(p.ui.saw("Power value < 1 defaults to constant voltage source"));
}

TEST_F(MainWindowTest, MemorySettingsAskForARestart) {
    const int16_t points = p.model.maxFarFieldPoints;
    choose("mxl", "0");
    choose("mxl", "-10");
    EXPECT_EQ(p.model.maxFarFieldPoints, points);
    EXPECT_FALSE(p.ui.saw("Are you sure ?"));
    p.ui.queueAnswer(Answer::No);
    choose("mxl", "9000");
    EXPECT_EQ(p.model.maxFarFieldPoints, points);
    EXPECT_EQ(p.model.actionCode, 0);
    p.ui.queueAnswer(Answer::Yes);
    choose("mxf", "40000");
    EXPECT_EQ(p.model.maxFreqSteps, 32767);
    EXPECT_TRUE(p.ui.saw("Please restart wavra"));
    EXPECT_EQ(p.model.actionCode, kActionEscape);
}

TEST_F(MainWindowTest, EngineChoicesAndTheirCheckMarks) {
    EXPECT_EQ(p.model.engineName, "&NEC2D_LA"); // the shipped settings choose the lapack engine
    EXPECT_TRUE(checked("lapack"));
    choose("nec2d"); // by the segment capacity
    EXPECT_EQ(p.model.engineName, "&NEC2D11K");
    EXPECT_TRUE(checked("nec2d"));
    EXPECT_FALSE(checked("lapack"));
    EXPECT_FALSE(checked("wait"));
    choose("wait");
    EXPECT_EQ(p.model.engineName, "?NEC2D11K");
    EXPECT_TRUE(checked("wait"));
    choose("lapack");
    EXPECT_EQ(p.model.engineName, "?NEC2D_LA");
    EXPECT_TRUE(checked("lapack"));
    choose("nec32");
    EXPECT_EQ(p.model.engineName, "?NEC32   ");
    EXPECT_TRUE(checked("nec32"));
    EXPECT_FALSE(checked("nec2d"));
    EXPECT_FALSE(checked("lapack"));
    choose("wait");
    choose("nec2d"); // by the segment capacity of the shipped settings
    EXPECT_EQ(p.model.engineName, "&NEC2D11K");
}

TEST_F(MainWindowTest, SegmentSettingPicksTheEngineWhenItsLauncherExists) {
    choose("mxs", "700");
    EXPECT_EQ(p.model.maxSegments, 960);
    EXPECT_EQ(p.model.engineName, "&NEC2D960");
    EXPECT_EQ(p.model.wireCapacity(), 960);
    EXPECT_EQ(p.model.reloadInput, -1);
    fs::remove(p.tree.file("exe/NEC2D1K4"));
    choose("mxs", "1000");
    EXPECT_EQ(p.model.maxSegments, 960);
    EXPECT_TRUE(p.ui.saw("File " + p.tree.file("exe/NEC2D1K4") + ", for 1000 segments, not available !"));
    choose("nec32");
    choose("mxs", "300"); // not a NEC2D engine: the capacity alone
    EXPECT_EQ(p.model.maxSegments, 300);
    EXPECT_EQ(p.model.engineName, "&NEC32   ");
}

TEST_F(MainWindowTest, ToggleSettingsAndItsHfChoices) {
    choose("npad");
    EXPECT_EQ(p.model.useNotepad, -1);
    EXPECT_TRUE(checked("npad"));
    EXPECT_TRUE(checked("logs"));
    choose("logs");
    EXPECT_EQ(p.model.linLogFactor, 0.5);
    EXPECT_FALSE(checked("logs"));
    choose("area2");
    EXPECT_EQ(p.model.itsHfArea, 2);
    EXPECT_TRUE(checked("area1") && checked("area2") && !checked("area3"));
    choose("area1"); // a checked item unchecks itself and those above
    EXPECT_EQ(p.model.itsHfArea, 0);
    choose("ptp3"); // any calculation needs the input file
    EXPECT_EQ(p.model.itsHfPtop, 1 | 4);
    choose("ptp1");
    EXPECT_EQ(p.model.itsHfPtop, 0);
    choose("its3");
    EXPECT_TRUE(checked("its3") && !checked("its1"));
    choose("itsd", "/opt/itshf/");
    EXPECT_EQ(p.model.itsHfDir, "/opt/itshf/");
    EXPECT_TRUE(p.ui.saw("Enter ItsFH home/main directory:"));
    choose("istp", "25");
    EXPECT_DOUBLE_EQ(p.model.optimizerMaxStep, 0.25);
}

TEST_F(MainWindowTest, MenuItemsPostOnlyWhileNothingWaits) {
    choose("necgen");
    EXPECT_EQ(p.model.actionCode, kActionCalculate);
    choose("open");
    EXPECT_EQ(p.model.actionCode, kActionCalculate);
    p.model.actionCode = 0;
    choose("about");
    EXPECT_EQ(p.model.actionCode, kActionHelp);
    EXPECT_EQ(p.model.helpMode, 1);
    p.model.actionCode = 0;
    QAction* tool = window().findChild<QAction*>("tool_build");
    EXPECT_EQ(tool->toolTip(), "Create geometry (F10)");
    tool->trigger();
    EXPECT_EQ(p.model.actionCode, kActionBuild);
}

TEST_F(MainWindowTest, KeysPostActionCodesAndXTogglesTheNotation) {
    window().show();
    QTest::keyClick(&window(), Qt::Key_F7);
    EXPECT_EQ(p.model.actionCode, kActionCalculate);
    QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(p.model.actionCode, kActionOpen);
    QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(p.model.actionCode, kActionSaveOutput);
    p.model.actionCode = 0;
    QTest::keyClick(&window(), Qt::Key_Q);
    QTest::keyClick(&window(), Qt::Key_F7, Qt::ShiftModifier); // 218: not a main-window code
    EXPECT_EQ(p.model.actionCode, 0);
    QTest::keyClick(&window(), Qt::Key_X);
    EXPECT_EQ(p.model.complexNotation, -1);
    EXPECT_EQ(p.model.reloadInput, -1);
    EXPECT_FALSE(checked("cart"));
    EXPECT_EQ(keyAction(18, false, false, true), 0); // Alt alone
}

TEST_F(MainWindowTest, FieldsShowTheLoadedModel) {
    takeModelName(p.model, p.modelPath("phased"), "");
    ASSERT_TRUE(readInputFileShown(p.model, p.ui));
    window().refresh();
    EXPECT_EQ(window().fieldText("Filename"), "phased.nec");
    EXPECT_EQ(window().fieldText("Frequency"), "21.20 Mhz");
    EXPECT_EQ(window().fieldText("Wavelength"), "14.1 mtr");
    EXPECT_EQ(window().fieldText("Impedance"), "");
    EXPECT_EQ(window().windowTitle(), "wavra - phased.nec");
    auto* comments = window().findChild<QListWidget*>("Comment");
    ASSERT_EQ(comments->count(), 2);
    EXPECT_EQ(comments->item(0)->text(), "Two phased dipoles, quarter-wave spaced, fed 90 degrees apart");
    auto* grid = window().findChild<QTableWidget*>("requestGrid");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), "Theta");
    EXPECT_EQ(grid->item(1, 2)->text(), "73");
    EXPECT_EQ(grid->item(1, 3)->text().toStdString(), "5.0");
    EXPECT_GE(window().findChild<QListWidget*>("Environment")->count(), 1); // the transmission line
    EXPECT_EQ(window().calculateHint(), "Press F7 to calculate");           // a deck: no results yet
}

// The tool buttons name the key that does the same; a read report removes
// the hint to calculate.
TEST_F(MainWindowTest, ToolTipsNameTheKeysAndAReportEndsTheCalculateHint) {
    auto tip = [this](const char* name) {
        return window().findChild<QAction*>(QStringLiteral("tool_") + QString::fromLatin1(name))->toolTip();
    };
    EXPECT_EQ(tip("necgen"), "Generate output-data (F7)");
    EXPECT_EQ(tip("open"), "Open nec-file (Ctrl+O)");
    EXPECT_EQ(tip("smi"), "Show smith-chart (F11)");
    EXPECT_EQ(tip("main"), "Main window (F2)");
    p.model.modelName = "dipole";
    writeText(p.tree.file("out/dipole.out"), readText(fixturePath("reports/a_dipole.nec2c.out")));
    ASSERT_TRUE(test::readModelReport(p.model, p.ui, ".out"));
    window().refresh();
    EXPECT_EQ(window().calculateHint(), "");
}

TEST_F(MainWindowTest, ResultFieldsFollowTheNotation) {
    Summary& s = p.model.summary;
    s.hasImpedance = true;
    s.impedanceR = 30;
    s.impedanceX = -40;
    s.hasAverageGain = true;
    s.averageGainText = " 1.3 over 180 dg.";
    s.averageGainRed = true;
    window().refresh();
    EXPECT_EQ(window().fieldText("Impedance").toStdString(), "30.0 - j 40.0 ohm");
    EXPECT_EQ(window().fieldText("Average gain"), "1.3 over 180 dg.");
    p.model.complexNotation = -1;
    window().refresh();
    EXPECT_EQ(window().fieldText("Impedance").toStdString(), "50.0 ohm @ -53 \u00b0");
}

TEST_F(MainWindowTest, ClosingTheWindowAsksTheLoopToExit) {
    window().show();
    window().close();
    EXPECT_EQ(p.model.actionCode, kActionEscape);
}

// Several sources: the label says the impedance is their sum and the tool
// tip lists them. A Latin-1 comment of an old deck shows as Latin-1.
TEST_F(MainWindowTest, SourcesLabelToolTipAndLatin1Comments) {
    p.model.modelName = "two";
    writeText(p.tree.file("out/two.out"), readText(fixturePath("reports/j_two_sources_nh.nec2c.out")));
    ASSERT_TRUE(test::readModelReport(p.model, p.ui, ".out"));
    window().refresh();
    EXPECT_EQ(window().shownCaption("Impedance"), "Impedance (sum of 2 sources)");
    const QStringList tip = window().fieldToolTip("Impedance").split(u'\n');
    ASSERT_EQ(tip.size(), 2);
    EXPECT_TRUE(tip[1].startsWith(QStringLiteral("Tag 2, segment 8: V 0.0 + j 1.0 V"))) << tip[1].toStdString();

    writeText(p.tree.file("models/old.nec"), "CM f\xfcr 14 MHz\nCM \xc3\xbc in UTF-8\nGW 1 11 0 0 -5 0 0 5 .001\n");
    takeModelName(p.model, p.tree.file("models/old.nec"), "");
    ASSERT_TRUE(readInputFileShown(p.model, p.ui));
    window().refresh();
    EXPECT_EQ(window().shownCaption("Impedance"), "Impedance");
    auto* comments = window().findChild<QListWidget*>("Comment");
    ASSERT_EQ(comments->count(), 2);
    EXPECT_EQ(comments->item(0)->text(), QString::fromUtf8("f\xc3\xbcr 14 MHz"));
    EXPECT_EQ(comments->item(1)->text(), QString::fromUtf8("\xc3\xbc in UTF-8"));
}
