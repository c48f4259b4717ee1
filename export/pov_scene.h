// The POV-Ray scene of the wire model and of the far-field pattern: the
// scene template exe/default.pov copied to the top, then the ground plane,
// the camera and the light placed as the geometry view looks at the model,
// the wires as cylinders with spheres over their joints, and the pattern as
// a triangle mesh. The scene's second axis is the model's height, so a model
// point (x, y, z) is written < x, z, y >.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// How the geometry view looks at the model.
struct PovSceneView {
    int theta = 0, phi = 0;    // view angles, whole degrees (elevation, azimuth)
    double panX = 0, panY = 0; // the view's shifts, as fractions of its half size
    double zoom = 1;           // scene units per metre / 100
    double scale() const { return 100 * zoom; }
};

// The 3-D pattern's points on a theta x phi grid of corner points, in metres
// around the model origin (the view's pattern radius already applied):
// point (r, c) is points[r * columns + c].
struct PovPatternMesh {
    int rows = 0, columns = 0;
    std::vector<std::array<double, 3>> points; // x, y, z
    std::vector<std::array<double, 2>> angles; // theta, phi of each point, degrees
    const std::array<double, 3>& point(int r, int c) const { return points[static_cast<size_t>(r * columns + c)]; }
};

// What one scene holds: the wires, the pattern, or both.
struct PovSceneContent {
    bool wires = false;
    const PovPatternMesh* pattern = nullptr;
};

// The scene point where the camera looks: the model point at the centre of
// the view.
std::array<double, 3> povTarget(const PovSceneView& view);

// The scene's statements after the template: ground, camera, light, then
// the wires and the pattern as `content` asks.
std::string povStatements(const Model& model, const PovSceneView& view, const PovSceneContent& content);

// A point < x, z, y > of the scene at `scale`, each number "####0.0#" padded to 8.
std::string povPoint(double x, double y, double z, double scale);

// Writes the scene to `path` (the view writes pov/<modelName>.pov below
// installDir): the template exe/default.pov, then the statements. Returns
// the path; empty when the template cannot be read (reported through ui:
// "Open failure on povray default scene file: exe/default.pov") or the
// scene cannot be written (reported too, so that a failed export is never
// taken for a written one).
std::string writePovScene(const Model& model, Ui& ui, const PovSceneView& view, const PovSceneContent& content,
                          const std::string& path);

} // namespace wavra
