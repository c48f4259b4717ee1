#include "render/pattern_renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "present/label_placement.h"
#include "qtbase/qt_text.h"

namespace wavra {

namespace {

// Fixed drawing colours (numbers of the standard 16-colour palette).
constexpr int kGridColour = 7, kOuterRingColour = 8, kTextColour = 0, kStructureColour = 12;
constexpr int kLobeColour = 4, kMinus3dbColour = 5, kIndicatorColour = 0;

QColor colour(int n) {
    const Rgb c = standardColour(n);
    return QColor(c.r, c.g, c.b);
}

QFont fontOf(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

// A text's box at its place, moved inwards where it would run off the area.
QRectF textBox(const PatternLayout& l, const PlotText& t) {
    const QSizeF size =
        QFontMetricsF(fontOf(t.marks ? l.smallFontPixels() : l.normalFontPixels())).size(Qt::TextSingleLine, q(t.text));
    const QPointF at = l.toPixel(t.at);
    QRectF box(t.centred ? at - QPointF(size.width() / 2, size.height() / 2) : at, size);
    const QRectF area = l.area();
    box.moveLeft(std::max(area.left(), std::min(box.left(), area.right() - size.width())));
    box.moveTop(std::max(area.top(), std::min(box.top(), area.bottom() - size.height())));
    return box;
}

TextBox asTextBox(const QRectF& r) { return {r.left(), r.top(), r.width(), r.height()}; }

class Painter {
public:
    Painter(QPainter& painter, const PatternLayout& layout)
        : p(painter), l(layout), m_normal(fontOf(layout.normalFontPixels())),
          m_small(fontOf(layout.smallFontPixels())) {}

    void pen(int colourNumber, double width = 1, Qt::PenStyle style = Qt::SolidLine) {
        QPen pen(colour(colourNumber), width, style);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    }
    void line(const PlotLine& line) { p.drawLine(l.toPixel(line.from), l.toPixel(line.to)); }
    void lines(const std::vector<PlotLine>& all) {
        for (const PlotLine& one : all) line(one);
    }
    void circle(double radius) {
        const double r = radius * l.pixelsPerUnit();
        p.drawEllipse(l.toPixel(0, 0), r, r);
    }
    void plotText(const PlotText& t) {
        p.setFont(t.marks ? m_small : m_normal);
        p.drawText(textBox(l, t), Qt::AlignLeft | Qt::AlignTop, q(t.text));
    }
    // The lines of a block of marks from the top of its placed box down.
    void blockTexts(const LobeMark& mark, const TextLines& block, const QRectF& box, double line) {
        p.setFont(m_small);
        for (size_t i = 0; i < block.count; ++i)
            p.drawText(QPointF(box.left(), box.top() + static_cast<double>(i) * line + QFontMetricsF(m_small).ascent()),
                       q(mark.texts[block.first + i].text));
    }
    void plotTexts(const std::vector<PlotText>& all) {
        for (const PlotText& t : all) plotText(t);
    }
    void curve(const PatternCurve& c, double width) {
        QPolygonF polygon;
        for (const PlotPoint& pt : c.points) polygon << l.toPixel(pt);
        pen(c.colour, width);
        if (c.closed) p.drawPolygon(polygon);
        else p.drawPolyline(polygon);
    }
    void dot(PlotPoint at, double radius) {
        p.setBrush(colour(kIndicatorColour));
        const double r = std::max(2.0, radius * l.pixelsPerUnit());
        p.drawEllipse(l.toPixel(at), r, r);
        p.setBrush(Qt::NoBrush);
    }
    // One line of a label band: left, centred and right-aligned texts.
    void bandLine(const QRectF& band, int row, const std::string& left, const std::string& centre,
                  const std::string& right) {
        p.setFont(m_normal);
        const QRectF r(band.left() + 4, band.top() + 2 + row * l.lineHeight(), band.width() - 8, l.lineHeight());
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, q(left));
        p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, q(centre));
        p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, q(right));
    }

private:
    QPainter& p;
    const PatternLayout& l;
    QFont m_normal, m_small;
};

void paintPlot(Painter& out, const PatternLayout& layout, const PatternPicture& pic, double curveWidth) {
    out.pen(kGridColour);
    for (double r : pic.rings) out.circle(r);
    out.lines(pic.grid);
    if (!pic.heightGraph) {
        out.pen(kOuterRingColour);
        out.circle(pic.plotRadius);
    }
    out.pen(kTextColour);
    out.plotTexts(pic.gridTexts);
    out.pen(kStructureColour);
    out.lines(pic.structure);
    for (const PatternCurve& c : pic.curves) out.curve(c, curveWidth);
    for (const LobeMark& lobe : pic.lobes) {
        out.pen(kLobeColour);
        out.line(lobe.direction);
        out.pen(kMinus3dbColour, 1, Qt::DashLine);
        out.lines(lobe.minus3db);
    }
    const PatternTextLayout texts = layoutPatternTexts(layout, pic);
    out.pen(kTextColour);
    size_t placed = 0;
    for (const LobeMark& lobe : pic.lobes)
        for (const TextLines& block : lobe.blocks)
            out.blockTexts(lobe, block, texts.lobeBlocks[placed++], texts.lobeLine);
    if (pic.indicator) {
        out.pen(kIndicatorColour);
        out.line(pic.indicator->direction);
        out.dot(pic.indicator->dot, 2);
        out.plotTexts(pic.indicator->texts);
    }
}

void paintLabels(Painter& out, const PatternLayout& layout, const PatternPicture& pic) {
    const PatternLabels& l = pic.labels;
    out.pen(kTextColour);
    out.bandLine(layout.topBand(), 0, l.frequency, pic.title, l.cut);
    out.bandLine(layout.topBand(), 1, l.norm, pic.quantity, l.maxAngle);
    for (size_t k = 0; k < l.patterns.size(); ++k) {
        out.pen(l.patterns[k].colour);
        out.bandLine(layout.bottomBand(), static_cast<int>(k), l.patterns[k].caption, "", l.patterns[k].range);
    }
}

} // namespace

PatternLayout::PatternLayout(const QRect& area, int patternLines, double plotRadius) : m_area(area) {
    const double span = 2 * (plotRadius + 20);
    const double w = area.width(), h = area.height();
    const double first = std::max(1.0, std::min(w, h)) / span;
    m_normalFont = std::max(9, static_cast<int>(std::lround(8.5 * first)));
    m_smallFont = std::max(8, static_cast<int>(std::lround(7 * first)));
    m_line = m_normalFont * 1.4;
    const double top = 2 * m_line + 4, bottom = std::max(1, patternLines) * m_line + 4;
    const double plot = std::max(10.0, std::min(w, h - top - bottom));
    m_scale = plot / span;
    m_top = QRectF(area.left(), area.top(), w, top);
    m_bottom = QRectF(area.left(), area.top() + h - bottom, w, bottom);
    m_centre = QPointF(area.left() + w / 2, area.top() + top + (h - top - bottom) / 2);
}

QPointF PatternLayout::toPixel(PlotPoint p) const {
    return {m_centre.x() + p.x * m_scale, m_centre.y() - p.y * m_scale};
}

PlotPoint PatternLayout::toDrawing(QPointF pixel) const {
    return {(pixel.x() - m_centre.x()) / m_scale, (m_centre.y() - pixel.y()) / m_scale};
}

PatternTextLayout layoutPatternTexts(const PatternLayout& layout, const PatternPicture& pic) {
    PatternTextLayout out;
    std::vector<TextBox> fixed;
    for (const PlotText& t : pic.gridTexts) {
        out.grid.push_back(textBox(layout, t));
        fixed.push_back(asTextBox(out.grid.back()));
    }
    const QFontMetricsF metrics(fontOf(layout.smallFontPixels()));
    out.lobeLine = metrics.lineSpacing();
    // The lobes' own blocks (mark, block 0) are placed before the -3 dB
    // angles, so that they keep the places nearest their lobes.
    std::vector<std::pair<size_t, size_t>> order;
    for (size_t m = 0; m < pic.lobes.size(); ++m) order.push_back({m, 0});
    for (size_t m = 0; m < pic.lobes.size(); ++m)
        for (size_t b = 1; b < pic.lobes[m].blocks.size(); ++b) order.push_back({m, b});
    std::vector<TextBlock> blocks;
    for (const auto& [m, b] : order) {
        const LobeMark& mark = pic.lobes[m];
        const TextLines& lines = mark.blocks[b];
        double width = 0;
        for (size_t i = 0; i < lines.count; ++i)
            width = std::max(width, metrics.horizontalAdvance(q(mark.texts[lines.first + i].text)));
        const QPointF at = layout.toPixel(mark.texts[lines.first].at), anchor = layout.toPixel(lines.anchor);
        blocks.push_back(
            {{at.x(), at.y(), width, out.lobeLine * static_cast<double>(lines.count)}, anchor.x(), anchor.y()});
    }
    const QRectF plot(layout.area().left(), layout.topBand().bottom(), layout.area().width(),
                      layout.bottomBand().top() - layout.topBand().bottom());
    const QPointF centre = layout.toPixel(0, 0);
    const std::vector<TextBox> places = placeTextBlocks(blocks, fixed, asTextBox(plot), centre.x(), centre.y());
    std::vector<std::vector<QRectF>> byMark(pic.lobes.size());
    for (size_t m = 0; m < pic.lobes.size(); ++m) byMark[m].resize(pic.lobes[m].blocks.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const TextBox& t = places[k];
        byMark[order[k].first][order[k].second] = QRectF(t.left, t.top, t.width, t.height);
    }
    for (const auto& boxes : byMark) out.lobeBlocks.insert(out.lobeBlocks.end(), boxes.begin(), boxes.end());
    return out;
}

PatternLayout layoutFor(const QRect& area, const PatternPicture& picture) {
    return PatternLayout(area, static_cast<int>(picture.labels.patterns.size()), picture.plotRadius);
}

void paintPattern(QPainter& painter, const QRect& area, const PatternPicture& pic) {
    painter.save();
    painter.setClipRect(area);
    const PatternLayout layout = layoutFor(area, pic);
    Painter out(painter, layout);
    out.pen(kTextColour);
    if (pic.noData) {
        QFont font = painter.font();
        font.setPixelSize(layout.normalFontPixels());
        painter.setFont(font);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, q(kNoPatternText));
    } else {
        paintPlot(out, layout, pic, std::max(1.5, layout.pixelsPerUnit()));
        paintLabels(out, layout, pic);
    }
    painter.restore();
}

} // namespace wavra
