#include "render/smith_renderer.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "present/sweep_compare.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

const QColor kGridColour(0, 0, 160);
const QColor kLightGridColour(165, 185, 255);
const QColor kRimColour(0, 0, 96);
constexpr double kPointRadius = 0.01;
constexpr double kTickLength = 0.035;

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }
QColor colour(int standard) { return toQColor(standardColour(standard)); }

struct ChartPainter {
    QPainter& p;
    const ChartFrame& f;

    QPointF at(ChartPoint c) const { return QPointF(f.px(c), f.py(c)); }
    double length(double chartUnits) const { return chartUnits * f.scale; }

    // Text centred on a chart point (or left / right aligned at it), on a
    // white ground when `opaque`, so that grid lines do not cross it.
    void label(ChartPoint c, const QString& t, Qt::Alignment align = Qt::AlignCenter, bool opaque = false) const {
        const QPointF q = at(c);
        const double w = p.fontMetrics().horizontalAdvance(t) + 2, h = p.fontMetrics().height();
        QRectF box(q.x() - w / 2, q.y() - h / 2, w, h);
        if (align & Qt::AlignLeft) box.moveLeft(q.x());
        if (align & Qt::AlignRight) box.moveRight(q.x());
        if (opaque) p.fillRect(box.adjusted(0, 2, 0, -2), Qt::white);
        p.drawText(box, Qt::AlignCenter, t);
    }

    void circle(double radius, const QPen& pen) const {
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at({0, 0}), length(radius), length(radius));
    }

    void rim() const {
        circle(1, QPen(kRimColour, 1.5));
        for (const AngleTick& t : angleTicks()) {
            p.drawLine(at(t.inner), at(t.outer));
            label(t.label, q(t.text));
        }
    }

    void grid(const ChartGrid& g) const {
        p.setBrush(Qt::NoBrush);
        for (bool light : {true, false})
            for (const ChartCurve& c : g.curves) {
                if (c.light != light) continue;
                p.setPen(QPen(light ? kLightGridColour : kGridColour, light ? 0.6 : 0.9));
                QPolygonF line;
                for (ChartPoint q : c.points) line << at(q);
                p.drawPolyline(line);
            }
        p.setPen(kGridColour);
        for (const ChartLabel& l : g.labels) label(l.at, q(l.text), Qt::AlignCenter, true);
    }

    void ruler(const ChartRuler& r) const {
        const RulerStyle& s = rulerStyle(r.kind);
        const double up = s.upward ? 1 : -1, line = p.fontMetrics().height() / f.scale;
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawLine(at({0, s.height}), at({s.side * 1.0, s.height}));
        const QFont font = p.font();
        QFont small = font;
        small.setPixelSize(std::max(7, font.pixelSize() * 4 / 5));
        p.setFont(small);
        for (const RulerTick& t : r.ticks) {
            const double x = s.side * t.position;
            p.drawLine(at({x, s.height}), at({x, s.height + up * kTickLength}));
            label({x, s.height + up * (kTickLength + line * 0.5)}, q(t.text));
        }
        p.setFont(font);
        const Qt::Alignment side = s.side > 0 ? Qt::AlignLeft : Qt::AlignRight;
        const double cx = s.side * 1.03;
        label({cx, s.height + up * line * (s.upward ? 1.5 : 0.5)}, QString::fromLatin1(s.caption1), side);
        label({cx, s.height + up * line * (s.upward ? 0.5 : 1.5)}, QString::fromLatin1(s.caption2), side);
    }

    // The locus of the points, the circles of constant SWR and the cursor.
    void points(const Model& m, const SmithState& s) const {
        const auto pts = smithPoints(m, s);
        if (s.lineStep != 0) {
            SmithState untransformed = s;
            untransformed.lineStep = 0;
            locus(m.referenceZ0(), untransformed, pts, QColor(190, 190, 190));
        }
        for (size_t k = 0; k < m.keptSweeps.size(); ++k) {
            const QColor c = toQColor(keptSweepColour(k));
            polyline(keptLocus(m.referenceZ0(), s, m.keptSweeps[k]), QPen(c, 1.5, Qt::DashLine));
        }
        locus(m.referenceZ0(), s, pts, colour(12));
        if (m.measured.loaded()) polyline(measuredLocus(m.referenceZ0(), m, s), QPen(toQColor(kMeasuredColour), 1.5));
        legend(sweepLegend(m, m, true, standardColour(12)));
        circle(kSwr2Radius, QPen(colour(2), 1, Qt::DashLine));
        if (const double r = cursorSwrRadius(m, s); r > 0) circle(r, QPen(colour(13), 1, Qt::DashLine));
        if (s.cursor >= 1 && s.cursor <= static_cast<int>(pts.size())) {
            const QPointF c =
                at(chartPointOf(plottedGamma(m.referenceZ0(), s, pts[static_cast<size_t>(s.cursor - 1)])));
            p.setPen(QPen(QColor(0, 0, 0), 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, length(0.03), length(0.03));
        }
    }

    // Reflection coefficients as plotted, joined.
    void polyline(const std::vector<std::complex<double>>& gammas, const QPen& pen) const {
        QPolygonF line;
        for (const std::complex<double>& g : gammas)
            if (std::isfinite(g.real()) && std::isfinite(g.imag())) line << at(chartPointOf(g));
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
    }

    // Which curve is which: today's loop, the kept loops and the measured
    // file, right-aligned below the Z0 line in the top right corner (the
    // cursor's read-out takes the top left one).
    void legend(const std::vector<LegendEntry>& entries) const {
        const double h = p.fontMetrics().height(), right = at({1.3, 0}).x();
        for (size_t i = 0; i < entries.size(); ++i) {
            const QString text = q(entries[i].text);
            const double w = p.fontMetrics().horizontalAdvance(text) + 4;
            const double y = f.readoutTop + h * (1.5 + static_cast<double>(i));
            p.setPen(QPen(toQColor(entries[i].colour), 1.5));
            p.drawLine(QPointF(right - w - 26, y), QPointF(right - w - 4, y));
            p.drawText(QRectF(right - w, y - h / 2, w, h), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }

    void locus(double z0, const SmithState& s, const std::vector<SmithPoint>& pts, const QColor& c) const {
        QPolygonF line;
        for (const SmithPoint& pt : pts) {
            const std::complex<double> g = plottedGamma(z0, s, pt);
            if (std::isfinite(g.real()) && std::isfinite(g.imag())) line << at(chartPointOf(g));
        }
        p.setPen(QPen(c, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        for (const QPointF& q : line) p.drawEllipse(q, length(kPointRadius), length(kPointRadius));
    }
};

} // namespace

void paintSmith(QPainter& p, const QRect& area, const Model& m, const SmithPicture& picture) {
    p.save();
    p.translate(area.topLeft());
    const ChartFrame f = chartFrame(area.width(), area.height());
    QFont font = p.font();
    font.setPixelSize(smithLabelPixels(f));
    p.setFont(font);
    const ChartPainter c{p, f};
    c.grid(picture.grid);
    c.rim();
    for (const ChartRuler& r : picture.chart.rulers) c.ruler(r);
    p.setPen(QColor(0, 0, 0));
    c.label({-0.6, -1.9}, QStringLiteral("<---- Towards Load <----"));
    c.label({0.6, -1.9}, QStringLiteral("--> Towards Generator -->"));
    c.points(m, picture.state);
    const double lineHeight = p.fontMetrics().height();
    p.setPen(QColor(0, 0, 0));
    for (size_t i = 0; i < picture.readout.size(); ++i)
        p.drawText(QPointF(f.readoutLeft + 4, f.readoutTop + lineHeight * static_cast<double>(i + 1)),
                   q(picture.readout[i]));
    p.drawText(QRectF(0, f.readoutTop, area.width() - f.readoutLeft - 4, lineHeight), Qt::AlignRight | Qt::AlignTop,
               q("Z0 = " + formatSignificant(m.referenceZ0(), 6) + " ohm"));
    p.restore();
}

} // namespace wavra
