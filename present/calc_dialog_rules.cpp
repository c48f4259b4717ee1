#include "present/calc_dialog_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text.h"
#include "engine/card_text.h"
#include "engine/deck_adapter.h"

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

// One row of the grid from a card: start, count and step fields.
void setRow(Model& m, int first, const std::vector<std::string>& f, size_t startField, size_t countField,
            size_t stepField) {
    const double start = fieldValue(f, startField);
    const double count = fieldValue(f, countField);
    const double step = fieldValue(f, stepField);
    m.calcRange[first] = start;
    m.calcRange[first + 1] = start + (count - 1) * step;
    m.calcRange[first + 2] = step;
}

const std::string& presetCard(const Model& m, int row, int column) {
    return m.calcPresets[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void prefillFromRp(Model& m, int row, int column, int firstRow) {
    const auto f = cardFields(presetCard(m, row, column));
    if (!isCard(f, {"RP"})) return;
    setRow(m, firstRow, f, 6, 3, 8);     // theta
    setRow(m, firstRow + 3, f, 7, 4, 9); // phi
}

void prefillNearField(Model& m, int column) {
    const auto f = cardFields(presetCard(m, 6, column));
    if (!isCard(f, {"NE", "NH"})) return;
    for (int k = 0; k < 3; ++k) setRow(m, 3 * k, f, 6 + k, 3 + k, 9 + k);
}

void prefillFrequency(Model& m) {
    const auto f = cardFields(presetCard(m, 2, 0));
    if (isCard(f, {"FR"})) setRow(m, 0, f, 6, 3, 7);
}

// Azimuth of the strongest point of the loaded pattern, whole degrees
// within 0 to 359.
double mainBeamAzimuth(const Model& m) {
    const int best = m.strongestPatternPoint();
    if (best == 0) return 0;
    double phi = std::fmod(std::trunc(m.farFieldAngles[best][1]), 360.0);
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
int testedRows(const Model& m) {
    if (m.calcKind == kCalcNearField) return 3;
    if (m.calcKind == kCalcFarField || (m.calcKind == kCalcFrequencyLoop && m.calcSubMode >= 1)) return 2;
    if (m.calcKind == kCalcFrequencyLoop) return 1;
    return 0;
}

std::string tooMany(double total, int limit, const char* what) {
    return "Total of" + str(total) + " exceeds max of" + str(limit) + " " + what + ".";
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

CalcLayout calcLayout(const Model& m) {
    CalcLayout l;
    switch (m.calcKind) {
    case kCalcFarField:
        l.rows = 2;
        l.rowCaptions = {m.surfaceWaveFlag != 0 ? "Z in mtr." : "Theta", "Phi", ""};
        l.columnCaptions = {"Start", "Stop", "Step size"};
        l.farFieldExtras = true;
        break;
    case kCalcFrequencyLoop:
        l.subCaptions = {"None", "Ver.", "Hor.", "Gain"};
        if (m.calcSubMode == 0) {
            l.rows = 1;
            l.rowCaptions = {"Freq:", "", ""};
            l.columnCaptions = {"Start", "Stop", "Stepsize"};
        } else {
            l.rows = 3;
            l.rowCaptions = {"Freq:", "Theta", "Phi"};
            l.columnCaptions = {"Start val.", "Stop val.", "Stepsize"};
            l.farFieldExtras = true;
        }
        break;
    case kCalcNearField:
        l.rows = 3;
        l.rowCaptions = {"X", "Y", "Z"};
        l.columnCaptions = {"First pos.", "Last pos.", "Stepsize"};
        l.subCaptions = {"", "E-fld", "H-fld", ""};
        break;
    case kCalcItsHfArea:
    case kCalcItsHfPointToPoint:
        l.rows = 2;
        l.startOnly = true;
        l.rowCaptions = {"Phi-max", m.calcKind == kCalcItsHfArea ? "Freq." : "Az-diff.", ""};
        l.infoX = "(Phi angle for main-beam)";
        l.infoY = m.calcKind == kCalcItsHfArea ? "(Antenna design frequency)"
                                               : "(Azim. angle between main-\nbeam and desired direction)";
        break;
    default: break; // the deck as it stands: no grid
    }
    return l;
}

void prefillCalcRange(Model& m) {
    const int column = m.surfaceWaveFlag != 0 ? 1 : 0;
    switch (m.calcKind) {
    case kCalcFarField: prefillFromRp(m, 1, column, 0); break;
    case kCalcFrequencyLoop:
        prefillFrequency(m);
        if (m.calcSubMode >= 1) prefillFromRp(m, 2 + m.calcSubMode, column, 3);
        break;
    case kCalcNearField: prefillNearField(m, m.calcSubMode == 2 ? 1 : 0); break;
    case kCalcItsHfArea:
    case kCalcItsHfPointToPoint:
        m.calcRange[0] = mainBeamAzimuth(m);
        m.calcRange[3] = m.calcKind == kCalcItsHfArea ? m.frequencyMHz : 0.0;
        break;
    default: break;
    }
}

void chooseCalcKind(Model& m, int16_t kind, int16_t previousKind) {
    m.calcKind = kind;
    if (kind == kCalcFrequencyLoop && previousKind != kCalcFrequencyLoop) m.calcSubMode = 0;
    if (kind == kCalcNearField && m.calcSubMode != 2) m.calcSubMode = 1;
    prefillCalcRange(m);
}

void chooseSubOption(Model& m, int index) {
    if (index < 0 || index > 3 || index == m.calcSubMode) return;
    m.calcSubMode = static_cast<int16_t>(index);
    prefillCalcRange(m);
}

void chooseSurfaceWave(Model& m, bool ticked) {
    m.surfaceWaveFlag = ticked ? -1 : 0;
    prefillCalcRange(m);
}

void enterRangeField(Model& m, int index, std::string_view text, bool enterPressed) {
    if (index < 1 || index > 9) return;
    auto& r = m.calcRange;
    const int i = index - 1;
    r[i] = decimalNumber(text);
    if (enterPressed || !isStepField(index)) return;
    if (r[i] == 0) r[i] = (r[i - 1] - r[i - 2]) / 20;
    else if (m.calcKind == kCalcNearField)
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

std::string enterXnda(Model& m, Ui& ui, std::string_view text) {
    const XndaEntry e = checkXnda(text);
    if (e.valid) m.requestXnda = e.value;
    else refuse(ui, "Wrong value, consult NEC2 user manual.");
    return e.text;
}

void enterDistance(Model& m, std::string_view km) {
    m.requestDistance = std::max(kMinDistance, 1000 * decimalNumber(km));
}

void enterGainFactor(Model& m, std::string_view text) {
    m.requestGainNorm = std::max(kMinGainFactor, decimalNumber(text));
}

std::string xndaText(int16_t xnda) { return formatPicture(std::clamp<int>(xnda, 0, 9999), "0000"); }
std::string distanceText(const Model& m) { return trim(str(m.requestDistance / 1000)); }
std::string gainFactorText(const Model& m) { return trim(str(m.requestGainNorm)); }
std::string rangeText(double value) { return trim(str(value)); }

std::optional<std::string> generateRefusal(const Model& m) {
    const int rows = testedRows(m);
    double total = 1;
    for (int row = 0; row < rows; ++row) {
        const auto& r = m.calcRange;
        if (r[3 * row + 2] == 0) return "Stepsize too small.";
        total *= exactPointCount(r[3 * row], r[3 * row + 1], r[3 * row + 2]);
    }
    if (rows > 0 && total > m.maxFarFieldPoints) return tooMany(total, m.maxFarFieldPoints, "calculation points");
    if (m.calcKind == kCalcFrequencyLoop) {
        const double steps = exactPointCount(m.calcRange[0], m.calcRange[1], m.calcRange[2]);
        if (steps > m.maxFreqSteps) return tooMany(steps, m.maxFreqSteps, "frequency steps");
    }
    if (m.calcKind == kCalcItsHfArea && (m.calcRange[3] < 2.0 || m.calcRange[3] >= 30.0))
        return "Frequency not between 2.0 and 30.0 Mc";
    return std::nullopt;
}

bool generateCalculation(Model& m, Ui& ui) {
    if (!endsWith(m.summary.fileName, m.modelExt)) m.requestMode = kNoRequest;
    if (const auto refusal = generateRefusal(m)) {
        refuse(ui, *refusal);
        return false;
    }
    m.summary.calculationTime.clear();
    m.summary.hasRunTime = false;
    m.summary.runTimeSeconds = 0;
    m.actionCode = 13;
    return true;
}

CalcChoice saveCalcChoice(const Model& m) {
    return {m.calcKind,  m.calcSubMode,     m.surfaceWaveFlag, m.requestXnda,
            m.calcRange, m.requestDistance, m.requestGainNorm};
}

void restoreCalcChoice(Model& m, const CalcChoice& c) {
    m.calcKind = c.kind;
    m.calcSubMode = c.subMode;
    m.surfaceWaveFlag = c.surfaceWave;
    m.requestXnda = c.xnda;
    m.calcRange = c.range;
    m.requestDistance = c.distance;
    m.requestGainNorm = c.gainNorm;
}

} // namespace wavra
