#include "builder/shape_picture.h"

#include <QPainter>
#include <QPen>

#include "builder/picture_projection.h"

namespace wavra::build {

QPixmap drawShapePicture(const std::vector<WrittenWire>& wires, int width, int height) {
    QPixmap picture(width, height);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 1.2));
    for (const Line2D& l : projectWires(wires, width, height, 12)) painter.drawLine(QLineF(l.x1, l.y1, l.x2, l.y2));
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRect(0, 0, width - 1, height - 1);
    return picture;
}

} // namespace wavra::build
