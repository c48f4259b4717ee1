// Where the deck goes and how it is written: the model directory and
// extension from the main program's settings file, and a write that never
// loses the old file.
#pragma once

#include <string>

namespace wavra::build {

struct OutputSettings {
    std::string directory; // with a trailing '/'
    std::string extension = ".nec";
};

// Reads NECDIR and NECEXT from installDir + "exe/wavra.ini". The directory
// defaults to installDir + "exe/"; a relative or empty NECDIR is taken below
// installDir, as the main program takes it. NECEXT gets a leading '.' when it
// has none. Both keep their case. A missing or unreadable file leaves the
// defaults.
OutputSettings readOutputSettings(const std::string& installDir);

// Applies one line of the settings file ("KEY=value 'comment").
void applySettingsLine(const std::string& line, const std::string& installDir, OutputSettings& settings);

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
