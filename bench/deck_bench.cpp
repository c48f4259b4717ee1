// Writer plus reader on a large symbolic deck: 10,000 GW cards whose fields
// are expressions over 50 SY variables with unit suffixes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "deck/expression.h"
#include "deck/reader.h"
#include "deck/writer.h"

namespace {

constexpr int kWires = 10000;
constexpr int kSymbols = 50;
constexpr int kExpressionFieldsPerWire = 7;

std::string symbolicDeck() {
    std::string deck = "CM generated benchmark deck\nCE\n";
    for (int s = 0; s < kSymbols; ++s)
        deck += "SY v" + std::to_string(s) + "=" + std::to_string(10 + s) + (s % 2 ? "cm" : "mm") + "\n";
    for (int w = 1; w <= kWires; ++w) {
        auto v = [w](int k) { return "v" + std::to_string((w * 7 + k) % kSymbols); };
        deck += "GW " + std::to_string(w) + " 5 " + v(0) + "*" + std::to_string(w % 97) + " " + v(1) + "+" + v(2) +
                " -" + v(3) + "/2 " + v(4) + "*" + std::to_string(w % 89) + "+1 (" + v(5) + "-" + v(6) + ")*3 " + v(7) +
                "^2+" + v(8) + " 2mm\n";
    }
    deck += "GE 0\nEX 0 1 3 0 1 0\nFR 0 1 0 0 14 0\nRP 0 1 1 1000 90 0\nEN\n";
    return deck;
}

void WriterPlusReader(benchmark::State& state) {
    const std::string deck = symbolicDeck();
    wavra::Model model;
    model.maxSegments = kWires;
    model.allocateModelTables(kWires, 10, 2, 2, 2);
    wavra::Diagnostics found;
    wavra::initConstantTable(model, model);
    for (auto _ : state) {
        model.resetForLoad();
        model.wireCount = 0;
        model.summary.clear();
        const std::string numeric = wavra::convertDeck(model, model, model, found, deck);
        wavra::readNumericDeck(wavra::deckTarget(model), found, numeric);
        benchmark::DoNotOptimize(model.wireCount);
    }
    if (model.wireCount != kWires || !found.empty()) state.SkipWithError("deck did not read cleanly");
    const double fields = double(kWires) * kExpressionFieldsPerWire + kSymbols;
    state.counters["evaluated_fields_per_s"] =
        benchmark::Counter(fields, benchmark::Counter::kIsIterationInvariantRate);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(WriterPlusReader)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
