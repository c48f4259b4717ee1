#include "deck/writer.h"

#include <cmath>

#include "base/files.h"
#include "base/text.h"
#include "core/fields.h"
#include "deck/expression.h"
#include "deck/model_file.h"

namespace wavra {

bool isRealCard(std::string_view card) {
    if (card.empty()) return false;
    if (card.front() == 'S') return true;
    return card.front() == 'G' && card != "GN" && card != "GD";
}

bool isRequestCard(std::string_view card) { return card == "RP" || card == "NE" || card == "NH" || card == "XQ"; }

namespace {

bool isCommentLine(std::string_view line) {
    return (!line.empty() && line[0] == '\'') || (line.size() > 1 && line[1] == '\'');
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

std::string cardNameOf(std::string_view line) { return toUpper(line.substr(0, 2)); }

// SY card: up to ten comma-separated "name = value" definitions.
void defineSymbols(Symbols& symbols, Diagnostics& found, std::string_view line) {
    const std::string rest(line.size() > 2 ? line.substr(2) : std::string_view());
    for (int k = 1; k <= 10; ++k) {
        const std::string def = getField(found, rest, -k, ",");
        if (def == "*") break;
        const std::string name = getField(found, def, 1, "=");
        const std::string valueText = getField(found, def, 2, "=");
        defineConstant(symbols, found, name, valueText);
    }
}

// One numeric card: every field evaluated and written as a number.
std::string numericCard(Symbols& symbols, Diagnostics& found, const std::string& card, std::string_view rawLine) {
    const std::string line = separateCardName(rawLine);
    const std::string sep = (rawLine.size() > 2 && rawLine[2] == '\t') ? "\t" : "";
    const bool realCard = isRealCard(card);
    thread_local std::vector<std::string_view> fields;
    splitFields(line, sep, false, fields, 11);
    std::string out = card;
    for (size_t k = 1; k <= 10 && k < fields.size(); ++k) {
        const std::string t = fields[k].size() > 1 ? trim(fields[k]) : std::string(fields[k]);
        double value = 0;
        const int kind = classifyNumber(t, value);
        out += ", ";
        if (kind == -1) {
            out += t;
            continue;
        }
        if (kind == 0) value = evaluateExpression(symbols, found, t);
        if (k >= 5 || ((k == 3 || k == 4) && realCard)) out += formatNumber(value, 9);
        else out += formatPicture(value, "###0");
    }
    return out;
}

} // namespace

void readFeedLineCard(Symbols& symbols, Geometry& geometry, Diagnostics& found, std::string_view rawLine) {
    const std::string line = separateCardName(rawLine);
    const std::string text = getField(found, line, 2, "");
    if (text == "*") return;
    double value = 0;
    const int kind = classifyNumber(text, value);
    if (kind == -1) value = readNumber(text);
    else if (kind == 0) value = evaluateExpression(symbols, found, text);
    if (value > 0 && std::isfinite(value)) geometry.deckZ0 = value;
    else
        found.push_back(
            {Severity::Error, "The ZO card needs a positive characteristic impedance in ohms: '" + line + "'."});
}

std::string withoutFeedLineCards(std::string_view deck) {
    std::string out;
    out.reserve(deck.size());
    forEachLine(deck, [&](std::string_view line) {
        if (cardNameOf(line) != "ZO") {
            out += line;
            out += '\n';
        }
        return true;
    });
    return out;
}

std::string separateCardName(std::string_view line) {
    if (line.size() > 2 && (line[2] >= '0' || line[2] == '-'))
        return std::string(line.substr(0, 2)) + " " + std::string(line.substr(2));
    return std::string(line);
}

std::string convertDeck(const Settings& settings, Symbols& symbols, Geometry& geometry, Diagnostics& found,
                        std::string_view deckText) {
    symbols.constCount = symbols.baseConstantCount;
    std::string out;
    out.reserve(deckText.size() + 64);
    std::string lastRead, lastWritten;
    auto emit = [&](const std::string& line, const std::string& card) {
        out += line;
        out += '\n';
        lastWritten = card;
    };
    const bool lapack = settings.lapackEngine();
    // Lines count as a text editor counts them, comments and blank lines
    // included, so a message names the line a user finds the card on.
    int64_t lineNumber = 0;
    forEachLine(deckText, [&](std::string_view line) {
        ++lineNumber;
        if (isCommentLine(line) || isBlank(line)) return true;
        const std::string card = cardNameOf(line);
        lastRead = card;
        const size_t before = found.size();
        if (card == "CM" || card == "CE") {
            emit(std::string(line), card);
            if (card == "CE" && lapack) emit("SZ " + formatPicture(settings.maxSegments, "###0") + " 0", "SZ");
        } else if (card == "SY") {
            defineSymbols(symbols, found, line);
        } else if (card == "ZO") {
            readFeedLineCard(symbols, geometry, found, line);
        } else if (card == "EN") {
            return false;
        } else if (card != "SZ" && line.substr(0, 2) != "  ") {
            emit(numericCard(symbols, found, card, line), card);
        }
        setLine(found, before, lineNumber);
        return true;
    });
    const bool needXq = lastRead == "EN" ? !isRequestCard(lastWritten) : !isRequestCard(lastRead);
    if (needXq) out += "XQ\n";
    out += "EN\n";
    return out;
}

std::string deckErrorText(const ModelFile& file, int errors) {
    return "The model " + file.modelName + file.modelExt + " is not calculated: converting it reported " +
           groupedNumber(errors) + (errors == 1 ? " error" : " errors") + "; correct the deck first.";
}

std::optional<std::string> writeEngineInput(Model& model, Diagnostics& found, const std::string& inputPath,
                                            const std::string& outputName) {
    std::string bytes, encoding;
    if (!readFileText(inputPath, bytes)) return std::nullopt;
    const std::string outPath = model.outDir() + outputName;
    if (!writeFileAtomic(outPath, convertDeck(model, model, model, found, deckText(bytes, encoding))))
        return std::nullopt;
    return outPath;
}

} // namespace wavra
