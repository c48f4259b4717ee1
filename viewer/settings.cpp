#include "viewer/settings.h"

#include "base/files.h"
#include "base/ini_lines.h"
#include "viewer/files.h"
#include "viewer/text_rules.h"

namespace wavra::view {

namespace {

const std::string kNewFile = "view.new"; // beside view.ini

std::string asDirectory(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string settingsPath(const Places& places) { return places.settingsDir + "view.ini"; }
// The file as messages name it: exe/view.ini, or the full path of a user's copy.
std::string shownName(const Places& places) { return places.perUser ? settingsPath(places) : kSettingsFile; }
std::string missingMessage(const Places& places) { return "Initialisation file " + shownName(places) + " not found."; }

} // namespace

SettingLine splitSettingLine(const std::string& line) {
    SettingLine parts;
    // A comment starts only after a blank, so a directory such as
    // /home/o'neil/maps stays one value.
    const IniLine split = splitIniComment(line, IniComment::ApostropheAfterBlank);
    parts.hasComment = split.hasComment;
    if (split.hasComment) parts.comment = trim(split.comment, kBlanksAndTabs);
    const std::string& body = split.body;
    const size_t equals = body.find('=');
    if (equals == std::string::npos) return parts;
    parts.key = toUpper(trim(body.substr(0, equals), kBlanksAndTabs));
    if (!parts.key.empty()) parts.value = trim(body.substr(equals + 1), kBlanksAndTabs);
    return parts;
}

ViewSettings readSettings(const std::vector<std::string>& lines, const std::string& baseDir) {
    ViewSettings settings;
    settings.pictureDir = baseDir;
    for (const std::string& line : lines) {
        const SettingLine parts = splitSettingLine(line);
        if (parts.key == "DSPDIR") {
            std::string dir = asDirectory(parts.value);
            if (!dir.empty() && dir.front() != '/') dir = baseDir + dir;
            settings.pictureDir = directoryExists(dir) ? dir : baseDir;
        } else if (parts.key == "DSPEXT" && !parts.value.empty()) {
            settings.extension = parts.value.front() == '.' ? parts.value : "." + parts.value;
        } else if (parts.key == "PLOTPRG" && !parts.value.empty()) {
            settings.plotProgram = parts.value;
        }
    }
    return settings;
}

namespace {

// A keyed line is written as KEY=value, its comment after a tab, an
// apostrophe and a blank; blank and comment lines are the user's own notes
// and are kept as they stand.
std::string rewriteLine(const std::string& line, const ViewSettings& settings) {
    const SettingLine parts = splitSettingLine(line);
    if (parts.key.empty()) return line;
    std::string value = parts.value;
    if (parts.key == "DSPDIR") value = settings.pictureDir;
    if (parts.key == "DSPEXT") value = settings.extension;
    IniLine comment;
    comment.hasComment = parts.hasComment;
    comment.commentLead = "\t";
    comment.comment = " " + parts.comment;
    return joinIniLine(parts.key, value, comment);
}

} // namespace

std::string rewriteSettings(const std::vector<std::string>& lines, const ViewSettings& settings) {
    return rewriteIniLines(lines, [&settings](const std::string& line) { return rewriteLine(line, settings); });
}

bool loadSettings(const Places& places, ViewSettings& settings, ViewerUi& ui) {
    std::vector<std::string> lines;
    if (!readLines(settingsPath(places), lines)) {
        ui.message(missingMessage(places), Icon::Critical);
        return false;
    }
    settings = readSettings(lines, places.dataDir);
    settings.shownFile = shownName(places);
    return true;
}

bool saveSettings(const Places& places, const ViewSettings& settings, ViewerUi& ui) {
    std::vector<std::string> lines;
    if (!readLines(settingsPath(places), lines)) {
        ui.message(missingMessage(places), Icon::Critical);
        return false;
    }
    std::string reason;
    if (!writeFileAtomicVia(settingsPath(places), rewriteSettings(lines, settings), kNewFile, reason)) {
        ui.message("Initialisation file " + shownName(places) + " could not be rewritten; it keeps its old settings.",
                   Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace wavra::view
