// Paints the Smith chart on any QPainter: the window's canvas, a PNG or SVG
// of the batch command line, a printer page.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "present/smith_chart.h"

class QPainter;
class QRect;

namespace wavra {

struct SmithPicture {
    const SmithChartFile& chart;
    const ChartGrid& grid;
    const SmithState& state;
    std::vector<std::string> readout;
};

void paintSmith(QPainter& painter, const QRect& area, const Model& model, const SmithPicture& picture);

} // namespace wavra
