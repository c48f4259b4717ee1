// Everything the geometry view draws, worked out in drawing units before any
// painting: the axes, the wires in one colour or by their current, the
// validation marks, the picked wire, the current or phase bars, the 3-D
// far-field pattern or the near-field marks, the marks of ends, junctions,
// loads, sources and segment divisions, and the texts of the label boxes.
// The renderer only maps it to pixels.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/model.h"
#include "present/geometry_view_state.h"
#include "present/pattern_mesh.h"

namespace wavra {

// Lines of one colour and width, drawn together.
struct LineBatch {
    Rgb colour;
    double width = 1;
    std::vector<std::array<double, 4>> lines; // x1, y1, x2, y2
};

// Polylines of one colour: point pairs (x, y) one polyline after another.
struct PolylineBatch {
    Rgb colour;
    std::vector<double> xy;   // x1, y1, x2, y2, ... of all polylines
    std::vector<size_t> ends; // one past the last point of each polyline, in points
};

struct SceneCircle {
    double x, y, radius;
    Rgb colour;
    bool filled;
};

struct SceneText {
    double x, y;
    std::string text;
    Rgb colour;
};

// The key to the colours of 'M': the ramp entries in use from the lowest
// value up, the values at its two ends and what they measure.
struct ColourLegend {
    std::string title; // "Current [A] at 100 W", "Phase [deg]", "Total gain [dB]"
    std::vector<Rgb> colours;
    std::string low, high;
};

struct GeometryScene {
    std::vector<PolylineBatch> curves; // the 3-D pattern, drawn first
    std::vector<LineBatch> batches;    // then these, in order
    std::vector<SceneCircle> circles;
    std::vector<SceneText> axisLetters;
    // The label boxes: TxtFile, TxtFreq, txtCur, txtPat (with the near-field
    // plane), txtAxis, txtThe, txtPhi.
    std::string fileLabel, frequencyLabel, currentLabel, patternLabel, planeLabel;
    std::string axisLabel, thetaLabel, phiLabel;
    std::optional<ColourLegend> legend;

    // The index of the batch of this colour and width, appended when new.
    size_t batch(Rgb colour, double width = 1);
    // Empties the scene for the next picture, keeping its memory.
    void clear();

    PatternMesh mesh; // the 3-D pattern's lines before they go into batches

private:
    std::vector<LineBatch> m_spare; // emptied batches, reused by batch()
};

// The fixed colours (numbers of the standard 16-colour palette).
inline constexpr int kWireColour = 0, kSelectedColour = 13, kCurrentBarColour = 9, kPhaseBarColour = 13;
inline constexpr int kPatternColour = 4, kNearFieldColour = 3, kErrorColour = 12, kWarningColour = 6;
inline constexpr int kSourceColour = 12, kLoadColour = 2, kJunctionColour = 13, kOpenEndColour = 6;
inline constexpr int kDivisionColour = 8, kAxisColours[3] = {12, 2, 9};

// The 3-D pattern's style in the view: its quantity, scale, size and grid.
PatternStyle geometryPatternStyle(const Settings& settings, const Results& results, const GeometryViewState& state);

// Fills `scene` (emptied first); `grid` is the pattern to draw
// (patternGridOf(model) in the view). The view keeps one scene, so a
// redraw reuses the memory of the last one.
void buildGeometryScene(const Model& model, const GeometryViewState& state, const PatternGrid& grid,
                        GeometryScene& scene);

// The label of the 3-D display's quantity: the far-field quantity, or the
// near-field component for a near-field request.
std::string displayQuantityLabel(const Model& model, const GeometryViewState& state);

// The legend of the colours the view shows with 'M': the segment currents
// (amperes at the settings' power when the report has a power budget, else
// as the report prints them), their phases while the phase bars are shown,
// or the 3-D far-field pattern; nullopt when nothing is coloured.
std::optional<ColourLegend> colourLegend(const Model& model, const GeometryViewState& state);

// txtCur: for a report segment "Seg: ..., Tag: ..., Curr: ..." with its
// current as the report prints it, labelled "(report)", and beside it the
// current at the settings' power ("at 100 W: ..."); for an input wire "Wire: 3, Tag: 3, End: 1"; empty with no pick.
std::string selectionText(const Model& model, const GeometryViewState& state);

// "Axis : 0.5 m", "Theta: 80", "Phi: 280".
std::string axisLabelText(const GeometryViewState& state);

} // namespace wavra
