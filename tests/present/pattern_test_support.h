// Far-field grids made up for the pattern view's tests: a model whose
// pattern holds the given theta and phi values (theta varying fastest, as the
// engine prints them) with values from a function of the direction.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "core/config.h"
#include "core/model.h"
#include "present/pattern_state.h"

namespace wavra::test {

using PatternValues = std::function<std::array<double, 5>(double theta, double phi)>;

// Every quantity the same value: gains in dB and fields alike.
inline PatternValues allColumns(std::function<double(double theta, double phi)> f) {
    return [f](double t, double p) {
        const double v = f(t, p);
        return std::array<double, 5>{v, v, v, v, v};
    };
}

inline std::vector<double> range(double start, double stop, double step) {
    std::vector<double> values;
    for (double v = start; v <= stop + 1e-9; v += step) values.push_back(v);
    return values;
}

inline Model gridModel(const std::vector<double>& thetas, const std::vector<double>& phis, const PatternValues& f) {
    Model m;
    m.requestMode = 0;
    m.requestCount[1] = static_cast<int16_t>(thetas.size());
    m.requestCount[2] = static_cast<int16_t>(phis.size());
    size_t i = 0;
    for (double phi : phis)
        for (double theta : thetas) {
            ++i;
            m.farFieldAngles[i] = {theta, phi};
            m.farFieldGains[i] = f(theta, phi);
            for (size_t k = 0; k < 5; ++k)
                m.patternMax[k + 1] =
                    i == 1 ? m.farFieldGains[i][k] : std::max(m.patternMax[k + 1], m.farFieldGains[i][k]);
        }
    m.patternCount = static_cast<int16_t>(i);
    return m;
}

// A state opened on the model, with the plane given.
inline PatternState openedOn(Model& m, int16_t plane) {
    PatternState s;
    openPatternView(s, m, m, m, m);
    s.view.cutPlane = plane;
    return s;
}

} // namespace wavra::test
