// Pictures as QImage: picture files through Qt's image readers and writers,
// and the desktop clipboard.
#pragma once

#include <QImage>

#include "viewer/picture_media.h"

namespace wavra::view {

class ImagePicture : public Picture {
public:
    explicit ImagePicture(QImage image) : m_image(std::move(image)) {}
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// The pixels of a store picture made by ImageMedia; a null image otherwise.
QImage imageOf(const Picture& picture);

class ImageMedia : public PictureMedia {
public:
    PicturePtr load(const std::string& path) override;
    bool save(const Picture& picture, const std::string& path) override;
    void clearClipboard() override;
    PicturePtr clipboardPicture() override;
};

} // namespace wavra::view
