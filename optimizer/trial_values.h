// The six values of a trial, taken from the report the reader has just
// loaded: the forward and back values come from the pattern points as the
// reader hands them over (a mean over the angular window when the
// resolution is above 0), the rest from the main window's summary.
#pragma once

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "core/model.h"
#include "optimizer/goals.h"
#include "optimizer/setup.h"
#include "report/report_reader.h"

namespace wavra {

// The mean of one pattern column over the points within a direction's
// window (theta ± d-The, phi ± d-Phi on the circle, bounds included); each
// direction counts once however often the grid holds it.
class DirectionMean {
public:
    DirectionMean(Direction centre, Direction width, size_t column)
        : m_centre(centre), m_width(width), m_column(column) {}
    void add(double theta, double phi, const std::array<double, 5>& values);
    // NaN when no point fell within the window.
    double mean() const { return m_count > 0 ? m_sum / static_cast<double>(m_count) : std::nan(""); }

private:
    Direction m_centre, m_width;
    size_t m_column;
    double m_sum = 0;
    long m_count = 0;
    std::set<std::pair<long long, long long>> m_seen;
};

// What the optimizer takes from one report read: the forward and back
// values and whether the engine printed an error line.
class TrialHooks : public ReportHooks {
public:
    explicit TrialHooks(const OptimizerSetup& setup);
    void engineError(const std::string& message) override;
    void patternPoint(double theta, double phi, const std::array<double, 5>& values) override;

    bool engineFailed() const { return m_error; }
    double forward() const { return m_forward.mean(); }
    double back() const { return m_back.mean(); }

private:
    DirectionMean m_forward, m_back;
    bool m_error = false;
};

// The six values: SWR against z0, the forward value, F/B = forward minus
// back, R and X of the first frequency, the efficiency (NaN where missing).
ParamValues trialValues(const Model& model, const TrialHooks& hooks);

} // namespace wavra
