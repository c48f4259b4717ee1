// The search over the chosen variables: a base run, sensitivity passes
// that measure each variable's effect on the weighted goodness, and moves
// of all variables at once along the measured directions, with the
// step-size rules that end it when no step helps any more.
//
// The search knows the engine only through SearchHost, which evaluates a
// list of trials (it may run them at the same time) and hands back their
// values in order; the search applies them one after another, so the path
// does not depend on how the trials were run.
#pragma once

#include <string>
#include <vector>

#include "optimizer/goals.h"
#include "optimizer/setup.h"

namespace wavra {

// One evaluated trial as the results grid and the log show it.
struct TrialRow {
    int run = 0;
    ParamValues values{};
    double improvement = 0;        // against the reference, a fraction
    double step = 0;               // s, a fraction
    std::vector<double> variables; // the values the trial had
};

class SearchHost {
public:
    virtual ~SearchHost() = default;
    // Evaluates the trials (each the values of the chosen variables) in
    // order. Returns the values of the trials evaluated: fewer than asked
    // when the run stops (a halt, an engine failure or an engine error
    // line, already reported).
    virtual std::vector<ParamValues> evaluate(const std::vector<std::vector<double>>& trials) = 0;
    // The trial evaluated last (the base run or a move) is the new reference.
    virtual void accept() {}
    virtual void row(const TrialRow& row) = 0;
    // The normalised sensitivities of a pass.
    virtual void sensitivities(const std::vector<double>& g) = 0;
    // The forced first phase (Increase, Decrease) is over.
    virtual void firstRunOver() {}
};

enum class SearchEnd {
    Optimized,            // "Optimized in N steps"
    NoEffect,             // "Variable(s) do not effect selected parameter."
    EfficiencyOutOfRange, // "Efficiency not in range, validate structure..."
    MissingValue,         // a weighted value the engine did not print
    Stopped,              // halted, or the engine failed (reported by the host)
};

struct SearchRules {
    double maxStep = 0.1;    // optimizerMaxStep
    double minStep = 0.0001; // optimizerMinStep
    bool absolute = false;   // optimizerAbs
    FirstRun firstRun = FirstRun::Optimize;
};

// Moves of a forced first phase that may go on getting worse before the
// phase ends anyway.
inline constexpr int kMaxForcedMoves = 20;

class Search {
public:
    // `start` holds the variables' values as written; `firstRun` numbers
    // the first evaluation.
    Search(const Goals& goals, std::vector<double> start, const SearchRules& rules, SearchHost& host, int firstRun = 1);

    SearchEnd run();

    int runs() const { return m_run - m_firstRun; }
    const std::vector<double>& accepted() const { return m_x; }
    double step() const { return m_s; }
    // The weighted parameter missing at a MissingValue end.
    size_t missing() const { return m_missing; }

private:
    enum class Pass { Moves, Repeat, Ended };

    Goals m_goals;
    std::vector<double> m_start, m_x;
    SearchRules m_rules;
    SearchHost& m_host;
    int m_firstRun, m_run;
    ParamValues m_reference{};
    double m_s = 0, m_p = 0.001; // step and perturbation, fractions
    std::vector<double> m_g, m_previousG, m_delta;
    double m_previousI = 0, m_previousS = 0;
    bool m_firstSeries = false, m_afterFailedFirstMove = false, m_forced = false;
    SearchEnd m_end = SearchEnd::Optimized;
    size_t m_missing = kParamCount;

    // Evaluates, emits the rows and checks each run; false when the search ends.
    bool evaluate(const std::vector<std::vector<double>>& trials, std::vector<double>& improvements,
                  std::vector<ParamValues>& values);
    bool checkRun(const ParamValues& values);
    Pass sensitivityPass();
    Pass noSensitivity();
    void setStep(double s);
    void forceFirstDirection();
    bool moves();
    std::vector<double> perturbed(size_t i) const;
    std::vector<double> moved() const;
    bool end(SearchEnd why);
};

} // namespace wavra
