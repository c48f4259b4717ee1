#include "viewer/image_media.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QString>

#include "base/files.h"
#include "viewer/files.h"
#include "viewer/text_rules.h"

namespace wavra::view {

QImage imageOf(const Picture& picture) {
    const auto* image = dynamic_cast<const ImagePicture*>(&picture);
    return image ? image->image() : QImage();
}

PicturePtr ImageMedia::load(const std::string& path) {
    // The reader looks at the content, not the name, and refuses headers
    // that claim more pixels than its allocation limit.
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage image;
    if (!reader.read(&image) || image.isNull()) return nullptr;
    return std::make_shared<ImagePicture>(std::move(image));
}

bool ImageMedia::save(const Picture& picture, const std::string& path) {
    const QImage image = imageOf(picture);
    if (image.isNull()) return false;
    const char* format = endsWithNoCase(path, ".png") ? "PNG" : "BMP";
    const std::string temporary = temporaryBeside(path);
    if (!image.save(QString::fromStdString(temporary), format)) {
        deleteFile(temporary);
        return false;
    }
    return replaceWith(path, temporary);
}

void ImageMedia::clearClipboard() { QGuiApplication::clipboard()->clear(); }

PicturePtr ImageMedia::clipboardPicture() {
    QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return nullptr;
    return std::make_shared<ImagePicture>(std::move(image));
}

} // namespace wavra::view
