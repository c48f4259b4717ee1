#include "base/ini_lines.h"

namespace wavra {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t commentStart(const std::string& line, IniComment rule) {
    if (rule == IniComment::FirstApostrophe) return line.find('\'');
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '\'' && (i == 0 || isBlank(line[i - 1]))) return i;
    return std::string::npos;
}

} // namespace

IniLine splitIniComment(const std::string& line, IniComment rule) {
    IniLine parts;
    const size_t quote = commentStart(line, rule);
    if (quote == std::string::npos) {
        parts.body = line;
        return parts;
    }
    size_t lead = quote;
    while (lead > 0 && isBlank(line[lead - 1])) --lead;
    parts.body = line.substr(0, quote);
    parts.hasComment = true;
    parts.commentLead = line.substr(lead, quote - lead);
    parts.comment = line.substr(quote + 1);
    return parts;
}

std::string joinIniLine(const std::string& key, const std::string& value, const IniLine& parts) {
    std::string line = key + "=" + value;
    if (parts.hasComment) line += parts.commentLead + "'" + parts.comment;
    return line;
}

std::string rewriteIniLines(const std::vector<std::string>& lines,
                            const std::function<std::string(const std::string&)>& rewrite) {
    std::string text;
    for (const std::string& line : lines) text += rewrite(line) + "\n";
    return text;
}

} // namespace wavra
