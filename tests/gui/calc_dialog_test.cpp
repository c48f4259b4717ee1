// The calculation options dialog: its rules on plain model values, and the
// window with its controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

#include "engine/deck_adapter.h"
#include "engine/deck_requests.h"
#include "gui_test_support.h"
#include "present/calc_dialog_rules.h"
#include "windows/calc_dialog.h"

using namespace wavra;
using namespace wavra::test;

namespace {

struct CalcRules : ::testing::Test {
    Model m;
    RecordingUi ui;
    CalcRowMemory rows;
    void range(std::array<double, 9> r) { m.calcRange = r; }
};

} // namespace

TEST_F(CalcRules, LayoutFollowsTheChoice) {
    m.calcKind = kCalcOriginal;
    EXPECT_EQ(calcLayout(m).rows, 0);
    m.calcKind = kCalcFarField;
    CalcLayout l = calcLayout(m);
    EXPECT_EQ(l.rows, 2);
    EXPECT_EQ(l.rowCaptions[0], "Theta");
    EXPECT_EQ(l.columnCaptions[2], "Step size");
    EXPECT_TRUE(l.farFieldExtras);
    m.surfaceWaveFlag = -1;
    EXPECT_EQ(calcLayout(m).rowCaptions[0], "Z in mtr.");
    m.calcKind = kCalcFrequencyLoop;
    m.calcSubMode = 0;
    l = calcLayout(m);
    EXPECT_EQ(l.rows, 1);
    EXPECT_EQ(l.columnCaptions[0], "Start");
    EXPECT_EQ(l.subCaptions[3], "Gain");
    EXPECT_FALSE(l.farFieldExtras);
    m.calcSubMode = 2;
    l = calcLayout(m);
    EXPECT_EQ(l.rows, 3);
    EXPECT_EQ(l.columnCaptions[1], "Stop val.");
    m.calcKind = kCalcNearField;
    l = calcLayout(m);
    EXPECT_EQ(l.rowCaptions[2], "Z");
    EXPECT_EQ(l.columnCaptions[0], "First pos.");
    EXPECT_EQ(l.subCaptions[0], "");
    EXPECT_EQ(l.subCaptions[2], "H-fld");
    m.calcKind = kCalcItsHfPointToPoint;
    l = calcLayout(m);
    EXPECT_TRUE(l.startOnly);
    EXPECT_EQ(l.rowCaptions[1], "Az-diff.");
    EXPECT_EQ(l.infoY, "(Azim. angle between main-\nbeam and desired direction)");
    m.calcKind = kCalcItsHfArea;
    EXPECT_EQ(calcLayout(m).infoY, "(Antenna design frequency)");
}

TEST_F(CalcRules, RangesComeFromTheRememberedCards) {
    m.calcPresets[6][0] = "NE, 0, 11, 11, 1, -5.0, -5.0, 1.0, 1.0, 1.0, 0.0";
    m.calcKind = kCalcNearField;
    m.calcSubMode = 1;
    prefillCalcRange(m);
    EXPECT_EQ(m.calcRange, (std::array<double, 9>{-5, 5, 1, -5, 5, 1, 1, 1, 0}));
    m.calcPresets[1][0] = "RP 0 19 73 1000 0 0 5 5";
    m.calcKind = kCalcFarField;
    prefillCalcRange(m);
    EXPECT_EQ(m.calcRange[1], 90);
    EXPECT_EQ(m.calcRange[4], 360);
    m.calcPresets[2][0] = "FR, 0, 8, 0, 0, 14.0, 0.05";
    m.calcPresets[4][0] = "RP, 0, 1, 73, 1000, 90.0, 0.0, 1.0, 5.0";
    chooseCalcKind(m, rows, kCalcFrequencyLoop, kCalcFarField);
    EXPECT_EQ(m.calcSubMode, 0);
    chooseSubOption(m, rows, 2);
    EXPECT_DOUBLE_EQ(m.calcRange[1], 14.35);
    EXPECT_EQ(m.calcRange[3], 90);
    EXPECT_EQ(m.calcRange[7], 360);
    // A remembered card of another kind, or a damaged one, offers nothing:
    // the default stands (one height of 0 m with a surface wave).
    m.calcPresets[1][1] = "XQ";
    m.calcKind = kCalcFarField;
    m.surfaceWaveFlag = -1;
    m.calcRange = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    prefillCalcRange(m);
    EXPECT_EQ(m.calcRange, (std::array<double, 9>{0, 0, 1, 0, 355, 5, 7, 8, 9}));
    m.calcPresets[1][1] = "RP,,";
    m.calcRange[2] = 0;
    prefillCalcRange(m);
    EXPECT_EQ(m.calcRange[2], 1);
}

TEST_F(CalcRules, ADeckOfOneFrequencyOffersALoopAroundIt) {
    rows.deck = findDeckRequests("FR 0 1 0 0 14.2 0\nEN\n");
    m.calcKind = kCalcFrequencyLoop;
    m.calcSubMode = 1;
    prefillCalcRange(m, rows); // 11 steps of 1 %; no pattern card: the default angles
    EXPECT_DOUBLE_EQ(m.calcRange[0], 13.49);
    EXPECT_DOUBLE_EQ(m.calcRange[1], 14.91);
    EXPECT_DOUBLE_EQ(m.calcRange[2], 0.142);
    EXPECT_EQ(m.calcRange[4], 180);
}

// A loop whose steps multiply is offered with its own ends and runs as it
// is; the remembered card offers it again, and a changed frequency field
// makes its steps linear.
TEST_F(CalcRules, AMultiplicativeLoopStaysMultiplicative) {
    rows.deck = findDeckRequests("FR 1 5 0 0 3.5 2\nEN\n");
    m.calcKind = kCalcFrequencyLoop;
    prefillCalcRange(m, rows);
    EXPECT_EQ(m.calcRange[0], 3.5);
    EXPECT_EQ(m.calcRange[1], 56);
    EXPECT_EQ(m.calcFrequencyRatio, 2);
    EXPECT_NE(calcLayout(m).note.find("each frequency is 2 times the one before"), std::string::npos);
    enterRangeField(m, 3, rangeText(m.calcRange[2]), false); // left as shown
    EXPECT_EQ(m.calcFrequencyRatio, 2);
    EXPECT_EQ(generateRefusal(m, m), std::nullopt);
    const std::string deck = "GW 1 11 0 -5 0 0 5 0 0.001\nGE 0\nEX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\nXQ\nEN\n";
    const std::string adapted = adaptDeck(m, deck).text;
    EXPECT_NE(adapted.find("FR, 1, 5, 0, 0, 3.5, 2.0"), std::string::npos) << adapted;

    m.calcFrequencyRatio = 0;
    range({});
    prefillCalcRange(m); // from the card the run remembered
    EXPECT_EQ(m.calcRange[1], 56);
    EXPECT_EQ(m.calcFrequencyRatio, 2);
    enterRangeField(m, 2, "60", false);
    EXPECT_EQ(m.calcFrequencyRatio, 0);
    EXPECT_TRUE(calcLayout(m).note.empty());
}

TEST_F(CalcRules, EachChoiceKeepsItsOwnRows) {
    m.calcKind = kCalcFarField;
    prefillCalcRange(m, rows);
    enterRangeField(m, 2, "60", false);
    chooseCalcKind(m, rows, kCalcNearField, kCalcFarField);
    EXPECT_NE(m.calcRange[1], 60);
    enterRangeField(m, 1, "-3", false);
    chooseCalcKind(m, rows, kCalcFrequencyLoop, kCalcNearField);
    enterRangeField(m, 1, "7", false);
    chooseSubOption(m, rows, 1); // the loop keeps its frequencies, the cut has its own angles
    EXPECT_EQ(m.calcRange[0], 7);
    EXPECT_EQ(m.calcRange[4], 180);
    chooseCalcKind(m, rows, kCalcFarField, kCalcFrequencyLoop);
    EXPECT_EQ(m.calcRange[1], 60);
    chooseCalcKind(m, rows, kCalcNearField, kCalcFarField);
    EXPECT_EQ(m.calcRange[0], -3);
}

TEST_F(CalcRules, ItsHfRangesFromTheMainBeamAndFrequency) {
    m.patternCount = 3;
    m.farFieldAngles[1] = {90, 350};
    m.farFieldAngles[2] = {90, 725.6};
    m.farFieldAngles[3] = {90, 10};
    m.farFieldGains[2][2] = 7.5;
    m.frequencyMHz = 14.2;
    chooseCalcKind(m, rows, kCalcItsHfArea, 0);
    EXPECT_EQ(m.calcRange[0], 5);
    EXPECT_DOUBLE_EQ(m.calcRange[3], 14.2);
    chooseCalcKind(m, rows, kCalcItsHfPointToPoint, 0);
    EXPECT_EQ(m.calcRange[3], 0);
}

TEST_F(CalcRules, FieldEntries) {
    m.calcKind = kCalcFarField;
    range({0, 90, 0, 0, 0, 0, 0, 0, 0});
    enterRangeField(m, 3, "0", false);
    EXPECT_DOUBLE_EQ(m.calcRange[2], 4.5);
    enterRangeField(m, 3, "0", true); // Enter takes the value as typed
    EXPECT_EQ(m.calcRange[2], 0);
    enterRangeField(m, 2, "12,5", false);
    EXPECT_DOUBLE_EQ(m.calcRange[1], 12.5);
    m.calcKind = kCalcNearField;
    enterRangeField(m, 3, "0.25", false);
    EXPECT_EQ(m.calcRange[5], 0.25);
    EXPECT_EQ(m.calcRange[8], 0.25);
    enterRangeField(m, 6, "2", false);
    EXPECT_EQ(m.calcRange[2], 0.25);
    EXPECT_EQ(m.calcRange[8], 2);
    enterRangeField(m, 10, "1", false); // no such field
    enterDistance(m, "0");
    EXPECT_EQ(m.requestDistance, 1);
    enterDistance(m, "2,5");
    EXPECT_EQ(m.requestDistance, 2500);
    enterGainFactor(m, "-3");
    EXPECT_EQ(m.requestGainNorm, 0.000001);
}

TEST_F(CalcRules, XndaDigitsWithinTheirRanges) {
    m.requestXnda = 1000;
    EXPECT_EQ(enterXnda(m, ui, "1371"), "1301");
    EXPECT_TRUE(ui.saw("Wrong value, consult NEC2 user manual."));
    EXPECT_EQ(m.requestXnda, 1000);
    ui.clear();
    EXPECT_EQ(enterXnda(m, ui, "12"), "0012");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(m.requestXnda, 12);
    EXPECT_EQ(enterXnda(m, ui, "xx1002"), "1002");
    EXPECT_EQ(checkXnda("abc").text, "0000");
    EXPECT_EQ(checkXnda("9999").text, "0000");
    EXPECT_EQ(checkXnda("-1e300").text, "0000");
}

TEST_F(CalcRules, GenerateRefusesWhatTheEngineCannotDo) {
    m.maxFarFieldPoints = 6000;
    m.calcKind = kCalcFarField;
    range({0, 90, 0, 0, 360, 5, 0, 0, 0});
    EXPECT_EQ(generateRefusal(m, m), "Stepsize too small.");
    m.calcKind = kCalcNearField;
    range({0, 49, 1, 0, 49, 1, 0, 2, 1});
    EXPECT_EQ(generateRefusal(m, m), "Total of 7500 exceeds max of 6000 calculation points.");
    // The message gives the real total, not one cut to the 16-bit range.
    m.calcKind = kCalcFarField;
    range({0, 180, 0.001, 0, 360, 1, 0, 0, 0});
    EXPECT_EQ(generateRefusal(m, m), "Total of 64980361 exceeds max of 6000 calculation points.");
    m.calcKind = kCalcFrequencyLoop;
    m.calcSubMode = 0;
    range({1, 30, 0.1, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(generateRefusal(m, m), "Total of 291 exceeds max of 100 frequency steps.");
    m.calcKind = kCalcItsHfArea;
    for (double f : {1.99, 30.0}) {
        m.calcRange[3] = f;
        EXPECT_EQ(generateRefusal(m, m), "Frequency not between 2.0 and 30.0 Mc");
    }
    m.calcRange[3] = 29.99;
    EXPECT_EQ(generateRefusal(m, m), std::nullopt);
}

TEST_F(CalcRules, GenerateRefusesValuesOutsideTheirRangesNamingTheField) {
    using R = std::array<double, 9>;
    const struct {
        int kind, sub;
        R range;
        const char* message;
    } cases[] = {
        {kCalcFrequencyLoop, 0, R{0, 10, 1}, "Frequency start must be above 0 MHz."},
        {kCalcFrequencyLoop, 0, R{14.35, 14, 0.05},
         "Frequency step must lead from start to stop: from 14.35 to 14 it "
         "must be below 0."},
        {kCalcFrequencyLoop, 1, R{14, 15, 1, 0, 90, 5, 400, 400, 1},
         "Phi start must lie between -360 and 360 degrees."},
        {kCalcFarField, 0, R{-190, 90, 5, 0, 0, 1}, "Theta start must lie between -180 and 180 degrees."},
        {kCalcFarField, 0, R{0, 90, -5, 0, 0, 1},
         "Theta step must lead from start to stop: from 0 to 90 it must be "
         "above 0."},
        {kCalcNearField, 1, R{0, 1, 1, 0, 0, 1, HUGE_VAL, 0, 1}, "Z start must be a number of metres."},
    };
    for (const auto& c : cases) {
        m.calcKind = static_cast<int16_t>(c.kind);
        m.calcSubMode = static_cast<int16_t>(c.sub);
        m.calcRange = c.range;
        EXPECT_EQ(generateRefusal(m, m), c.message);
    }
    m.calcKind = kCalcFarField; // a single direction, and a range run backwards with its step
    m.calcRange = {90, 0, -5, 10, 10, 1};
    EXPECT_EQ(generateRefusal(m, m), std::nullopt);
}

TEST_F(CalcRules, GenerateClearsTheRunTimeAndForgetsAForeignRequest) {
    m.calcKind = kCalcOriginal;
    m.summary.fileName = " dipole .out";
    m.summary.hasRunTime = true;
    m.summary.calculationTime = "  1.200";
    m.requestMode = 0;
    EXPECT_TRUE(generateCalculation(m, ui));
    EXPECT_EQ(m.actionCode, 13);
    EXPECT_EQ(m.requestMode, kNoRequest);
    EXPECT_EQ(m.summary.calculationTime, "");
    EXPECT_FALSE(m.summary.hasRunTime);
    m.calcKind = kCalcFarField;
    m.actionCode = 0;
    EXPECT_FALSE(generateCalculation(m, ui));
    EXPECT_TRUE(ui.saw("Stepsize too small."));
    EXPECT_EQ(m.actionCode, 0);
}

namespace {

struct CalcWindow : ::testing::Test {
    Model m;
    RecordingUi ui;
    CalcWindow() { ensureApplication(); }

    // Runs the dialog; `act` works on it while it is shown.
    void run(std::function<void(CalcDialog&)> act) {
        CalcDialog dialog(m, ui);
        QTimer::singleShot(0, &dialog, [&dialog, act] {
            act(dialog);
            if (dialog.isVisible()) dialog.cancel();
        });
        dialog.run();
    }
    static QLineEdit* field(CalcDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }
};

} // namespace

TEST_F(CalcWindow, ShowsTheRememberedNearFieldGrid) {
    m.calcKind = kCalcNearField;
    m.calcSubMode = 1;
    m.calcPresets[6][0] = "NE, 0, 11, 11, 1, -5.0, -5.0, 1.0, 1.0, 1.0, 0.0";
    run([](CalcDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Calculate  (F7)");
        EXPECT_EQ(field(d, "txtXYZ1")->text(), "-5");
        EXPECT_EQ(field(d, "txtXYZ2")->text(), "5");
        EXPECT_EQ(field(d, "txtXYZ3")->text(), "1");
        EXPECT_EQ(d.findChild<QLabel*>("LabSta")->text(), "First pos.");
        EXPECT_TRUE(d.findChild<QRadioButton*>("Opt1")->isChecked());
        EXPECT_FALSE(d.findChild<QRadioButton*>("Opt0")->isVisible());
        EXPECT_FALSE(d.findChild<QWidget*>("FraFF")->isVisible());
    });
    EXPECT_EQ(m.actionCode, 27);
}

TEST_F(CalcWindow, RefusedEntriesKeepTheDialogOpen) {
    m.calcKind = kCalcFarField;
    m.calcPresets[1][0] = "RP, 0, 19, 73, 1000, 0.0, 0.0, 5.0, 5.0";
    run([this](CalcDialog& d) {
        field(d, "TxtXNDA")->setText("1371");
        d.findChild<QPushButton*>("generate")->click();
        EXPECT_TRUE(ui.saw("Wrong value, consult NEC2 user manual."));
        EXPECT_EQ(field(d, "TxtXNDA")->text(), "1301");
        EXPECT_TRUE(d.isVisible());
        field(d, "txtXYZ6")->setText("0.05");
        d.findChild<QPushButton*>("generate")->click();
        EXPECT_TRUE(ui.saw("Total of 136819 exceeds max of 6000 calculation points."));

        EXPECT_TRUE(d.isVisible());
        field(d, "txtXYZ5")->setText("-360");
        field(d, "txtXYZ6")->setText("10");
        d.findChild<QPushButton*>("generate")->click();
        EXPECT_TRUE(ui.saw("Phi step must lead from start to stop: from 0 to -360 it must be below 0."));
        EXPECT_TRUE(d.isVisible());
        field(d, "txtXYZ5")->setText("360");
        d.findChild<QPushButton*>("generate")->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(m.actionCode, 13);
    EXPECT_EQ(m.calcRange[5], 10);
    EXPECT_EQ(m.requestXnda, 1301);
}

TEST_F(CalcWindow, ChoicesRelayTheGridAndCancelRestores) {
    m.calcKind = kCalcFarField;
    m.calcRange = {0, 90, 5, 0, 360, 5, 0, 0, 0};
    run([this](CalcDialog& d) {
        d.findChild<QRadioButton*>("OptFR")->click();
        EXPECT_EQ(m.calcKind, kCalcFrequencyLoop);
        EXPECT_EQ(d.findChild<QLabel*>("LabX")->text(), "Freq:");
        EXPECT_FALSE(field(d, "txtXYZ4")->isVisible());
        d.findChild<QRadioButton*>("Opt3")->click();
        EXPECT_EQ(m.calcSubMode, 3);
        EXPECT_TRUE(field(d, "txtXYZ7")->isVisible());
        EXPECT_TRUE(d.findChild<QWidget*>("FraFF")->isVisible());
        d.findChild<QRadioButton*>("Opt13")->click();
        EXPECT_FALSE(field(d, "txtXYZ2")->isVisible());
        EXPECT_EQ(d.findChild<QLabel*>("LabIX")->text(), "(Phi angle for main-beam)");
        d.findChild<QPushButton*>("Cancel")->click();
    });
    EXPECT_EQ(m.actionCode, 27);
    EXPECT_EQ(m.calcKind, kCalcFarField);
    EXPECT_EQ(m.calcRange[4], 360);
}

TEST_F(CalcWindow, SurfaceWaveBoxRenamesTheFirstRow) {
    m.calcKind = kCalcFarField;
    run([](CalcDialog& d) {
        d.findChild<QCheckBox*>("ChkSWav")->click();
        EXPECT_EQ(d.findChild<QLabel*>("LabX")->text(), "Z in mtr.");
    });
}

TEST_F(CalcWindow, StartsFromTheDeckFileAndShowsEachRowsUnit) {
    TempDir dir;
    writeText(dir.file("loop.nec"),
              "CM\nCE\nGW 1 11 0 -5 0 0 5 0 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
              "FR 0 8 0 0 14.0 0.05\nNH 0 0 0 0 0 0 0 0 0 0\nNE 0 5 1 1 -2 0 1 1 0 0\nRP 0 19 1 1000 0 0 5 0\nEN\n");
    m.modelDir = dir.path();
    m.modelName = "loop";
    m.modelExt = ".nec";
    m.calcKind = kCalcFrequencyLoop;
    run([](CalcDialog& d) {
        EXPECT_EQ(field(d, "txtXYZ2")->text(), "14.35");
        EXPECT_EQ(d.findChild<QLabel*>("LabUnit1")->text(), "MHz");
        d.findChild<QRadioButton*>("OptNF")->click();
        EXPECT_EQ(field(d, "txtXYZ1")->text(), "-2");
        EXPECT_EQ(field(d, "txtXYZ2")->text(), "2");
        EXPECT_EQ(d.findChild<QLabel*>("LabUnit3")->text(), "metres");
        d.findChild<QRadioButton*>("OptFF")->click();
        EXPECT_EQ(field(d, "txtXYZ2")->text(), "90");
        EXPECT_EQ(d.findChild<QLabel*>("LabUnit2")->text(), "degrees");
    });
}
