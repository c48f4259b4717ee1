// File helpers of the viewer. A file the user owns is written to a temporary
// file beside it and renamed over it, so a failed write leaves the old one.
#pragma once

#include <string>
#include <vector>

namespace wavra::view {

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// The lines of a text file ('\n' ends a line, a '\r' before it is dropped);
// false when it cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines);

// Writes `text` to `temporary` and renames it over `path`; on any failure the
// temporary file is removed, `path` is untouched and the result is false.
bool writeFileAtomic(const std::string& path, const std::string& temporary, const std::string& text);

// Renames a finished temporary file over `path`; removes it on failure.
bool replaceWith(const std::string& path, const std::string& temporary);

// Deletes a file; a missing one is no error.
void removeFile(const std::string& path);

// The temporary name used beside `path` while it is rewritten.
std::string temporaryBeside(const std::string& path);

} // namespace wavra::view
