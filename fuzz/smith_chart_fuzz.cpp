// Feeds arbitrary bytes as a Smith chart file (exe/smith.dat). Beyond not
// crashing: the limits of the reader hold (100 grid values, ruler positions
// on the ruler), and every line of the grid built from it is finite and
// stays on the chart, normalised and in ohms alike.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "present/smith_chart.h"

using namespace wavra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SmithChartFile chart = parseSmithChart(std::string_view(reinterpret_cast<const char*>(data), size));
    if (chart.grid.size() > kMaxChartGridLines) std::abort();
    for (const ChartRuler& r : chart.rulers) {
        if (r.ticks.size() > kMaxRulerTicks) std::abort();
        for (const RulerTick& t : r.ticks)
            if (!(t.position >= 0 && t.position <= 1)) std::abort();
    }
    for (bool normalised : {false, true}) {
        const ChartGrid grid = chartGrid(chart, 50, normalised);
        for (const ChartCurve& c : grid.curves)
            for (ChartPoint p : c.points)
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::hypot(p.x, p.y) > 1 + 1e-9) std::abort();
        for (const ChartLabel& l : grid.labels)
            if (!std::isfinite(l.at.x) || !std::isfinite(l.at.y)) std::abort();
    }
    return 0;
}
