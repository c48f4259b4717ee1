// Small text helpers of the viewer: the "00" number picture, numbers typed
// by the user, and paths taken apart.
#pragma once

#include <string>

#include "base/text.h"

namespace wavra::view {

bool endsWithNoCase(const std::string& text, const std::string& suffix);

// A number written with at least two digits: 5 -> "05", 12 -> "12".
std::string twoDigits(int number);

// The leading number of a user's entry, read the same in every locale and
// rounded to the nearest whole number; 0 when the entry starts with none.
// Values beyond the int range are clamped.
int leadingCount(const std::string& text);

// A path as directory (with its trailing '/', empty when none), base name
// and extension (from the last dot of the file name, with the dot; empty
// when the name has none or the dot is its first character).
struct PathParts {
    std::string dir, name, ext;
    std::string path() const { return dir + name + ext; }
};
PathParts splitPath(const std::string& path);

} // namespace wavra::view
