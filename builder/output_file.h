// Where the deck goes and how it is written: the model directory and
// extension from the main program's settings file, and a write that never
// loses the old file.
#pragma once

#include <string>

#include "base/places.h"

namespace wavra::build {

struct OutputSettings {
    std::string directory; // with a trailing '/'
    std::string extension = ".nec";
};

// Reads NECDIR and NECEXT from the main program's settings (exe/wavra.ini of
// the portable tree, the user's copy in a shared install). The directory
// defaults to the program's exe/ in the portable tree and to the user's
// data folder in a shared install; a relative or empty NECDIR is taken
// below the folder of out/ (the portable tree's install directory), as the
// main program takes it. NECEXT gets a leading '.' when it has none. Both
// keep their case. A missing or unreadable file leaves the defaults.
OutputSettings readOutputSettings(const Places& places);

// Applies one line of the settings file ("KEY=value 'comment"); a relative
// NECDIR is taken below baseDir.
void applySettingsLine(const std::string& line, const std::string& baseDir, OutputSettings& settings);

// The directory, the shape name and the extension joined.
std::string outputPathFor(const OutputSettings& settings, const std::string& shapeName);

struct WriteOutcome {
    bool ok = false;
    std::string message; // why it failed
};

// Writes the text to a temporary file beside `path` and renames it over
// `path`. On failure the old file is untouched and the message says why:
// "Path: ... not found; CurDir$: ..." when the directory is missing,
// "File: ... not found; CurDir$: ..." when the path names no file, else the
// system's error text.
WriteOutcome writeDeckFile(const std::string& path, const std::string& text);

// "'" + path + "' created, with" + Str(segments) + " segments."
std::string createdMessage(const std::string& path, int totalSegments);

// The path made absolute against the current directory.
std::string absolutePath(const std::string& path);

} // namespace wavra::build
