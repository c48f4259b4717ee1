// Paints the far-field pattern view on any QPainter: the window's canvas,
// a PNG or SVG file, a test image. The picture comes worked out in drawing
// units (present/pattern_picture.h); the layout maps those units into the
// area: label bands above and below, the plot square between them.
#pragma once

#include <QPointF>
#include <QRect>
#include <vector>

#include "present/pattern_picture.h"

class QPainter;

namespace wavra {

class PatternLayout {
public:
    // `patternLines`: the number of pattern label lines below the plot; the
    // plot square spans +-(plotRadius + 20) drawing units.
    PatternLayout(const QRect& area, int patternLines, double plotRadius);

    QPointF toPixel(PlotPoint p) const;
    QPointF toPixel(double x, double y) const { return toPixel(PlotPoint{x, y}); }
    PlotPoint toDrawing(QPointF pixel) const;
    double pixelsPerUnit() const { return m_scale; }

    QRectF area() const { return m_area; }
    QRectF topBand() const { return m_top; }
    QRectF bottomBand() const { return m_bottom; }
    int normalFontPixels() const { return m_normalFont; }
    int smallFontPixels() const { return m_smallFont; }
    double lineHeight() const { return m_line; }

private:
    QRectF m_area, m_top, m_bottom;
    QPointF m_centre;
    double m_scale = 1;
    int m_normalFont = 11, m_smallFont = 9;
    double m_line = 14;
};

// The layout a picture gets in `area`.
PatternLayout layoutFor(const QRect& area, const PatternPicture& picture);

// Where the texts of the plot stand, in pixels: the grid's texts (scale
// values, angles, axis letters) where they are drawn, and each block of the
// lobe marks (a lobe's angle, value, beamwidth and front-to-back ratio; a
// -3 dB angle) at its place beside the outer ring, or, where that place is
// taken, moved inwards or sideways until it is clear of the grid's texts
// and of the blocks placed before it. Blocks in the order of the marks.
struct PatternTextLayout {
    std::vector<QRectF> grid;
    std::vector<QRectF> lobeBlocks;
    double lobeLine = 0; // pixels from one line of a block to the next
};
PatternTextLayout layoutPatternTexts(const PatternLayout& layout, const PatternPicture& picture);

void paintPattern(QPainter& painter, const QRect& area, const PatternPicture& picture);

} // namespace wavra
