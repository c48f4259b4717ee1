#include "render/sweep_renderer.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "present/sweep_compare.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

constexpr int kFontPixels = 12;

QColor colour(const Rgb& c) { return QColor(c.r, c.g, c.b); }

struct PaneDrawing {
    QPainter& p;
    const Model& m;
    const SweepState& s;
    const PlotBox& box;
    const SweepScale& freq;

    double xOf(double f) const { return box.left + scaleFraction(freq, f) * box.width; }
    // Values far off the scale (a perfect match at -infinity dB) are placed
    // just beyond the pane; the clip cuts them off.
    double yOf(const SweepScale& scale, double v) const {
        const double f = std::isnan(v) ? 0 : std::clamp(scaleFraction(scale, v), -1.0, 2.0);
        return box.bottom() - f * box.height;
    }
    QRectF rect() const { return QRectF(box.left, box.top, box.width, box.height); }

    void frame(bool active) const {
        p.setPen(QPen(active ? QColor(0, 0, 0) : QColor(128, 128, 128), active ? 2 : 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect());
    }

    // The value labels of a curve on its side of the pane (first curve
    // left, second right), and its grid when switched on.
    void axis(const SweepScale& scale, int curve, const QColor& c, bool grid) const {
        p.setPen(c);
        for (double v : scaleTicks(scale)) {
            const double y = yOf(scale, v);
            const QString label = q(tickLabel(v, scale.step));
            if (curve == 0) p.drawText(QRectF(0, y - 8, box.left - 6, 16), Qt::AlignRight | Qt::AlignVCenter, label);
            else p.drawText(QRectF(box.right() + 6, y - 8, 200, 16), Qt::AlignLeft | Qt::AlignVCenter, label);
            if (grid) {
                p.setPen(QPen(c.lighter(150), 1, Qt::DotLine));
                p.drawLine(QPointF(box.left, y), QPointF(box.right(), y));
                p.setPen(c);
            }
        }
    }

    // A curve through (frequencies[i], values[i]); a NaN value lifts the pen.
    void series(const std::vector<double>& frequencies, const std::vector<double>& values, const SweepScale& scale,
                const QPen& pen, bool markers = true) const {
        p.save();
        p.setClipRect(rect().adjusted(-3, -3, 3, 3));
        QPainterPath path;
        bool down = false;
        for (size_t i = 0; i < values.size() && i < frequencies.size(); ++i) {
            if (std::isnan(values[i])) {
                down = false;
                continue;
            }
            const QPointF at(xOf(frequencies[i]), yOf(scale, values[i]));
            down ? path.lineTo(at) : path.moveTo(at);
            down = true;
        }
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        if (s.markers && markers) {
            p.setPen(QPen(pen.color(), 1));
            for (size_t i = 0; i < values.size() && i < frequencies.size(); ++i)
                if (std::isfinite(values[i]))
                    p.drawRect(QRectF(xOf(frequencies[i]) - 2.5, yOf(scale, values[i]) - 2.5, 5, 5));
        }
        p.restore();
    }

    // Today's curve: while loops are kept the pane's second curve is dashed.
    void curve(SweepQuantity q, size_t second) const {
        const std::vector<double> f(m.sweepFreq.begin() + 1, m.sweepFreq.begin() + 1 + sweepSteps(m));
        const Qt::PenStyle style = second && !m.keptSweeps.empty() ? Qt::DashLine : Qt::SolidLine;
        series(f, sweepCurve(m, q), s.scales[static_cast<size_t>(q)],
               QPen(colour(currentCurveColour(m, second)), 2, style));
    }

    // The kept loops in their colours, thinner and without markers.
    void kept(SweepQuantity q, size_t second) const {
        for (size_t k = 0; k < m.keptSweeps.size(); ++k)
            series(m.keptSweeps[k].frequency, keptCurve(m.referenceZ0(), m.keptSweeps[k], q),
                   s.scales[static_cast<size_t>(q)],
                   QPen(colour(keptSweepColour(k)), 1.5, second ? Qt::DashLine : Qt::SolidLine), false);
    }

    // The measurement of a quantity: solid for the pane's first curve,
    // dashed for its second.
    void measured(SweepQuantity q, size_t second) const {
        if (!m.measured.loaded() || !measuredHas(q)) return;
        std::vector<double> f;
        for (const MeasuredPoint& point : m.measured.points) f.push_back(point.frequencyMHz);
        series(f, measuredCurve(m.referenceZ0(), m, q), s.scales[static_cast<size_t>(q)],
               QPen(colour(kMeasuredColour), 2, second ? Qt::DashLine : Qt::SolidLine));
    }

    // The legend in the top right corner of the pane, one line per entry.
    void legend(const std::vector<LegendEntry>& entries) const {
        double w = 0;
        for (const LegendEntry& e : entries) w = std::max(w, p.fontMetrics().horizontalAdvance(q(e.text)) + 34.0);
        const double h = p.fontMetrics().height();
        for (size_t i = 0; i < entries.size(); ++i) {
            const QRectF tag(box.right() - w - 6, box.top + 4 + h * static_cast<double>(i), w, h);
            p.fillRect(tag, QColor(255, 255, 255, 220));
            p.setPen(QPen(colour(entries[i].colour), 2));
            p.drawLine(QPointF(tag.left() + 4, tag.center().y()), QPointF(tag.left() + 26, tag.center().y()));
            p.drawText(tag.adjusted(30, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, q(entries[i].text));
        }
    }

    // The minimum SWR (a dotted line at its frequency) and the band(s) at
    // SWR 2 and at the second limit (shaded), with their texts in the
    // pane's top left corner from line `line` on.
    void match(const SwrMatch& mt, const QColor& c, const std::string& who, int line) const {
        const SweepScale& scale = s.scales[static_cast<size_t>(SweepQuantity::Swr)];
        p.save();
        p.setClipRect(rect());
        for (const auto& band : {mt.band, mt.second}) {
            if (!band) continue;
            QColor fill = c;
            fill.setAlpha(band->limit == kSwrBandLimit ? 28 : 40);
            p.fillRect(QRectF(QPointF(xOf(band->low), yOf(scale, band->limit)), QPointF(xOf(band->high), box.bottom())),
                       fill);
        }
        p.setPen(QPen(c, 1, Qt::DotLine));
        p.drawLine(QPointF(xOf(mt.minimumFrequency), box.top), QPointF(xOf(mt.minimumFrequency), box.bottom()));
        p.restore();
        p.setPen(c.darker(130));
        const double h = p.fontMetrics().height();
        std::vector<std::string> texts = swrMatchTexts(mt);
        texts.front() = who + texts.front();
        for (const std::string& t : texts) p.drawText(QPointF(box.left + 6, box.top + 4 + h * (line++ + 0.8)), q(t));
    }

    void frequencyTicks(bool labels) const {
        p.setPen(QColor(0, 0, 0));
        for (double f : scaleTicks(freq)) {
            const double x = xOf(f);
            p.drawLine(QPointF(x, box.bottom()), QPointF(x, box.bottom() - 5));
            if (labels)
                p.drawText(QRectF(x - 40, box.bottom() + 2, 80, 16), Qt::AlignHCenter | Qt::AlignTop,
                           q(tickLabel(f, freq.step)));
        }
        if (labels)
            p.drawText(QRectF(box.right() - 80, box.bottom() + 18, 80 + 60, 16), Qt::AlignRight | Qt::AlignTop,
                       QStringLiteral("Mhz"));
    }
};

void matchMarks(const PaneDrawing& d) {
    int line = 0;
    if (const auto model = modelSwrMatch(d.m)) {
        d.match(*model, colour(currentCurveColour(d.m, 0)), "model: ", line);
        line += 1 + (model->band ? 1 : 0) + (model->second ? 1 : 0);
    }
    if (d.m.measured.loaded())
        if (const auto measured = measuredSwrMatch(d.m, d.m.referenceZ0(), d.m))
            d.match(*measured, colour(kMeasuredColour), "measured: ", line);
}

// The step under the mouse pointer: a line at its frequency across both
// panes.
void pointerLine(QPainter& p, const Results& results, const SweepState& s, const SweepLayout& l,
                 const SweepScale& freq) {
    if (s.pointerStep < 1 || s.pointerStep > sweepSteps(results)) return;
    const PlotBox& upper = l.panes[0];
    const double x =
        upper.left + scaleFraction(freq, results.sweepFreq[static_cast<size_t>(s.pointerStep)]) * upper.width;
    p.setPen(QPen(colour(kSweepPointerColour), 1));
    p.drawLine(QPointF(x, upper.top), QPointF(x, l.panes[1].bottom()));
}

} // namespace

void paintSweep(QPainter& p, const QRect& area, const Model& m, const SweepState& s) {
    p.save();
    p.translate(area.topLeft());
    QFont font = p.font();
    font.setPixelSize(kFontPixels);
    p.setFont(font);
    const std::string message = sweepMessage(m, m, m.summary, s);
    if (!message.empty()) {
        p.setPen(QColor(0, 0, 0));
        p.drawText(QRect(0, 0, area.width(), area.height()), Qt::AlignCenter, q(message));
        p.restore();
        return;
    }
    const SweepLayout layout = sweepLayout(area.width(), area.height());
    const SweepScale freq = frequencyAxis(s);
    for (int pane : {kPaneUpper, kPaneLower}) {
        const PaneDrawing d{p, m, s, layout.panes[static_cast<size_t>(pane - 1)], freq};
        const auto quantities = paneQuantities(m, m, s.page, pane);
        for (size_t c = 0; c < quantities.size(); ++c) {
            const QColor col = colour(currentCurveColour(m, c));
            const SweepQuantity quantity = quantities[c];
            d.axis(s.scales[static_cast<size_t>(quantity)], static_cast<int>(c), col,
                   s.grid[static_cast<size_t>(pane - 1) * 2 + c]);
            p.setPen(col);
            const QRectF title(d.box.left, d.box.top - 20, d.box.width, 18);
            const Qt::Alignment side = (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom;
            p.drawText(title, static_cast<int>(side), q(sweepTitle(m, quantity)));
        }
        for (size_t c = 0; c < quantities.size(); ++c) d.kept(quantities[c], c);
        for (size_t c = 0; c < quantities.size(); ++c) d.curve(quantities[c], c);
        bool measuredShown = false;
        for (size_t c = 0; c < quantities.size(); ++c) {
            d.measured(quantities[c], c);
            measuredShown = measuredShown || (m.measured.loaded() && measuredHas(quantities[c]));
        }
        if (quantities.front() == SweepQuantity::Swr) matchMarks(d);
        d.legend(sweepLegend(m, m, measuredShown));
        d.frame(s.activePane == pane || s.activePane == kPaneBoth);
        d.frequencyTicks(pane == kPaneLower);
    }
    pointerLine(p, m, s, layout, freq);
    p.restore();
}

} // namespace wavra
