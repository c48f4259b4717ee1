#include "render/geometry_renderer.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QRect>
#include <QVector>
#include <algorithm>

#include "qtbase/qt_text.h"

namespace wavra {

namespace {

// A picture of this many lines or more is drawn without antialiasing: a
// dense pattern mesh looks the same and draws much faster.
constexpr size_t kPlainLinesFrom = 20000;

QColor qColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

QPen cosmeticPen(const Rgb& colour, double width) {
    QPen pen(qColor(colour));
    pen.setWidthF(width);
    pen.setCosmetic(true);
    return pen;
}

void drawCurves(QPainter& painter, const DrawingFrame& f, const GeometryScene& scene) {
    thread_local QVector<QPointF> points; // keeps its memory between pictures
    for (const PolylineBatch& batch : scene.curves) {
        painter.setPen(cosmeticPen(batch.colour, 1));
        size_t begin = 0;
        for (size_t end : batch.ends) {
            points.resize(static_cast<qsizetype>(end - begin));
            for (size_t k = begin; k < end; ++k)
                points[static_cast<qsizetype>(k - begin)] =
                    QPointF(f.pixelX(batch.xy[2 * k]), f.pixelY(batch.xy[2 * k + 1]));
            painter.drawPolyline(points.constData(), static_cast<int>(points.size()));
            begin = end;
        }
    }
}

void drawBatches(QPainter& painter, const DrawingFrame& f, const GeometryScene& scene) {
    thread_local QVector<QLineF> lines; // keeps its memory between pictures
    for (const LineBatch& batch : scene.batches) {
        if (batch.lines.empty()) continue;
        lines.resize(static_cast<qsizetype>(batch.lines.size()));
        for (size_t k = 0; k < batch.lines.size(); ++k) {
            const auto& l = batch.lines[k];
            lines[static_cast<qsizetype>(k)] = QLineF(f.pixelX(l[0]), f.pixelY(l[1]), f.pixelX(l[2]), f.pixelY(l[3]));
        }
        painter.setPen(cosmeticPen(batch.colour, batch.width));
        painter.drawLines(lines);
    }
}

void drawCircles(QPainter& painter, const DrawingFrame& f, const GeometryScene& scene) {
    for (const SceneCircle& c : scene.circles) {
        const double r = std::max(c.radius * f.pixelsPerUnit, 1.5);
        painter.setPen(QPen(qColor(c.colour), 1));
        painter.setBrush(c.filled ? QBrush(qColor(c.colour)) : Qt::NoBrush);
        painter.drawEllipse(QPointF(f.pixelX(c.x), f.pixelY(c.y)), r, r);
    }
    painter.setBrush(Qt::NoBrush);
}

void drawLabels(QPainter& painter, const QRect& area, const DrawingFrame& f, const GeometryScene& scene) {
    QFont font = painter.font();
    font.setPixelSize(std::clamp(std::min(area.width(), area.height()) / 40, 9, 16));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int line = metrics.lineSpacing(), margin = line / 2;
    for (const SceneText& t : scene.axisLetters) {
        painter.setPen(qColor(t.colour));
        painter.drawText(QPointF(f.pixelX(t.x) + 3, f.pixelY(t.y) - 3), q(t.text));
    }
    painter.setPen(Qt::black);
    const QRect box = area.adjusted(margin, margin, -margin, -margin);
    auto text = [&](const std::string& s, int row, Qt::Alignment align) {
        if (s.empty()) return;
        const QRect r = align & Qt::AlignBottom ? QRect(box.left(), box.bottom() - (row + 1) * line, box.width(), line)
                                                : QRect(box.left(), box.top() + row * line, box.width(), line);
        painter.drawText(r, static_cast<int>(align), q(s));
    };
    text(scene.fileLabel, 0, Qt::AlignLeft | Qt::AlignTop);
    text(scene.frequencyLabel, 1, Qt::AlignLeft | Qt::AlignTop);
    text(scene.patternLabel, 0, Qt::AlignRight | Qt::AlignTop);
    text(scene.planeLabel, 1, Qt::AlignRight | Qt::AlignTop);
    text(scene.phiLabel, 0, Qt::AlignLeft | Qt::AlignBottom);
    text(scene.thetaLabel, 1, Qt::AlignLeft | Qt::AlignBottom);
    text(scene.axisLabel, 2, Qt::AlignLeft | Qt::AlignBottom);
    text(scene.currentLabel, 0, Qt::AlignRight | Qt::AlignBottom);
}

// The colour key of 'M' at the right edge, halfway down: the ramp with the
// lowest value at the bottom, the highest at the top, and its title above.
void drawLegend(QPainter& painter, const QRect& area, const ColourLegend& legend) {
    if (legend.colours.empty()) return;
    const QFontMetrics metrics(painter.font());
    const int line = metrics.lineSpacing(), margin = line / 2;
    const int barWidth = std::max(10, line);
    const int height = std::max(area.height() * 2 / 5, 3 * line);
    const QRect bar(area.right() - margin - barWidth, area.top() + (area.height() - height) / 2, barWidth, height);
    const double band = static_cast<double>(height) / static_cast<double>(legend.colours.size());
    for (size_t k = 0; k < legend.colours.size(); ++k) {
        const double top = bar.bottom() + 1 - band * static_cast<double>(k + 1);
        painter.fillRect(QRectF(bar.left(), top, bar.width(), band + 0.5), qColor(legend.colours[k]));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    const int textRight = bar.left() - margin / 2;
    auto valueText = [&](const std::string& text, int centreY) {
        painter.drawText(QRect(area.left(), centreY - line / 2, textRight - area.left(), line),
                         Qt::AlignRight | Qt::AlignVCenter, q(text));
    };
    valueText(legend.high, bar.top());
    valueText(legend.low, bar.bottom());
    painter.drawText(QRect(area.left(), bar.top() - 2 * line, bar.right() - area.left(), line),
                     Qt::AlignRight | Qt::AlignVCenter, q(legend.title));
}

} // namespace

void paintGeometry(QPainter& painter, const QRect& area, const GeometryViewState& state, const GeometryScene& scene) {
    const DrawingFrame f = drawingFrame(state, area.left(), area.top(), area.width(), area.height());
    painter.save();
    painter.setClipRect(area);
    size_t lines = 0;
    for (const PolylineBatch& c : scene.curves) lines += c.xy.size() / 2;
    for (const LineBatch& b : scene.batches) lines += b.lines.size();
    if (lines >= kPlainLinesFrom) painter.setRenderHint(QPainter::Antialiasing, false);
    drawCurves(painter, f, scene);
    drawBatches(painter, f, scene);
    drawCircles(painter, f, scene);
    drawLabels(painter, area, f, scene);
    if (scene.legend) drawLegend(painter, area, *scene.legend);
    painter.restore();
}

} // namespace wavra
