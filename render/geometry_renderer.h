// Paints the geometry view on any QPainter: the window's canvas, a PNG or
// SVG picture, a test image. Everything is worked out by the scene; this
// only maps drawing units to pixels and draws, with the label boxes
// painted into the picture.
#pragma once

#include "present/geometry_scene.h"
#include "present/geometry_view_state.h"

class QPainter;
class QRect;

namespace wavra {

void paintGeometry(QPainter& painter, const QRect& area, const GeometryViewState& state, const GeometryScene& scene);

} // namespace wavra
