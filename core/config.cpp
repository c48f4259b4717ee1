#include "core/config.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/files.h"
#include "base/ini_lines.h"
#include "base/text.h"
#include "core/capacity.h"
#include "core/fields.h"

namespace fs = std::filesystem;

namespace wavra {

namespace {

const std::string kIniName = "exe/wavra.ini";
const std::string kNewFileName = "wavra.new";

// The settings file as messages name it: exe/wavra.ini in the portable
// tree, the full path of the user's copy in a shared install.
std::string iniName(const Model& model) { return model.settingsDir.empty() ? kIniName : model.settingsFile(); }
std::string newName(const Model& model) { return directoryOf(iniName(model)) + kNewFileName; }

// How a text setting is taken from the file. Keys are always compared in
// upper case; values keep their case unless the rule says otherwise, because
// paths and file extensions are case-sensitive on Linux.
enum class TextRule {
    AsWritten, // free text or a directory; may be empty
    NonEmpty,  // an empty value keeps the default (program paths, extension)
    Engine,    // engine name: upper case, exactly 9 characters
    StartDir,  // model start directory: must exist, else installDir
};

using Field = std::variant<int16_t Model::*, double Model::*, std::string Model::*>;

struct Setting {
    std::string_view key;
    Field field;
    TextRule rule = TextRule::AsWritten;
};

const Setting kSettings[] = {
    {"NPAD", &Model::notepadPath, TextRule::NonEmpty},
    {"WPAD", &Model::wordpadPath, TextRule::NonEmpty},
    {"WORD", &Model::wordPath, TextRule::NonEmpty},
    {"ITSDIR", &Model::itsHfDir},
    {"ITSSUB", &Model::itsHfSub},
    {"ITSTYP", &Model::itsHfType},
    {"AREA", &Model::itsHfArea},
    {"PTOP", &Model::itsHfPtop},
    {"NECDIR", &Model::modelDir, TextRule::StartDir},
    {"NECEXT", &Model::modelExt, TextRule::NonEmpty},
    {"REDRAW", &Model::redrawMode},
    {"NOTEP", &Model::useNotepad},
    {"Z0", &Model::z0},
    {"POWER", &Model::power},
    {"LINLOG", &Model::linLogFactor},
    {"MNLIN", &Model::minLinearDb},
    {"MNLOG", &Model::minLogDb},
    {"LINSTP", &Model::linearStepDb},
    {"LOGSTP", &Model::logStepDb},
    {"SMITH", &Model::smithMode},
    {"SWRLIM", &Model::swrBandLimit},
    {"ENGINE", &Model::engineName, TextRule::Engine},
    {"TIMEOUT", &Model::engineTimeout},
    {"PARALLEL", &Model::parallelRuns},
    {"REUSE", &Model::reuseResults},
    {"WATCH", &Model::watchModelFile},
    {"MXSEGS", &Model::maxSegments},
    {"MXPNTS", &Model::maxFarFieldPoints},
    {"MXFREQ", &Model::maxFreqSteps},
    {"MXEX", &Model::maxSources},
    {"MXLD", &Model::maxLoads},
    {"MXTL", &Model::maxTransLines},
    {"ABSS", &Model::optimizerAbs},
    {"MAXS", &Model::optimizerMaxStep},
    {"MINS", &Model::optimizerMinStep},
    {"OPT1", &Model::optimizerText1},
    {"OPT2", &Model::optimizerText2},
};

// One line of the file taken apart: key, value and the trailing comment with
// the blanks and tabs that stand directly before its apostrophe.
struct IniSetting {
    std::string key;   // upper case; "*" when the line has none
    std::string value; // as written, trimmed; "*" when missing
    IniLine comment;
};

IniSetting splitLine(const std::string& line) {
    IniSetting parts;
    parts.comment = splitIniComment(line, IniComment::FirstApostrophe);
    parts.key = toUpper(findField(line, 1, "=").value_or("*"));
    parts.value = findField(line, 2, "=").value_or("*");
    return parts;
}

bool isIgnoredKey(const std::string& key) { return key.empty() || key == "*"; }

const Setting* findSetting(const std::string& key) {
    for (const Setting& s : kSettings)
        if (s.key == key) return &s;
    return nullptr;
}

// The two-digit keys rc address calcPresets[r][c] with r = 1..6, c = 0..1;
// every other number is no preset.
struct PresetIndex {
    size_t row, column;
};
std::optional<PresetIndex> presetIndex(const std::string& key) {
    if (!isNumeric(key)) return std::nullopt;
    const int32_t k = toInt32(readNumber(key));
    const int32_t row = toInt32(k / 10.0);
    const int32_t column = k % 10;
    if (row < 1 || row > 6 || column < 0 || column > 1) return std::nullopt;
    return PresetIndex{static_cast<size_t>(row), static_cast<size_t>(column)};
}

// Texts are written as they are, except that a line break inside a value
// would start a new line of the file: it becomes a blank.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

// A missing value field reads as empty text; a stray carriage return reads
// as the blank that the rewrite would make of it.
std::string textValue(const std::string& value) { return value == "*" ? std::string() : trim(oneLine(value)); }

// The model start directory for a NECDIR value: relative values are taken
// below the folder of out/ (the install directory of the portable tree); a
// directory that does not exist gives that folder.
std::string startDirectory(const std::string& installDir, const std::string& value) {
    // A NUL byte would cut the name short at the system call: no directory.
    if (value.empty() || value.find('\0') != std::string::npos) return installDir;
    fs::path dir(value);
    if (dir.is_relative()) dir = fs::path(installDir) / dir;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return installDir;
    std::string result = dir.lexically_normal().generic_string();
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

void readTextSetting(Model& model, const Setting& setting, std::string Model::*field, const std::string& value) {
    const std::string text = textValue(value);
    switch (setting.rule) {
    case TextRule::AsWritten: model.*field = text; break;
    case TextRule::NonEmpty:
        if (!text.empty()) model.*field = text;
        break;
    case TextRule::Engine:
        if (!text.empty()) {
            std::string name = toUpper(text);
            name.resize(9, ' ');
            model.*field = name;
        }
        break;
    case TextRule::StartDir: model.*field = startDirectory(model.workDir(), text); break;
    }
}

// A number that is not given at all ("Z0" alone, "Z0=") keeps the current
// value: a zero capacity or impedance would break the program, and a line
// end in the wrong place must not change a setting.
void readSetting(Model& model, Diagnostics& found, const Setting& setting, const std::string& value) {
    const bool missing = trim(textValue(value)).empty();
    std::visit(
        [&](auto field) {
            using Member = decltype(field);
            if constexpr (std::is_same_v<Member, int16_t Model::*>) {
                if (!missing)
                    model.*field =
                        clampedInt16(found, readNumber(value), std::string(setting.key) + " in " + iniName(model));
            } else if constexpr (std::is_same_v<Member, double Model::*>) {
                if (!missing) model.*field = readNumber(value);
            } else {
                readTextSetting(model, setting, field, value);
            }
        },
        setting.field);
}

void resetSettings(Model& model) {
    static const Model defaults;
    for (const Setting& s : kSettings) std::visit([&](auto field) { model.*field = defaults.*field; }, s.field);
    if (!model.workDir().empty()) model.modelDir = model.workDir();
    for (auto& row : model.calcPresets) row = {};
}

void readLine(Model& model, Diagnostics& found, const std::string& line) {
    const IniSetting parts = splitLine(line);
    if (isIgnoredKey(parts.key)) return;
    if (const Setting* setting = findSetting(parts.key)) {
        readSetting(model, found, *setting, parts.value);
    } else if (const auto preset = presetIndex(parts.key)) {
        model.calcPresets[preset->row][preset->column] = toUpper(textValue(parts.value));
    }
}

std::string settingText(const Model& model, const Setting& setting) {
    return std::visit(
        [&](auto field) -> std::string {
            using Member = decltype(field);
            if constexpr (std::is_same_v<Member, std::string Model::*>) return oneLine(model.*field);
            else return str(static_cast<double>(model.*field));
        },
        setting.field);
}

std::string rewriteLine(const Model& model, const std::string& line) {
    const IniSetting parts = splitLine(line);
    if (isIgnoredKey(parts.key)) return line;
    std::string value;
    if (const Setting* setting = findSetting(parts.key)) {
        value = settingText(model, *setting);
    } else if (const auto preset = presetIndex(parts.key)) {
        value = oneLine(model.calcPresets[preset->row][preset->column]);
    } else {
        return line;
    }
    return joinIniLine(parts.key, value, parts.comment);
}

// Copies the file with the current values into wavra.new beside it and
// renames that over exe/wavra.ini; the old file stays until the new one is
// complete. A symbolic link is written through to its file, the file keeps
// its permissions, and a file nobody may write is left as it is.
bool writeConfiguration(Model& model, Ui& ui, const std::vector<std::string>& lines) {
    const std::string iniPath = model.settingsFile();
    if (isWriteProtected(iniPath)) {
        ui.message("Settings not saved: " + iniName(model) + " is read-only.", "wavra", Icon::Exclamation);
        return false;
    }
    std::string reason;
    if (!writeFileAtomicVia(iniPath, rewriteSettings(model, lines), kNewFileName, reason)) {
        ui.message("Settings not saved: " + newName(model) + " could not be written.", "wavra", Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace

void readSettings(Model& model, Diagnostics& found, const std::vector<std::string>& lines) {
    resetSettings(model);
    int64_t number = 0;
    for (const std::string& line : lines) {
        const size_t from = found.size();
        readLine(model, found, line);
        setLine(found, from, ++number);
    }
}

bool applySetting(Model& model, Diagnostics& found, const std::string& keyValue, std::string& error) {
    const size_t equals = keyValue.find('=');
    const std::string key = toUpper(trim(keyValue.substr(0, equals)));
    const std::string value = equals == std::string::npos ? std::string() : trim(keyValue.substr(equals + 1));
    const Setting* setting = findSetting(key);
    if (!setting && !presetIndex(key)) {
        error = "--set: '" + key + "' is no setting of " + iniName(model);
        return false;
    }
    if (setting && !std::holds_alternative<std::string Model::*>(setting->field) && !isNumeric(value)) {
        error = "--set: " + key + " takes a number, not '" + value + "'";
        return false;
    }
    readLine(model, found, key + "=" + value);
    return true;
}

std::string rewriteSettings(const Model& model, const std::vector<std::string>& lines) {
    return rewriteIniLines(lines, [&](const std::string& line) { return rewriteLine(model, line); });
}

bool readConfiguration(Model& model, Ui& ui, ConfigMode mode) {
    std::vector<std::string> lines;
    const bool found = readLines(model.settingsFile(), lines);
    if (mode == ConfigMode::Read) {
        // The clamp messages name the setting and the file; the line adds
        // nothing a user needs to find it.
        Diagnostics readFindings;
        readSettings(model, readFindings, lines);
        showDiagnostics(ui, readFindings, LinePrefix::Omitted);
    }
    if (!found) {
        ui.message("Initialisation file " + iniName(model) + " not found.", "wavra", Icon::Critical);
        return false;
    }
    return mode == ConfigMode::Write ? writeConfiguration(model, ui, lines) : true;
}

int parallelRunCount(const Model& model) {
    if (model.parallelRuns >= 1) return model.parallelRuns;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores >= 1 ? static_cast<int>(std::min(cores, 32767u)) : 1;
}

} // namespace wavra
