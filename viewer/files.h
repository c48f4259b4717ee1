// File helpers of the viewer. A picture the user owns is saved to a temporary
// file beside it and renamed over it, so a failed save leaves the old one;
// text files are written with writeFileAtomic of base/files.h.
#pragma once

#include <string>

namespace wavra::view {

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// Renames a finished temporary file over `path`; removes it on failure.
bool replaceWith(const std::string& path, const std::string& temporary);

// The temporary name used beside `path` while it is rewritten.
std::string temporaryBeside(const std::string& path);

} // namespace wavra::view
