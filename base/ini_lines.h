// Settings files of KEY=value lines, each of which may end in an apostrophe
// comment. A program reads them at start and rewrites them at exit by copying
// them line by line with its current values, so the user's comments, notes
// and blank lines stay where they were.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wavra {

// Where a line's comment starts: at its first apostrophe, or only at an
// apostrophe that opens the line or follows a blank or tab (so that a path
// such as /home/o'neil/maps stays one value).
enum class IniComment { FirstApostrophe, ApostropheAfterBlank };

// A line taken apart at its comment.
struct IniLine {
    std::string body; // the text before the comment (the whole line without one)
    bool hasComment = false;
    std::string commentLead; // the blanks and tabs directly before the apostrophe
    std::string comment;     // the text after the apostrophe, as written
};
IniLine splitIniComment(const std::string& line, IniComment rule);

// KEY=value followed by the comment of `parts` (its lead, the apostrophe and
// its text) when it has one.
std::string joinIniLine(const std::string& key, const std::string& value, const IniLine& parts);

// The new text of a settings file: each line as `rewrite` makes it, each
// ended by a line feed.
std::string rewriteIniLines(const std::vector<std::string>& lines,
                            const std::function<std::string(const std::string&)>& rewrite);

} // namespace wavra
