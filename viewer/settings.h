// The viewer's settings file exe/view.ini: key=value lines, each of which
// may end in an apostrophe comment. It is read at start and rewritten at
// exit by copying it line by line with the current values, so only keys
// present in the file persist.
#pragma once

#include <string>
#include <vector>

#include "base/places.h"
#include "viewer/viewer_ui.h"

namespace wavra::view {

inline constexpr const char* kSettingsFile = "exe/view.ini";
inline constexpr const char* kDefaultPlotProgram = "bin_win/worldwin";

struct ViewSettings {
    std::string pictureDir;                        // DSPDIR: last picture directory, with trailing '/'
    std::string extension = ".bmp";                // DSPEXT: last extension used
    std::string plotProgram = kDefaultPlotProgram; // PLOTPRG: relative to the ItsHF directory unless absolute
    std::string shownFile = kSettingsFile;         // the file as messages name it (not a setting)
};

// One line taken apart. `key` is upper case and empty for a line without
// one; `value` is kept as written (paths are case-sensitive here).
struct SettingLine {
    std::string key;
    std::string value;
    bool hasComment = false;
    std::string comment; // the text after the apostrophe, without leading blanks
};
SettingLine splitSettingLine(const std::string& line);

// The settings of the file's lines; `baseDir` (with trailing '/': the install
// directory of the portable tree, the user's data folder of a shared
// install) is the default picture directory and the base of a relative one.
ViewSettings readSettings(const std::vector<std::string>& lines, const std::string& baseDir);

// The file's lines rewritten with the values of `settings`.
std::string rewriteSettings(const std::vector<std::string>& lines, const ViewSettings& settings);

// Reads view.ini of places.settingsDir (exe/view.ini of the portable tree);
// shows "Initialisation file exe/view.ini not found." (the full path of a
// user's copy) and returns false when it cannot be read.
bool loadSettings(const Places& places, ViewSettings& settings, ViewerUi& ui);

// Rewrites the file through view.new beside it. A missing file or a failed
// write is reported and leaves the old file as it was.
bool saveSettings(const Places& places, const ViewSettings& settings, ViewerUi& ui);

} // namespace wavra::view
