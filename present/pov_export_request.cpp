#include "present/pov_export_request.h"

namespace wavra {

PovView povViewOf(const GeometryViewState& s) {
    PovView v;
    v.elevation = s.viewElevation;
    v.azimuth = s.viewAzimuth;
    v.shiftX = s.shiftX / s.viewSize;
    v.shiftY = s.shiftY / s.viewSize;
    v.geometryScale = s.geometryScale;
    v.patternSize = s.patternSize / s.viewSize;
    return v;
}

std::string requestPovExport(const Model&, PovScene scene, const PovView&) {
    return std::string(scene == PovScene::Geometry ? "POV-Ray scene of the wire structure"
                                                   : "POV-Ray scene of the far-field pattern") +
           ": the POV-Ray export is not built yet.";
}

} // namespace wavra
