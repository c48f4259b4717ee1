#include "deck/reader.h"

#include <algorithm>
#include <cmath>

#include "base/files.h"
#include "base/text.h"
#include "core/capacity.h"
#include "core/fields.h"
#include "deck/model_file.h"
#include "deck/writer.h"

namespace wavra {

namespace {

// State of one read: the current line and the running scale factor.
struct DeckReader {
    DeckReader(const DeckTarget& target, Diagnostics& problems)
        : geo(target.geometry), results(target.results), summary(target.summary), symbols(target.symbols),
          settings(target.settings), found(problems) {}
    Geometry& geo;
    Results& results;
    Summary& summary;
    Symbols& symbols;
    const Settings& settings;
    Diagnostics& found;
    std::string line;
    std::vector<std::string_view> fields; // of `line`, split once per card
    double scale = 1;

    void take(std::string text) {
        line = std::move(text);
        splitFields(line, "", false, fields, 16);
    }
    // A required field: a missing one is reported (through getField) and reads 0.
    double num(int field) {
        if (field >= 1 && static_cast<size_t>(field) <= fields.size())
            return readNumber(fields[static_cast<size_t>(field - 1)]);
        getField(found, line, field, "");
        return 0;
    }
    double opt(int field) {
        return field >= 1 && static_cast<size_t>(field) <= fields.size()
                   ? readNumber(fields[static_cast<size_t>(field - 1)])
                   : 0;
    }
    // Whole-number fields (tags, counts) are 16 bits wide; a clamp is said.
    int16_t int16(int field) { return clampedInt16(found, num(field), fieldName(field)); }
    int16_t optInt16(int field) { return clampedInt16(found, opt(field), fieldName(field)); }
    std::string fieldName(int field) const { return "Field " + std::to_string(field) + " of '" + line + "'"; }

    bool readCard(const std::string& card); // false: stop reading
    bool addWire();
    void setWireRadius();
    bool addTransLine();
    bool addSource();
    bool addLoad();
    void readGround();
    void readFrequency();
    void readRequest(const std::string& card);
    void finish();
};

bool DeckReader::readCard(const std::string& card) {
    if (card == "CM" || card == "CE") {
        std::string text = trimLeft(line.size() > 2 ? line.substr(2) : std::string());
        if (!text.empty()) summary.comments.push_back(text);
    } else if (card == "GW") {
        return addWire();
    } else if (card == "GC") {
        setWireRadius();
    } else if (card == "GE") {
        geo.groundSymmetry = optInt16(2);
        if (geo.groundSymmetry == 1) summary.environment.push_back("Ground-plane symmetry specified.");
        if (geo.groundSymmetry == -1) summary.environment.push_back("Ground symmetry specified.");
    } else if (card == "EK") {
        geo.extendedKernel = -1;
    } else if (card == "TL") {
        return addTransLine();
    } else if (card == "EX") {
        return addSource();
    } else if (card == "LD") {
        return addLoad();
    } else if (card == "GN") {
        readGround();
    } else if (card == "FR") {
        readFrequency();
    } else if (card == "RP" || card == "NE" || card == "NH") {
        if (geo.requestMode == kNoRequest) readRequest(card);
    } else if (card == "GS") {
        scale = num(4);
    } else if (card == "ZO") {
        readFeedLineCard(symbols, geo, found, line); // an engine deck (".inp") read as written
    }
    return true;
}

bool DeckReader::addWire() {
    const int capacity = std::min<int>(settings.maxSegments, geo.wireCapacity());
    if (geo.wireCount >= capacity) {
        found.push_back(capacityExceeded(settings.maxSegments, "segments", "segments"));
        return false;
    }
    const int i = ++geo.wireCount;
    geo.wireTag[i] = int16(2);
    geo.wireSegments[i] = int16(3);
    geo.wireX1[i] = num(4);
    geo.wireY1[i] = num(5);
    geo.wireZ1[i] = num(6);
    geo.wireX2[i] = num(7);
    geo.wireY2[i] = num(8);
    geo.wireZ2[i] = num(9);
    geo.wireRadius[i] = opt(10);
    geo.wireEnd1Link[i] = kNoLink;
    geo.wireEnd2Link[i] = kNoLink;
    geo.wireMark[i] = 0;
    results.wireCurrentMag[i] = 0;
    results.wireCurrentPhase[i] = 0;
    geo.extentX = std::max({geo.extentX, std::fabs(geo.wireX1[i]), std::fabs(geo.wireX2[i])});
    geo.extentY = std::max({geo.extentY, std::fabs(geo.wireY1[i]), std::fabs(geo.wireY2[i])});
    geo.extentZ = std::max({geo.extentZ, std::fabs(geo.wireZ1[i]), std::fabs(geo.wireZ2[i])});
    return true;
}

// GC: a tapered wire's radius; the smaller of the two end radii is kept.
void DeckReader::setWireRadius() {
    if (geo.wireCount < 1) return;
    const double first = opt(5);
    const double last = opt(6);
    geo.wireRadius[geo.wireCount] = first < last ? first : last;
}

bool DeckReader::addTransLine() {
    const int capacity = std::min<int>(settings.maxTransLines, geo.transLineCapacity());
    if (geo.transLineCount >= capacity) {
        found.push_back(capacityExceeded(settings.maxTransLines, "Trans-lines", "TL cards"));
        return false;
    }
    const int row = ++geo.transLineCount;
    const int16_t tags[3] = {0, int16(2), int16(4)};
    const int16_t segs[3] = {0, int16(3), int16(5)};
    if (geo.wireCount >= 1) {
        for (int end = 1; end <= 2; ++end) {
            int i = geo.wireCount;
            for (int r = 1; r < geo.wireCount; ++r)
                if (geo.wireTag[r] == tags[end]) {
                    i = r;
                    break;
                }
            const double n = std::max<int>(1, geo.wireSegments[i]);
            const double f1 = (segs[end] - 1) / n, f2 = segs[end] / n;
            geo.tlX[row][1][end] = geo.wireX1[i] + (geo.wireX2[i] - geo.wireX1[i]) * f1;
            geo.tlY[row][1][end] = geo.wireY1[i] + (geo.wireY2[i] - geo.wireY1[i]) * f1;
            geo.tlZ[row][1][end] = geo.wireZ1[i] + (geo.wireZ2[i] - geo.wireZ1[i]) * f1;
            geo.tlX[row][2][end] = geo.wireX1[i] + (geo.wireX2[i] - geo.wireX1[i]) * f2;
            geo.tlY[row][2][end] = geo.wireY1[i] + (geo.wireY2[i] - geo.wireY1[i]) * f2;
            geo.tlZ[row][2][end] = geo.wireZ1[i] + (geo.wireZ2[i] - geo.wireZ1[i]) * f2;
        }
    }
    summary.environment.push_back("Trans-line " + str(row) + ", " + str(num(6)) + " ohms.");
    return true;
}

bool DeckReader::addSource() {
    const std::string type = getField(found, line, 2, "");
    if (type == "*" || !isNumeric(type) || readNumber(type) != 0 || geo.wireCount < 1) return true;
    const int capacity = std::min<int>(settings.maxSources, geo.sourceCapacity());
    if (geo.sourceCount >= capacity) {
        found.push_back(capacityExceeded(settings.maxSources, "V-sources", "EX cards"));
        return false;
    }
    const int row = ++geo.sourceCount;
    geo.sourceTag[row] = int16(3);
    geo.sourceSegment[row] = int16(4);
    return true;
}

bool DeckReader::addLoad() {
    if (geo.wireCount < 1) return true;
    const int capacity = std::min<int>(settings.maxLoads, geo.loadCapacity());
    if (geo.loadCount >= capacity) {
        found.push_back(capacityExceeded(settings.maxLoads, "loading cards", "LD cards"));
        return false;
    }
    const int row = ++geo.loadCount;
    geo.loadType[row] = int16(2);
    geo.loadTag[row] = int16(3);
    int16_t first = optInt16(4);
    int16_t last = optInt16(5);
    if (last == 0) last = first;
    if (first == 0) {
        first = 1;
        last = first;
        for (int r = 1; r <= geo.wireCount; ++r)
            if (geo.wireTag[r] == geo.loadTag[row]) {
                last = geo.wireSegments[r];
                break;
            }
    }
    geo.loadFirstSegment[row] = first;
    geo.loadLastSegment[row] = last;
    return true;
}

void DeckReader::readGround() {
    auto& env = summary.environment;
    geo.groundType = int16(2);
    if (geo.groundType == -1) {
        env.push_back("Free space");
        return;
    }
    if (geo.groundType == 1) {
        env.push_back("Perfect ground");
        return;
    }
    geo.groundRadials = optInt16(3);
    geo.groundEpsilon = num(6);
    geo.groundSigma = num(7);
    env.push_back(geo.groundType != 0 ? "Sommerfeld ground file input" : "Finite ground");
    env.push_back("Diel. const. : " + formatNumber(geo.groundEpsilon, 4));
    env.push_back("Conductivity : " + formatNumber(geo.groundSigma * 1000, 4) + " mS");
    if (geo.groundRadials >= 1) {
        env.push_back("Nr radials   : " + formatPicture(geo.groundRadials, "##0"));
        env.push_back("Radial length : " + getField(found, line, 8, "") + " m.");
        env.push_back("Radial diam.  : " + getField(found, line, 9, "") + " mm");
    }
}

void DeckReader::readFrequency() {
    if (geo.frequencyMHz != 0) {
        summary.frequencySteps = getField(found, line, 3, "");
        return;
    }
    geo.frequencyMHz = num(6);
    summary.showFrequency(geo.frequencyMHz);
}

void DeckReader::readRequest(const std::string& card) {
    const bool far = card == "RP";
    geo.requestMode = kNearRequest;
    if (far) {
        geo.requestMode = int16(2);
        geo.requestXnda = optInt16(5);
        geo.requestDistance = opt(10);
        geo.requestGainNorm = opt(11);
    }
    static const char* farLabels[] = {"", "Theta", "Phi"};
    static const char* nearLabels[] = {"", "   X", "   Y", "   Z"};
    const int axes = far ? 2 : 3;
    long lines = 1;
    summary.requestRows.clear();
    for (int k = 1; k <= axes; ++k) {
        geo.requestCount[k] = int16(k + 2);
        const double start = opt(k + 5);
        geo.requestStep[k] = opt(far ? k + 7 : k + 8);
        RequestRow row;
        row.label = far ? farLabels[k] : nearLabels[k];
        row.start = start;
        row.count = geo.requestCount[k];
        row.step = geo.requestStep[k];
        row.stop = start + (row.count - 1) * row.step;
        summary.requestRows.push_back(row);
        lines *= row.count;
    }
    summary.patternLines = static_cast<int>(std::clamp<long>(lines, -2147483647L, 2147483647L));
}

// Scale factor applied to all geometry at the end, then the extents.
void DeckReader::finish() {
    long segments = 0;
    for (int i = 1; i <= geo.wireCount; ++i) {
        for (auto* c : {&geo.wireX1, &geo.wireY1, &geo.wireZ1, &geo.wireX2, &geo.wireY2, &geo.wireZ2, &geo.wireRadius})
            (*c)[i] *= scale;
        segments += geo.wireSegments[i];
    }
    summary.segments = static_cast<int>(segments);
    summary.wires = geo.wireCount;
    // The extents are kept in metres like the wires they describe.
    const double a = std::fabs(scale);
    geo.extentX = std::max(geo.extentX * a, 1e-9);
    geo.extentY = std::max(geo.extentY * a, 1e-9);
    geo.extentZ = std::max(geo.extentZ * a, 1e-9);
    geo.modelExtent = std::max(geo.extentX, std::max(geo.extentY, geo.extentZ));
    for (int t = 1; t <= geo.transLineCount && t <= geo.transLineCapacity(); ++t) {
        if (geo.tlZ[t][1][1] == kNoTransLine) continue;
        for (auto* table : {&geo.tlX, &geo.tlY, &geo.tlZ})
            for (int p = 1; p <= 2; ++p)
                for (int e = 1; e <= 2; ++e) (*table)[t][p][e] *= scale;
    }
}

// The Environment line that names the deck's own reference impedance.
void noteFeedLine(double deckZ0, Summary& summary) {
    if (deckZ0 > 0) summary.environment.push_back("Feed line Z0 : " + formatSignificant(deckZ0, 6) + " ohm (ZO card)");
}

bool hasFeedLineCard(std::string_view deck) {
    bool found = false;
    forEachLine(deck, [&](std::string_view line) {
        found = toUpper(line.substr(0, 2)) == "ZO";
        return !found;
    });
    return found;
}

} // namespace

DeckTarget deckTarget(Model& model) { return {model, model, model.summary, model, model}; }

void readNumericDeck(const DeckTarget& target, Diagnostics& found, const std::string& deckText) {
    DeckReader r(target, found);
    int64_t lineNumber = 0;
    forEachLine(deckText, [&](std::string_view text) {
        ++lineNumber;
        if ((!text.empty() && text[0] == '\'') || (text.size() > 1 && text[1] == '\'')) return true;
        const std::string card = toUpper(text.substr(0, 2));
        if (card == "EN") return false;
        const size_t before = found.size();
        r.take(separateCardName(text));
        const bool goOn = r.readCard(card);
        setLine(found, before, lineNumber);
        return goOn;
    });
    r.finish();
}

bool readInputFile(Model& model, DeckDiagnostics& found) {
    if (toLower(model.modelExt) == ".out") {
        model.reloadInput = -1;
        return false;
    }
    model.resetForLoad();
    model.wireCount = 0;
    model.deckZ0 = 0;
    model.summary.clear();
    std::string text;
    if (!readModelFile(found.modelFile, model.modelPath(), text)) return false;
    model.summary.fileName = model.modelName + model.modelExt;
    if (toLower(model.modelExt) != ".inp") {
        // The numeric copy is what the engine and the reader both see. When
        // out/ cannot be written the copy is still read from memory (the
        // deck's expressions and units have no value as written).
        const size_t before = found.modelFile.size();
        text = convertDeck(model, model, model, found.modelFile, text);
        model.summary.deckErrors = static_cast<int>(found.modelFile.size() - before);
        const std::string path = model.outDir() + model.engineBaseName() + ".inp";
        std::string reason;
        if (!writeFileUnlessSame(path, text, reason)) {
            model.summary.engineDeckUnwritten = true;
            found.engineDeck.push_back({Severity::Warning, "Cannot write the engine deck " + path + ": " + reason});
        }
    }
    readNumericDeck(deckTarget(model), found.cards, text);
    noteFeedLine(model.deckZ0, model.summary);
    return true;
}

void showDeckDiagnostics(Ui& ui, const DeckDiagnostics& found, const std::string& logPath) {
    // A deck full of unknown names must not bury the user under messages.
    MessageLimit limited(ui, logPath);
    showDiagnostics(limited, found.modelFile);
    showDiagnostics(ui, found.engineDeck);
    showDiagnostics(limited, found.cards, LinePrefix::Omitted);
}

bool readInputFileShown(Model& model, Ui& ui) {
    DeckDiagnostics found;
    const bool read = readInputFile(model, found);
    showDeckDiagnostics(ui, found, model.modelDir + "model.log");
    return read;
}

void readDeckZ0(Model& model) {
    model.deckZ0 = 0;
    std::string bytes, encoding;
    if (toLower(model.modelExt) == ".out" || !readFileText(model.modelPath(), bytes)) return;
    const std::string text = deckText(bytes, encoding);
    if (!hasFeedLineCard(text)) return;
    // The card's value may use the deck's symbols; the deck's errors were
    // or will be shown when it is read or calculated.
    Diagnostics shownElsewhere;
    convertDeck(model, model, model, shownElsewhere, text);
    noteFeedLine(model.deckZ0, model.summary);
}

} // namespace wavra
