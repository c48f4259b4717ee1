#include "views/view_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "core/files.h"
#include "core/text.h"
#include "views/result_view.h"

namespace wavra {

namespace {

bool encodePng(const ResultView& view, int width, int height, QByteArray& bytes) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.paint(painter, QRect(0, 0, width, height));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG");
}

void encodeSvg(const ResultView& view, int width, int height, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setTitle(QString::fromStdString("wavra " + view.name()));
    QPainter painter(&svg);
    painter.fillRect(QRect(0, 0, width, height), Qt::white);
    view.paint(painter, QRect(0, 0, width, height));
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
    const std::string ext = toLower(splitPath(path).ext);
    if (ext == ".png") return PictureFormat::Png;
    if (ext == ".svg") return PictureFormat::Svg;
    return std::nullopt;
}

bool writeViewPicture(const ResultView& view, const std::string& path, PictureFormat format, int width, int height,
                      std::string& error) {
    QByteArray bytes;
    if (format == PictureFormat::Png && !encodePng(view, width, height, bytes)) {
        error = "cannot encode the picture for " + path;
        return false;
    }
    if (format == PictureFormat::Svg) encodeSvg(view, width, height, bytes);
    if (writeFileAtomic(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())))) return true;
    error = "cannot write " + path;
    return false;
}

} // namespace wavra
