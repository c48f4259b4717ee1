#include "control/main_loop_programs.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "base/text.h"

namespace wavra {

namespace {

namespace fs = std::filesystem;

bool isExecutableFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::is_regular_file(st)) return false;
    const auto exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (st.permissions() & exec) != fs::perms::none;
}

std::string firstWord(const char* text) {
    if (!text) return {};
    const std::string t = trim(text);
    return t.substr(0, t.find_first_of(" \t"));
}

// Editors that only run inside a terminal; started from a window they would
// wait for input that never comes.
bool needsTerminal(const std::string& program) {
    static constexpr std::array<std::string_view, 14> kTerminalEditors = {
        "vi", "vim", "nvim", "view", "nano", "pico", "ed", "joe", "micro", "jed", "mcedit", "ne", "kak", "hx"};
    const std::string base = fs::path(program).filename().string();
    for (auto name : kTerminalEditors)
        if (base == name) return true;
    return false;
}

const char* environment(const char* name) { return std::getenv(name); }

std::string pathList() {
    const char* path = environment("PATH");
    return path ? path : "/usr/local/bin:/usr/bin:/bin";
}

} // namespace

std::string searchProgram(const std::string& name, const std::string& pathList) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
    size_t pos = 0;
    while (pos <= pathList.size()) {
        size_t end = pathList.find(':', pos);
        if (end == std::string::npos) end = pathList.size();
        std::string dir = end > pos ? pathList.substr(pos, end - pos) : ".";
        if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        const std::string candidate = dir + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
        pos = end + 1;
    }
    return {};
}

std::vector<std::string> editorCandidates(const char* visual, const char* editor) {
    std::vector<std::string> list;
    for (const char* variable : {visual, editor}) {
        const std::string program = firstWord(variable);
        if (!program.empty() && !needsTerminal(program)) list.push_back(program);
    }
    for (const char* program : {"xdg-open", "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma",
                                "featherpad", "geany", "leafpad"})
        list.emplace_back(program);
    return list;
}

std::string findProgram(Ui& ui, const std::string& name, const std::string& startDir) {
    ui.message("Executable program '" + name + "' not found.", "wavra", Icon::Exclamation);
    FileRequest request{"Search for executable program :", "Look for", startDir, "", "*"};
    const auto choice = ui.openFile(request);
    if (!choice) return kProgramNotFound;
    const std::string path = choice->path();
    if (!isExecutableFile(path)) {
        ui.message(path + " is not an executable program.", "wavra", Icon::Exclamation);
        return kProgramNotFound;
    }
    return path;
}

std::string locateProgram(Ui& ui, std::string& setting, const std::vector<std::string>& candidates,
                          const std::string& name, const std::string& pathList) {
    std::string found = setting == kProgramNotFound ? std::string() : searchProgram(setting, pathList);
    for (size_t i = 0; found.empty() && i < candidates.size(); ++i) found = searchProgram(candidates[i], pathList);
    if (found.empty()) found = findProgram(ui, name, "/usr/bin/");
    setting = found;
    return found;
}

std::string locateEditor(Settings& settings, Ui& ui) {
    return locateProgram(ui, settings.notepadPath, editorCandidates(environment("VISUAL"), environment("EDITOR")),
                         "text editor", pathList());
}

std::string locateReportViewer(Settings& settings, Ui& ui) {
    return locateProgram(ui, settings.wordpadPath, editorCandidates(environment("VISUAL"), environment("EDITOR")),
                         "report viewer", pathList());
}

} // namespace wavra
