#include "render/near_field_renderer.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "present/plot_math.h"
#include "present/sweep_graphs.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

constexpr int kFontPixels = 12;
constexpr double kLine = 18, kMargin = 8, kAxisRoom = 20;
constexpr double kRoomForExtents = 150;
constexpr int kGraphColour = 9, kStructureColour = 0, kGridColour = 7, kFractions = 10;

QColor colour(const Rgb& c) { return QColor(c.r, c.g, c.b); }

QRectF innerArea(const QRect& area) { return QRectF(area).adjusted(kMargin, kNearTopBand, -kMargin, -kNearBottomBand); }

void bandLine(QPainter& p, const QRect& area, double top, const std::string& left, const std::string& centre,
              const std::string& right = "") {
    const QRectF r(area.left() + kMargin, area.top() + top, area.width() - 2 * kMargin, kLine);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, q(left));
    p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, q(centre));
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, q(right));
}

const char* axisLetter(int axis) { return axis == 0 ? "X" : axis == 1 ? "Y" : "Z"; }

void paintLegend(QPainter& p, const QRectF& box, const std::vector<LegendBar>& legend) {
    if (legend.empty()) return;
    const double bar = std::min(24.0, box.height() / static_cast<double>(legend.size()));
    for (size_t k = 0; k < legend.size(); ++k) {
        const double top = box.top() + (static_cast<double>(legend.size() - 1 - k)) * bar;
        p.fillRect(QRectF(box.left() + 6, top + 1, 22, bar - 2), colour(legend[k].colour));
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left() + 32, top, box.width() - 32, bar), Qt::AlignLeft | Qt::AlignVCenter,
                   q(legend[k].text));
    }
}

// An edge of the map: the axis in the middle, its first and last metres at
// the ends where there is room for them.
void axisLabels(QPainter& p, const QRectF& edge, int axis, double first, double last) {
    p.drawText(edge, Qt::AlignCenter, q(std::string(axisLetter(axis)) + " [m]"));
    if (edge.width() < kRoomForExtents) return;
    p.drawText(edge, Qt::AlignLeft | Qt::AlignVCenter, q(formatNumber(first, 6)));
    p.drawText(edge, Qt::AlignRight | Qt::AlignVCenter, q(formatNumber(last, 6)));
}

void paintMap(QPainter& p, const QRect& area, const Geometry& geometry, const Results& results, const Summary& summary,
              const NearFieldState& s, const NearValues& v) {
    const NearMap map = nearFieldMap(geometry, results, summary, s, v);
    const NearMapLayout layout(area, map);
    for (const NearCell& c : map.cells) {
        const QPointF a = layout.toPixel(c.across - c.halfAcross, c.up + c.halfUp);
        const QPointF b = layout.toPixel(c.across + c.halfAcross, c.up - c.halfUp);
        // Neighbouring cells overlap by a fraction of a pixel, so no seams show.
        p.fillRect(QRectF(a, b).adjusted(-0.5, -0.5, 0.5, 0.5), colour(c.colour));
    }
    p.save();
    p.setClipRect(layout.plot());
    const PlaneAxes axes = planeAxes(s.plane);
    // The line the graph follows (Up and Down move it).
    const int line = lineAxis(geometry, results, summary, s.plane);
    const double at = nearCoordinate(geometry, results, summary, line, s.position[static_cast<size_t>(line)]);
    QPen dashed(QColor(40, 40, 40), 1, Qt::DashLine);
    p.setPen(dashed);
    if (line == axes.up) p.drawLine(layout.toPixel(map.left, at), layout.toPixel(map.right, at));
    else p.drawLine(layout.toPixel(at, map.bottom), layout.toPixel(at, map.top));
    if (s.showStructure) {
        const Rgb c = standardColour(kStructureColour);
        p.setPen(QPen(QColor(c.r, c.g, c.b), 2));
        for (const NearLine& w : structureOnPlane(geometry, s.plane))
            p.drawLine(layout.toPixel(w.fromAcross, w.fromUp), layout.toPixel(w.toAcross, w.toUp));
    }
    p.restore();
    // The extent of the map along both axes.
    p.setPen(Qt::black);
    const QPointF low = layout.toPixel(map.left, map.bottom), high = layout.toPixel(map.right, map.top);
    const QRectF below(low.x(), low.y() + 2, high.x() - low.x(), kAxisRoom - 4);
    axisLabels(p, below, axes.across, map.left, map.right);
    p.save();
    p.translate(low.x() - 4, low.y());
    p.rotate(-90);
    axisLabels(p, QRectF(0, -kAxisRoom + 4, low.y() - high.y(), kAxisRoom - 4), axes.up, map.bottom, map.top);
    p.restore();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(low.x(), high.y()), QPointF(high.x(), low.y())));
    paintLegend(p, layout.legend(), nearFieldLegend(summary, s, v));
}

// The graph in the frame of the sweep graphs: the coordinate along the
// line below, the value at tenths of the (lin-log) scale on the left.
void paintGraph(QPainter& p, const QRect& area, const Geometry& geometry, const Results& results,
                const Summary& summary, const NearFieldState& s, const NearValues& v) {
    const QRectF inner = innerArea(area);
    const QRectF box = inner.adjusted(56, 8, -16, -kAxisRoom - 4);
    double lo = v.samples.empty() ? 0 : v.samples.front().across, hi = lo;
    for (const NearSample& sample : v.samples) lo = std::min(lo, sample.across), hi = std::max(hi, sample.across);
    if (!(hi > lo)) lo -= 1, hi += 1;
    const SweepScale along{lo, hi, seriesAbove((hi - lo) / 10)};
    auto xOf = [&](double c) { return box.left() + scaleFraction(along, c) * box.width(); };
    auto yOf = [&](double f) { return box.bottom() - f * box.height(); };
    const double divisor = nearFieldUnit(summary, s.component).divisor;
    const Rgb g = standardColour(kGridColour);
    for (int k = 0; k <= kFractions; ++k) {
        const double f = static_cast<double>(k) / kFractions;
        p.setPen(QPen(QColor(g.r, g.g, g.b), 1, Qt::DotLine));
        p.drawLine(QPointF(box.left(), yOf(f)), QPointF(box.right(), yOf(f)));
        p.setPen(Qt::black);
        p.drawText(QRectF(inner.left(), yOf(f) - 8, box.left() - inner.left() - 6, 16),
                   Qt::AlignRight | Qt::AlignVCenter,
                   q(formatNumber(valueAtFraction(v.min, v.max, f, s.logFactor) / divisor, 4)));
    }
    for (double c : scaleTicks(along)) {
        p.setPen(Qt::black);
        p.drawLine(QPointF(xOf(c), box.bottom()), QPointF(xOf(c), box.bottom() - 5));
        p.drawText(QRectF(xOf(c) - 40, box.bottom() + 2, 80, 16), Qt::AlignHCenter | Qt::AlignTop,
                   q(tickLabel(c, along.step)));
    }
    p.drawText(QRectF(box.right() - 80, box.bottom() + 2, 96, kAxisRoom + 4), Qt::AlignRight | Qt::AlignBottom,
               q(std::string(axisLetter(graphAxis(geometry, results, summary, s.plane))) + " [m]"));
    QPainterPath path;
    const Rgb c = standardColour(kGraphColour);
    for (size_t i = 0; i < v.samples.size(); ++i) {
        const QPointF at(xOf(v.samples[i].across), yOf(v.fraction(v.samples[i].shown, s.logFactor)));
        i == 0 ? path.moveTo(at) : path.lineTo(at);
        p.setPen(QPen(QColor(c.r, c.g, c.b), 1));
        p.drawRect(QRectF(at.x() - 2.5, at.y() - 2.5, 5, 5));
    }
    p.setPen(QPen(QColor(c.r, c.g, c.b), 2));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(box);
}

} // namespace

NearMapLayout::NearMapLayout(const QRect& area, const NearMap& map) {
    const QRectF inner = innerArea(area);
    m_legend = QRectF(inner.right() - kNearLegendWidth, inner.top(), kNearLegendWidth, inner.height());
    const QRectF room = inner.adjusted(kAxisRoom, 0, -kNearLegendWidth - 4, -kAxisRoom);
    const double width = std::max(map.right - map.left, 1e-9), height = std::max(map.top - map.bottom, 1e-9);
    m_scale = std::max(1e-9, std::min(room.width() / width, room.height() / height));
    m_across = (map.left + map.right) / 2;
    m_up = (map.bottom + map.top) / 2;
    const QSizeF size(width * m_scale, height * m_scale);
    m_plot = QRectF(room.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

QPointF NearMapLayout::toPixel(double across, double up) const {
    return {m_plot.center().x() + (across - m_across) * m_scale, m_plot.center().y() - (up - m_up) * m_scale};
}

std::pair<double, double> NearMapLayout::toMetres(QPointF pixel) const {
    return {m_across + (pixel.x() - m_plot.center().x()) / m_scale, m_up - (pixel.y() - m_plot.center().y()) / m_scale};
}

void paintNearField(QPainter& p, const QRect& area, const Geometry& geometry, const Results& results,
                    const Summary& summary, const NearFieldState& s) {
    p.save();
    p.setClipRect(area);
    QFont font = p.font();
    font.setPixelSize(kFontPixels);
    p.setFont(font);
    p.setPen(Qt::black);
    const NearValues v =
        s.map2D ? planeValues(geometry, results, summary, s) : lineValues(geometry, results, summary, s);
    if (!hasNearField(geometry, results, summary) || v.samples.empty()) {
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, q(kNoNearFieldText));
        p.restore();
        return;
    }
    bandLine(p, area, 2, nearPositionLabel(geometry, results, summary, s), nearFieldTitle(summary, s.component),
             s.map2D ? "Colour map" : "Graph");
    bandLine(p, area, 2 + kLine, "", "",
             s.logFactor == kLinearNearFactor ? "lin" : "log " + formatNumber(s.logFactor, 3));
    if (s.map2D) paintMap(p, area, geometry, results, summary, s, v);
    else paintGraph(p, area, geometry, results, summary, s, v);
    const double bottom = area.height() - kNearBottomBand;
    bandLine(p, area, bottom + 2, nearMaxLabel(results, summary, s, v), "");
    bandLine(p, area, bottom + 2 + kLine, nearRangeLabel(summary, s, v), "",
             s.cutoff == kNoCutoff
                 ? ""
                 : "Cut-off: " + formatNumber(s.cutoff / nearFieldUnit(summary, s.component).divisor, 6));
    p.restore();
}

} // namespace wavra
