#include "engine/deck_requests.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "deck/model_file.h"
#include "deck/writer.h"

namespace wavra {

namespace {

struct Card {
    std::vector<double> ints, reals; // I1..I4, F1..F6
};

Card readCard(std::string_view line) {
    const std::string card = separateCardName(line);
    std::vector<std::string_view> fields;
    splitFields(card, "", false, fields, 12);
    Card c;
    for (size_t k = 1; k < fields.size() && k <= 10; ++k) {
        const std::string field = trim(fields[k]);
        (k <= 4 ? c.ints : c.reals).push_back(field.empty() ? 0.0 : readNumber(field));
    }
    c.ints.resize(4, 0.0);
    c.reals.resize(6, 0.0);
    return c;
}

int countOf(double value) { return std::isfinite(value) ? static_cast<int>(std::clamp(value, 0.0, 32767.0)) : 0; }

DeckAxis axis(double start, double count, double step) {
    DeckAxis a;
    a.count = countOf(count);
    a.start = start;
    a.step = a.count <= 1 && step == 0 ? 1 : step;
    a.stop = a.count <= 1 ? start : start + (a.count - 1) * step;
    return a;
}

// FR: I1 0 linear, 1 multiplicative; I2 steps; F1 start; F2 step or factor.
DeckAxis frequencyAxis(const Card& c) {
    return c.ints[0] == 1 ? multiplicativeAxis(c.reals[0], c.ints[1], c.reals[1])
                          : axis(c.reals[0], c.ints[1], c.reals[1]);
}

} // namespace

DeckAxis multiplicativeAxis(double start, double count, double ratio) {
    DeckAxis a = axis(start, count, ratio);
    if (a.count <= 1) return a;
    a.ratio = ratio;
    a.stop = a.start * std::pow(ratio, a.count - 1);
    a.step = (a.stop - a.start) / (a.count - 1);
    return a;
}

DeckRequests findDeckRequests(std::string_view deck) {
    DeckRequests r;
    bool loopFound = false;
    forEachLine(deck, [&](std::string_view line) {
        const std::string name = toUpper(line.substr(0, std::min<size_t>(2, line.size())));
        if (name == "EN") return false;
        if (name == "FR" && !loopFound) {
            const DeckAxis f = frequencyAxis(readCard(line));
            loopFound = f.count > 1;
            if (!r.frequency || loopFound) r.frequency = f;
        } else if (name == "RP" && !r.farField) {
            const Card c = readCard(line);
            r.farField = {axis(c.reals[0], c.ints[1], c.reals[2]), axis(c.reals[1], c.ints[2], c.reals[3])};
        } else if ((name == "NE" || name == "NH") && !r.nearField) {
            const Card c = readCard(line);
            // A card with an axis of no points computes nothing: a placeholder.
            if (countOf(c.ints[1]) >= 1 && countOf(c.ints[2]) >= 1 && countOf(c.ints[3]) >= 1)
                r.nearField = {axis(c.reals[0], c.ints[1], c.reals[3]), axis(c.reals[1], c.ints[2], c.reals[4]),
                               axis(c.reals[2], c.ints[3], c.reals[5])};
        }
        return true;
    });
    return r;
}

DeckRequests modelDeckRequests(Model& m) {
    Diagnostics quiet;
    std::string text;
    if (toLower(m.modelExt) == ".out" || !readModelFile(quiet, m.modelPath(), text)) return {};
    if (toLower(m.modelExt) == ".inp") return findDeckRequests(text);
    Diagnostics errors;
    const std::string deck = convertDeck(m, m, m, errors, text);
    return !errors.empty() ? DeckRequests{} : findDeckRequests(deck);
}

} // namespace wavra
