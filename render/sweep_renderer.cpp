#include "render/sweep_renderer.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "present/plot_math.h"
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

    void curve(SweepQuantity q, const QColor& c) const {
        const SweepScale& scale = s.scales[static_cast<size_t>(q)];
        const std::vector<double> values = sweepCurve(m, q);
        p.save();
        p.setClipRect(rect().adjusted(-3, -3, 3, 3));
        QPainterPath path;
        bool pen = false;
        for (size_t i = 0; i < values.size(); ++i) {
            if (std::isnan(values[i])) {
                pen = false;
                continue;
            }
            const QPointF at(xOf(m.sweepFreq[i + 1]), yOf(scale, values[i]));
            pen ? path.lineTo(at) : path.moveTo(at);
            pen = true;
        }
        p.setPen(QPen(c, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        if (s.markers) {
            p.setPen(QPen(c, 1));
            for (size_t i = 0; i < values.size(); ++i)
                if (std::isfinite(values[i]))
                    p.drawRect(QRectF(xOf(m.sweepFreq[i + 1]) - 2.5, yOf(scale, values[i]) - 2.5, 5, 5));
        }
        p.restore();
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

} // namespace

void paintSweep(QPainter& p, const QRect& area, const Model& m, const SweepState& s) {
    p.save();
    p.translate(area.topLeft());
    QFont font = p.font();
    font.setPixelSize(kFontPixels);
    p.setFont(font);
    const std::string message = sweepMessage(m, s);
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
        const auto quantities = paneQuantities(s.page, pane);
        for (size_t c = 0; c < quantities.size(); ++c) {
            const QColor col = colour(standardColour(displayTables().curveColours[c]));
            const SweepQuantity quantity = quantities[c];
            d.axis(s.scales[static_cast<size_t>(quantity)], static_cast<int>(c), col,
                   s.grid[static_cast<size_t>(pane - 1) * 2 + c]);
            p.setPen(col);
            const QRectF title(d.box.left, d.box.top - 20, d.box.width, 18);
            p.drawText(title, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom, q(sweepTitle(m, quantity)));
        }
        for (size_t c = 0; c < quantities.size(); ++c)
            d.curve(quantities[c], colour(standardColour(displayTables().curveColours[c])));
        d.frame(s.activePane == pane || s.activePane == kPaneBoth);
        d.frequencyTicks(pane == kPaneLower);
    }
    p.restore();
}

} // namespace wavra
