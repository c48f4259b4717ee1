#include "present/pattern_compare.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "report/report_reader.h"

namespace wavra {

namespace {

// The values of one quantity over the whole grid, with their largest.
ComparedPattern columnOf(const Model& m, int quantity, const std::string& name) {
    ComparedPattern c;
    c.name = name;
    c.values.assign(static_cast<size_t>(m.patternCount) + 1, 0.0);
    const size_t column = static_cast<size_t>(std::clamp(quantity, 1, kQuantityCount) - 1);
    for (int i = 1; i <= m.patternCount; ++i) {
        const double v = m.farFieldGains[static_cast<size_t>(i)][column];
        c.values[static_cast<size_t>(i)] = v;
        c.max = i == 1 ? v : std::max(c.max, v);
    }
    return c;
}

} // namespace

bool canAddPattern(const PatternState& s, const Model& m) {
    return m.sweepPatternAxis == 0 && m.patternCount >= 1 &&
           static_cast<int>(s.window.compared.size()) < kMaxComparedPatterns;
}

bool sameGrid(const Model& a, const Model& b) {
    if (a.patternCount != b.patternCount || a.patternCount < 1 || a.requestCount[1] != b.requestCount[1] ||
        a.requestCount[2] != b.requestCount[2] || surfaceWaveMode(a) != surfaceWaveMode(b))
        return false;
    for (int i = 1; i <= a.patternCount; ++i) {
        const auto &p = a.farFieldAngles[static_cast<size_t>(i)], &q = b.farFieldAngles[static_cast<size_t>(i)];
        if (std::fabs(p[0] - q[0]) > 1e-6 || std::fabs(p[1] - q[1]) > 1e-6) return false;
    }
    return true;
}

void addComparedPattern(PatternState& s, const Model& m, Ui& ui) {
    if (!canAddPattern(s, m)) return;
    const auto choice = ui.openFile({"Open file", "Filename", m.modelDir, "", "*" + toLower(m.modelExt)});
    if (!choice) return;
    // The other report is read into a copy of the model store (same
    // settings and capacities), so the current model stays as it is.
    Model other = m;
    other.modelName = choice->name;
    if (!readOutput(other, ui, ".out")) {
        ui.message("No output file available for: " + choice->name + choice->ext);
        return;
    }
    if (!sameGrid(m, other)) {
        ui.message("Start, count or stepsize on RP cards do not match.");
        return;
    }
    PatternWindowState& w = s.window;
    if (w.compared.empty()) {
        w.compareQuantity = s.view.patternQuantity;
        w.compared.push_back(columnOf(m, w.compareQuantity, m.modelName));
        w.selectedPattern = 1;
    }
    w.compared.push_back(columnOf(other, w.compareQuantity, choice->name));
    // No normalisation while comparing; the scale grows to the new pattern.
    if (w.normMode != 0 || w.compared.back().max > w.scale.max) initialiseScale(s, m);
}

void removeComparedPatterns(PatternState& s) {
    s.window.compared.clear();
    s.window.selectedPattern = 1;
}

} // namespace wavra
