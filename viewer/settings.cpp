#include "viewer/settings.h"

#include "base/files.h"
#include "base/ini_lines.h"
#include "viewer/files.h"
#include "viewer/text_rules.h"

namespace wavra::view {

namespace {

const std::string kNewFile = "view.new"; // beside exe/view.ini

std::string asDirectory(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string missingMessage() { return std::string("Initialisation file ") + kSettingsFile + " not found."; }

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
    std::string reason;
    if (!writeFileAtomicVia(installDir + kSettingsFile, rewriteSettings(lines, settings), kNewFile, reason)) {
        ui.message(std::string("Initialisation file ") + kSettingsFile +
                       " could not be rewritten; it keeps its old settings.",
                   Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace wavra::view
