// Numbered series of pictures: a file whose name ends in two digits is one
// member of the series name00 ... name99, which goes on while the next
// numbered file exists.
#pragma once

#include <string>

#include "viewer/text_rules.h"

namespace wavra::view {

inline constexpr int kMaxSeries = 20;

struct Series {
    PathParts file;        // the file chosen
    bool numbered = false; // its name ends in two digits
    int number = 0;        // those two digits

    // The file `offset` places after the chosen one (the chosen one itself
    // for a name without a number).
    std::string member(int offset) const;
    // How many members from the chosen one on may exist at all: the number
    // stays two digits and a series is at most kMaxSeries long.
    int maxLength() const;
};

Series seriesOf(const std::string& path);

// The count of consecutive existing members from the chosen file on.
int countExisting(const Series& series);

} // namespace wavra::view
