// Small text helpers of the viewer: the "00" number picture and numbers
// typed by the user (paths are taken apart by splitPath of base/files.h).
#pragma once

#include <string>

#include "base/files.h"
#include "base/text.h"

namespace wavra::view {

bool endsWithNoCase(const std::string& text, const std::string& suffix);

// A number written with at least two digits: 5 -> "05", 12 -> "12".
std::string twoDigits(int number);

// The leading number of a user's entry, read the same in every locale and
// rounded to the nearest whole number; 0 when the entry starts with none.
// Values beyond the int range are clamped.
int leadingCount(const std::string& text);

} // namespace wavra::view
