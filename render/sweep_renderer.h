// Paints the frequency sweep graphs on any QPainter: the window's canvas,
// a PNG or SVG of the batch command line, a printer.
#pragma once

#include "core/model.h"
#include "present/sweep_graphs.h"

class QPainter;
class QRect;

namespace wavra {

void paintSweep(QPainter& painter, const QRect& area, const Model& model, const SweepState& state);

} // namespace wavra
