// The geometry view handing its view to the POV-Ray scene export: Shift+G
// for the wire structure, Shift+R for the far-field pattern, and the batch
// command line's --pov for both. The scene shows what the view shows: its
// angles, its shift, its scale and the 3-D pattern at its size.
#pragma once

#include <optional>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "export/pov_scene.h"
#include "present/geometry_view_state.h"

namespace wavra {

// The view's angles (the elevation as -180..179, so that a view from
// beyond the zenith takes the light on its own side), its shifts as
// fractions of the half picture and 1 / geometryScale as the zoom: the
// view's half picture is 100 scene units.
PovSceneView povViewOf(const GeometryViewState& state);

// The 3-D pattern of the view (its quantity, scale and size) on the full
// grid of pattern points, closed round in phi when the points go once
// round; empty without a far-field pattern.
PovPatternMesh povPatternOf(const Settings& settings, const Geometry& geometry, const Results& results,
                            const GeometryViewState& state);

// pov/<modelName>.pov and pov/<modelName>.png below installDir.
std::string povScenePath(const ModelFile& file);
std::string povPicturePath(const ModelFile& file);

struct PovExportResult {
    std::string scene;  // the scene written; empty when nothing was written
    std::string status; // the line for the status bar
};

// Writes the scene of the wires and/or the pattern to `path`. Without a
// far-field pattern a pattern-only export writes nothing and says so.
PovExportResult exportPovScene(const Model& model, Ui& ui, const GeometryViewState& state, bool wires, bool pattern,
                               const std::string& path);

// A scene to render and the picture to render it into.
struct PovRenderRequest {
    std::string scene, picture;
};

// After a scene was written in the window: asks whether to render it;
// the request when the user says yes.
std::optional<PovRenderRequest> offerPovRender(const ModelFile& file, Ui& ui, const std::string& scene);

} // namespace wavra
