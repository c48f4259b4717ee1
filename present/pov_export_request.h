// The geometry view handing its view to the POV-Ray scene export: Shift+G
// for the wire structure, Shift+R for the far-field pattern. The export
// takes the view angles, the shifts relative to the view size, the
// geometry scale and the pattern size, so the scene shows what the view
// shows.
#pragma once

#include <string>

#include "core/model.h"
#include "present/geometry_view_state.h"

namespace wavra {

enum class PovScene { Geometry, FarFieldPattern };

struct PovView {
    double elevation = 0, azimuth = 0; // degrees
    double shiftX = 0, shiftY = 0;     // fractions of viewSize
    double geometryScale = 1;          // metres at viewSize
    double patternSize = 0;            // fraction of viewSize
};

PovView povViewOf(const GeometryViewState& state);

// Writes the scene for `view` and returns the line for the status bar.
// The scene writer is not part of this build yet; the line says so.
std::string requestPovExport(const Model& model, PovScene scene, const PovView& view);

} // namespace wavra
