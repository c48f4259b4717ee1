// The far-field pattern drawn around the wire structure as a 3-D wire frame:
// the pattern grid as the report reader stored it, the radius of each point
// on the lin-log scale, and the grid lines of the three grid types.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/model.h"
#include "present/plot_math.h"

namespace wavra {

// The points of one pattern on a theta x phi grid, theta varying fastest:
// point (t, p) is (p - 1) * thetaCount + t, counted from 1.
struct PatternGrid {
    int thetaCount = 0, phiCount = 0;
    std::span<const std::array<double, 2>> angles; // theta, phi of each point
    std::span<const std::array<double, 5>> values; // farFieldGains
    std::array<double, 6> largest{};               // patternMax [1..5]

    bool empty() const { return thetaCount < 1 || phiCount < 1; }
    size_t point(int t, int p) const {
        return static_cast<size_t>(p - 1) * static_cast<size_t>(thetaCount) + static_cast<size_t>(t);
    }
};

// The pattern of the model store; empty without far-field points and for a
// surface-wave request, whose table holds heights, not angles. Of a
// frequency loop's cut patterns the first frequency's cut is taken. The grid
// never reaches beyond the loaded points.
PatternGrid patternGridOf(const Geometry& geometry, const Results& results);

// The value at the centre of the 3-D pattern: for the gains the lowest level
// of the chosen scale (minLinearDb or minLogDb), lowered with a largest gain
// below 0 dB so that the pattern keeps the same depth; for the field
// strengths 0.
double patternLowerLimit(const Settings& settings, const Results& results, int quantity);

struct PatternStyle {
    int quantity = 3;    // column 1..5 of farFieldGains
    double lower = -24;  // value drawn at the centre
    double factor = 0.8; // linLogFactor
    double size = 117.6; // radius of the largest value, drawing units
    int gridType = 1;    // 1 theta rings and phi meridians, 2 rings only, 3 meridians only
    int lineStep = 1;    // every lineStep-th ring and meridian is drawn
};

// The grid as curves through projected points: every ring and meridian is
// one curve of point numbers. Kept between redraws, so that a dense pattern
// is not allocated anew for every picture.
struct PatternMesh {
    std::vector<double> x, y, fraction; // point i (from 1): drawing units, radius fraction
    std::vector<uint32_t> points;       // the curves' point numbers, one curve after another
    std::vector<size_t> curveEnds;      // one past the last entry of each curve in `points`

    size_t segmentCount() const { return points.size() - curveEnds.size(); }
};

// The radius fraction of point `point` (from 1): scaleRadius(lower,
// largest, max(value, lower), factor) of the style's quantity.
double patternFraction(const PatternGrid& grid, const PatternStyle& style, size_t point);

// True when one more phi step after the last comes back to the first, so
// the rings close.
bool phiGoesRound(const PatternGrid& grid);

// Each point (theta, phi) lies at radius f * size in its direction, with
// f = scaleRadius(lower, largest, max(value, lower), factor), projected by
// `projection`. Rings run through the phi points of every lineStep-th theta
// row (closed when the phi points go once round), meridians through the
// theta points of every lineStep-th phi column.
void buildPatternMesh(const PatternGrid& grid, const PatternStyle& style, const Projection& projection,
                      PatternMesh& mesh);

// The label of the quantity shown: "Vertical gain [dB]", "Horizontal gain
// [dB]", "Total gain [dB]", "E (theta) [V/m]", "E (phi) [V/m]".
std::string patternQuantityLabel(int quantity);

} // namespace wavra
