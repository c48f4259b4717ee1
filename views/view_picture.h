// A result view's picture as a PNG or SVG file, painted through the view's
// own paint(), as the window shows it. The batch command line (--png,
// --svg) and the windows' "Export view..." write through here.
#pragma once

#include <optional>
#include <string>

namespace wavra {

class ResultView;

enum class PictureFormat { Png, Svg };

// The format of a file name by its extension (".png", ".svg", any case).
std::optional<PictureFormat> pictureFormatOf(const std::string& path);

// Paints `view` at width x height pixels into `path`. False, with the reason
// in `error`, when the picture cannot be made or written; an existing file
// is then kept.
bool writeViewPicture(const ResultView& view, const std::string& path, PictureFormat format, int width, int height,
                      std::string& error);

} // namespace wavra
