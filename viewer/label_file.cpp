#include "viewer/label_file.h"

#include <fstream>

#include "base/files.h"
#include "viewer/files.h"
#include "viewer/text_rules.h"

namespace wavra::view {

namespace {
// A label is one line of a text box: a longer first line is cut here, so a
// large file without line ends is never read whole.
constexpr std::streamsize kMaxLabel = 4096;
} // namespace

std::string labelPath(const std::string& picturePath) {
    const PathParts parts = splitPath(picturePath);
    return parts.dir + parts.name + ".txt";
}

std::string readLabel(const std::string& picturePath) {
    const std::string path = labelPath(picturePath);
    if (!fileExists(path)) return {};
    std::ifstream in(path, std::ios::binary);
    std::string label(static_cast<size_t>(kMaxLabel), '\0');
    in.read(label.data(), kMaxLabel);
    label.resize(static_cast<size_t>(in.gcount()));
    const size_t end = label.find_first_of("\r\n");
    if (end != std::string::npos) label.resize(end);
    return label;
}

bool writeLabel(const std::string& picturePath, const std::string& label) {
    const std::string path = labelPath(picturePath);
    return writeFileAtomic(path, label + "\n");
}

} // namespace wavra::view
