#include "present/calc_dialog_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/text.h"
#include "engine/card_text.h"
#include "engine/deck_adapter.h"
#include "engine/deck_requests.h"

namespace wavra {

namespace {

constexpr double kMinDistance = 1.0; // metres
constexpr double kMinGainFactor = 0.000001;
constexpr std::array<int, 4> kXndaLimits = {1, 5, 1, 2};

// The fields of a remembered card: separated by commas when it has any,
// else by blanks; field 1 is the card name.
std::vector<std::string> cardFields(const std::string& card) {
    const bool commas = card.find(',') != std::string::npos;
    std::vector<std::string> fields;
    std::string current;
    auto flush = [&] {
        const std::string t = trim(current);
        if (!t.empty() || commas) fields.push_back(t);
        current.clear();
    };
    for (char c : card) {
        if (commas ? c == ',' : (c == ' ' || c == '\t')) flush();
        else current += c;
    }
    flush();
    return fields;
}

double fieldValue(const std::vector<std::string>& f, size_t n) {
    return n >= 1 && n <= f.size() ? readNumber(f[n - 1]) : 0.0;
}

bool isCard(const std::vector<std::string>& f, std::initializer_list<std::string_view> names) {
    if (f.empty()) return false;
    const std::string name = toUpper(f[0]);
    return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return name == n; });
}

using Row = std::array<double, 3>; // start, stop, step

// With a surface wave the far field's first row holds heights in metres.
bool heightRow(const Calculation& calculation) {
    return calculation.calcKind == kCalcFarField && calculation.surfaceWaveFlag != 0;
}

// One row from a card: start, count and step fields; nothing when the card
// asks for no point on it.
std::optional<Row> cardRow(const std::vector<std::string>& f, size_t startField, size_t countField, size_t stepField) {
    const double start = fieldValue(f, startField);
    const double count = fieldValue(f, countField);
    const double step = fieldValue(f, stepField);
    if (!(count >= 1)) return std::nullopt;
    return Row{start, start + (count - 1) * step, step};
}

const std::string& presetCard(const Settings& settings, int row, int column) {
    return settings.calcPresets[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

// Grid row `row` of the current choice from the card its last run made.
std::optional<Row> presetRow(const Model& m, int row) {
    const int column = presetEntry(m).column;
    if (m.calcKind == kCalcNearField) {
        const auto f = cardFields(presetCard(m, 6, column));
        if (!isCard(f, {"NE", "NH"})) return std::nullopt;
        const auto r = static_cast<size_t>(row);
        return cardRow(f, 6 + r, 3 + r, 9 + r);
    }
    const auto f = cardFields(presetCard(m, presetEntry(m).row, column));
    if (!isCard(f, {"RP"})) return std::nullopt;
    const int axis = m.calcKind == kCalcFrequencyLoop ? row - 1 : row; // 0 theta, 1 phi
    return axis == 0 ? cardRow(f, 6, 3, 8) : cardRow(f, 7, 4, 9);
}

Row axisRow(const DeckAxis& a) { return {a.start, a.stop, a.step}; }

// A loop of 11 steps of 1 % around one frequency.
DeckAxis loopAround(double mhz) {
    const double step = mhz / 100;
    return {mhz - 5 * step, mhz + 5 * step, step, 11};
}

// The frequency loop of the FR card the last loop run generated.
std::optional<DeckAxis> presetLoop(const Model& m) {
    const auto f = cardFields(presetCard(m, 2, 0));
    if (!isCard(f, {"FR"})) return std::nullopt;
    if (fieldValue(f, 2) == 1) return multiplicativeAxis(fieldValue(f, 6), fieldValue(f, 3), fieldValue(f, 7));
    const auto row = cardRow(f, 6, 3, 7);
    if (!row) return std::nullopt;
    return DeckAxis{(*row)[0], (*row)[1], (*row)[2]};
}

// The deck's own loop; one frequency gives a loop around it.
std::optional<DeckAxis> deckLoop(const DeckRequests& d) {
    if (!d.frequency || !(d.frequency->start > 0)) return std::nullopt;
    return d.frequency->count > 1 ? *d.frequency : loopAround(d.frequency->start);
}

// Grid row `row` of the current choice from the deck's own cards.
std::optional<Row> deckRow(const Calculation& calculation, const DeckRequests& d, int row) {
    if (calculation.calcKind == kCalcNearField) {
        if (!d.nearField) return std::nullopt;
        return axisRow((*d.nearField)[static_cast<size_t>(row)]);
    }
    const int axis = calculation.calcKind == kCalcFrequencyLoop ? row - 1 : row;
    if (!d.farField || (axis == 0 && heightRow(calculation))) return std::nullopt;
    return axisRow((*d.farField)[static_cast<size_t>(axis)]);
}

constexpr double kFreeSpaceMHz = 299.8; // the engine's frequency when the deck has no FR card

Row defaultRow(const Geometry& geometry, const Calculation& calculation, int row) {
    if (calculation.calcKind == kCalcNearField) {
        const double e = std::max(geometry.modelExtent, 0.1);
        return row == 2 ? Row{0, 0, 1} : Row{-e, e, e / 10};
    }
    const int axis = calculation.calcKind == kCalcFrequencyLoop ? row - 1 : row;
    if (axis == 0) return heightRow(calculation) ? Row{0, 0, 1} : Row{0, 180, 5};
    return {0, 355, 5};
}

// The key of grid row `row` of the current choice in CalcRowMemory: the
// frequency row is shared by the loop's sub-options, every other row
// belongs to its choice, sub-option and preset column.
int rowKey(const Model& m, int row) {
    const int column = presetEntry(m).column;
    switch (m.calcKind) {
    case kCalcFarField: return 100 + 10 * column + row;
    case kCalcFrequencyLoop: return row == 0 ? 200 : 300 + 20 * m.calcSubMode + 10 * column + row;
    case kCalcNearField: return 600 + 10 * column + row;
    default: return -1;
    }
}

void setRow(Calculation& calculation, int row, const Row& r) {
    for (int k = 0; k < 3; ++k) calculation.calcRange[static_cast<size_t>(3 * row + k)] = r[static_cast<size_t>(k)];
}

void rememberRows(const Model& m, CalcRowMemory& memory) {
    const int rows = calcLayout(m).rows;
    for (int row = 0; row < rows; ++row) {
        const int key = rowKey(m, row);
        const auto& r = m.calcRange;
        if (key >= 0) memory.rows[key] = {r[3 * row], r[3 * row + 1], r[3 * row + 2]};
    }
}

// Azimuth of the strongest point of the loaded pattern, whole degrees
// within 0 to 359.
double mainBeamAzimuth(const Results& results) {
    const int best = results.strongestPatternPoint();
    if (best == 0) return 0;
    double phi = std::fmod(std::trunc(results.farFieldAngles[best][1]), 360.0);
    return phi < 0 ? phi + 360 : phi;
}

// A typed number; a comma counts as the decimal point.
double decimalNumber(std::string_view text) {
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    return readNumber(number);
}

bool isStepField(int index) { return index == 3 || index == 6 || index == 9; }

void refuse(Ui& ui, const std::string& text) { ui.message(text, "wavra", Icon::Exclamation); }

// Rows whose start, stop and step the run turns into points.
int testedRows(const Calculation& calculation) {
    if (calculation.calcKind == kCalcNearField) return 3;
    if (calculation.calcKind == kCalcFarField ||
        (calculation.calcKind == kCalcFrequencyLoop && calculation.calcSubMode >= 1))
        return 2;
    if (calculation.calcKind == kCalcFrequencyLoop) return 1;
    return 0;
}

std::string tooMany(double total, int limit, const char* what) {
    return "Total of" + str(total) + " exceeds max of" + str(limit) + " " + what + ".";
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// What a grid row holds, for the checks before a run.
struct RowRule {
    std::string name, unit;
    double low = -HUGE_VAL, high = HUGE_VAL;
    bool aboveZero = false; // frequencies
};

RowRule rowRule(const Calculation& calculation, int row) {
    const std::string unit = calcLayout(calculation).rowUnits[static_cast<size_t>(row)];
    if (calculation.calcKind == kCalcNearField) return {std::string(1, static_cast<char>('X' + row)), unit};
    const int axis = calculation.calcKind == kCalcFrequencyLoop ? row - 1 : row; // -1 frequency, 0 theta, 1 phi
    if (axis < 0) return {"Frequency", unit, -HUGE_VAL, HUGE_VAL, true};
    if (axis == 0 && heightRow(calculation)) return {"Height", unit};
    if (axis == 0) return {"Theta", unit, -180, 180};
    return {"Phi", unit, -360, 360};
}

std::string valueText(double v) { return trim(str(v)); }

std::optional<std::string> valueRefusal(const RowRule& rule, const char* column, double v) {
    const std::string field = rule.name + " " + column;
    if (!std::isfinite(v)) return field + " must be a number of " + rule.unit + ".";
    if (rule.aboveZero && !(v > 0)) return field + " must be above 0 " + rule.unit + ".";
    if (v < rule.low || v > rule.high)
        return field + " must lie between " + valueText(rule.low) + " and " + valueText(rule.high) + " " + rule.unit +
               ".";
    return std::nullopt;
}

// Start, stop and step of one shown row: numbers within the row's range, a
// step that is not 0 and leads from start to stop.
std::optional<std::string> rowRefusal(const Calculation& calculation, int row) {
    const RowRule rule = rowRule(calculation, row);
    const auto& r = calculation.calcRange;
    const double start = r[3 * row], stop = r[3 * row + 1], step = r[3 * row + 2];
    if (auto refusal = valueRefusal(rule, "start", start)) return refusal;
    if (auto refusal = valueRefusal(rule, "stop", stop)) return refusal;
    if (!std::isfinite(step)) return rule.name + " step must be a number of " + rule.unit + ".";
    if (step == 0) return "Stepsize too small.";
    if ((stop - start) * step < 0)
        return rule.name + " step must lead from start to stop: from " + valueText(start) + " to " + valueText(stop) +
               " it must be " + (stop < start ? "below" : "above") + " 0.";
    return std::nullopt;
}

} // namespace

CalcLayout calcLayout(const Calculation& calculation) {
    CalcLayout l;
    switch (calculation.calcKind) {
    case kCalcFarField:
        l.rows = 2;
        l.rowCaptions = {calculation.surfaceWaveFlag != 0 ? "Z in mtr." : "Theta", "Phi", ""};
        l.rowUnits = {calculation.surfaceWaveFlag != 0 ? "metres" : "degrees", "degrees", ""};
        l.columnCaptions = {"Start", "Stop", "Step size"};
        l.farFieldExtras = true;
        break;
    case kCalcFrequencyLoop:
        l.subCaptions = {"None", "Ver.", "Hor.", "Gain"};
        if (calculation.calcFrequencyRatio > 0)
            l.note = "Multiplicative loop: each frequency is" + str(calculation.calcFrequencyRatio) +
                     " times the one before. A changed frequency field makes the steps linear.";
        if (calculation.calcSubMode == 0) {
            l.rows = 1;
            l.rowCaptions = {"Freq:", "", ""};
            l.rowUnits = {"MHz", "", ""};
            l.columnCaptions = {"Start", "Stop", "Stepsize"};
        } else {
            l.rows = 3;
            l.rowCaptions = {"Freq:", "Theta", "Phi"};
            l.rowUnits = {"MHz", "degrees", "degrees"};
            l.columnCaptions = {"Start val.", "Stop val.", "Stepsize"};
            l.farFieldExtras = true;
        }
        break;
    case kCalcNearField:
        l.rows = 3;
        l.rowCaptions = {"X", "Y", "Z"};
        l.rowUnits = {"metres", "metres", "metres"};
        l.columnCaptions = {"First pos.", "Last pos.", "Stepsize"};
        l.subCaptions = {"", "E-fld", "H-fld", ""};
        break;
    case kCalcItsHfArea:
    case kCalcItsHfPointToPoint:
        l.rows = 2;
        l.startOnly = true;
        l.rowCaptions = {"Phi-max", calculation.calcKind == kCalcItsHfArea ? "Freq." : "Az-diff.", ""};
        l.rowUnits = {"degrees", calculation.calcKind == kCalcItsHfArea ? "MHz" : "degrees", ""};
        l.infoX = "(Phi angle for main-beam)";
        l.infoY = calculation.calcKind == kCalcItsHfArea ? "(Antenna design frequency)"
                                                         : "(Azim. angle between main-\nbeam and desired direction)";
        break;
    default: break; // the deck as it stands: no grid
    }
    return l;
}

namespace {

// The frequency row of a loop, with its factor when its steps multiply: the
// last loop run's FR card, else the deck's, else a loop around the model's
// frequency.
void prefillLoop(Model& m, const DeckRequests& deck) {
    std::optional<DeckAxis> found = presetLoop(m);
    if (!found) found = deckLoop(deck);
    const DeckAxis loop = found.value_or(loopAround(m.frequencyMHz > 0 ? m.frequencyMHz : kFreeSpaceMHz));
    setRow(m, 0, axisRow(loop));
    m.calcFrequencyRatio = loop.ratio;
}

} // namespace

void prefillCalcRange(Model& m, const CalcRowMemory& memory) {
    if (m.calcKind == kCalcItsHfArea || m.calcKind == kCalcItsHfPointToPoint) {
        m.calcRange[0] = mainBeamAzimuth(m);
        m.calcRange[3] = m.calcKind == kCalcItsHfArea ? m.frequencyMHz : 0.0;
        return;
    }
    const int rows = calcLayout(m).rows;
    for (int row = 0; row < rows; ++row) {
        if (const auto it = memory.rows.find(rowKey(m, row)); it != memory.rows.end()) setRow(m, row, it->second);
        else if (m.calcKind == kCalcFrequencyLoop && row == 0) prefillLoop(m, memory.deck);
        else if (const auto preset = presetRow(m, row)) setRow(m, row, *preset);
        else if (const auto deck = deckRow(m, memory.deck, row)) setRow(m, row, *deck);
        else setRow(m, row, defaultRow(m, m, row));
    }
}

CalcRowMemory openCalcRows(Model& m) {
    CalcRowMemory memory;
    memory.deck = modelDeckRequests(m);
    prefillCalcRange(m, memory);
    return memory;
}

void chooseCalcKind(Model& m, CalcRowMemory& memory, int16_t kind, int16_t previousKind) {
    rememberRows(m, memory);
    m.calcKind = kind;
    if (kind == kCalcFrequencyLoop && previousKind != kCalcFrequencyLoop) m.calcSubMode = 0;
    if (kind == kCalcNearField && m.calcSubMode != 2) m.calcSubMode = 1;
    prefillCalcRange(m, memory);
}

void chooseSubOption(Model& m, CalcRowMemory& memory, int index) {
    if (index < 0 || index > 3 || index == m.calcSubMode) return;
    rememberRows(m, memory);
    m.calcSubMode = static_cast<int16_t>(index);
    prefillCalcRange(m, memory);
}

void chooseSurfaceWave(Model& m, CalcRowMemory& memory, bool ticked) {
    rememberRows(m, memory);
    m.surfaceWaveFlag = ticked ? -1 : 0;
    prefillCalcRange(m, memory);
}

void enterRangeField(Calculation& calculation, int index, std::string_view text, bool enterPressed) {
    if (index < 1 || index > 9) return;
    auto& r = calculation.calcRange;
    const int i = index - 1;
    // A field left as it was shown keeps the value it stands for, which may
    // have more digits than shown (and a multiplicative loop its factor).
    if (trim(text) != rangeText(r[i])) {
        r[i] = decimalNumber(text);
        if (calculation.calcKind == kCalcFrequencyLoop && i < 3) calculation.calcFrequencyRatio = 0;
    }
    if (enterPressed || !isStepField(index)) return;
    if (r[i] == 0) r[i] = (r[i - 1] - r[i - 2]) / 20;
    else if (calculation.calcKind == kCalcNearField)
        for (int below = i + 3; below < 9; below += 3) r[below] = r[i];
}

XndaEntry checkXnda(std::string_view text) {
    const std::string_view last = text.size() > 4 ? text.substr(text.size() - 4) : text;
    const double number = std::fabs(readNumber(last));
    const int value = static_cast<int>(std::min(9999.0, std::trunc(std::isfinite(number) ? number : 0)));
    XndaEntry e;
    e.text = formatPicture(value, "0000");
    e.valid = true;
    for (size_t k = 0; k < 4; ++k) {
        if (e.text[k] - '0' > kXndaLimits[k]) {
            e.text[k] = '0';
            e.valid = false;
        }
    }
    e.value = static_cast<int16_t>(std::stoi(e.text));
    return e;
}

std::string enterXnda(Geometry& geometry, Ui& ui, std::string_view text) {
    const XndaEntry e = checkXnda(text);
    if (e.valid) geometry.requestXnda = e.value;
    else refuse(ui, "Wrong value, consult NEC2 user manual.");
    return e.text;
}

void enterDistance(Geometry& geometry, std::string_view km) {
    geometry.requestDistance = std::max(kMinDistance, 1000 * decimalNumber(km));
}

void enterGainFactor(Geometry& geometry, std::string_view text) {
    geometry.requestGainNorm = std::max(kMinGainFactor, decimalNumber(text));
}

std::string xndaText(int16_t xnda) { return formatPicture(std::clamp<int>(xnda, 0, 9999), "0000"); }
std::string distanceText(const Geometry& geometry) { return trim(str(geometry.requestDistance / 1000)); }
std::string gainFactorText(const Geometry& geometry) { return trim(str(geometry.requestGainNorm)); }
std::string rangeText(double value) { return trim(str(value)); }

std::optional<std::string> generateRefusal(const Settings& settings, const Calculation& calculation) {
    const int shown = calculation.calcKind == kCalcItsHfArea || calculation.calcKind == kCalcItsHfPointToPoint
                          ? 0
                          : calcLayout(calculation).rows;
    for (int row = 0; row < shown; ++row)
        if (auto refusal = rowRefusal(calculation, row)) return refusal;
    const int rows = testedRows(calculation);
    double total = 1;
    for (int row = 0; row < rows; ++row) {
        const auto& r = calculation.calcRange;
        total *= exactPointCount(r[3 * row], r[3 * row + 1], r[3 * row + 2]);
    }
    if (rows > 0 && total > settings.maxFarFieldPoints)
        return tooMany(total, settings.maxFarFieldPoints, "calculation points");
    if (calculation.calcKind == kCalcFrequencyLoop) {
        const double steps =
            exactPointCount(calculation.calcRange[0], calculation.calcRange[1], calculation.calcRange[2]);
        if (steps > settings.maxFreqSteps) return tooMany(steps, settings.maxFreqSteps, "frequency steps");
    }
    if (calculation.calcKind == kCalcItsHfArea && (calculation.calcRange[3] < 2.0 || calculation.calcRange[3] >= 30.0))
        return "Frequency not between 2.0 and 30.0 Mc";
    return std::nullopt;
}

bool generateCalculation(Model& m, Ui& ui) {
    if (!endsWith(m.summary.fileName, m.modelExt)) m.requestMode = kNoRequest;
    if (const auto refusal = generateRefusal(m, m)) {
        refuse(ui, *refusal);
        return false;
    }
    m.summary.calculationTime.clear();
    m.summary.hasRunTime = false;
    m.summary.runTimeSeconds = 0;
    m.actionCode = 13;
    return true;
}

CalcChoice saveCalcChoice(const Geometry& geometry, const Calculation& calculation) {
    return {calculation.calcKind,     calculation.calcSubMode,       calculation.surfaceWaveFlag,
            geometry.requestXnda,     calculation.calcRange,         geometry.requestDistance,
            geometry.requestGainNorm, calculation.calcFrequencyRatio};
}

void restoreCalcChoice(Geometry& geometry, Calculation& calculation, const CalcChoice& c) {
    calculation.calcKind = c.kind;
    calculation.calcSubMode = c.subMode;
    calculation.surfaceWaveFlag = c.surfaceWave;
    geometry.requestXnda = c.xnda;
    calculation.calcRange = c.range;
    geometry.requestDistance = c.distance;
    geometry.requestGainNorm = c.gainNorm;
    calculation.calcFrequencyRatio = c.frequencyRatio;
}

} // namespace wavra
