#include "editor/card_line.h"

#include "base/text.h"
#include "deck/writer.h"

namespace wavra {

LineParts splitComment(std::string_view line) {
    LineParts parts;
    const size_t quote = line.find('\'');
    if (quote == std::string_view::npos) {
        parts.body = std::string(line);
        return parts;
    }
    parts.body = std::string(line.substr(0, quote));
    parts.comment = std::string(line.substr(quote + 1));
    parts.tabsBefore = 0;
    for (size_t i = quote; i > 0 && line[i - 1] == '\t'; --i) ++parts.tabsBefore;
    return parts;
}

std::string cardCode(std::string_view line) { return toUpper(line.substr(0, 2)); }

namespace {

// Fields of a card line, the code first, at most `count` of them.
std::vector<std::string_view> cardFields(const std::string& separated, bool tabsOnly, size_t count) {
    std::vector<std::string_view> fields;
    splitFields(separated, tabsOnly ? "\t" : "", true, fields, count);
    return fields;
}

std::string trimmed(std::string_view s) { return s.size() > 1 ? trim(s) : std::string(s); }

} // namespace

std::optional<std::string> firstValue(std::string_view body) {
    const std::string separated = separateCardName(body);
    const auto fields = cardFields(separated, false, 2);
    if (fields.size() < 2) return std::nullopt;
    return trimmed(fields[1]);
}

std::vector<std::string> valueFields(std::string_view body, size_t count) {
    const std::string separated = separateCardName(body);
    const bool tabsOnly = body.size() > 2 && body[2] == '\t';
    const auto fields = cardFields(separated, tabsOnly, count + 1);
    std::vector<std::string> values(count);
    for (size_t k = 1; k < fields.size(); ++k) values[k - 1] = trimmed(fields[k]);
    return values;
}

std::string freeText(std::string_view body) {
    if (body.size() <= 2) return {};
    return std::string(body.substr(body[2] == ' ' ? 3 : 2));
}

std::string buildLine(CardKind kind, std::vector<std::string>& boxes, const std::string& comment, int tabsBefore) {
    if (kind == CardKind::Comment) return "'" + comment;
    size_t used = boxes.size();
    while (used > 0 && boxes[used - 1].empty()) --used;
    const char separator = kind == CardKind::Text ? ' ' : '\t';
    std::string line;
    for (size_t k = 0; k < used; ++k) {
        if (boxes[k].empty()) boxes[k].push_back('0');
        if (k > 0) line += separator;
        line += boxes[k];
    }
    if (!comment.empty())
        line += std::string(static_cast<size_t>(tabsBefore < 0 ? 1 : tabsBefore), '\t') + "'" + comment;
    return line;
}

} // namespace wavra
