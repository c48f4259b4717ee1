#include "optimizer/search.h"

#include <algorithm>
#include <cmath>

#include "optimizer/sy_lines.h"

namespace wavra {

namespace {

constexpr double kSignificant = 1e-7;
constexpr double kPerturbationLimit = 0.1;

bool outsideEfficiency(double eff) { return !std::isnan(eff) && (eff < 0 || eff > 100); }

} // namespace

Search::Search(const Goals& goals, std::vector<double> start, const SearchRules& rules, SearchHost& host, int firstRun)
    : m_goals(goals), m_start(start), m_x(std::move(start)), m_rules(rules), m_host(host), m_firstRun(firstRun),
      m_run(firstRun) {
    m_g.assign(m_x.size(), 0);
    m_previousG.assign(m_x.size(), 0);
    m_delta.assign(m_x.size(), 0);
    m_forced = rules.firstRun == FirstRun::Increase || rules.firstRun == FirstRun::Decrease;
}

bool Search::end(SearchEnd why) {
    m_end = why;
    return false;
}

bool Search::checkRun(const ParamValues& values) {
    if (outsideEfficiency(values[kEfficiency])) return end(SearchEnd::EfficiencyOutOfRange);
    m_missing = m_goals.missingWeighted(values);
    if (m_missing != kParamCount) return end(SearchEnd::MissingValue);
    return true;
}

bool Search::evaluate(const std::vector<std::vector<double>>& trials, std::vector<double>& improvements,
                      std::vector<ParamValues>& values) {
    values = m_host.evaluate(trials);
    improvements.clear();
    for (size_t i = 0; i < values.size(); ++i) {
        const bool base = m_run == m_firstRun;
        if (base) m_goals.fixFieldFactor(values[i][kGain]);
        const double improvement = base ? 0 : m_goals.improvement(m_reference, values[i]);
        m_host.row({m_run++, values[i], improvement, m_s, trials[i]});
        if (!checkRun(values[i])) return false;
        improvements.push_back(improvement);
    }
    return values.size() == trials.size() || end(SearchEnd::Stopped);
}

SearchEnd Search::run() {
    std::vector<double> improvements;
    std::vector<ParamValues> values;
    if (!evaluate({m_x}, improvements, values)) return m_end;
    m_reference = values[0];
    m_host.accept();
    for (;;) {
        const Pass pass = sensitivityPass();
        if (pass == Pass::Ended) return m_end;
        if (pass == Pass::Repeat) continue;
        if (!moves()) return m_end;
    }
}

std::vector<double> Search::perturbed(size_t i) const {
    std::vector<double> x = m_x;
    // Absolute steps: the perturbation is p times the starting value, as a
    // move is s times it.
    x[i] = heldValue(m_rules.absolute ? x[i] + m_p * m_start[i] : x[i] * (1 + m_p));
    return x;
}

std::vector<double> Search::moved() const {
    std::vector<double> x = m_x;
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = heldValue(m_rules.absolute ? x[i] + m_g[i] * m_delta[i] : x[i] * (1 + m_s * m_g[i]));
    return x;
}

void Search::setStep(double s) {
    m_s = s;
    for (size_t i = 0; i < m_delta.size(); ++i) m_delta[i] = s * m_start[i];
}

void Search::forceFirstDirection() {
    if (!m_forced || m_g.empty()) return;
    if (m_rules.firstRun == FirstRun::Increase) m_g[0] = std::fabs(m_g[0]);
    else m_g[0] = -std::fabs(m_g[0]);
}

Search::Pass Search::sensitivityPass() {
    std::vector<std::vector<double>> trials;
    for (size_t i = 0; i < m_x.size(); ++i) trials.push_back(perturbed(i));
    std::vector<double> g;
    std::vector<ParamValues> values;
    if (!evaluate(trials, g, values)) return Pass::Ended;
    double sum = 0;
    for (double v : g) sum += std::fabs(v);
    if (sum < kSignificant) return noSensitivity();
    const double n = static_cast<double>(g.size());
    for (double& v : g) v /= sum / n;
    m_g = g;
    forceFirstDirection();
    m_host.sensitivities(m_g);
    if (m_s == 0) {
        setStep(std::min(m_rules.maxStep, 0.0001 / sum));
        m_firstSeries = true;
    } else {
        m_firstSeries = false;
        bool allFlipped = true;
        for (size_t i = 0; i < m_g.size(); ++i) allFlipped = allFlipped && m_g[i] * m_previousG[i] < 0;
        if (!m_afterFailedFirstMove && allFlipped) setStep(m_s / 4);
    }
    for (size_t i = 0; i < m_g.size(); ++i)
        if (m_g[i] != 0) m_previousG[i] = m_g[i];
    return Pass::Moves;
}

// A pass that found no effect: the perturbation grows to 10 % (or to the
// largest step when that is smaller, as it cannot grow past it).
Search::Pass Search::noSensitivity() {
    if (m_p >= kPerturbationLimit || m_p >= m_rules.maxStep) {
        end(SearchEnd::NoEffect);
        return Pass::Ended;
    }
    if (m_s > 0 && m_p >= m_s) {
        end(SearchEnd::Optimized);
        return Pass::Ended;
    }
    m_p = std::min(m_rules.maxStep, 4 * m_p);
    return Pass::Repeat;
}

// Moves along the directions until one fails; false when the search ends.
bool Search::moves() {
    int forcedMoves = 0;
    for (bool first = true;; first = false) {
        if (m_s < m_rules.minStep) return end(SearchEnd::Optimized);
        const std::vector<double> x = moved();
        std::vector<double> improvements;
        std::vector<ParamValues> values;
        const double used = m_s;
        if (!evaluate({x}, improvements, values)) return false;
        const double I = improvements[0];
        if (I >= kSignificant || m_forced) {
            m_reference = values[0];
            m_x = x;
            m_host.accept();
            if (m_forced && (I >= kSignificant || ++forcedMoves >= kMaxForcedMoves)) {
                // The forced phase is over: the optimization starts afresh from here.
                m_forced = false;
                m_host.firstRunOver();
                setStep(0);
                m_afterFailedFirstMove = false;
                return true;
            }
            if (m_forced) continue;
            if (m_firstSeries && m_previousI != 0 && m_previousS > 0) {
                const double r = (std::fabs(I) / used) / (std::fabs(m_previousI) / m_previousS);
                if (r > 0.5 && r < 2) setStep(std::min(m_rules.maxStep, 2 * m_s));
            }
            m_previousI = I;
            m_previousS = used;
            continue;
        }
        if (first) {
            if (m_s <= 10 * m_rules.minStep) return end(SearchEnd::Optimized);
            setStep(m_s / 5);
        } else {
            const double k = std::floor(-I / m_previousI);
            if (k >= 3) setStep(m_s / std::min(2 * k, 5.0));
        }
        m_afterFailedFirstMove = first;
        m_p = std::min(m_s, m_p);
        return true;
    }
}

} // namespace wavra
