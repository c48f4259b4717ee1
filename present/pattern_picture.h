// What the far-field pattern view draws, worked out without a painter: the
// cuts of the shown patterns with their lobes, and the picture as lines,
// curves and texts in drawing units (origin at the centre of the plot, x to
// the right, y upwards, the plot spanning +-(plotRadius + 20)). The
// renderer only maps these units onto its area and paints them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model.h"
#include "present/pattern_lobes.h"
#include "present/pattern_state.h"
#include "present/plot_math.h"

namespace wavra {

inline constexpr const char* kNoPatternText = "No data available or no RP card specified.";

// The cuts of every shown pattern and the marks of the selected one.
struct PatternAnalysis {
    std::vector<Cut> cuts; // pattern 1..n in order (one without comparison)
    size_t selected = 0;   // index into cuts
    FieldUnit unit;
    std::vector<Lobe> lobes;  // only with the info marks on
    bool heightGraph = false; // surface-wave mode, vertical cut: field over height
    double graphTop = 1;      // the height at the top of that graph, metres
    const Cut& selectedCut() const { return cuts[selected]; }
};
PatternAnalysis analysePattern(const Geometry& geometry, const Results& results, const PatternState& state);

// The surface-wave graph: the value's radius r (0..plotRadius) grows to the
// right, heights from 0 to `top` span the plot from bottom to top.
double heightGraphX(double r, double plotRadius);
double heightGraphY(double height, double top, double plotRadius);

// The projection of the wire structure over the plot: a vertical cut at
// azimuth phi is seen from the side (A = phi - 90, E = 90), a horizontal
// cut at theta from above the cut's plane (A = -90, E = 90 - theta; from
// below for negative theta, A = 90), with the structure's zoom.
Projection overlayProjection(int16_t plane, double cutAngle, double zoom);

struct PlotPoint {
    double x = 0, y = 0;
};
struct PlotLine {
    PlotPoint from, to;
};
struct PlotText {
    PlotPoint at; // top-left corner, or the centre when `centred`
    std::string text;
    bool marks = false; // in the small font of the marks
    bool centred = false;
};

struct PatternCurve {
    int colour = 9; // standard 16-colour palette
    std::vector<PlotPoint> points;
    bool closed = false;
};

// Texts that stay together, one line below the other, beside a point on
// the outer ring: texts[first] .. texts[first + count - 1] of the mark.
struct TextLines {
    PlotPoint anchor;
    size_t first = 0, count = 0;
};

struct LobeMark {
    PlotLine direction;             // centre to the outer ring
    std::vector<PlotLine> minus3db; // to the -3 dB points
    std::vector<PlotText> texts;    // angle, value, beamwidth, front-to-back, -3 dB angles
    std::vector<TextLines> blocks;  // the lobe's own lines first, then one per -3 dB angle
};

struct IndicatorMark {
    PlotLine direction;
    PlotPoint dot; // where the curve crosses the line
    std::vector<PlotText> texts;
};

// One pattern's label pair: its name (txtMin) and the range of its cut
// (txtMax), in the pattern's colour.
struct PatternRangeLabel {
    std::string caption, range;
    int colour = 9;
};

struct PatternLabels {
    std::string frequency; // TxtFreq
    std::string norm;      // TxtNorm
    std::string cut;       // txtCut
    std::string maxAngle;  // txtMxAng
    std::vector<PatternRangeLabel> patterns;
};

struct PatternPicture {
    bool noData = false;
    std::string title;    // "Horizontal cut", "Vertical cut", "Surface wave"
    std::string quantity; // quantity label and unit
    double plotRadius = kPlotRadius;
    bool heightGraph = false;
    std::vector<double> rings; // radii
    std::vector<PlotLine> grid;
    std::vector<PlotText> gridTexts; // scale values, angles, heights, axis letters
    std::vector<PatternCurve> curves;
    std::vector<LobeMark> lobes;
    std::optional<IndicatorMark> indicator;
    std::vector<PlotLine> structure;
    PatternLabels labels;
};
PatternPicture buildPatternPicture(const Model& model, const PatternState& state);

// The point of the selected cut under the pointer at (x, y) drawing units,
// as the status line shows it ("Phi: 45 dg  Total gain 7.35 [dB]"); empty
// when the pointer is off the plot.
std::string pointerText(const Geometry& geometry, const Results& results, const PatternState& state, double x,
                        double y);

} // namespace wavra
