// Small file utilities. Paths are plain strings with '/' separators.
#pragma once

#include <string>
#include <vector>

namespace wavra {

bool pathExists(const std::string& path);
// Deletes a file; a missing file is no error.
void deleteFile(const std::string& path);
// Deletes `to` (errors ignored) and renames `from` to `to`. True on success.
bool renameFile(const std::string& from, const std::string& to);
// Copies, ignoring errors. True on success.
bool copyFile(const std::string& from, const std::string& to);

// Reads a whole file into lines; '\n' ends a line and a '\r' before it is
// dropped. False when the file cannot be opened.
bool readLines(const std::string& path, std::vector<std::string>& lines);

// Reads a whole file as bytes. False when it cannot be read (missing, a
// directory, unreadable).
bool readFileBytes(const std::string& path, std::string& bytes);

// Writes text to `path` without ever losing the old file: the text goes to a
// temporary file in the same directory, which is then renamed over `path`.
// False (and the old file untouched) when anything fails.
bool writeFileAtomic(const std::string& path, const std::string& text);
// The same, telling why it failed ("No space left on device").
bool writeFileAtomic(const std::string& path, const std::string& text, std::string& reason);

// 16 hexadecimal digits that no other thread or process picks at the same
// time: for temporary names beside files that others may write too.
std::string uniqueSuffix();

// Directory part with a trailing '/', "" when none.
std::string directoryOf(const std::string& path);

} // namespace wavra
