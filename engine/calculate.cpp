#include "engine/calculate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "base/files.h"
#include "base/text.h"
#include "core/table_rows.h"
#include "deck/model_file.h"
#include "deck/reader.h"
#include "deck/writer.h"
#include "engine/deck_adapter.h"
#include "engine/nec_cards.h"

namespace wavra {

namespace {

bool knownCalcKind(int kind) {
    return kind == kCalcOriginal || kind == kCalcFarField || kind == kCalcFrequencyLoop || kind == kCalcNearField ||
           kind == kCalcItsHfArea || kind == kCalcItsHfPointToPoint;
}

bool isItsHf(const Model& m) { return m.calcKind == kCalcItsHfArea || m.calcKind == kCalcItsHfPointToPoint; }

void addStatus(const RunHooks& hooks, const std::string& line) {
    if (hooks.statusLine) hooks.statusLine(line);
}

void fail(Ui& ui, const std::string& text) { ui.message(text, "wavra", Icon::Critical); }

// The model file as it stands; nullopt (reported) when it is a report or
// cannot be read.
std::optional<std::string> modelText(const ModelFile& file, Ui& ui) {
    const std::string path = file.modelPath();
    if (toLower(file.modelExt) == ".out") {
        fail(ui, path + " is an engine output file; open the model's input file to calculate it.");
        return std::nullopt;
    }
    std::string text;
    Diagnostics found;
    const bool read = readModelFile(found, path, text);
    showDiagnostics(ui, found);
    if (!read) return std::nullopt;
    return text;
}

// The numeric deck of the model file: converted from the symbolic deck, or
// as it stands for an engine deck (".inp", without the ZO cards that only
// wavra reads); nullopt (reported) when the
// conversion reported errors, since values that failed read as 0 and such a
// deck describes another antenna.
std::optional<std::string> numericDeck(Model& m, Ui& ui, const std::string& text) {
    if (toLower(m.modelExt) == ".inp") return withoutFeedLineCards(text);
    DeckDiagnostics found;
    std::string deck = convertDeck(m, m, m, found.modelFile, text);
    showDeckDiagnostics(ui, found, m.modelDir + "model.log");
    if (const int errors = static_cast<int>(found.modelFile.size()); errors > 0) {
        fail(ui, deckErrorText(m, errors));
        return std::nullopt;
    }
    return deck;
}

// The deck as the engine gets it, with its generated cards in the status list.
std::string engineDeck(Model& m, const std::string& deck, const RunHooks& hooks) {
    if (m.calcKind == kCalcOriginal) {
        readRunValues(m, deck);
        return deck;
    }
    AdaptedDeck adapted = adaptDeck(m, deck);
    for (const auto& line : adapted.generated) addStatus(hooks, line);
    return std::move(adapted.text);
}

// One column of the wire table as far as it is used: the columns are sized
// for the largest model the settings allow (11000 rows) and mostly empty,
// and copying them whole would cost every calculation a megabyte of copied
// zeros and some 350 page faults.
template <class T>
class UsedRows {
public:
    UsedRows(const TableRows<T>& column, int used)
        : m_size(column.size()),
          m_rows(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(m_size, static_cast<size_t>(std::max(used, 0)) + 1))) {}
    // The column as it was: its size, the used rows, zeros after them.
    void restore(TableRows<T>& column) const {
        if (m_size == 0) return TableRows<T>().swap(column);
        resetRows(column, static_cast<int>(m_size) - 1);
        std::copy(m_rows.begin(), m_rows.end(), column.begin());
    }

private:
    size_t m_size;
    std::vector<T> m_rows;
};

// The geometry with its wire table kept as far as wireCount reaches.
class GeometryCopy {
public:
    explicit GeometryCopy(Geometry& g) {
        for (auto column : kShortColumns) m_short.emplace_back(g.*column, g.wireCount);
        for (auto column : kDoubleColumns) m_double.emplace_back(g.*column, g.wireCount);
        // The rest is copied with the wire table lent out for the moment
        // (swapped into empty columns, and swapped back the same way).
        std::vector<TableRows<int16_t>> shortTables(kShortColumns.size());
        std::vector<TableRows<double>> doubleTables(kDoubleColumns.size());
        swapWireTable(g, shortTables, doubleTables);
        try {
            m_rest = g;
        } catch (...) {
            swapWireTable(g, shortTables, doubleTables);
            throw;
        }
        swapWireTable(g, shortTables, doubleTables);
    }
    void restore(Geometry& g) {
        g = std::move(m_rest);
        for (size_t i = 0; i < kShortColumns.size(); ++i) m_short[i].restore(g.*kShortColumns[i]);
        for (size_t i = 0; i < kDoubleColumns.size(); ++i) m_double[i].restore(g.*kDoubleColumns[i]);
    }

private:
    static constexpr std::array<TableRows<int16_t> Geometry::*, 5> kShortColumns = {
        &Geometry::wireTag, &Geometry::wireSegments, &Geometry::wireEnd1Link, &Geometry::wireEnd2Link,
        &Geometry::wireMark};
    static constexpr std::array<TableRows<double> Geometry::*, 7> kDoubleColumns = {
        &Geometry::wireX1, &Geometry::wireY1, &Geometry::wireZ1,    &Geometry::wireX2,
        &Geometry::wireY2, &Geometry::wireZ2, &Geometry::wireRadius};

    static void swapWireTable(Geometry& g, std::vector<TableRows<int16_t>>& shortTables,
                              std::vector<TableRows<double>>& doubleTables) noexcept {
        for (size_t i = 0; i < kShortColumns.size(); ++i) shortTables[i].swap(g.*kShortColumns[i]);
        for (size_t i = 0; i < kDoubleColumns.size(); ++i) doubleTables[i].swap(g.*kDoubleColumns[i]);
    }

    std::vector<UsedRows<int16_t>> m_short;
    std::vector<UsedRows<double>> m_double;
    Geometry m_rest;
};

// What the deck's conversion and adaptation change in the model before the
// engine starts (symbols, feed line, frequency, ground, request, ranges and
// remembered cards), kept so that a question answered with Cancel leaves
// the model as it was.
class ModelInputs {
public:
    explicit ModelInputs(Model& m)
        : m_settings(m), m_geometry(m), m_calculation(m), m_symbols(m), m_freqCount(m.freqCount) {}
    void restore(Model& m) {
        static_cast<Settings&>(m) = std::move(m_settings);
        m_geometry.restore(m);
        static_cast<Calculation&>(m) = std::move(m_calculation);
        static_cast<Symbols&>(m) = std::move(m_symbols);
        m.freqCount = m_freqCount;
    }

private:
    Settings m_settings;
    GeometryCopy m_geometry;
    Calculation m_calculation;
    Symbols m_symbols;
    int16_t m_freqCount;
};

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

} // namespace

void showCalcWarnings(const Model& m, Ui& ui) {
    auto info = [&ui](const std::string& text) { ui.message(text, "wavra", Icon::Information); };
    const auto& r = m.calcRange;
    const bool pattern = m.calcKind == kCalcFarField || (m.calcKind == kCalcFrequencyLoop && m.calcSubMode >= 1);
    if (pattern && m.requestXnda < 1000) {
        info("Horizontal and Vertical gain option (XNDA=1xxx) recommended.");
    } else if (m.calcKind == kCalcFarField && m.requestXnda % 2 != 0 && m.surfaceWaveFlag == 0) {
        if (r[0] + r[1] < 90) info("Aver-gain test may be unreliable, use Theta from 0 to 90 or 180");
        else if (std::fabs(r[3] - r[4]) < 360) info("Aver-gain test may be unreliable, use Phi from 0 to 360");
        if (m.loadTag.size() > 1 && m.loadTag[1] > 0) info("All loads should be removed for average gain test.");
    }
}

std::string engineInputName(const Model& m) {
    const std::string name = m.engineBaseName() + ".inp";
    return sameFile(m.modelPath(), m.outDir() + name) && m.calcKind != kCalcOriginal ? m.engineBaseName() + "-calc.inp"
                                                                                     : name;
}

std::string engineOutputName(const Model& m) { return m.modelName + ".out"; }

namespace {

EngineStatus convertAndRun(Model& m, Ui& ui, ProcessRunner& runner, const RunHooks& hooks) {
    showCalcWarnings(m, ui);
    addStatus(hooks, "Converting " + m.modelName + m.modelExt + " to " + m.modelName + ".inp");
    const std::optional<std::string> model = modelText(m, ui);
    if (!model) return EngineStatus::Failed;
    const std::string inputPath = m.outDir() + engineInputName(m);
    const std::optional<std::string> deck = numericDeck(m, ui, *model);
    if (!deck) return EngineStatus::Failed;
    const std::string text = engineDeck(m, *deck, hooks);
    if (!acceptForeignCards(ui, text, *model)) return EngineStatus::Cancelled;
    std::string reason;
    if (!sameFile(m.modelPath(), inputPath) && !writeFileUnlessSame(inputPath, text, reason)) {
        fail(ui, "Cannot write " + inputPath + ".");
        return EngineStatus::Failed;
    }
    if (isItsHf(m) && m.requestMode == 1) {
        ui.message("Surface wave selected in RP card, ItsHF generation not possible.");
        return EngineStatus::Failed;
    }
    addStatus(hooks, "Generating nec-2 output file " + m.modelName + ".out");
    RunControl control = hooks.control;
    if (!control.statusLine) control.statusLine = hooks.statusLine;
    control.source = sourceOf(m.modelPath(), *model);
    // The ItsHF files come from the report this run read in its own folder.
    std::string report;
    if (isItsHf(m) && hooks.itsHf)
        control.readReport = [&report, read = hooks.control.readReport](const std::string& path,
                                                                        std::string_view bytes) {
            report = bytes;
            return !read || read(path, bytes);
        };
    const EngineStatus status = runEngine(m, ui, runner, text, engineOutputName(m), control);
    if (status == EngineStatus::Finished && isItsHf(m) && hooks.itsHf) hooks.itsHf(m, ui, report);
    return status;
}

} // namespace

EngineStatus calculate(Model& m, Ui& ui, ProcessRunner& runner, const RunHooks& hooks) {
    if (!knownCalcKind(m.calcKind)) {
        fail(ui, "Unknown calculation choice" + str(m.calcKind) + ".");
        return EngineStatus::Failed;
    }
    ModelInputs before(m);
    const EngineStatus status = convertAndRun(m, ui, runner, hooks);
    if (status == EngineStatus::Cancelled) before.restore(m);
    return status;
}

std::optional<std::string> runCalculation(Model& m, Ui& ui, ProcessRunner& runner, const RunHooks& hooks) {
    if (calculate(m, ui, runner, hooks) != EngineStatus::Finished) return std::nullopt;
    return ".out";
}

} // namespace wavra
