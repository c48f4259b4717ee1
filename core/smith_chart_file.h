// The chart file of the Smith chart background: exe/smith.dat (fine grid)
// or exe/smith1.dat (coarse grid, setting SMITH nonzero). One item a line,
// fields separated by tabs:
//   Z <tab> g <tab> lo <tab> hi     a grid value: the resistance circle r = g
//                                   and the reactance arcs x = +-g, drawn
//                                   where the other coordinate lies within
//                                   lo ... |hi|; a negative hi draws a light,
//                                   unlabelled line. At most 100 are read.
//   SWR <tab> v,p <tab> v,p ...     a ruler under the chart (SWR, SDB, RHO,
//                                   RHP, RFL, RTL, ATT): ruler value v at the
//                                   distance p (0 ... 1 chart radius) from the
//                                   centre line; the list ends at the first
//                                   missing item.
// Every other line is ignored; an apostrophe starts a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"

namespace wavra {

inline constexpr size_t kMaxChartGridLines = 100;
inline constexpr size_t kMaxRulerTicks = 200;

struct ChartGridLine {
    double value = 0, lo = 0, hi = 0;
    bool light() const { return hi < 0; }
    double bound() const { return hi < 0 ? -hi : hi; }
};

enum class RulerKind { Swr, SwrDb, VoltageReflection, PowerReflection, ReflectionLoss, ReturnLoss, Attenuation };

struct RulerTick {
    double value = 0;
    double position = 0; // distance from the chart's centre line, in chart radii
    std::string text;    // the value as the file writes it
};

struct ChartRuler {
    RulerKind kind = RulerKind::Swr;
    std::vector<RulerTick> ticks;
};

struct SmithChartFile {
    std::vector<ChartGridLine> grid; // in file order
    std::vector<ChartRuler> rulers;  // one per kind; a later line replaces an earlier one
};

// How a ruler is drawn: its name in the file, its caption (two lines, the
// first farther from the ruler line), ticks up or down, the half of the
// chart it covers (+1 right, -1 left) and its height below the centre.
struct RulerStyle {
    RulerKind kind;
    const char* name;
    const char* caption1;
    const char* caption2;
    bool upward;
    int side;
    double height;
};
const std::vector<RulerStyle>& rulerStyles();
const RulerStyle& rulerStyle(RulerKind kind);

// Reads a chart file's text; any bytes give a chart (values that cannot be
// drawn, such as negative or infinite grid values and ruler positions off
// the ruler, are left out).
SmithChartFile parseSmithChart(std::string_view text);

// The chart file the settings choose, relative to the install directory.
std::string smithChartFileName(const Model& model);
// Reads installDir + the chart file; false when it cannot be opened.
bool loadSmithChart(const Model& model, SmithChartFile& chart);

} // namespace wavra
