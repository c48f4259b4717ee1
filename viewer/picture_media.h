// Where pictures come from and go to: picture files and the clipboard.
#pragma once

#include <string>

#include "viewer/picture_store.h"

namespace wavra::view {

class PictureMedia {
public:
    virtual ~PictureMedia() = default;
    // The picture of a file; nullptr when it cannot be read as one.
    virtual PicturePtr load(const std::string& path) = 0;
    // Writes a picture file in the format of its extension (".bmp" or
    // ".png"), through a temporary file; false on failure.
    virtual bool save(const Picture& picture, const std::string& path) = 0;
    virtual void clearClipboard() = 0;
    // The clipboard's picture; nullptr when it holds none.
    virtual PicturePtr clipboardPicture() = 0;
};

} // namespace wavra::view
