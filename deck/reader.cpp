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
    DeckReader(Model& model, Ui& shownUi) : m(model), ui(shownUi) {}
    Model& m;
    Ui& ui;
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
        getField(ui, line, field, "");
        return 0;
    }
    double opt(int field) {
        return field >= 1 && static_cast<size_t>(field) <= fields.size()
                   ? readNumber(fields[static_cast<size_t>(field - 1)])
                   : 0;
    }
    // Whole-number fields (tags, counts) are 16 bits wide; a clamp is said.
    int16_t int16(int field) { return clampedInt16(ui, num(field), fieldName(field)); }
    int16_t optInt16(int field) { return clampedInt16(ui, opt(field), fieldName(field)); }
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
    Summary& s = m.summary;
    if (card == "CM" || card == "CE") {
        std::string text = trimLeft(line.size() > 2 ? line.substr(2) : std::string());
        if (!text.empty()) s.comments.push_back(text);
    } else if (card == "GW") {
        return addWire();
    } else if (card == "GC") {
        setWireRadius();
    } else if (card == "GE") {
        m.groundSymmetry = optInt16(2);
        if (m.groundSymmetry == 1) s.environment.push_back("Ground-plane symmetry specified.");
        if (m.groundSymmetry == -1) s.environment.push_back("Ground symmetry specified.");
    } else if (card == "EK") {
        m.extendedKernel = -1;
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
        if (m.requestMode == kNoRequest) readRequest(card);
    } else if (card == "GS") {
        scale = num(4);
    } else if (card == "ZO") {
        readFeedLineCard(m, ui, line); // an engine deck (".inp") read as written
    }
    return true;
}

bool DeckReader::addWire() {
    const int capacity = std::min<int>(m.maxSegments, m.wireCapacity());
    if (m.wireCount >= capacity) {
        showCapacityExceeded(ui, m.maxSegments, "segments", "segments");
        return false;
    }
    const int i = ++m.wireCount;
    m.wireTag[i] = int16(2);
    m.wireSegments[i] = int16(3);
    m.wireX1[i] = num(4);
    m.wireY1[i] = num(5);
    m.wireZ1[i] = num(6);
    m.wireX2[i] = num(7);
    m.wireY2[i] = num(8);
    m.wireZ2[i] = num(9);
    m.wireRadius[i] = opt(10);
    m.wireEnd1Link[i] = kNoLink;
    m.wireEnd2Link[i] = kNoLink;
    m.wireMark[i] = 0;
    m.wireCurrentMag[i] = 0;
    m.wireCurrentPhase[i] = 0;
    m.extentX = std::max({m.extentX, std::fabs(m.wireX1[i]), std::fabs(m.wireX2[i])});
    m.extentY = std::max({m.extentY, std::fabs(m.wireY1[i]), std::fabs(m.wireY2[i])});
    m.extentZ = std::max({m.extentZ, std::fabs(m.wireZ1[i]), std::fabs(m.wireZ2[i])});
    return true;
}

// GC: a tapered wire's radius; the smaller of the two end radii is kept.
void DeckReader::setWireRadius() {
    if (m.wireCount < 1) return;
    const double first = opt(5);
    const double last = opt(6);
    m.wireRadius[m.wireCount] = first < last ? first : last;
}

bool DeckReader::addTransLine() {
    const int capacity = std::min<int>(m.maxTransLines, m.transLineCapacity());
    if (m.transLineCount >= capacity) {
        showCapacityExceeded(ui, m.maxTransLines, "Trans-lines", "TL cards");
        return false;
    }
    const int row = ++m.transLineCount;
    const int16_t tags[3] = {0, int16(2), int16(4)};
    const int16_t segs[3] = {0, int16(3), int16(5)};
    if (m.wireCount >= 1) {
        for (int end = 1; end <= 2; ++end) {
            int i = m.wireCount;
            for (int r = 1; r < m.wireCount; ++r)
                if (m.wireTag[r] == tags[end]) {
                    i = r;
                    break;
                }
            const double n = std::max<int>(1, m.wireSegments[i]);
            const double f1 = (segs[end] - 1) / n, f2 = segs[end] / n;
            m.tlX[row][1][end] = m.wireX1[i] + (m.wireX2[i] - m.wireX1[i]) * f1;
            m.tlY[row][1][end] = m.wireY1[i] + (m.wireY2[i] - m.wireY1[i]) * f1;
            m.tlZ[row][1][end] = m.wireZ1[i] + (m.wireZ2[i] - m.wireZ1[i]) * f1;
            m.tlX[row][2][end] = m.wireX1[i] + (m.wireX2[i] - m.wireX1[i]) * f2;
            m.tlY[row][2][end] = m.wireY1[i] + (m.wireY2[i] - m.wireY1[i]) * f2;
            m.tlZ[row][2][end] = m.wireZ1[i] + (m.wireZ2[i] - m.wireZ1[i]) * f2;
        }
    }
    m.summary.environment.push_back("Trans-line " + str(row) + ", " + str(num(6)) + " ohms.");
    return true;
}

bool DeckReader::addSource() {
    const std::string type = getField(ui, line, 2, "");
    if (type == "*" || !isNumeric(type) || readNumber(type) != 0 || m.wireCount < 1) return true;
    const int capacity = std::min<int>(m.maxSources, m.sourceCapacity());
    if (m.sourceCount >= capacity) {
        showCapacityExceeded(ui, m.maxSources, "V-sources", "EX cards");
        return false;
    }
    const int row = ++m.sourceCount;
    m.sourceTag[row] = int16(3);
    m.sourceSegment[row] = int16(4);
    return true;
}

bool DeckReader::addLoad() {
    if (m.wireCount < 1) return true;
    const int capacity = std::min<int>(m.maxLoads, m.loadCapacity());
    if (m.loadCount >= capacity) {
        showCapacityExceeded(ui, m.maxLoads, "loading cards", "LD cards");
        return false;
    }
    const int row = ++m.loadCount;
    m.loadType[row] = int16(2);
    m.loadTag[row] = int16(3);
    int16_t first = optInt16(4);
    int16_t last = optInt16(5);
    if (last == 0) last = first;
    if (first == 0) {
        first = 1;
        last = first;
        for (int r = 1; r <= m.wireCount; ++r)
            if (m.wireTag[r] == m.loadTag[row]) {
                last = m.wireSegments[r];
                break;
            }
    }
    m.loadFirstSegment[row] = first;
    m.loadLastSegment[row] = last;
    return true;
}

void DeckReader::readGround() {
    auto& env = m.summary.environment;
    m.groundType = int16(2);
    if (m.groundType == -1) {
        env.push_back("Free space");
        return;
    }
    if (m.groundType == 1) {
        env.push_back("Perfect ground");
        return;
    }
    m.groundRadials = optInt16(3);
    m.groundEpsilon = num(6);
    m.groundSigma = num(7);
    env.push_back(m.groundType != 0 ? "Sommerfeld ground file input" : "Finite ground");
    env.push_back("Diel. const. : " + formatNumber(m.groundEpsilon, 4));
    env.push_back("Conductivity : " + formatNumber(m.groundSigma * 1000, 4) + " mS");
    if (m.groundRadials >= 1) {
        env.push_back("Nr radials   : " + formatPicture(m.groundRadials, "##0"));
        env.push_back("Radial length : " + getField(ui, line, 8, "") + " m.");
        env.push_back("Radial diam.  : " + getField(ui, line, 9, "") + " mm");
    }
}

void DeckReader::readFrequency() {
    if (m.frequencyMHz != 0) {
        m.summary.frequencySteps = getField(ui, line, 3, "");
        return;
    }
    m.frequencyMHz = num(6);
    m.summary.showFrequency(m.frequencyMHz);
}

void DeckReader::readRequest(const std::string& card) {
    const bool far = card == "RP";
    m.requestMode = kNearRequest;
    if (far) {
        m.requestMode = int16(2);
        m.requestXnda = optInt16(5);
        m.requestDistance = opt(10);
        m.requestGainNorm = opt(11);
    }
    static const char* farLabels[] = {"", "Theta", "Phi"};
    static const char* nearLabels[] = {"", "   X", "   Y", "   Z"};
    const int axes = far ? 2 : 3;
    long lines = 1;
    m.summary.requestRows.clear();
    for (int k = 1; k <= axes; ++k) {
        m.requestCount[k] = int16(k + 2);
        const double start = opt(k + 5);
        m.requestStep[k] = opt(far ? k + 7 : k + 8);
        RequestRow row;
        row.label = far ? farLabels[k] : nearLabels[k];
        row.start = start;
        row.count = m.requestCount[k];
        row.step = m.requestStep[k];
        row.stop = start + (row.count - 1) * row.step;
        m.summary.requestRows.push_back(row);
        lines *= row.count;
    }
    m.summary.patternLines = static_cast<int>(std::clamp<long>(lines, -2147483647L, 2147483647L));
}

// Scale factor applied to all geometry at the end, then the extents.
void DeckReader::finish() {
    long segments = 0;
    for (int i = 1; i <= m.wireCount; ++i) {
        for (auto* c : {&m.wireX1, &m.wireY1, &m.wireZ1, &m.wireX2, &m.wireY2, &m.wireZ2, &m.wireRadius})
            (*c)[i] *= scale;
        segments += m.wireSegments[i];
    }
    m.summary.segments = static_cast<int>(segments);
    m.summary.wires = m.wireCount;
    // The extents are kept in metres like the wires they describe.
    const double a = std::fabs(scale);
    m.extentX = std::max(m.extentX * a, 1e-9);
    m.extentY = std::max(m.extentY * a, 1e-9);
    m.extentZ = std::max(m.extentZ * a, 1e-9);
    m.modelExtent = std::max(m.extentX, std::max(m.extentY, m.extentZ));
    for (int t = 1; t <= m.transLineCount && t <= m.transLineCapacity(); ++t) {
        if (m.tlZ[t][1][1] == kNoTransLine) continue;
        for (auto* table : {&m.tlX, &m.tlY, &m.tlZ})
            for (int p = 1; p <= 2; ++p)
                for (int e = 1; e <= 2; ++e) (*table)[t][p][e] *= scale;
    }
}

// The Environment line that names the deck's own reference impedance.
void noteFeedLine(Model& m) {
    if (m.deckZ0 > 0)
        m.summary.environment.push_back("Feed line Z0 : " + formatSignificant(m.deckZ0, 6) + " ohm (ZO card)");
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

void readNumericDeck(Model& model, Ui& ui, const std::string& deckText) {
    DeckReader r(model, ui);
    forEachLine(deckText, [&](std::string_view text) {
        if ((!text.empty() && text[0] == '\'') || (text.size() > 1 && text[1] == '\'')) return true;
        const std::string card = toUpper(text.substr(0, 2));
        if (card == "EN") return false;
        r.take(separateCardName(text));
        return r.readCard(card);
    });
    r.finish();
}

bool readInputFile(Model& model, Ui& ui) {
    if (toLower(model.modelExt) == ".out") {
        model.reloadInput = -1;
        return false;
    }
    model.resetForLoad();
    model.wireCount = 0;
    model.deckZ0 = 0;
    model.summary.clear();
    // A deck full of unknown names must not bury the user under messages.
    MessageLimit limited(ui, model.modelDir + "model.log");
    std::string text;
    if (!readModelFile(limited, model.modelPath(), text)) return false;
    model.summary.fileName = model.modelName + model.modelExt;
    if (toLower(model.modelExt) != ".inp") {
        // The numeric copy is what the engine and the reader both see. When
        // out/ cannot be written the copy is still read from memory (the
        // deck's expressions and units have no value as written).
        text = convertDeck(model, limited, text, &model.summary.deckErrors);
        const std::string path = model.outDir() + model.engineBaseName() + ".inp";
        std::string reason;
        if (!writeFileUnlessSame(path, text, reason)) {
            model.summary.engineDeckUnwritten = true;
            ui.message("Cannot write the engine deck " + path + ": " + reason, "wavra", Icon::Exclamation);
        }
    }
    readNumericDeck(model, limited, text);
    noteFeedLine(model);
    return true;
}

void readDeckZ0(Model& model) {
    model.deckZ0 = 0;
    std::string bytes, encoding;
    if (toLower(model.modelExt) == ".out" || !readFileText(model.modelPath(), bytes)) return;
    const std::string text = deckText(bytes, encoding);
    if (!hasFeedLineCard(text)) return;
    // The card's value may use the deck's symbols; the deck's errors were
    // or will be shown when it is read or calculated.
    RecordingUi silent;
    convertDeck(model, silent, text);
    noteFeedLine(model);
}

} // namespace wavra
