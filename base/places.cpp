#include "base/places.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/environment.h"
#include "base/files.h"

namespace fs = std::filesystem;

namespace wavra {

namespace {

// The settings files each user gets a copy of.
constexpr const char* kUserSettings[] = {"wavra.ini", "view.ini"};

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

fs::path resolvedProgram(const std::string& programPath) {
    std::error_code ec;
    fs::path program = fs::absolute(fs::path(programPath), ec);
    if (ec) program = fs::path(programPath);
    fs::path resolved = fs::weakly_canonical(program, ec);
    return ec ? program.lexically_normal() : resolved;
}

// <prefix>/share/wavra for a program in <prefix>/bin with its data there;
// empty otherwise.
fs::path systemDataDir(const fs::path& programDir) {
    if (programDir.filename() != "bin") return {};
    const fs::path data = programDir.parent_path() / "share" / "wavra";
    std::error_code ec;
    return fs::is_directory(data / "exe", ec) ? data : fs::path();
}

// An XDG base directory: the variable when it holds an absolute path (a
// relative one is to be ignored), else $HOME/<fallback>; empty without a home.
std::string xdgDir(const PlaceProbe& probe, const std::string& variable, const std::string& fallback) {
    const std::string value = probe.variable(variable);
    if (!value.empty() && value.front() == '/') return withSlash(value);
    const std::string home = probe.variable("HOME");
    if (home.empty() || home.front() != '/') return {};
    return withSlash(home) + fallback + "/";
}

// The tree takes this user's files when its settings folder and its out/
// (or the tree itself, before out/ is made) are writable.
bool treeWritable(const std::string& installDir, const PlaceProbe& probe) {
    std::error_code ec;
    const std::string out = installDir + "out/";
    return probe.writable(installDir + "exe/") && probe.writable(fs::is_directory(out, ec) ? out : installDir);
}

bool copySettingsFile(const Places& places, const std::string& name, bool& copied, std::string& error) {
    const std::string target = places.settingsDir + name;
    if (pathExists(target)) return true;
    std::string text, reason;
    const std::string shipped = places.installDir + "exe/" + name;
    if (!readFileText(shipped, text, &reason)) return true; // the program says what it misses
    if (!writeFileAtomic(target, text, reason)) {
        error = "Cannot copy " + shipped + " to " + target + ": " + reason + ".";
        return false;
    }
    copied = true;
    return true;
}

} // namespace

PlaceProbe systemProbe() {
    PlaceProbe probe;
    probe.variable = [](const std::string& name) -> std::string {
        if (std::string value = environmentValue(name.c_str()); !value.empty()) return value;
        if (name != "HOME") return {};
        const passwd* user = getpwuid(getuid());
        return user && user->pw_dir ? user->pw_dir : "";
    };
    probe.writable = [](const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; };
    return probe;
}

std::string installDirOf(const std::string& programPath) {
    if (programPath.empty()) return {};
    const fs::path programDir = resolvedProgram(programPath).parent_path();
    const fs::path data = systemDataDir(programDir);
    return withSlash((data.empty() ? programDir.parent_path() : data).generic_string());
}

Places portablePlaces(const std::string& installDir) {
    Places places;
    places.installDir = installDir;
    places.settingsDir = installDir + "exe/";
    places.dataDir = installDir;
    return places;
}

Places placesFor(const std::string& programPath, const PlaceProbe& probe) {
    Places places = portablePlaces(installDirOf(programPath));
    places.systemInstall = !systemDataDir(resolvedProgram(programPath).parent_path()).empty();
    places.perUser =
        places.systemInstall || probe.variable("WAVRA_PER_USER") == "1" || !treeWritable(places.installDir, probe);
    if (!places.perUser) return places;
    const std::string config = xdgDir(probe, "XDG_CONFIG_HOME", ".config");
    const std::string data = xdgDir(probe, "XDG_DATA_HOME", ".local/share");
    places.settingsDir = config.empty() ? config : config + "wavra/";
    places.dataDir = data.empty() ? data : data + "wavra/";
    return places;
}

bool preparePlaces(const Places& places, std::string& note, std::string& error) {
    note.clear();
    if (!places.perUser) return true;
    if (places.settingsDir.empty() || places.dataDir.empty()) {
        error =
            "No folder for your settings and results: neither $XDG_CONFIG_HOME, $XDG_DATA_HOME nor $HOME "
            "names one.";
        return false;
    }
    for (const std::string& dir : {places.settingsDir, places.dataDir + "out/", places.dataDir + "pov/"}) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (!fs::is_directory(dir, ec)) {
            error = "Cannot make the folder " + dir + " for your files" + (ec ? ": " + ec.message() : "") + ".";
            return false;
        }
    }
    bool copied = false;
    for (const char* name : kUserSettings)
        if (!copySettingsFile(places, name, copied, error)) return false;
    if (copied)
        note = "Your settings are in " + places.settingsDir + ", your engine decks, reports and scenes in " +
               places.dataDir + "out/ and " + places.dataDir + "pov/.";
    return true;
}

} // namespace wavra
