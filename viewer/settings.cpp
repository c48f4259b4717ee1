#include "viewer/settings.h"

#include "viewer/files.h"
#include "viewer/text_rules.h"

namespace wavra::view {

namespace {

const std::string kNewFile = "exe/view.new";

// A comment starts at an apostrophe that opens the line or follows a blank
// or tab, so a directory such as /home/o'neil/maps stays one value.
size_t commentStart(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '\'' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return i;
    return std::string::npos;
}

std::string asDirectory(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string missingMessage() { return std::string("Initialisation file ") + kSettingsFile + " not found."; }

} // namespace

SettingLine splitSettingLine(const std::string& line) {
    SettingLine parts;
    std::string body = line;
    const size_t quote = commentStart(line);
    if (quote != std::string::npos) {
        parts.hasComment = true;
        parts.comment = trim(line.substr(quote + 1));
        body = line.substr(0, quote);
    }
    const size_t equals = body.find('=');
    if (equals == std::string::npos) return parts;
    parts.key = toUpper(trim(body.substr(0, equals)));
    if (!parts.key.empty()) parts.value = trim(body.substr(equals + 1));
    return parts;
}

ViewSettings readSettings(const std::vector<std::string>& lines, const std::string& installDir) {
    ViewSettings settings;
    settings.pictureDir = installDir;
    for (const std::string& line : lines) {
        const SettingLine parts = splitSettingLine(line);
        if (parts.key == "DSPDIR") {
            std::string dir = asDirectory(parts.value);
            if (!dir.empty() && dir.front() != '/') dir = installDir + dir;
            settings.pictureDir = directoryExists(dir) ? dir : installDir;
        } else if (parts.key == "DSPEXT" && !parts.value.empty()) {
            settings.extension = parts.value.front() == '.' ? parts.value : "." + parts.value;
        } else if (parts.key == "PLOTPRG" && !parts.value.empty()) {
            settings.plotProgram = parts.value;
        }
    }
    return settings;
}

std::string rewriteSettings(const std::vector<std::string>& lines, const ViewSettings& settings) {
    std::string text;
    for (const std::string& line : lines) {
        const SettingLine parts = splitSettingLine(line);
        if (parts.key.empty()) {
            // Blank and comment lines are the user's own notes: kept as they stand.
            text += line + "\n";
            continue;
        }
        std::string value = parts.value;
        if (parts.key == "DSPDIR") value = settings.pictureDir;
        if (parts.key == "DSPEXT") value = settings.extension;
        text += parts.key + "=" + value;
        if (parts.hasComment) text += "\t' " + parts.comment;
        text += "\n";
    }
    return text;
}

bool loadSettings(const std::string& installDir, ViewSettings& settings, ViewerUi& ui) {
    std::vector<std::string> lines;
    if (!readLines(installDir + kSettingsFile, lines)) {
        ui.message(missingMessage(), Icon::Critical);
        return false;
    }
    settings = readSettings(lines, installDir);
    return true;
}

bool saveSettings(const std::string& installDir, const ViewSettings& settings, ViewerUi& ui) {
    std::vector<std::string> lines;
    if (!readLines(installDir + kSettingsFile, lines)) {
        ui.message(missingMessage(), Icon::Critical);
        return false;
    }
    if (!writeFileAtomic(installDir + kSettingsFile, installDir + kNewFile, rewriteSettings(lines, settings))) {
        ui.message(std::string("Initialisation file ") + kSettingsFile +
                       " could not be rewritten; it keeps its old settings.",
                   Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace wavra::view
