#include "editor/card_table.h"

#include "base/files.h"
#include "base/text.h"
#include "deck/writer.h"

namespace wavra {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string trimmed(std::string_view s) { return s.size() > 1 ? trim(s) : std::string(s); }

// Field 1 "GW::Wire" or "EX:0:Voltage source": code, selector, description.
// Consecutive colons count as one, so a line without selector may also be
// written "GW:Wire". False when the code is not two letters.
bool parseHead(std::string_view head, CardDescription& d) {
    std::vector<std::string_view> parts;
    splitFields(head, ":", true, parts, 3);
    if (parts.empty()) return false;
    const std::string code = toUpper(trim(parts[0]));
    if (code.size() != 2 || !isLetter(code[0]) || !isLetter(code[1])) return false;
    d.code = code;
    if (parts.size() == 2) {
        d.description = trim(parts[1]);
    } else if (parts.size() == 3) {
        d.selector = trim(parts[1]);
        // The description is the rest of the head, colons and all.
        d.description = trim(head.substr(static_cast<size_t>(parts[2].data() - head.data())));
    }
    return true;
}

bool parseLine(std::string_view line, CardDescription& d) {
    std::vector<std::string_view> fields;
    splitFields(line, ",", false, fields, 1 + kControlValues);
    if (fields.empty() || !parseHead(fields[0], d)) return false;
    for (size_t k = 1; k < fields.size(); ++k) d.labels.push_back(trimmed(fields[k]));
    return true;
}

} // namespace

CardTable::CardTable() : CardTable(std::string_view()) {}

CardTable::CardTable(std::string_view text) {
    size_t read = 0;
    forEachLine(text, [&](std::string_view line) {
        CardDescription d;
        if (parseLine(line, d)) m_lines.push_back(std::move(d));
        return ++read < kMaxDescriptionLines;
    });
    m_cardList.push_back({std::string(kCommentCode) + " : Wavra comment line", std::string(kCommentCode)});
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (i == 0 || m_lines[i].code != m_lines[i - 1].code)
            m_cardList.push_back({m_lines[i].code + " : " + m_lines[i].description, m_lines[i].code});
}

CardTable CardTable::load(const std::string& installDir) {
    std::vector<std::string> lines;
    if (!readLines(installDir + "exe/edit.dat", lines)) return CardTable();
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return CardTable(text);
}

int CardTable::groupStart(int index) const {
    while (index > 1 && line(index - 1).code == line(index).code) --index;
    return index;
}

int CardTable::find(std::string_view code, const std::string* firstField) const {
    int first = 0;
    for (int i = 1; i <= lineCount() && first == 0; ++i)
        if (line(i).code == code) first = i;
    if (first == 0 || firstField == nullptr) return first;
    const double value = readNumber(*firstField);
    int i = first;
    for (; i <= lineCount() && line(i).code == code; ++i) {
        const std::string& selector = line(i).selector;
        if (selector.empty() || readNumber(selector) == value) return i;
    }
    return i - 1;
}

int CardTable::cardListIndex(std::string_view code) const {
    for (size_t i = 1; i < m_cardList.size(); ++i)
        if (m_cardList[i].code == code) return static_cast<int>(i);
    return 0;
}

std::vector<CardTable::Variant> CardTable::variants(int index) const {
    std::vector<Variant> list;
    if (index < 1 || index > lineCount()) return list;
    const std::string& code = line(index).code;
    for (int i = groupStart(index); i <= lineCount() && line(i).code == code; ++i) {
        const CardDescription& d = line(i);
        if (d.selector.empty()) break;
        list.push_back({(d.selector.size() == 1 ? " " : "") + d.selector + ":" + d.description, i});
    }
    return list;
}

CardKind cardKind(std::string_view line, std::string_view code, int description) {
    if (!line.empty() && line.front() == '\'') return CardKind::Comment;
    if (code == "CM" || code == "CE" || code == "SY") return CardKind::Text;
    if (description == 0) return CardKind::Unrecognised;
    return isRealCard(code) ? CardKind::Geometry : CardKind::Control;
}

} // namespace wavra
