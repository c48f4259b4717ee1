#include "deck/wire_lines.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "deck/expression.h"
#include "deck/writer.h"

namespace wavra {

namespace {

// A line of the deck without its line ending, and the ending.
struct DeckLine {
    std::string_view text, ending;
};

std::vector<DeckLine> splitDeckLines(std::string_view deck) {
    std::vector<DeckLine> lines;
    size_t pos = 0;
    while (pos < deck.size()) {
        size_t end = deck.find('\n', pos);
        const size_t next = end == std::string_view::npos ? deck.size() : end + 1;
        if (end == std::string_view::npos) end = deck.size();
        size_t textEnd = end;
        if (textEnd > pos && deck[textEnd - 1] == '\r') --textEnd;
        lines.push_back({deck.substr(pos, textEnd - pos), deck.substr(textEnd, next - textEnd)});
        pos = next;
    }
    return lines;
}

bool isCommentLine(std::string_view line) {
    return (!line.empty() && line[0] == '\'') || (line.size() > 1 && line[1] == '\'');
}

std::string cardOf(std::string_view line) { return isCommentLine(line) ? std::string() : toUpper(line.substr(0, 2)); }

// The fields of a card line as the engine input writer splits them: only
// tabs separate when the third character is a tab.
std::vector<std::string> cardFields(std::string_view line) {
    const std::string separated = separateCardName(line);
    std::vector<std::string_view> views;
    splitFields(separated, line.size() > 2 && line[2] == '\t' ? "\t" : "", false, views, 16);
    std::vector<std::string> fields;
    for (std::string_view v : views) fields.push_back(trim(v));
    return fields;
}

bool hasSymbols(std::string_view line) {
    const std::vector<std::string> fields = cardFields(line);
    for (size_t k = 1; k < fields.size() && k <= 9; ++k) {
        double value = 0;
        if (classifyNumber(fields[k], value) != -1) return true;
    }
    return false;
}

// Whether the next card after line k (before EN) is a GC card.
bool taperFollows(const std::vector<DeckLine>& lines, size_t k) {
    for (size_t n = k + 1; n < lines.size(); ++n) {
        const std::string card = cardOf(lines[n].text);
        if (card.empty() || trim(lines[n].text).empty()) continue;
        return card == "GC";
    }
    return false;
}

std::string commentOf(std::string_view line) {
    const size_t quote = line.find('\'', 2);
    return quote == std::string_view::npos ? std::string() : std::string(line.substr(quote));
}

} // namespace

std::string deckNumber(double v) {
    std::string text = formatPicture(v, "###0.0####");
    if (v != 0 && std::fabs(readNumber(text) - v) > 1e-4 * std::fabs(v)) text = formatPicture(v, "0.######e-0");
    return text;
}

std::string gwLineOf(const Geometry& m, int row, char separator, double scale, bool taperedRadius) {
    const size_t r = static_cast<size_t>(row);
    const double radius = taperedRadius ? 0 : m.wireRadius[r] / scale;
    const double z2 = m.wireZ2[r] / scale;
    const std::string sep(1, separator);
    std::string line =
        "GW" + sep + formatPicture(m.wireTag[r], "####0") + sep + formatPicture(m.wireSegments[r], "####0");
    for (double v : {m.wireX1[r], m.wireY1[r], m.wireZ1[r], m.wireX2[r], m.wireY2[r]})
        line += sep + deckNumber(v / scale);
    if (z2 != 0 || radius != 0) line += sep + deckNumber(z2);
    if (radius != 0) line += sep + deckNumber(radius);
    return line;
}

WireRewrite rewriteWireLines(std::string_view deck, const Geometry& m, const std::vector<int16_t>& rows, double scale) {
    WireRewrite out;
    out.text.reserve(deck.size() + 64);
    const std::vector<DeckLine> lines = splitDeckLines(deck);
    int wire = 0;
    bool ended = false;
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string_view text = lines[k].text;
        const std::string card = ended ? std::string() : cardOf(text);
        if (card == "EN") ended = true;
        const bool rewrite =
            card == "GW" && ++wire <= m.wireCount && std::find(rows.begin(), rows.end(), wire) != rows.end();
        if (!rewrite) {
            out.text.append(text);
        } else {
            if (hasSymbols(text)) out.dropsSymbols = true;
            out.text += gwLineOf(m, wire, Model::tabChar, scale, taperFollows(lines, k));
            if (const std::string comment = commentOf(text); !comment.empty()) out.text += Model::tabChar + comment;
        }
        out.text.append(lines[k].ending);
    }
    return out;
}

double deckScaleFactor(Symbols& symbols, Diagnostics& found, std::string_view deck) {
    double scale = 1;
    for (const DeckLine& line : splitDeckLines(deck)) {
        const std::string card = cardOf(line.text);
        if (card == "EN") break;
        if (card != "GS") continue;
        const std::vector<std::string> fields = cardFields(line.text);
        if (fields.size() < 4) {
            scale = 0;
            continue;
        }
        double value = 0;
        const int kind = classifyNumber(fields[3], value);
        scale = kind == -1 ? readNumber(fields[3]) : kind == 1 ? value : evaluateExpression(symbols, found, fields[3]);
    }
    return scale;
}

} // namespace wavra
