// A result view's picture as a file: PNG or SVG, painted by the view's own
// renderer at a given size, written through a temporary file so that an
// existing file is replaced only by a complete picture.
#pragma once

#include <optional>
#include <string>

#include "render/result_view.h"

namespace wavra {

enum class PictureFormat { Png, Svg };

// The format a file name asks for by its extension (".png", ".svg", any
// case); nullopt for any other.
std::optional<PictureFormat> pictureFormatOf(const std::string& path);

// False, with the reason in `error`, when the picture could not be made or
// written; the old file is then kept.
bool writeViewPicture(const ResultView& view, const std::string& path, PictureFormat format, int width, int height,
                      std::string& error);

} // namespace wavra
