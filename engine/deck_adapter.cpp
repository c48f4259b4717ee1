#include "engine/deck_adapter.h"

#include <algorithm>

#include "base/text.h"
#include "core/fields.h"
#include "deck/writer.h"
#include "engine/card_text.h"

namespace wavra {

namespace {

// Visits the deck's non-empty lines with their upper-case card names; the
// visitor returns false to stop reading.
template <class Visit>
void forEachCard(std::string_view deck, Visit visit) {
    forEachLine(deck, [&](std::string_view line) {
        if (line.find_first_not_of(" \t") == std::string_view::npos) return true;
        return static_cast<bool>(visit(toUpper(line.substr(0, 2)), line));
    });
}

// Field n of a card as a number; a missing field reads as 0.
double fieldValue(std::string_view line, int n) { return readNumber(findField(line, n, "").value_or("*")); }

// GN card: ground type, radials, dielectric constant, conductivity.
void readGround(Model& m, std::string_view line) {
    m.groundType = toInt16(fieldValue(line, 2));
    m.groundRadials = toInt16(fieldValue(line, 3));
    m.groundEpsilon = fieldValue(line, 6);
    m.groundSigma = fieldValue(line, 7);
}

// Over ground only the upper half space radiates: the theta range of the
// choice is clamped to -90..90.
void clampThetaOverGround(Model& m) {
    int first = -1;
    if (m.calcKind == kCalcFarField) first = 0;
    if (m.calcKind == kCalcFrequencyLoop) first = 3;
    if (first < 0 || m.groundType == -1) return;
    m.calcRange[first] = std::max(m.calcRange[first], -90.0);
    m.calcRange[first + 1] = std::min(m.calcRange[first + 1], 90.0);
}

int countOf(const Model& m, int first) {
    return pointCount(m.calcRange[first], m.calcRange[first + 1], m.calcRange[first + 2]);
}

class DeckAdapter {
public:
    explicit DeckAdapter(Model& model) : m(model), preset(presetEntry(model)) {}

    AdaptedDeck run(std::string_view deck) {
        m.groundType = -1;
        forEachCard(deck, [this](const std::string& card, std::string_view line) {
            onCard(card, line);
            return !done && card != "EN"; // the engine reads nothing after EN
        });
        onEndOfInput();
        out.text += "EN\n"; // the engine reads past the last card without it
        return std::move(out);
    }

private:
    Model& m;
    PresetEntry preset;
    AdaptedDeck out;
    int frCount = 0;
    int execCount = 0;
    bool done = false;

    void write(std::string_view line) { (out.text += line) += '\n'; }
    void writeGenerated(const std::string& line) {
        write(line);
        out.generated.push_back(line);
    }
    void remember(const std::string& line, int row, int column) {
        if (row > 0) m.calcPresets[row][column] = line;
    }

    void onCard(const std::string& card, std::string_view line) {
        if (card == "GN") {
            // The card goes to the engine as written, also in a frequency
            // loop over Sommerfeld ground: nec2c computes that ground anew
            // for every frequency and would read a negated conductivity as
            // the imaginary part of the relative dielectric constant.
            readGround(m, line);
            clampThetaOverGround(m);
            write(line);
        } else if (card == "FR") {
            onFrequency(line);
        } else if (isRequestCard(card)) {
            onExecution(line);
        } else if (card != "EN") {
            write(line);
        }
    }

    // --- frequency cards ------------------------------------------------
    void onFrequency(std::string_view line) {
        ++frCount;
        m.freqCount = toInt16(fieldValue(line, 3));
        std::string replacement;
        if (singleFrequency() && execCount > 0) { // a later frequency would add results of another one
            done = true;
            return;
        }
        if (frCount == 1) {
            m.frequencyMHz = fieldValue(line, 6);
            if (m.freqCount > 1) { // the deck's own loop is reduced to its first frequency
                m.freqCount = 1;
                replacement = cardText("FR", {.i2 = 1, .f1 = m.frequencyMHz});
            }
        }
        if (singleFrequency() && m.calcFrequencyMHz > 0) {
            m.freqCount = 1;
            m.frequencyMHz = m.calcFrequencyMHz;
            replacement = cardText("FR", {.i2 = 1, .f1 = m.frequencyMHz});
        }
        if (m.calcKind == kCalcFrequencyLoop && frCount == 2) replacement = sweepFrequencyCard();
        if (m.calcKind == kCalcItsHfArea && frCount == 1) {
            m.freqCount = 1;
            m.frequencyMHz = m.calcRange[3];
            replacement = cardText("FR", {.i2 = 1, .f1 = m.frequencyMHz});
        }
        if (m.calcKind == kCalcItsHfPointToPoint && frCount == 1) {
            m.freqCount = 30; // 1 to 30 MHz in 1 MHz steps
            replacement = cardText("FR", {.i2 = 30, .f1 = 1.0, .f2 = 1.0});
        }
        if (replacement.empty()) write(line);
        else writeFrequency(replacement);
    }

    // Far and near field are calculated at one frequency.
    bool singleFrequency() const { return m.calcKind == kCalcFarField || m.calcKind == kCalcNearField; }

    std::string sweepFrequencyCard() {
        m.freqCount = static_cast<int16_t>(countOf(m, 0));
        // A loop whose steps multiply stays one: its count and factor.
        const bool multiplies = m.calcFrequencyRatio > 0;
        const std::string card = cardText("FR", {.i1 = multiplies ? 1 : 0,
                                                 .i2 = m.freqCount,
                                                 .f1 = m.calcRange[0],
                                                 .f2 = multiplies ? m.calcFrequencyRatio : m.calcRange[2]});
        remember(card, 2, 0);
        return card;
    }

    // A rewritten FR card goes without charge and current printing.
    void writeFrequency(const std::string& card) {
        writeGenerated("PQ, -1");
        writeGenerated("PT, -1");
        writeGenerated(card);
    }

    // A deck without an FR card runs at the engine's own frequency; a chosen
    // one gets a card of its own before the request.
    void writeChosenFrequency() {
        ++frCount;
        m.freqCount = 1;
        m.frequencyMHz = m.calcFrequencyMHz;
        writeFrequency(cardText("FR", {.i2 = 1, .f1 = m.frequencyMHz}));
    }

    void writeSweepFrequency() {
        ++frCount;
        writeFrequency(sweepFrequencyCard());
    }

    // --- execution cards -------------------------------------------------
    void onExecution(std::string_view line) {
        ++execCount;
        if (execCount == 1) m.requestMode = effectiveRpMode(m, m.calcKind);
        switch (m.calcKind) {
        case kCalcFarField:
        case kCalcNearField:
            if (execCount == 1 && frCount == 0 && m.calcFrequencyMHz > 0) writeChosenFrequency();
            if (execCount == 1) writeRequest(m.calcKind == kCalcNearField ? nearFieldCard() : farFieldCard(0, 3));
            else finish("XQ");
            break;
        case kCalcFrequencyLoop:
            if (execCount == 1) {
                if (m.calcSubMode == 1 || m.calcSubMode == 2) writeGenerated("XQ");
                else write(line);
            } else {
                writeSweepRequest(line, false);
            }
            break;
        case kCalcItsHfArea:
        case kCalcItsHfPointToPoint:
            writeRequest(itsHfCard());
            done = true;
            break;
        default: write(line);
        }
    }

    void writeRequest(const std::string& card) {
        writeGenerated(card);
        remember(card, preset.row, preset.column);
    }

    void finish(const std::string& card) {
        writeGenerated(card);
        done = true;
    }

    std::string farFieldCard(int theta, int phi) const {
        const auto& r = m.calcRange;
        return cardText("RP", {.i1 = m.requestMode,
                               .i2 = countOf(m, theta),
                               .i3 = countOf(m, phi),
                               .i4 = m.requestXnda,
                               .f1 = r[theta],
                               .f2 = r[phi],
                               .f3 = r[theta + 2],
                               .f4 = r[phi + 2],
                               .f5 = m.requestDistance,
                               .f6 = m.requestGainNorm});
    }

    std::string nearFieldCard() const {
        const auto& r = m.calcRange;
        return cardText(m.calcSubMode == 2 ? "NH" : "NE", {.i1 = 0,
                                                           .i2 = countOf(m, 0),
                                                           .i3 = countOf(m, 3),
                                                           .i4 = countOf(m, 6),
                                                           .f1 = r[0],
                                                           .f2 = r[3],
                                                           .f3 = r[6],
                                                           .f4 = r[2],
                                                           .f5 = r[5],
                                                           .f6 = r[8]});
    }

    // Area coverage: elevation 90 down to 0 and a full circle of azimuths
    // in 1-degree steps; point to point: elevation 90 down to 0 towards the
    // desired direction.
    std::string itsHfCard() const {
        const auto& r = m.calcRange;
        if (m.calcKind == kCalcItsHfArea) {
            const double azimuth = r[0] < 360 ? r[0] + 360 : r[0];
            return cardText("RP",
                            {.i1 = m.requestMode, .i2 = 91, .i3 = 360, .f1 = 90, .f2 = azimuth, .f3 = -1, .f4 = -1});
        }
        return cardText("RP", {.i1 = m.requestMode, .i2 = 91, .i3 = 1, .f1 = 90, .f2 = r[0] - r[3], .f3 = -1});
    }

    // The frequency loop's pattern card: the sweep's FR card must stand
    // before it, or the engine would compute the pattern at the deck's
    // single frequency and never run the sweep.
    void writeSweepRequest(std::string_view line, bool atEndOfInput) {
        if (frCount < 2) writeSweepFrequency();
        auto& r = m.calcRange;
        if (m.calcSubMode == 1 || m.calcSubMode == 3) r[7] = r[6], r[8] = 1; // phi fixed
        if (m.calcSubMode == 2 || m.calcSubMode == 3) r[4] = r[3], r[5] = 1; // theta fixed
        if (m.calcSubMode == 0) {
            if (atEndOfInput) {
                writeGenerated("XQ");
            } else {
                write(line);
                // nec2c computes a near-field request of a loop only for the
                // last frequency unless another execution card follows it.
                const std::string card = toUpper(line.substr(0, 2));
                if (card == "NE" || card == "NH") writeGenerated("XQ");
            }
        } else {
            writeRequest(farFieldCard(3, 6));
        }
        done = true;
    }

    void onEndOfInput() {
        if (m.calcKind == kCalcFrequencyLoop) {
            if (frCount == 1) writeSweepFrequency();
            if (execCount <= 1 && !done) {
                if (execCount == 0) m.requestMode = effectiveRpMode(m, m.calcKind);
                writeSweepRequest({}, true);
            }
        } else if (execCount == 0 && m.calcKind != kCalcOriginal) {
            onExecution("XQ"); // a deck without execution card still gets the request
        }
    }
};

} // namespace

int16_t effectiveRpMode(const Model& model, int calcKind) {
    if (calcKind == kCalcNearField) return kNearRequest;
    if (model.surfaceWaveFlag != 0) return 1;
    const int m = std::max<int>(model.requestMode, 0);
    const bool radials = model.groundRadials > 0;
    switch (m) {
    case 0:
    case 1:
    case 4: return radials ? 4 : 0;
    case 2:
    case 3: return static_cast<int16_t>(radials ? m + 3 : m);
    case 5:
    case 6: return static_cast<int16_t>(radials ? m : m - 3);
    default: return static_cast<int16_t>(m);
    }
}

PresetEntry presetEntry(const Model& model) {
    PresetEntry e;
    if (model.calcKind == kCalcFarField) e.row = 1;
    else if (model.calcKind == kCalcFrequencyLoop) e.row = 2 + std::clamp<int>(model.calcSubMode, 0, 3);
    else if (model.calcKind == kCalcNearField) e.row = 6;
    const bool nearH = model.calcKind == kCalcNearField && model.calcSubMode == 2;
    const bool surface = model.calcKind != kCalcNearField && model.surfaceWaveFlag != 0;
    e.column = (nearH || surface) ? 1 : 0;
    return e;
}

AdaptedDeck adaptDeck(Model& model, std::string_view deck) { return DeckAdapter(model).run(deck); }

void readRunValues(Model& model, std::string_view deck) {
    model.groundType = -1;
    bool firstFrequency = true;
    forEachCard(deck, [&](const std::string& card, std::string_view line) {
        if (card == "GN") readGround(model, line);
        if (card == "FR" && firstFrequency) {
            model.frequencyMHz = fieldValue(line, 6);
            model.freqCount = toInt16(fieldValue(line, 3));
            firstFrequency = false;
        }
        return card != "EN";
    });
}

} // namespace wavra
