// Small file utilities. Paths are plain strings with '/' separators.
#pragma once

#include <optional>
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

// Why `path` cannot be opened as a regular file ("No such file or
// directory", "it is a directory, not a file", "it is a named pipe (FIFO),
// not a regular file" ...); empty when it is one.
std::string notARegularFile(const std::string& path);

// Reads a whole regular file as bytes. Directories, pipes and devices are
// not opened (a pipe would block the program). False when the file cannot
// be read, with the reason ("No such file or directory", "it is a named pipe
// (FIFO), not a regular file", "Permission denied" ...) in `reason`.
bool readFileText(const std::string& path, std::string& text, std::string* reason = nullptr);
// What a file holds now; none when it cannot be read. Tells whether a file
// changed (an editor may save it unchanged).
std::optional<std::string> fileBytes(const std::string& path);

// Reads a whole regular file into lines; LF, CRLF and a lone CR each end a
// line. False when the file cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines);

// True for an existing file that nobody may write (no write permission bit):
// the user made it read-only on purpose.
bool isWriteProtected(const std::string& path);

// Writes text to `path` without ever losing the old file: the text goes to a
// temporary file in the same directory, which is then renamed over `path`.
// Through a symbolic link the file it names is written and the link stays;
// the new file keeps the old file's permissions. False (and the old file
// untouched) when anything fails.
bool writeFileAtomic(const std::string& path, const std::string& text);
// The same, telling why it failed ("No space left on device").
bool writeFileAtomic(const std::string& path, const std::string& text, std::string& reason);
// The same through the temporary file `tempName` beside the file (empty: a
// unique name).
bool writeFileAtomicVia(const std::string& path, const std::string& text, const std::string& tempName,
                        std::string& reason);

// As writeFileAtomic, but a file that holds `text` already is left as it
// is: an engine deck converted again from an unchanged model is not written
// again (replacing a file costs the file system a flush of the new one and
// the release of the old one's blocks, the larger part of a small run's own
// time on disk).
bool writeFileUnlessSame(const std::string& path, const std::string& text, std::string& reason);

// 16 hexadecimal digits that no other thread or process picks at the same
// time: for temporary names beside files that others may write too.
std::string uniqueSuffix();

// A path as directory (with its trailing '/', empty when none), base name
// and extension (from the last dot of the file name, with the dot; empty
// when the name has none or the dot is its first character: ".profile" is a
// name).
struct PathParts {
    std::string dir, name, ext;
    std::string path() const { return dir + name + ext; }
    bool operator==(const PathParts&) const = default;
};
PathParts splitPath(const std::string& path);

// Directory part with a trailing '/', "" when none.
std::string directoryOf(const std::string& path);

} // namespace wavra
