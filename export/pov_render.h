// Rendering an exported scene with the ray tracer povray: the argument
// list, its progress from what it prints, and the picture it leaves.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ui.h"
#include "engine/process.h"

namespace wavra {

struct PovPictureSize {
    int width = 800, height = 600;
};

// povray +I<scene> +O<picture> +W<width> +H<height> +FN +A0.3 -D -P: a PNG
// with antialiasing, no preview window, no pause at the end. The names are
// relative to the scene's directory, where povray runs: its file-access
// rules let it write there.
std::vector<std::string> povrayCommand(const std::string& sceneName, const std::string& pictureName,
                                       PovPictureSize size);

// The percentage of the newest "Rendered N of M pixels" line; -1 before
// the first one.
int povrayProgress(std::string_view output);

// Renders `scene` into the PNG `picture` (replaced only by a complete
// picture). `progress` is called every 250 ms with the percentage (-1
// while povray parses) and returns false to stop it. True when the picture
// was written; otherwise the reason (povray's parse error, a missing
// povray, a stop) was shown through ui.
bool renderPovScene(ProcessRunner& runner, Ui& ui, const std::string& scene, const std::string& picture,
                    PovPictureSize size, const std::function<bool(int percent)>& progress);

} // namespace wavra
