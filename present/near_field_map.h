// The near-field view: the field of an NE or NH request on one plane of its
// grid of points, as a colour map or as a graph along one line of the plane.
// Everything the view draws is worked out here: the planes and the
// positions that fix them, the component and its unit (V/m or A/m), the
// cut-off of hot spots, the lin-log factor of the colour and graph scale,
// the map cells with their ramp colours, the legend and the graph.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "present/pattern_scale.h"

namespace wavra {

inline constexpr const char* kNoNearFieldText = "No data available or no HE/NH card specified.";
inline constexpr const char* kNearRangeMessage = "Unable to display pattern, Start and Stop are equal.";
// The cut-off that clips nothing.
inline constexpr double kNoCutoff = 1000000;
inline constexpr double kLinearNearFactor = 0.5, kMostLogNearFactor = 0.1;

// The planes, numbered as the view steps through them with the space bar.
inline constexpr int16_t kPlaneXY = 1, kPlaneXZ = 2, kPlaneYZ = 3;
// The components (patternQuantity of the near field).
inline constexpr int16_t kComponentTotal = 4;

// Axes are numbered 0 x, 1 y, 2 z.
struct PlaneAxes {
    int across; // drawn to the right
    int up;     // drawn upwards
    int fixed;  // its position selects the plane
};
PlaneAxes planeAxes(int16_t plane);

// Kept between calls; set up on the first call after a model load.
struct NearFieldState {
    int16_t plane = kPlaneXY;
    std::array<int16_t, 3> position{1, 1, 1}; // coordinate index along x, y, z
    bool map2D = true;                        // colour map, else the graph
    double logFactor = kLinearNearFactor;     // 0.1 .. 0.5; 0.5 linear
    double cutoff = kNoCutoff;                // values above it are shown as it
    bool showStructure = false;
    int16_t component = kComponentTotal; // 1 x, 2 y, 3 z, 4 total
    uint32_t loadSerial = 0;
    bool initialised = false;
};

// Field points loaded (nearFieldCount within the table).
int nearPointCount(const Results& results, const Summary& summary);
bool hasNearField(const Geometry& geometry, const Results& results, const Summary& summary);
// Coordinates along an axis: the request's count, at least 1.
int nearAxisCount(const Geometry& geometry, int axis);
// The row of the point with coordinate indices (1-based, x fastest as the
// engine prints them); nullopt outside the grid or beyond the points loaded.
std::optional<int> nearPointRow(const Geometry& geometry, const Results& results, const Summary& summary,
                                const std::array<int, 3>& index);
// The coordinate of index `index` along `axis` (metres).
double nearCoordinate(const Geometry& geometry, const Results& results, const Summary& summary, int axis, int index);
// The axis has more than one distinct coordinate.
bool nearAxisSpans(const Geometry& geometry, const Results& results, const Summary& summary, int axis);
// The plane shows more than a single point (one of its axes spans).
bool planeDisplayable(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane);

// The axis the graph runs along: the plane's first axis that spans; and
// the other axis of the plane, whose position selects the line.
int graphAxis(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane);
int lineAxis(const Geometry& geometry, const Results& results, const Summary& summary, int16_t plane);

// Entry from the main loop: after a new load the state starts afresh on
// the first plane that shows more than one point; every entry shows the
// colour map.
void openNearField(NearFieldState& state, const Model& model);

// The unit of a component's values: its largest value selects nV/m, uV/m,
// mV/m or V/m; a magnetic field (NH) reads A/m ("[ A/m]").
FieldUnit nearFieldUnit(const Summary& summary, int component);
// "E" or "H".
std::string nearFieldLetter(const Summary& summary);
// "(x)", "(y)", "(z)", "(tot.)".
std::string componentName(int component);
// "Near Field in [mV/m]  E(x)".
std::string nearFieldTitle(const Summary& summary, int component);
// "Z = 1.5 mtr.": the axis and the coordinate of a position.
std::string axisPositionLabel(int axis, double coordinate);

// The inverse of scaleRadius: the value drawn at fraction x of the scale.
double valueAtFraction(double min, double max, double x, double factor);

// Ctrl+PgUp and Ctrl+PgDn: the factor 0.1 more logarithmic (not below 0.1)
// or 0.1 more linear (not above 0.5), kept on whole tenths.
double moreLogarithmic(double factor);
double moreLinear(double factor);

// Right, Left, Up, Down, PgUp, PgDn, Ctrl+PgUp, Ctrl+PgDn, space, '>', '<'
// and 'G'; Delete asks for the cut-off. False for any other code.
bool nearFieldCommand(NearFieldState& state, const Geometry& geometry, const Results& results, const Summary& summary,
                      Ui& ui, int16_t code);
// Delete: asks "Ignore points with field-strength above: " with the
// cut-off (at first the largest value); 0, a negative or an empty answer
// sets the largest value, Cancel leaves the cut-off as it was. A cut-off
// below the largest value makes the scale linear again.
void askCutoff(NearFieldState& state, const Summary& summary, Ui& ui);

// One shown point: where it lies on the two axes (metres) and its value
// (V/m or A/m) before and after the cut-off.
struct NearSample {
    double across = 0, up = 0;
    double value = 0, shown = 0;
    int row = 0;
};

// The values of the plane or of the line, with their scale.
struct NearValues {
    std::vector<NearSample> samples;
    double min = 0, max = 0;           // of the shown (clipped) values
    std::optional<NearSample> largest; // before the cut-off
    double fraction(double shown, double factor) const;
};

// The plane of the state: every point whose fixed coordinate is the
// state's position, across and up its two other coordinates.
NearValues planeValues(const Geometry& geometry, const Results& results, const Summary& summary,
                       const NearFieldState& state);
// The line of the graph: its points in order along graphAxis (`across` the
// coordinate, `up` 0).
NearValues lineValues(const Geometry& geometry, const Results& results, const Summary& summary,
                      const NearFieldState& state);

// The colour map in metres: one cell per point of the plane, reaching half
// a spacing to each side (an axis with one coordinate takes the half size
// of the other), coloured by colourOf of its fraction.
struct NearCell {
    double across = 0, up = 0, halfAcross = 0, halfUp = 0;
    double fraction = 0;
    Rgb colour;
};
struct NearMap {
    std::vector<NearCell> cells;
    double left = 0, right = 0, bottom = 0, top = 0; // the cells' outline, metres
};
NearMap nearFieldMap(const Geometry& geometry, const Results& results, const Summary& summary,
                     const NearFieldState& state, const NearValues& values);

// The legend: bars at equally spaced fractions, bottom (0) to top (1), each
// with its colour and its value as text in the unit.
struct LegendBar {
    double fraction = 0;
    Rgb colour;
    std::string text;
};
std::vector<LegendBar> nearFieldLegend(const Summary& summary, const NearFieldState& state, const NearValues& values,
                                       int bars = 11);

// The wire structure seen on the plane: each wire from end 1 to end 2 on
// the plane's two axes, metres.
struct NearLine {
    double fromAcross = 0, fromUp = 0, toAcross = 0, toUp = 0;
};
std::vector<NearLine> structureOnPlane(const Geometry& geometry, int16_t plane);

// "Max:  1.23 at X= 0 ; Y= 1.5 ; Z= 2 m." of the largest value.
std::string nearMaxLabel(const Results& results, const Summary& summary, const NearFieldState& state,
                         const NearValues& values);
// "0.0123 < [ V/m] < 1.234": the lowest and highest shown value.
std::string nearRangeLabel(const Summary& summary, const NearFieldState& state, const NearValues& values);
// The plane's position ("Z = 0 mtr."), or for the graph the line's
// ("Y = 1 mtr. ; Z = 0 mtr.").
std::string nearPositionLabel(const Geometry& geometry, const Results& results, const Summary& summary,
                              const NearFieldState& state);

} // namespace wavra
