// Paints the near-field view on any QPainter: the window's canvas, a PNG or
// SVG of the batch command line, a test image. The colour map keeps metres
// the same size across and up, with the colour legend on its right; the
// graph has the frame, grid and labels of the sweep graphs.
#pragma once

#include <QRectF>

#include "core/model.h"
#include "present/near_field_map.h"

class QPainter;
class QRect;

namespace wavra {

// Where the colour map of a plane lies in a picture painted into `area`:
// metres to pixels and back.
class NearMapLayout {
public:
    NearMapLayout(const QRect& area, const NearMap& map);
    QPointF toPixel(double across, double up) const;
    // The metres under a pixel.
    std::pair<double, double> toMetres(QPointF pixel) const;
    QRectF plot() const { return m_plot; }
    QRectF legend() const { return m_legend; }

private:
    QRectF m_plot, m_legend;
    double m_scale = 1, m_across = 0, m_up = 0; // pixels per metre, the metres at the plot's centre
};

// The label bands above and below the map or the graph, in pixels.
inline constexpr double kNearTopBand = 40, kNearBottomBand = 40, kNearLegendWidth = 96;

void paintNearField(QPainter& painter, const QRect& area, const Geometry& geometry, const Results& results,
                    const Summary& summary, const NearFieldState& state);

} // namespace wavra
