#include "engine/loop_split.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "base/text.h"

namespace wavra {

namespace {

constexpr size_t kEngineLineLength = 132; // nec2c reads no more of a card
constexpr int kMinimumSteps = 2;          // per part
constexpr int kMaxIntegerDigits = 9;      // beyond, the engine's atoi overflows
constexpr double kLightSpeed = 299.8;     // the engine's CVEL: wavelength (m) = 299.8 / MHz
constexpr double kConductivityScale = 59.96;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\0'; }
bool startsInteger(char c) { return isDigit(c) || c == '+' || c == '-'; }
bool startsReal(char c) { return startsInteger(c) || c == '.'; }
bool inInteger(char c) { return startsInteger(c); }
bool inReal(char c) { return startsReal(c) || c == 'E' || c == 'e'; }

// The line as the engine keeps it: up to the line end, at most 132 bytes,
// then a terminating NUL that the field scans stop at.
std::string engineBuffer(std::string_view line) {
    const size_t end = std::min({line.find_first_of("\r\n"), line.size(), kEngineLineLength});
    std::string buffer(line.substr(0, end));
    buffer += '\0';
    return buffer;
}

// The C library's atoi on a field that starts with a digit or a sign.
std::optional<int> readInteger(std::string_view field) {
    bool negative = false;
    if (!field.empty() && (field[0] == '+' || field[0] == '-')) {
        negative = field[0] == '-';
        field.remove_prefix(1);
    }
    int digits = 0;
    long long value = 0;
    while (digits < static_cast<int>(field.size()) && isDigit(field[static_cast<size_t>(digits)]))
        value = 10 * value + (field[static_cast<size_t>(digits++)] - '0');
    if (digits > kMaxIntegerDigits) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

// The C library's atof on a field of digits, signs, points and exponents.
std::optional<double> readReal(std::string_view field) {
    if (!field.empty() && field[0] == '+') {
        field.remove_prefix(1);
        if (!field.empty() && (field[0] == '+' || field[0] == '-')) return 0.0; // "+-5": no number
    }
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error == std::errc::result_out_of_range) return std::nullopt;
    if (error != std::errc()) return 0.0; // atof reads no number: 0
    return value;
}

// Moves `at` to the start of the next field; false at the end of the line.
bool nextField(const std::string& buffer, size_t& at, bool (*starts)(char)) {
    while (!starts(buffer[++at]))
        if (buffer[at] == '\0') return false;
    return true;
}

// Moves `at` past the field to its separator; false on a character the
// engine refuses in it.
bool skipField(const std::string& buffer, size_t& at, bool (*allowed)(char)) {
    --at;
    while (!isSeparator(buffer[++at]))
        if (!allowed(buffer[at])) return false;
    return true;
}

const std::set<std::string>& setUpCards() {
    static const std::set<std::string> cards = {"LD", "GN", "EX", "NT", "TL", "GD", "KH", "EK", "PQ", "PT", "NE", "NH"};
    return cards;
}

// Cards that cannot be split: a plane wave (EX I1 1 to 3), the impedance
// table normalised over the whole loop (EX I4 ending in 1 to 9), the
// receiving pattern printout (PT I1 of 2 or more), and the Sommerfeld
// ground (GN I1 = 2): nec2c's Sommerfeld integration keeps state from one
// frequency to the next, so a step's last printed digits depend on the
// steps before it.
bool spansTheLoop(const EngineCard& card) {
    if (card.mnemonic == "GN") return card.ints[0] == 2;
    if (card.mnemonic == "EX") return (card.ints[0] >= 1 && card.ints[0] <= 3) || card.ints[3] % 10 != 0;
    return card.mnemonic == "PT" && card.ints[0] >= 2;
}

// A GN card whose conductivity the engine scales by the first wavelength:
// a real ground (not -1 free space, not 1 perfect) given a negative F2.
bool scalesConductivity(const EngineCard& card) { return card.ints[0] != -1 && card.ints[0] != 1 && card.reals[1] < 0; }

// The lines the engine reads as cards: blank lines and lines starting with
// a blank or '#' it skips.
bool engineReads(std::string_view line) { return !line.empty() && line[0] != ' ' && line[0] != '#' && line[0] != '\r'; }

struct ControlCard {
    size_t line;
    EngineCard card;
};

bool isExecution(const EngineCard& card) { return card.mnemonic == "RP" || card.mnemonic == "XQ"; }
bool isNearField(const EngineCard& card) { return card.mnemonic == "NE" || card.mnemonic == "NH"; }
int stepsOf(const EngineCard& frequency) { return frequency.ints[1] == 0 ? 1 : frequency.ints[1]; }

// The cards after GE up to EN as the engine reads them; nullopt when one
// would stop the engine, or there is no EN.
std::optional<std::vector<ControlCard>> controlCards(const std::vector<std::string>& lines) {
    size_t i = 0;
    auto isGeometryEnd = [](const std::string& line) {
        return engineReads(line) && toUpper(line.substr(0, 2)) == "GE";
    };
    while (i < lines.size() && !isGeometryEnd(lines[i])) ++i;
    std::vector<ControlCard> cards;
    for (++i; i < lines.size(); ++i) {
        if (!engineReads(lines[i])) continue;
        std::optional<EngineCard> card = readEngineCard(lines[i]);
        if (!card) return std::nullopt;
        if (card->mnemonic == "EN") return cards;
        cards.push_back({i, std::move(*card)});
    }
    return std::nullopt;
}

// Before the loop's FR card: single-frequency calculations, printed alike
// by every part, and cards that set up the run.
bool fitsBeforeLoop(const EngineCard& card) {
    if (card.mnemonic == "FR") return stepsOf(card) <= 1;
    return (isExecution(card) || setUpCards().count(card.mnemonic)) && !spansTheLoop(card);
}

// Between the loop's FR card and the RP or XQ that runs it: set-up cards
// (a near-field request waits for the loop there).
bool fitsInLoop(const EngineCard& card) { return setUpCards().count(card.mnemonic) && !spansTheLoop(card); }

// An XQ card the engine surely calculates: one right after a card that
// sets up the run (after RP, NE, NH or GD an XQ with I1 = 0 is skipped).
bool surelyCalculates(const std::vector<ControlCard>& cards, size_t i) {
    static const std::set<std::string> before = {"FR", "EX", "LD", "GN", "NT", "TL", "KH", "EK"};
    return i > 0 && before.count(cards[i - 1].card.mnemonic) > 0;
}

// The GN card whose negative conductivity the loop's first step scales:
// the last GN before the loop's start with no calculation after it (an
// earlier one was scaled at the frequency of that calculation, and every
// part makes it alike). False when an XQ that the engine may skip leaves
// it open whether such a GN was scaled already.
bool findScaledGround(const std::vector<ControlCard>& cards, size_t start, FrequencyLoop& loop) {
    bool open = false;
    for (size_t i = start; i-- > 0;) {
        const EngineCard& card = cards[i].card;
        if (card.mnemonic == "GN") {
            if (!scalesConductivity(card)) return true;
            loop.groundLine = cards[i].line;
            loop.ground = card;
            return !open;
        }
        if (card.mnemonic == "RP" || isNearField(card) || (card.mnemonic == "XQ" && surelyCalculates(cards, i)))
            return true;
        open = open || card.mnemonic == "XQ";
    }
    return true;
}

// Cards after which nec2c-lapack keeps the factored matrix for the same
// frequency.
bool keepsMatrix(const EngineCard& card) {
    static const std::set<std::string> keeping = {"FR", "XQ", "RP", "NE", "NH", "PT", "PQ"};
    return keeping.count(card.mnemonic) > 0;
}

// Whether the last header calculation is made at the loop's first
// frequency with a matrix the engine can keep for the loop (see
// FrequencyLoop::headerAtLoopStart).
bool headerAtLoopStart(const std::vector<ControlCard>& cards, size_t fr, const FrequencyLoop& loop) {
    if (loop.header.empty()) return false;
    for (size_t i = 0; i < fr; ++i)
        if (cards[i].card.mnemonic == "NT" || cards[i].card.mnemonic == "TL") return false;
    const size_t last = loop.header.back().line;
    size_t i = fr;
    while (i > 0 && cards[i - 1].line > last) {
        if (!keepsMatrix(cards[--i].card)) return false;
    }
    const std::optional<EngineCard> frequency = readEngineCard(loop.lines[loop.header.back().frequencyLine]);
    return frequency && frequency->reals[0] == loop.frequency.reals[0];
}

// The calculations before the loop's FR card (at `fr`), for the header
// that only the first part makes. Left empty when a part without them would
// print another loop: a calculation with no FR card before it (nothing to
// repeat in its place), or a GN card with a negative conductivity before a
// calculation (nec2c scales it at the first frequency it calculates, and
// keeps the scaled value).
void findHeader(const std::vector<ControlCard>& cards, size_t fr, FrequencyLoop& loop) {
    std::optional<size_t> frequencyLine;
    bool scaledGround = false;
    std::vector<FrequencyLoop::HeaderCalculation> header;
    int solutions = 0;
    for (size_t i = 0; i < fr; ++i) {
        const EngineCard& card = cards[i].card;
        if (card.mnemonic == "FR") frequencyLine = cards[i].line;
        if (card.mnemonic == "GN") scaledGround = scalesConductivity(card);
        if (!isExecution(card) && !isNearField(card)) continue;
        if (!frequencyLine || scaledGround) return;
        header.push_back({cards[i].line, *frequencyLine});
        // Calculations straight after one another share its solution; a
        // card between them (FR, a load, a source) asks for another.
        const bool follows = i > 0 && (isExecution(cards[i - 1].card) || isNearField(cards[i - 1].card));
        if (!follows) ++solutions;
    }
    loop.header = std::move(header);
    loop.headerSolutions = solutions;
    loop.headerAtLoopStart = headerAtLoopStart(cards, fr, loop);
}

} // namespace

std::optional<FrequencyLoop> splittableLoop(std::string_view deck) {
    FrequencyLoop loop;
    loop.lines = splitLines(deck);
    const std::optional<std::vector<ControlCard>> cards = controlCards(loop.lines);
    if (!cards) return std::nullopt;
    size_t fr = cards->size();
    for (size_t i = 0; i < cards->size(); ++i)
        if ((*cards)[i].card.mnemonic == "FR") fr = i;
    if (fr == cards->size() || stepsOf((*cards)[fr].card) < 2 * kMinimumSteps) return std::nullopt;
    for (size_t i = 0; i < fr; ++i)
        if (!fitsBeforeLoop((*cards)[i].card)) return std::nullopt;
    size_t start = fr + 1;
    while (start < cards->size() && fitsInLoop((*cards)[start].card)) ++start;
    if (start == cards->size() || !isExecution((*cards)[start].card)) return std::nullopt;
    // After it only XQ cards with I1 = 0 that the engine skips after an RP.
    for (size_t i = start + 1; i < cards->size(); ++i) {
        const EngineCard& card = (*cards)[i].card;
        if ((*cards)[start].card.mnemonic != "RP" || card.mnemonic != "XQ" || card.ints[0] != 0) return std::nullopt;
    }
    loop.frequencyLine = (*cards)[fr].line;
    loop.frequency = (*cards)[fr].card;
    loop.steps = stepsOf(loop.frequency);
    if (!findScaledGround(*cards, start, loop)) return std::nullopt;
    findHeader(*cards, fr, loop);
    return loop;
}

std::optional<EngineCard> readEngineCard(std::string_view line) {
    const std::string buffer = engineBuffer(line);
    if (buffer.size() < 3) return std::nullopt; // no two-letter mnemonic
    EngineCard card;
    card.mnemonic = toUpper(buffer.substr(0, 2));
    size_t at = 1;
    for (int& value : card.ints) {
        if (!nextField(buffer, at, startsInteger)) return card;
        const std::optional<int> read = readInteger(std::string_view(buffer).substr(at));
        if (!read || !skipField(buffer, at, inInteger)) return std::nullopt;
        value = *read;
        if (buffer[at] == '\0') return card;
    }
    for (double& value : card.reals) {
        if (!nextField(buffer, at, startsReal)) return card;
        const size_t end = buffer.find_first_of(std::string_view(" \t,\0", 4), at);
        const std::optional<double> read = readReal(std::string_view(buffer).substr(at, end - at));
        if (!read || !skipField(buffer, at, inReal)) return std::nullopt;
        value = *read;
        if (buffer[at] == '\0') return card;
    }
    return card;
}

std::string engineCardLine(const EngineCard& card) {
    std::string line = card.mnemonic;
    for (int value : card.ints) line += " " + std::to_string(value);
    size_t used = card.reals.size();
    while (used > 0 && card.reals[used - 1] == 0) --used; // missing fields read as 0
    for (size_t i = 0; i < used; ++i) line += " " + formatRoundTrip(card.reals[i]);
    return line;
}

double loopFrequency(const EngineCard& frequencyCard, int index) {
    double frequency = frequencyCard.reals[0];
    const double step = frequencyCard.reals[1];
    for (int i = 0; i < index; ++i) {
        if (frequencyCard.ints[0] == 1) frequency *= step;
        else frequency += step;
    }
    return frequency;
}

double scaledConductivity(double conductivity, double firstFrequencyMHz) {
    const double wavelength = kLightSpeed / firstFrequencyMHz;
    return -conductivity / (kConductivityScale * wavelength);
}

namespace {

// `steps` from step `first` on in `count` consecutive parts of nearly equal
// length, the longer ones last.
void splitEvenly(int first, int steps, int count, bool header, std::vector<LoopPart>& split) {
    for (int p = 0; p < count; ++p) {
        const int size = steps / count + (p >= count - steps % count ? 1 : 0);
        split.push_back({first, size, header});
        first += size;
    }
}

} // namespace

std::vector<LoopPart> splitSteps(int steps, int parts, int headerSolutions) {
    const int count = std::max(1, std::min(parts, steps / kMinimumSteps));
    std::vector<LoopPart> split;
    if (count == 1 || headerSolutions < 0) {
        splitEvenly(0, steps, count, true, split);
        return split;
    }
    // The first part's share of the work (steps and the header's
    // solutions) is the shortest; the header fills part of it. What it
    // leaves of the steps never drops another part below two steps.
    const int share = (steps + headerSolutions) / count;
    const int firstSteps = std::max(kMinimumSteps, share - headerSolutions);
    split.push_back({0, firstSteps, true});
    splitEvenly(firstSteps, steps - firstSteps, count - 1, false, split);
    return split;
}

std::optional<std::string> partDeck(const FrequencyLoop& loop, const LoopPart& part) {
    std::vector<std::string> lines = loop.lines;
    EngineCard frequency = loop.frequency;
    frequency.ints[1] = part.steps;
    frequency.reals[0] = loopFrequency(loop.frequency, part.first);
    lines[loop.frequencyLine] = engineCardLine(frequency);
    if (!part.header)
        for (const FrequencyLoop::HeaderCalculation& calculation : loop.header)
            lines[calculation.line] = loop.lines[calculation.frequencyLine];
    if (part.first > 0 && loop.groundLine) {
        EngineCard ground = loop.ground;
        ground.reals[1] = scaledConductivity(ground.reals[1], loop.frequency.reals[0]);
        lines[*loop.groundLine] = engineCardLine(ground);
    }
    if (lines[loop.frequencyLine].size() > kEngineLineLength ||
        (loop.groundLine && lines[*loop.groundLine].size() > kEngineLineLength))
        return std::nullopt; // the engine would not read the whole card
    std::string deck;
    for (const std::string& line : lines) (deck += line) += '\n';
    return deck;
}

} // namespace wavra
