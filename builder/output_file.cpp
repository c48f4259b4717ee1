#include "builder/output_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "builder/number_text.h"

namespace fs = std::filesystem;

namespace wavra::build {
namespace {

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string currentDirectory() {
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    return ec ? std::string("?") : p.string();
}

std::string systemError(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error);
}

// A fresh name beside the target, so the rename stays within one directory.
fs::path temporaryBeside(const fs::path& target) {
    std::random_device device;
    std::mt19937_64 random(device());
    return target.parent_path() / ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000000));
}

// Writes the whole text to a new file; the file must not exist yet.
int writeNew(const fs::path& file, const std::string& text) {
    std::FILE* f = std::fopen(file.c_str(), "wbx");
    if (!f) return errno ? errno : EIO;
    const size_t written = std::fwrite(text.data(), 1, text.size(), f);
    int error = (written != text.size() || std::fflush(f) != 0) ? (errno ? errno : EIO) : 0;
    if (std::fclose(f) != 0 && error == 0) error = errno ? errno : EIO;
    return error;
}

// An existing file that we may not write to is refused, as opening it for
// output would be, rather than silently replaced.
int checkReplaceable(const fs::path& target) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return 0;
    std::FILE* f = std::fopen(target.c_str(), "ab");
    if (!f) return errno ? errno : EACCES;
    std::fclose(f);
    return 0;
}

} // namespace

void applySettingsLine(const std::string& line, const std::string& installDir, OutputSettings& settings) {
    std::string text = line.substr(0, line.find('\''));
    const size_t equals = text.find('=');
    if (equals == std::string::npos) return;
    const std::string key = upperCase(trimBlanks(oneLine(text.substr(0, equals))));
    const std::string value = trimBlanks(oneLine(text.substr(equals + 1)));
    if (key == "NECDIR") {
        // An empty NECDIR means the installation directory, as for the main
        // program; a relative one lies below it.
        const fs::path dir(value);
        settings.directory = withSlash(dir.is_absolute() ? value : installDir + value);
    } else if (key == "NECEXT" && !value.empty()) {
        settings.extension = value.front() == '.' ? value : "." + value;
    }
}

OutputSettings readOutputSettings(const std::string& installDir) {
    OutputSettings settings;
    const std::string root = withSlash(installDir);
    settings.directory = root + "exe/";
    std::ifstream in(root + "exe/wavra.ini", std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) applySettingsLine(line, root, settings);
    return settings;
}

std::string outputPathFor(const OutputSettings& settings, const std::string& shapeName) {
    return withSlash(settings.directory) + shapeName + settings.extension;
}

WriteOutcome writeDeckFile(const std::string& path, const std::string& text) {
    const fs::path target(path);
    std::error_code ec;
    if (target.filename().empty() || fs::is_directory(target, ec))
        return {false, "File: " + path + " not found; CurDir$: " + currentDirectory()};
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (!fs::is_directory(dir, ec)) return {false, "Path: " + path + " not found; CurDir$: " + currentDirectory()};
    if (int error = checkReplaceable(target)) return {false, systemError(path, error)};

    const fs::path temporary = temporaryBeside(dir / target.filename());
    if (int error = writeNew(temporary, text)) {
        fs::remove(temporary, ec);
        return {false, systemError(path, error)};
    }
    const fs::perms oldPerms = fs::status(target, ec).permissions();
    if (!ec && oldPerms != fs::perms::unknown) fs::permissions(temporary, oldPerms, ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        const int error = ec.value();
        fs::remove(temporary, ec);
        return {false, systemError(path, error)};
    }
    return {true, ""};
}

std::string createdMessage(const std::string& path, int totalSegments) {
    return "'" + path + "' created, with" + plainInteger(totalSegments) + " segments.";
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

} // namespace wavra::build
