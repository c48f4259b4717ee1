// The search's step rules on scripted trials: the host turns the
// improvement each evaluation is to have into an SWR value against the
// reference the search holds, so every rule can be met exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>

#include "optimizer/search.h"

namespace wavra {
namespace {

// SWR weight 1000 (percent 100000): an improvement I is 1000 x the relative
// goodness change, so improvements up to about 10 stay in range.
constexpr double kWeight = 1000;

// The scripted SWR values carry the improvements with rounding noise.
#define EXPECT_CLOSE(a, b) EXPECT_NEAR(a, b, 1e-7 * std::fabs(b))
constexpr double kBaseSwr = 2;

double goodnessOfSwr(double swr) { return 10000 - (swr - 1) * 9999 / 99; }
double swrOfGoodness(double g) { return 1 + (10000 - g) * 99 / 9999; }

class ScriptedHost : public SearchHost {
public:
    std::deque<double> improvements; // one per evaluation after the base run; empty: the run stops
    std::vector<TrialRow> rows;
    std::vector<std::vector<double>> passes;
    int firstRunOverCalls = 0;
    double efficiencyOfNext = 50;

    std::vector<ParamValues> evaluate(const std::vector<std::vector<double>>& trials) override {
        std::vector<ParamValues> out;
        for (size_t i = 0; i < trials.size(); ++i) {
            ParamValues v{};
            v.fill(std::nan(""));
            v[kEfficiency] = efficiencyOfNext;
            if (!m_baseDone) {
                v[kSwr] = kBaseSwr;
                m_baseDone = true;
            } else {
                if (improvements.empty()) return out;
                const double I = improvements.front();
                improvements.pop_front();
                v[kSwr] = swrOfGoodness(goodnessOfSwr(m_reference) * (1 + I / kWeight));
            }
            m_last = v[kSwr];
            out.push_back(v);
        }
        return out;
    }
    void accept() override { m_reference = m_last; }
    void row(const TrialRow& r) override { rows.push_back(r); }
    void sensitivities(const std::vector<double>& g) override { passes.push_back(g); }
    void firstRunOver() override { ++firstRunOverCalls; }

private:
    bool m_baseDone = false;
    double m_reference = kBaseSwr, m_last = kBaseSwr;
};

Goals swrGoals() {
    Goals g;
    g.weights[kSwr] = kWeight;
    return g;
}

struct SearchRun {
    ScriptedHost host;
    SearchEnd end{};
    double step = 0;
    std::vector<double> accepted;

    SearchRun(std::vector<double> start, std::deque<double> script, SearchRules rules = {}) {
        host.improvements = std::move(script);
        Search search(swrGoals(), std::move(start), rules, host);
        end = search.run();
        step = search.step();
        accepted = search.accepted();
    }
    double stepOfRun(int run) const { return host.rows.at(static_cast<size_t>(run - 1)).step; }
};

TEST(SearchTest, AVariableWithoutEffectEndsOnceThePerturbationHasGrownToTenPercent) {
    SearchRun r({2.0}, {0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(r.end, SearchEnd::NoEffect);
    // Base run, then one pass per perturbation 0.1 %, 0.4 %, 1.6 %, 6.4 %, 10 %.
    ASSERT_EQ(r.host.rows.size(), 6u);
    const double expected[] = {2.002, 2.008, 2.032, 2.128, 2.2};
    for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(r.host.rows[i + 1].variables[0], expected[i], 1e-12);
}

TEST(SearchTest, APerturbationThatCannotGrowPastTheLargestStepEndsTooInsteadOfRunningForEver) {
    SearchRules rules;
    rules.maxStep = 0.02;
    SearchRun r({1.0}, std::deque<double>(10, 0.0), rules);
    EXPECT_EQ(r.end, SearchEnd::NoEffect);
    EXPECT_EQ(r.host.rows.size(), 5u); // 0.1 %, 0.4 %, 1.6 %, 2 %
}

TEST(SearchTest, AFailedFirstMoveEndsWhenTheStepIsAtMostTenTimesTheFinalStep) {
    // S = 0.125 gives s = 0.0001 / 0.125 = 0.0008.
    SearchRun r({1.0}, {0.125, -0.5});
    EXPECT_EQ(r.end, SearchEnd::Optimized);
    EXPECT_EQ(r.host.rows.size(), 3u);
    EXPECT_CLOSE(r.stepOfRun(3), 0.0008);
    EXPECT_EQ(r.accepted, std::vector<double>{1.0});
}

TEST(SearchTest, AFailedFirstMoveWithALargerStepDividesItByFiveAndMeasuresAgain) {
    // S = 0.002 gives s = 0.05; the failed move makes it 0.01 and p stays 0.001.
    SearchRun r({1.0}, {0.002, -0.5, 0.002});
    EXPECT_EQ(r.end, SearchEnd::Stopped);
    EXPECT_CLOSE(r.step, 0.01);
    ASSERT_EQ(r.host.rows.size(), 4u);
    EXPECT_CLOSE(r.host.rows[3].variables[0], 1.001);
}

TEST(SearchTest, ASignFlipOfEveryVariableDividesTheStepByFour) {
    // s = 0.05; one accepted move, a mildly worse one (k = 0: s stays), then
    // every sensitivity turns round.
    SearchRun flipped({1.0, 2.0}, {0.001, 0.001, 0.5, -0.1, -0.001, -0.002});
    EXPECT_CLOSE(flipped.step, 0.0125);
    SearchRun partly({1.0, 2.0}, {0.001, 0.001, 0.5, -0.1, -0.001, 0.002});
    EXPECT_CLOSE(partly.step, 0.05);
}

TEST(SearchTest, AMuchWorseLaterMoveDividesTheStepByFive) {
    // k = int(1.6 / 0.5) = 3.
    SearchRun r({1.0}, {0.002, 0.5, -1.6});
    EXPECT_CLOSE(r.step, 0.01);
}

TEST(SearchTest, SteadyImprovementsDoubleTheStepDuringTheFirstMoves) {
    SearchRun steady({1.0}, {0.002, 0.5, 0.5, 0.1});
    EXPECT_CLOSE(steady.stepOfRun(3), 0.05);
    EXPECT_CLOSE(steady.stepOfRun(5), 0.1); // r = 1 after the second move
    SearchRun slowing({1.0}, {0.002, 0.5, 0.2, 0.1});
    EXPECT_CLOSE(slowing.stepOfRun(5), 0.05); // r = 0.4
    // Moves go on from the accepted values: 1 x 1.05, then x 1.05 again.
    EXPECT_NEAR(slowing.host.rows[3].variables[0], 1.1025, 1e-12);
}

TEST(SearchTest, AbsoluteStepsMoveBySTimesTheStartingValuePerUnitDirection) {
    SearchRules rules;
    rules.absolute = true;
    SearchRun r({4.0, 10.0}, {0.001, -0.003, 0.5}, rules);
    // S = 0.004: s = 0.025; directions +0.5 and -1.5; sensitivity trials add p x start.
    EXPECT_CLOSE(r.host.rows[1].variables[0], 4.004);
    EXPECT_CLOSE(r.host.rows[2].variables[1], 10.01);
    EXPECT_CLOSE(r.host.rows[3].variables[0], 4 + 0.5 * 0.025 * 4);
    EXPECT_CLOSE(r.host.rows[3].variables[1], 10 - 1.5 * 0.025 * 10);
    ASSERT_EQ(r.host.passes.size(), 1u);
    EXPECT_CLOSE(r.host.passes[0][0], 0.5);
}

TEST(SearchTest, IncreaseTurnsTheFirstDirectionUpAndKeepsMovingThroughWorseResults) {
    SearchRules rules;
    rules.firstRun = FirstRun::Increase;
    SearchRun r({1.0}, {-0.002, -0.1, -0.1, 0.3, 0.002}, rules);
    ASSERT_EQ(r.host.passes.size(), 2u);
    EXPECT_GT(r.host.passes[0][0], 0);
    // Each worse move was taken: 1.05, 1.1025, then the better 1.157625 ends the phase.
    EXPECT_NEAR(r.host.rows[2].variables[0], 1.05, 1e-12);
    EXPECT_NEAR(r.host.rows[3].variables[0], 1.1025, 1e-12);
    EXPECT_EQ(r.host.firstRunOverCalls, 1);
    // The step starts again from 0: the next pass sets it afresh, at the new place.
    EXPECT_NEAR(r.host.rows[5].variables[0], 1.157625 * 1.001, 1e-9);
    EXPECT_CLOSE(r.host.rows[5].step, 0);
}

TEST(SearchTest, DecreaseTurnsAPositiveFirstDirectionDown) {
    SearchRules rules;
    rules.firstRun = FirstRun::Decrease;
    SearchRun r({1.0, 3.0}, {0.002, 0.002, 0.5}, rules);
    ASSERT_FALSE(r.host.passes.empty());
    EXPECT_LT(r.host.passes[0][0], 0);
    EXPECT_GT(r.host.passes[0][1], 0);
    EXPECT_LT(r.host.rows[3].variables[0], 1.0);
}

TEST(SearchTest, ARunWithAnEfficiencyOutsideZeroToHundredEndsTheSearch) {
    ScriptedHost host;
    host.efficiencyOfNext = 100.5;
    Search search(swrGoals(), {1.0}, {}, host);
    EXPECT_EQ(search.run(), SearchEnd::EfficiencyOutOfRange);
    EXPECT_EQ(host.rows.size(), 1u);
}

TEST(SearchTest, AWeightedValueTheEngineDidNotPrintEndsTheSearch) {
    ScriptedHost host;
    Goals goals = swrGoals();
    goals.weights[kGain] = 1;
    Search search(goals, {1.0}, {}, host);
    EXPECT_EQ(search.run(), SearchEnd::MissingValue);
    EXPECT_EQ(search.missing(), kGain);
}

} // namespace
} // namespace wavra
