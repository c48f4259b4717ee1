// Feeds arbitrary bytes as a Smith chart file (exe/smith.dat). Beyond not
// crashing: the limits of the reader hold (100 grid values, ruler positions
// on the ruler), and every line of the grid built from it is finite and
// stays on the chart. The grid's curves are the same normalised and in ohms
// (only the labels differ) and tracing them is most of a run, so the length
// of the input chooses which of the two is built.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "present/smith_chart.h"

using namespace wavra;

namespace {

// The check walks every point of the grid; left out of the coverage
// instrumentation, as it adds no paths of its own and took half the run.
__attribute__((no_sanitize("coverage"))) bool gridOnChart(const ChartGrid& grid) {
    constexpr double kRim = (1 + 1e-9) * (1 + 1e-9);
    for (const ChartCurve& c : grid.curves)
        for (ChartPoint p : c.points)
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || p.x * p.x + p.y * p.y > kRim) return false;
    for (const ChartLabel& l : grid.labels)
        if (!std::isfinite(l.at.x) || !std::isfinite(l.at.y)) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SmithChartFile chart = parseSmithChart(std::string_view(reinterpret_cast<const char*>(data), size));
    if (chart.grid.size() > kMaxChartGridLines) std::abort();
    for (const ChartRuler& r : chart.rulers) {
        if (r.ticks.size() > kMaxRulerTicks) std::abort();
        for (const RulerTick& t : r.ticks)
            if (!(t.position >= 0 && t.position <= 1)) std::abort();
    }
    if (!gridOnChart(chartGrid(chart, 50, size % 2 == 1))) std::abort();
    return 0;
}
