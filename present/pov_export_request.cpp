#include "present/pov_export_request.h"

#include <cmath>

#include "present/geometry_scene.h"
#include "present/pattern_mesh.h"

namespace wavra {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

} // namespace

PovSceneView povViewOf(const GeometryViewState& s) {
    PovSceneView v;
    v.theta = s.viewElevation > 180 ? s.viewElevation - 360 : s.viewElevation;
    v.phi = s.viewAzimuth;
    v.panX = s.shiftX / s.viewSize;
    v.panY = s.shiftY / s.viewSize;
    v.zoom = 1 / s.geometryScale;
    return v;
}

PovPatternMesh povPatternOf(const Settings& settings, const Geometry& geometry, const Results& results,
                            const GeometryViewState& s) {
    PovPatternMesh mesh;
    const PatternGrid grid = patternGridOf(geometry, results);
    const PatternStyle style = geometryPatternStyle(settings, results, s);
    if (grid.empty() || style.quantity < 1 || style.quantity > 5) return mesh;
    // The pattern's radius in metres: the view draws it patternSize units
    // out, where viewSize units are geometryScale metres.
    const double size = s.patternSize / s.viewSize * s.geometryScale;
    mesh.rows = grid.thetaCount;
    mesh.columns = grid.phiCount + (phiGoesRound(grid) ? 1 : 0);
    for (int t = 1; t <= mesh.rows; ++t) {
        for (int c = 1; c <= mesh.columns; ++c) {
            const size_t i = grid.point(t, c > grid.phiCount ? 1 : c);
            const double theta = grid.angles[i][0] * kDegToRad, phi = grid.angles[i][1] * kDegToRad;
            const double r = patternFraction(grid, style, i) * size;
            mesh.points.push_back(
                {r * std::sin(theta) * std::cos(phi), r * std::sin(theta) * std::sin(phi), r * std::cos(theta)});
            mesh.angles.push_back(grid.angles[i]);
        }
    }
    return mesh;
}

std::string povScenePath(const ModelFile& file) { return file.povDir() + file.modelName + ".pov"; }
std::string povPicturePath(const ModelFile& file) { return file.povDir() + file.modelName + ".png"; }

PovExportResult exportPovScene(const Model& model, Ui& ui, const GeometryViewState& state, bool wires, bool pattern,
                               const std::string& path) {
    PovExportResult result;
    const PovPatternMesh mesh = pattern ? povPatternOf(model, model, model, state) : PovPatternMesh{};
    const bool hasPattern = mesh.rows > 1 && mesh.columns > 1;
    if (!wires && !hasPattern) {
        result.status = "No far-field pattern to export to POV-Ray.";
        return result;
    }
    result.scene = writePovScene(model, ui, povViewOf(state), {wires, hasPattern ? &mesh : nullptr}, path);
    result.status = result.scene.empty() ? "POV-Ray scene not written." : "POV-Ray scene written: " + result.scene;
    return result;
}

std::optional<PovRenderRequest> offerPovRender(const ModelFile& file, Ui& ui, const std::string& scene) {
    if (!ui.askYesNo("POV-Ray", "Scene " + scene + " written.\nRender it with POV-Ray ?")) return std::nullopt;
    return PovRenderRequest{scene, povPicturePath(file)};
}

} // namespace wavra
