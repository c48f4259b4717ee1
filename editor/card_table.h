// The card descriptions of exe/edit.dat: one line per card variant, the code,
// the selector (the first value for which the variant holds), a description
// and the labels of the card's fields. From them come the card-type list, the
// variant lists and the kind of entry boxes a card line gets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// At most this many lines of the description file are read.
inline constexpr size_t kMaxDescriptionLines = 75;
// Value boxes of a geometry card and of a program-control card (the code's
// box not counted).
inline constexpr size_t kGeometryValues = 9;
inline constexpr size_t kControlValues = 10;

// Which entry boxes a line gets.
enum class CardKind {
    Comment,     // the line begins with an apostrophe: one comment box
    Text,        // CM, CE, SY: the code and a free text
    Geometry,    // G* except GN and GD, S* except SY: up to 9 values
    Control,     // every other described code: up to 10 values
    Unrecognised // no description: shown in the list only, never rebuilt
};

struct CardDescription {
    std::string code;                // "GW", upper case
    std::string selector;            // "" when the variant holds for any first value
    std::string description;         // "Wire"
    std::vector<std::string> labels; // of the card's fields 2, 3 ...
};

// An entry of the card-type list: "GW : Wire", and the code it stands for.
struct CardListEntry {
    std::string text;
    std::string code;
};

// The code of the comment-line entry, the first of the card-type list.
inline constexpr std::string_view kCommentCode = "' ";

class CardTable {
public:
    CardTable();
    // The description lines of a text: at most kMaxDescriptionLines lines are
    // read. Lines without a two-letter code before the first colon (blank
    // lines, lines starting with an apostrophe) describe nothing.
    explicit CardTable(std::string_view text);
    // installDir + "exe/edit.dat"; a missing file gives the empty table.
    static CardTable load(const std::string& installDir);

    // Description line by index, from 1.
    const CardDescription& line(int index) const { return m_lines.at(static_cast<size_t>(index - 1)); }
    int lineCount() const { return static_cast<int>(m_lines.size()); }

    // The description line of a card: in the group of consecutive lines of
    // the first line with this code, the first line without selector or
    // whose selector has the numeric value of the first field; the first line
    // when there is no first field; the last line when nothing matches. 0
    // when the code has no description.
    int find(std::string_view code, const std::string* firstField) const;

    // The card-type list: the comment-line entry, then one entry per group of
    // consecutive lines with one code.
    const std::vector<CardListEntry>& cardList() const { return m_cardList; }
    // The card-list entry of a code; 0 (the comment-line entry) when none.
    int cardListIndex(std::string_view code) const;

    // The variant list of the group that holds line `index`: " 0:Voltage
    // source", "-1:Null ground" ..., up to the first line without selector.
    // With each entry the description line it stands for.
    struct Variant {
        std::string text;
        int line;
    };
    std::vector<Variant> variants(int index) const;

private:
    std::vector<CardDescription> m_lines;
    std::vector<CardListEntry> m_cardList;
    int groupStart(int index) const;
};

// The kind of a line with this code and description line (0 = none).
CardKind cardKind(std::string_view line, std::string_view code, int description);

} // namespace wavra
