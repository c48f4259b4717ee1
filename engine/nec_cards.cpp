#include "engine/nec_cards.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "deck/expression.h"

namespace wavra {

namespace {

constexpr std::array<std::string_view, 36> kCards = {
    "CM", "CE",                                                                         // comments
    "GA", "GC", "GE", "GF", "GH", "GM", "GR", "GS", "GW", "GX", "SC", "SM", "SP",       // geometry
    "CP", "EK", "EN", "EX", "FR", "GD", "GN", "KH", "LD", "NE", "NH", "NT", "NX", "PL", // program control
    "PQ", "PT", "RP", "TL", "WG", "XQ", "SZ",
};

std::string cardName(std::string_view line) { return toUpper(line.substr(0, std::min<size_t>(2, line.size()))); }

int firstLineWith(std::string_view text, const std::string& name) {
    int number = 0, found = 0;
    forEachLine(text, [&](std::string_view line) {
        ++number;
        if (cardName(line) == name) found = number;
        return found == 0;
    });
    return found;
}

} // namespace

bool isNecCard(std::string_view name) { return std::find(kCards.begin(), kCards.end(), name) != kCards.end(); }

std::optional<ForeignCard> firstForeignCard(std::string_view engineDeck, std::string_view modelText) {
    std::optional<ForeignCard> foreign;
    forEachLine(engineDeck, [&](std::string_view line) {
        if (trim(line).empty()) return true;
        const std::string name = cardName(line);
        if (!isNecCard(name)) foreign = ForeignCard{name, firstLineWith(modelText, name)};
        return !foreign && name != "EN";
    });
    return foreign;
}

bool acceptForeignCards(Ui& ui, std::string_view engineDeck, std::string_view modelText) {
    const auto foreign = firstForeignCard(engineDeck, modelText);
    if (!foreign) return true;
    const std::string where = foreign->line > 0 ? " in line " + std::to_string(foreign->line) : "";
    const std::string text = "Card '" + messageText(foreign->name) + "'" + where +
                             " is not a NEC-2 card; nec2c stops at it. Remove it or turn it into a comment.";
    return ui.ask("wavra", text, Buttons::OkCancel, Icon::Question) == Answer::Ok;
}

} // namespace wavra
