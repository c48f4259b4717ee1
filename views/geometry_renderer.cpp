#include "views/geometry_renderer.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QRect>
#include <QVector>
#include <algorithm>

namespace wavra {

namespace {

// Lines in batches this long or longer are drawn without antialiasing: a
// dense pattern mesh looks the same and draws several times faster.
constexpr size_t kPlainLinesFrom = 20000;

QColor qColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

void drawBatches(QPainter& painter, const DrawingFrame& f, const GeometryScene& scene) {
    QVector<QLineF> lines;
    for (const LineBatch& batch : scene.batches) {
        if (batch.lines.empty()) continue;
        lines.resize(static_cast<qsizetype>(batch.lines.size()));
        for (size_t k = 0; k < batch.lines.size(); ++k) {
            const auto& l = batch.lines[k];
            lines[static_cast<qsizetype>(k)] = QLineF(f.pixelX(l[0]), f.pixelY(l[1]), f.pixelX(l[2]), f.pixelY(l[3]));
        }
        QPen pen(qColor(batch.colour));
        pen.setWidthF(batch.width);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        if (batch.lines.size() >= kPlainLinesFrom) painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawLines(lines);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
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
        painter.drawText(QPointF(f.pixelX(t.x) + 3, f.pixelY(t.y) - 3), QString::fromStdString(t.text));
    }
    painter.setPen(Qt::black);
    const QRect box = area.adjusted(margin, margin, -margin, -margin);
    auto text = [&](const std::string& s, int row, Qt::Alignment align) {
        if (s.empty()) return;
        const QRect r = align & Qt::AlignBottom ? QRect(box.left(), box.bottom() - (row + 1) * line, box.width(), line)
                                                : QRect(box.left(), box.top() + row * line, box.width(), line);
        painter.drawText(r, static_cast<int>(align), QString::fromStdString(s));
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

} // namespace

void paintGeometry(QPainter& painter, const QRect& area, const GeometryViewState& state, const GeometryScene& scene) {
    const DrawingFrame f = drawingFrame(state, area.left(), area.top(), area.width(), area.height());
    painter.save();
    painter.setClipRect(area);
    drawBatches(painter, f, scene);
    drawCircles(painter, f, scene);
    drawLabels(painter, area, f, scene);
    painter.restore();
}

} // namespace wavra
