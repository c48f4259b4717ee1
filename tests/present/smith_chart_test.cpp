#include "present/smith_chart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/config.h"
#include "core/reflection.h"

namespace wavra {
namespace {

// A frequency loop of the given impedances at 14.0, 14.1, ... MHz, with
// room for `capacity` rows in the sweep tables.
Model loopModel(const std::vector<std::pair<double, double>>& z, int capacity = 20) {
    Model m;
    m.allocateModelTables(16, capacity, 2, 4, 2);
    m.maxFreqSteps = static_cast<int16_t>(capacity);
    m.freqCount = static_cast<int16_t>(z.size());
    m.frequencyMHz = 14.0;
    for (size_t i = 0; i < z.size(); ++i) {
        m.sweepFreq[i + 1] = 14.0 + 0.1 * static_cast<double>(i);
        m.sweepR[i + 1] = z[i].first;
        m.sweepX[i + 1] = z[i].second;
    }
    return m;
}

double radius(ChartPoint p) { return std::hypot(p.x, p.y); }

TEST(SmithChart, MatchedLoadAtTheCentreShortAndReactancesOnTheRim) {
    const ChartPoint centre = chartPointOfImpedance(1, 0);
    EXPECT_NEAR(radius(centre), 0, 1e-15);
    // The short circuit (G = -1) at the top, the open circuit at the bottom,
    // inductive loads on the right.
    const ChartPoint shortCircuit = chartPointOfImpedance(0, 0);
    EXPECT_NEAR(shortCircuit.x, 0, 1e-15);
    EXPECT_NEAR(shortCircuit.y, 1, 1e-15);
    EXPECT_LT(chartPointOfImpedance(1e9, 0).y, -0.999);
    EXPECT_GT(chartPointOfImpedance(1, 1).x, 0);
    for (double x : {-30.0, -1.0, 0.2, 5.0}) EXPECT_NEAR(radius(chartPointOfImpedance(0, x)), 1, 1e-12) << x;
    // gammaAt undoes chartPointOf.
    const std::complex<double> g(0.3, -0.4);
    EXPECT_NEAR(std::abs(gammaAt(chartPointOf(g)) - g), 0, 1e-15);
    // Points of the model in ohms against z0.
    const Model m = loopModel({{50, 0}, {0, 0}, {0, 30}});
    const SmithState s;
    const auto pts = smithPoints(m, s);
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_NEAR(std::abs(plottedGamma(m.referenceZ0(), s, pts[0])), 0, 1e-15);
    EXPECT_NEAR(std::abs(plottedGamma(m.referenceZ0(), s, pts[1]) + 1.0), 0, 1e-15);
    EXPECT_NEAR(std::abs(plottedGamma(m.referenceZ0(), s, pts[2])), 1, 1e-12);
}

TEST(SmithChart, ReadoutInBothNotations) {
    Model m = loopModel({{50, -25}});
    SmithState s;
    s.cursor = 1;
    auto lines = smithReadout(m, s);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Freq : 14.000 Mhz");
    EXPECT_EQ(lines[1], "Imp. : 50.0 - j 25.0 ohm");
    EXPECT_EQ(lines[2], "Z/Y  : 50.0 - j 25.0 ohm");
    EXPECT_EQ(lines[3], "SWR  : 1.64");
    s.normalise = 1;
    EXPECT_EQ(smithReadout(m, s)[2], "Z/Y  : 1.0 - j .5 norm.");
    ASSERT_TRUE(smithCommand(m, s, 'X'));
    EXPECT_EQ(m.complexNotation, -1);
    EXPECT_EQ(smithReadout(m, s)[1], "Imp. : 55.9017 ohm @ -27 \u00b0");
    s.cursor = 0;
    EXPECT_TRUE(smithReadout(m, s).empty());
}

TEST(SmithChart, CursorAndLineStepWrap) {
    Model m = loopModel({{50, 0}, {25, 0}, {100, 0}});
    SmithState s;
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        smithCommand(m, s, 39); // Right
        seen.push_back(s.cursor);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0, 1}));
    smithCommand(m, s, 37); // Left: 0
    smithCommand(m, s, 37); // from none to the last
    EXPECT_EQ(s.cursor, 3);
    smithCommand(m, s, 137); // towards the generator from 0 wraps to 99
    EXPECT_EQ(s.lineStep, 99);
    smithCommand(m, s, 139);
    smithCommand(m, s, 139);
    EXPECT_EQ(s.lineStep, 1);
    s.lineStep = 99;
    smithCommand(m, s, 139);
    EXPECT_EQ(s.lineStep, 0);
    EXPECT_FALSE(smithCommand(m, s, 'Q'));
}

TEST(SmithChart, LineTransformationTurnsTowardsTheGenerator) {
    Model m = loopModel({{25, 10}});
    SmithState s;
    s.cursor = 1;
    const SmithPoint p = smithPoints(m, s)[0];
    const double before = std::arg(plottedGamma(m.referenceZ0(), s, p));
    smithCommand(m, s, 137); // one step towards the generator: clockwise by 3.6 degrees
    const double after = std::arg(plottedGamma(m.referenceZ0(), s, p));
    EXPECT_NEAR(std::remainder(after - before, 2 * M_PI), -3.6 * M_PI / 180, 1e-12);
    EXPECT_NEAR(std::abs(plottedGamma(m.referenceZ0(), s, p)), std::abs(reflection(25, 10, 50)), 1e-15);
    // 50 steps are a quarter wavelength: 25 ohm becomes 50^2 / 25 = 100 ohm.
    m.sweepX[1] = 0;
    s.lineStep = 50;
    const std::complex<double> z = impedanceOf(plottedGamma(m.referenceZ0(), s, smithPoints(m, s)[0]), m.z0);
    EXPECT_NEAR(z.real(), 100, 1e-9);
    EXPECT_NEAR(z.imag(), 0, 1e-9);
    EXPECT_EQ(smithReadout(m, s)[4], "Line : 0.250 wl towards generator");
    s.lineStep = 99;
    EXPECT_EQ(smithReadout(m, s)[4], "Line : 0.005 wl towards generator");
}

TEST(SmithChart, InsertedPointsAreRowsAfterTheLoop) {
    Model m = loopModel({{50, 0}, {40, 10}}, 4);
    SmithState s;
    RecordingUi ui;
    ui.queueInput("30");
    ui.queueInput(" -10 ");
    insertSmithPoint(m, s, ui);
    ASSERT_EQ(s.added, 1);
    EXPECT_EQ(s.cursor, 3);
    EXPECT_EQ(m.sweepR[3], 30);
    EXPECT_EQ(m.sweepX[3], -10);
    EXPECT_EQ(m.freqCount, 2); // the loop itself is unchanged
    EXPECT_TRUE(smithPoints(m, s)[2].added);
    EXPECT_EQ(smithReadout(m, s)[0], "Freq : 14.000 Mhz");
    // An empty, cancelled or unreadable answer adds nothing.
    ui.queueInput("");
    insertSmithPoint(m, s, ui);
    ui.queueInput("20");
    ui.queueInput(std::nullopt);
    insertSmithPoint(m, s, ui);
    ui.queueInput("abc");
    insertSmithPoint(m, s, ui);
    EXPECT_EQ(s.added, 1);
    EXPECT_TRUE(ui.saw("'abc' is not a number; no point was added."));
    // Full tables: the last added point is replaced, never a step of the loop.
    for (const char* v : {"70", "0", "80", "5"}) ui.queueInput(v);
    insertSmithPoint(m, s, ui);
    insertSmithPoint(m, s, ui);
    EXPECT_EQ(s.added, 2);
    EXPECT_EQ(m.sweepR[4], 80);
    EXPECT_EQ(m.sweepR[2], 40);
    deleteSmithPoint(m, s);
    deleteSmithPoint(m, s);
    deleteSmithPoint(m, s); // nothing added is left: the loop's points stay
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(smithPoints(m, s).size(), 2u);
    EXPECT_LE(s.cursor, 2);
    Model full = loopModel({{50, 0}, {40, 10}}, 2);
    ui.queueInput("30");
    ui.queueInput("0");
    insertSmithPoint(full, s, ui);
    EXPECT_EQ(full.sweepR[2], 40);
    EXPECT_TRUE(ui.saw("The sweep tables are full (2 points); no point was added."));
    // Both prompts offer half of z0.
    RecordingUi asked;
    insertSmithPoint(m, s, asked);
    EXPECT_EQ(asked.messages(), (std::vector<std::string>{"Enter reel part", "Enter imag. part"}));
    EXPECT_EQ(m.sweepR[3], 25);
    EXPECT_EQ(m.sweepX[3], 25);
}

TEST(SmithChart, ReportOutsideALoopShowsItsOneImpedance) {
    Model m = loopModel({});
    m.summary.hasImpedance = true;
    m.sweepR[0] = 73;
    m.sweepX[0] = 42;
    const auto pts = smithPoints(m, SmithState{});
    ASSERT_EQ(pts.size(), 1u);
    EXPECT_EQ(pts[0].r, 73);
    EXPECT_EQ(pts[0].frequency, 14.0);
}

TEST(SmithChart, SwrCirclesAndMouseReadout) {
    Model m = loopModel({{25, 0}});
    SmithState s;
    EXPECT_EQ(cursorSwrRadius(m, s), 0);
    s.cursor = 1;
    EXPECT_NEAR(cursorSwrRadius(m, s), kSwr2Radius, 1e-15); // 25 ohm: SWR 2
    const ChartFrame f = chartFrame(600, 780);
    const ChartPoint back = f.at(f.px({0.25, -0.5}), f.py({0.25, -0.5}));
    EXPECT_NEAR(back.x, 0.25, 1e-12);
    EXPECT_NEAR(back.y, -0.5, 1e-12);
    // The whole chart with its rulers fits the picture.
    EXPECT_GE(f.px({-1.35, 0}), -1e-9);
    EXPECT_LE(f.px({1.35, 0}), 600 + 1e-9);
    EXPECT_GE(f.py({0, 1.5}), -1e-9);
    EXPECT_LE(f.py({0, -2.0}), 780 + 1e-9);
    s.cursor = 0;
    setSmithPointer(s, f, f.px({0, 0}), f.py({0, 0}));
    EXPECT_EQ(smithReadout(m, s), (std::vector<std::string>{"Mouse 50.0 + j 0.0 ohm"}));
    setSmithPointer(s, f, f.px({0.5, 0}), f.py({0.5, 0})); // G = 0.5j: z = 0.6 + j0.8
    EXPECT_EQ(smithReadout(m, s), (std::vector<std::string>{"Mouse 30.0 + j 40.0 ohm"}));
    setSmithPointer(s, f, 1, 1); // off the chart
    EXPECT_TRUE(smithReadout(m, s).empty());
}

TEST(SmithChart, GridLinesFollowTheChartFile) {
    SmithChartFile file;
    file.grid = {{0.5, 0, 10}, {1, 0, -10}, {2, 1, 10}};
    const ChartGrid g = chartGrid(file, 50, false);
    // Every point of a resistance circle r = g lies on the circle of centre
    // g / (g + 1) and radius 1 / (g + 1) of the reflection plane.
    for (const ChartCurve& c : g.curves)
        for (ChartPoint p : c.points) {
            const std::complex<double> gamma = gammaAt(p);
            EXPECT_LE(std::abs(gamma), 1 + 1e-9);
        }
    size_t onCircleHalf = 0;
    for (const ChartCurve& c : g.curves) {
        bool all = true;
        for (ChartPoint p : c.points) all = all && std::fabs(std::abs(gammaAt(p) - 1.0 / 3.0) - 2.0 / 3.0) < 1e-9;
        if (all) ++onCircleHalf;
    }
    EXPECT_EQ(onCircleHalf, 1u); // the r = 0.5 circle, joined across the real axis
    // r = 2 is drawn only where |x| >= 1: the pen lifts across the real axis.
    size_t onCircle2 = 0;
    for (const ChartCurve& c : g.curves) {
        bool all = true;
        for (ChartPoint p : c.points) all = all && std::fabs(std::abs(gammaAt(p) - 2.0 / 3.0) - 1.0 / 3.0) < 1e-9;
        if (all) ++onCircle2;
    }
    EXPECT_EQ(onCircle2, 2u);
    // A light line has no labels; the others are in ohms, or normalised.
    std::vector<std::string> texts;
    for (const ChartLabel& l : g.labels) texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"25", "25", "-25", "100", "100", "-100"}));
    EXPECT_EQ(chartGrid(file, 50, true).labels[0].text, "0.5");
    EXPECT_TRUE(chartGrid(SmithChartFile{}, 50, false).curves.empty());
    EXPECT_EQ(angleTicks().size(), 36u);
    EXPECT_EQ(angleTicks()[9].text, "90");
}

TEST(SmithChart, LabelsGrowWithThePicture) {
    EXPECT_EQ(smithLabelPixels(chartFrame(200, 200)), 9);
    const int medium = smithLabelPixels(chartFrame(600, 780)), large = smithLabelPixels(chartFrame(1200, 1560));
    EXPECT_GT(medium, 9);
    EXPECT_NEAR(large, 2 * medium, 1);
}

} // namespace
} // namespace wavra
