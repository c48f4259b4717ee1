#include "render/view_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

bool writeBytes(const std::string& path, const QByteArray& bytes, std::string& error) {
    std::string reason;
    if (writeFileAtomic(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())), reason)) return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

bool encodePng(const ResultView& view, const QRect& area, QByteArray& bytes) {
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.paint(painter, area);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG");
}

void encodeSvg(const ResultView& view, const QRect& area, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(area.size());
    svg.setViewBox(area);
    svg.setTitle(QString::fromStdString("wavra " + view.name()));
    QPainter painter(&svg);
    painter.fillRect(area, Qt::white);
    view.paint(painter, area);
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
    const std::string lower = toLower(path);
    auto endsWith = [&lower](const char* ext) {
        return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ext) == 0;
    };
    if (endsWith(".png")) return PictureFormat::Png;
    if (endsWith(".svg")) return PictureFormat::Svg;
    return std::nullopt;
}

bool writeViewPicture(const ResultView& view, const std::string& path, PictureFormat format, int width, int height,
                      std::string& error) {
    const QRect area(0, 0, width, height);
    QByteArray bytes;
    if (format == PictureFormat::Svg) {
        encodeSvg(view, area, bytes);
    } else if (!encodePng(view, area, bytes)) {
        error = "cannot encode the picture for " + path;
        return false;
    }
    return writeBytes(path, bytes, error);
}

} // namespace wavra
