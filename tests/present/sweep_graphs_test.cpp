#include "present/sweep_graphs.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sweep_test_support.h"

namespace wavra {
namespace {

const Model kMatchCases = sweepModel({{14.0, 50, 0}, {14.1, 25, 0}, {14.2, 0, 30}, {14.3, -10, 5}});

TEST(SweepGraphs, MatchOfPerfectHalfAndReactiveLoads) {
    using Q = SweepQuantity;
    // A perfect match: SWR 1, -infinity dB.
    EXPECT_DOUBLE_EQ(sweepValue(kMatchCases, Q::Swr, 1), 1);
    EXPECT_TRUE(std::isinf(sweepValue(kMatchCases, Q::ReflectionDb, 1)));
    // 25 ohm on 50 ohm: |G| = 1/3, SWR 2, -9.54 dB.
    EXPECT_NEAR(sweepValue(kMatchCases, Q::Swr, 2), 2, 1e-12);
    EXPECT_NEAR(sweepValue(kMatchCases, Q::ReflectionDb, 2), -9.542, 1e-3);
    // A pure reactance reflects everything: SWR 999, drawn at 10, 0 dB.
    EXPECT_EQ(sweepValue(kMatchCases, Q::Swr, 3), 999);
    EXPECT_NEAR(sweepValue(kMatchCases, Q::ReflectionDb, 3), 0, 1e-12);
    // A negative resistance reflects more than it gets: no negative SWR.
    EXPECT_EQ(sweepValue(kMatchCases, Q::Swr, 4), 999);
    EXPECT_EQ(sweepCurve(kMatchCases, Q::Swr), (std::vector<double>{1, sweepValue(kMatchCases, Q::Swr, 2), 10, 10}));
}

TEST(SweepGraphs, PhaseHasNoQuadrantCorrection) {
    EXPECT_NEAR(sweepPhase(-10, 10), -45, 1e-12); // the angle of -Z, not 135
    EXPECT_NEAR(sweepPhase(10, -10), -45, 1e-12);
    EXPECT_EQ(sweepPhase(0, 30), 90);
    EXPECT_EQ(sweepPhase(0, -30), -90);
    EXPECT_EQ(sweepPhase(0, 0), 0);
    EXPECT_NEAR(sweepValue(kMatchCases, SweepQuantity::Impedance, 3), 30, 1e-12);
}

TEST(SweepGraphs, AutomaticScalesSitOnTheSeries) {
    EXPECT_EQ(autoScale({12, 30, 45}), (SweepScale{10, 50, 5}));
    EXPECT_EQ(autoScale({-3.2, 7.3}), (SweepScale{-5, 10, 2}));
    // -infinity (a perfect match) is left out and does not break the scale.
    EXPECT_EQ(autoScale({-INFINITY, -9.54, -3}), (SweepScale{-10, -2, 1}));
    EXPECT_EQ(autoScale({-INFINITY}, -40, 0), (SweepScale{-50, 0, 5}));
    // A constant curve still gets a range, also a negative or zero one.
    for (double v : {0.0, -50.0, 50.0}) {
        const SweepScale s = autoScale({v, v});
        EXPECT_LT(s.lo, v + 1e-12) << v;
        EXPECT_GT(s.hi, v - 1e-12) << v;
        EXPECT_GT(s.hi - s.lo, 0) << v;
    }
}

TEST(SweepGraphs, FreshScalesAfterALoad) {
    SweepState s;
    s.page = kPageImpedance;
    s.markers = false;
    s.activePane = kPaneUpper;
    rescaleSweep(kMatchCases, s);
    EXPECT_EQ(s.page, kPageMatch);
    EXPECT_TRUE(s.markers);
    EXPECT_EQ(s.activePane, kPaneBoth);
    EXPECT_EQ(s.freqMin, 14.0);
    EXPECT_EQ(s.freqMax, 14.3);
    // The SWR of 999 is drawn at 10, so the scale ends there.
    EXPECT_EQ(s.scales[static_cast<size_t>(SweepQuantity::Swr)], (SweepScale{0.5, 10, 1}));
    EXPECT_EQ(s.scales[static_cast<size_t>(SweepQuantity::Resistance)], (SweepScale{-10, 50, 10}));
    EXPECT_EQ(s.scales[static_cast<size_t>(SweepQuantity::Reactance)], (SweepScale{0, 50, 5}));
}

TEST(SweepGraphs, ScaleKeysActOnTheActivePaneOnly) {
    SweepState s;
    rescaleSweep(kMatchCases, s);
    const auto scale = [&s](SweepQuantity q) { return s.scales[static_cast<size_t>(q)]; };
    const SweepScale swr = scale(SweepQuantity::Swr), db = scale(SweepQuantity::ReflectionDb);
    ASSERT_TRUE(sweepCommand(kMatchCases, s, 9)); // Tab: both -> upper
    EXPECT_EQ(s.activePane, kPaneUpper);
    sweepCommand(kMatchCases, s, 38); // Up
    EXPECT_EQ(scale(SweepQuantity::Swr), (SweepScale{swr.lo + 1, swr.hi + 1, 1}));
    EXPECT_EQ(scale(SweepQuantity::ReflectionDb), db);
    sweepCommand(kMatchCases, s, 9);  // lower
    sweepCommand(kMatchCases, s, 40); // Down
    EXPECT_EQ(scale(SweepQuantity::ReflectionDb), (SweepScale{db.lo - db.step, db.hi - db.step, db.step}));
    sweepCommand(kMatchCases, s, 9); // both, then upper again
    EXPECT_EQ(s.activePane, kPaneBoth);
    sweepCommand(kMatchCases, s, 9);
    EXPECT_EQ(s.activePane, kPaneUpper);
    // Zooming in stops before the ends meet; zooming out widens by a step.
    for (int i = 0; i < 20; ++i) sweepCommand(kMatchCases, s, 33);
    EXPECT_GT(scale(SweepQuantity::Swr).hi, scale(SweepQuantity::Swr).lo);
    EXPECT_NEAR(scale(SweepQuantity::Swr).hi - scale(SweepQuantity::Swr).lo, 1.5, 1e-9);
    sweepCommand(kMatchCases, s, 34);
    EXPECT_NEAR(scale(SweepQuantity::Swr).hi - scale(SweepQuantity::Swr).lo, 3.5, 1e-9);
    // Page 1's upper pane moves R and X together.
    sweepCommand(kMatchCases, s, 'I');
    const SweepScale r = scale(SweepQuantity::Resistance), x = scale(SweepQuantity::Reactance);
    sweepCommand(kMatchCases, s, 38);
    EXPECT_EQ(scale(SweepQuantity::Resistance).lo, r.lo + r.step);
    EXPECT_EQ(scale(SweepQuantity::Reactance).lo, x.lo + x.step);
    // Home: everything from the data again.
    sweepCommand(kMatchCases, s, 36);
    EXPECT_EQ(scale(SweepQuantity::Swr), swr);
    EXPECT_EQ(s.page, kPageMatch);
    EXPECT_FALSE(sweepCommand(kMatchCases, s, 'Q'));
}

TEST(SweepGraphs, PagesMessagesAndTitles) {
    SweepState s;
    const Model one = sweepModel({{14, 50, 0}});
    EXPECT_EQ(sweepMessage(one, one, one.summary, s), "Number of frequency steps less or equal one.");
    s.page = kPageGain;
    EXPECT_EQ(sweepMessage(kMatchCases, kMatchCases, kMatchCases.summary, s),
              "No single step RP card inside frequency loop");
    const Model gain = sweepModel({{14, 50, 0, 7.5}, {14.1, 40, 5, 7.0}}, true);
    EXPECT_EQ(sweepMessage(gain, gain, gain.summary, s), "");
    EXPECT_EQ(sweepTitle(gain, SweepQuantity::Gain), "Tot. gain [dB]; The= 90; Phi= 0");
    EXPECT_EQ(sweepTitle(gain, SweepQuantity::GainToMax), "Gain compared to MAX 7.50 dBi");
    EXPECT_NEAR(sweepValue(gain, SweepQuantity::GainToMax, 2), -0.5, 1e-12);
    EXPECT_EQ(sweepTitle(gain, SweepQuantity::Swr), "SWR (50 ohm)");
    EXPECT_EQ(sweepTitle(gain, SweepQuantity::ReflectionDb), "Refl coef [dB] (50 ohm)");
}

TEST(SweepGraphs, TicksAndLabels) {
    EXPECT_EQ(scaleTicks({-10, -2, 1}).size(), 9u);
    EXPECT_EQ(scaleTicks({14.0, 14.35, 0.05}).size(), 8u);
    // Zoomed far out, the grid keeps to a readable number of lines.
    EXPECT_LE(scaleTicks({-1e6, 1e6, 0.5}).size(), 26u);
    EXPECT_TRUE(scaleTicks({1, 1, 0.5}).empty());
    EXPECT_EQ(tickLabel(14.05, 0.05), "14.05");
    EXPECT_EQ(tickLabel(-2, 1), "-2");
    EXPECT_EQ(tickLabel(0.5, 0.5), "0.5");
    EXPECT_EQ(tickLabel(1e-17, 0.1), "0.0"); // no "-0.0" from rounding
}

TEST(SweepGraphs, PointerReadsTheNearestStepOfBothPanes) {
    SweepState s;
    rescaleSweep(kMatchCases, s);
    const SweepLayout l = sweepLayout(800, 600);
    ASSERT_GT(l.panes[1].top, l.panes[0].bottom());
    // A third of the way along is nearest to step 2 (14.1 MHz).
    const double x = l.panes[0].left + l.panes[0].width * 0.35;
    EXPECT_EQ(sweepPointerText(kMatchCases, s, l, x, l.panes[1].top + 5),
              "14.100 Mhz:  SWR 2.00  |  Refl coef -9.54 dB");
    EXPECT_EQ(sweepPointerText(kMatchCases, s, l, l.panes[0].left, l.panes[0].top),
              "14.000 Mhz:  SWR 1.00  |  Refl coef -inf dB");
    s.page = kPageImpedance;
    EXPECT_EQ(sweepPointerText(kMatchCases, s, l, l.panes[0].right(), l.panes[0].top),
              "14.300 Mhz:  R -10.00 ohm, X 5.00 ohm  |  Z 11.18 ohm, Phase -26.57 deg");
    EXPECT_EQ(sweepPointerText(kMatchCases, s, l, 2, 100), "");
    EXPECT_EQ(sweepPointerText(sweepModel({{14, 50, 0}}), s, l, x, 100), "");
}

} // namespace
} // namespace wavra
