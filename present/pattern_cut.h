// The planar cuts of the far-field grid (its points are indexed in
// report/far_field_grid.h): the points of a horizontal or vertical cut with
// their directions in the plot, and the keys that move the cut and the
// cursor.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/model.h"
#include "present/pattern_state.h"
#include "report/far_field_grid.h"

namespace wavra {

// The theta and phi index of the largest value of pattern k (0 without
// comparison; the first such point when several share it); nullopt when no
// point holds a number.
struct GridIndex {
    int16_t theta = 1, phi = 1;
};
std::optional<GridIndex> maximumIndex(const Geometry& geometry, const Results& results, const PatternState& state,
                                      int pattern);

// The frequency index of a frequency loop of cuts (the theta index for
// horizontal cuts, the phi index for vertical ones); 0 outside such a loop.
int frequencyIndex(const Results& results, const PatternViewState& view);

struct CutPoint {
    int point = 0;         // row of farFieldAngles and farFieldGains
    double angle = 0;      // phi (horizontal cut) or theta (vertical cut), degrees
    double ux = 0, uy = 1; // the direction in the plot (x right, y up)
    double value = 0;      // after normalisation
    double height = 0;     // surface-wave mode: the height of the field point, metres
};

struct Cut {
    int16_t plane = kVerticalCut;
    double angle = 0; // theta (horizontal cut) or phi (vertical cut) of the cut
    std::vector<CutPoint> points;
    // The cut goes once round the plot: its last point is followed by its
    // first. `duplicateEnd`: the last point repeats the first direction
    // (phi 0 and 360).
    bool closed = false;
    bool duplicateEnd = false;
    // The points that stand for different directions.
    size_t ringSize() const { return points.size() - (duplicateEnd ? 1 : 0); }
};

// The cut of pattern k (0 without comparison) at the view's theta or phi
// index. In a horizontal cut phi is measured counter-clockwise from +x, and
// a point with negative theta is mirrored (it counts at 540 - phi); in a
// vertical cut theta is 0 at the top and 90 on the right.
Cut extractCut(const Geometry& geometry, const Results& results, const PatternState& state, int pattern);

// The lowest and the highest value of a cut, and where the highest lies
// (the middle of a flat top); nullopt for an empty cut.
struct CutRange {
    double lowest = 0, highest = 0;
    size_t highestAt = 0;
};
std::optional<CutRange> cutRange(const Cut& cut);

// The arrow keys: the next or previous frequency in a frequency loop of
// cuts (at most the last), the next or previous cut of the other angle
// (phi in a vertical cut, at most the last; theta in a horizontal cut, at
// most the last) and the cursor along the cut (theta in a vertical cut and
// phi in a horizontal one, wrapping round). False for any other code.
bool moveCursor(PatternViewState& view, const Geometry& geometry, const Results& results, int16_t code);

// The point of a cut nearest the pointer at (x, y) drawing units: by
// direction in the polar plot, by height in the surface-wave graph; nullopt
// outside the plot or for an empty cut.
std::optional<size_t> nearestCutPoint(const Cut& cut, double x, double y, double plotRadius, bool heightGraph,
                                      double graphTop);

} // namespace wavra
