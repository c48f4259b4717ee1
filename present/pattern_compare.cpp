#include "present/pattern_compare.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "report/report_reader.h"

namespace wavra {

namespace {

// The values of one quantity over the whole grid, with their largest.
ComparedPattern columnOf(const Results& m, int quantity, const std::string& name) {
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

bool canAddPattern(const PatternState& s, const Results& results) {
    return results.sweepPatternAxis == 0 && results.patternCount >= 1 &&
           static_cast<int>(s.window.compared.size()) < kMaxComparedPatterns;
}

bool sameGrid(const Geometry& requestA, const Results& a, const Geometry& requestB, const Results& b) {
    const auto surfaceWave = [](const Geometry& g) { return g.requestMode == kSurfaceWaveRequest; };
    if (a.patternCount != b.patternCount || a.patternCount < 1 ||
        requestA.requestCount[1] != requestB.requestCount[1] || requestA.requestCount[2] != requestB.requestCount[2] ||
        surfaceWave(requestA) != surfaceWave(requestB))
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
    // The other report is read into parts of its own, sized as the current
    // model's tables, so the current model stays as it is.
    Geometry request = m;
    Results other = m;
    Summary summary;
    ModelFile file = m;
    file.modelName = choice->name;
    if (!readOutputShown({request, other, summary, m, file, nullptr, nullptr, {}}, ui, ".out")) {
        ui.message("No output file available for: " + choice->name + choice->ext);
        return;
    }
    if (!sameGrid(m, m, request, other)) {
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
