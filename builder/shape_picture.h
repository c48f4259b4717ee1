// A line drawing of a shape's wires, shown beside its frame.
#pragma once

#include <QPixmap>
#include <vector>

#include "builder/wire_writer.h"

namespace wavra::build {

QPixmap drawShapePicture(const std::vector<WrittenWire>& wires, int width, int height);

} // namespace wavra::build
