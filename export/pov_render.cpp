#include "export/pov_render.h"

#include <algorithm>
#include <filesystem>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

constexpr int kWaitStepMs = 250;

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// povray's own words on a failure: its lines with "Error" and the ones
// after them, else the last lines it wrote.
std::string povrayComplaint(const std::string& output) {
    std::vector<std::string> lines;
    std::string current;
    for (char ch : output) {
        if (ch == '\n' || ch == '\r') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.empty()) lines.push_back(current);
    size_t first = lines.size() > 4 ? lines.size() - 4 : 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("Error") != std::string::npos) {
            first = i;
            break;
        }
    }
    std::string text;
    for (size_t i = first; i < lines.size() && i < first + 6; ++i) text += "\n" + lines[i];
    return text;
}

bool placePicture(const std::string& from, const std::string& to) {
    if (from == to) return true;
    if (renameFile(from, to)) return true;
    const bool copied = copyFile(from, to);
    deleteFile(from);
    return copied;
}

} // namespace

std::vector<std::string> povrayCommand(const std::string& sceneName, const std::string& pictureName,
                                       PovPictureSize size) {
    return {"povray",
            "+I" + sceneName,
            "+O" + pictureName,
            "+W" + std::to_string(size.width),
            "+H" + std::to_string(size.height),
            "+FN",
            "+A0.3",
            "-D",
            "-P"};
}

int povrayProgress(std::string_view output) {
    const size_t at = output.rfind("Rendered ");
    if (at == std::string_view::npos) return -1;
    const size_t open = output.find('(', at), close = output.find("%)", at);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return -1;
    return std::clamp(static_cast<int>(readNumber(output.substr(open + 1, close - open - 1))), 0, 100);
}

bool renderPovScene(ProcessRunner& runner, Ui& ui, const std::string& scene, const std::string& picture,
                    PovPictureSize size, const std::function<bool(int percent)>& progress) {
    const std::string dir = directoryOf(scene);
    // A name of its own in the scene's directory, so that an old picture
    // stays until the new one is complete.
    const std::string work = "." + fileName(picture) + "." + uniqueSuffix() + ".png";
    std::string error;
    auto process = runner.start(povrayCommand(fileName(scene), work, size), dir, error);
    if (!process) {
        ui.message("Cannot start the ray tracer povray: " + error, "wavra", Icon::Exclamation);
        return false;
    }
    const bool ended = waitInSteps(*process, kWaitStepMs,
                                   [&] { return !progress || progress(povrayProgress(process->standardError())); });
    const std::string workPath = dir + work;
    if (!ended) {
        process->terminate();
        deleteFile(workPath);
        ui.message("Rendering of " + scene + " stopped.", "wavra", Icon::Information);
        return false;
    }
    if (process->exitCode() != 0 || !pathExists(workPath)) {
        deleteFile(workPath);
        ui.message("povray could not render " + scene + ":" +
                       povrayComplaint(process->standardError() + process->standardOutput()),
                   "wavra", Icon::Exclamation);
        return false;
    }
    if (!placePicture(workPath, picture)) {
        ui.message("Cannot write the picture " + picture + ".", "wavra", Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace wavra
