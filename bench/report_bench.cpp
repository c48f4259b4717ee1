// Reading speed of the engine report reader, in bytes per second.
//
// The reports are made once with nec2c and cached beside this program
// (report_bench_cache/): a frequency loop of 700 steps with a full pattern
// at every step (about 230 MB, the size of a long sweep), and one large
// pattern that is loaded point by point into the far-field tables.
// Target: at least 300 MB/s for the large report.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"
#include "report/report_reader.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

fs::path g_cacheDir;

const char* const kLoopDeck =
    "CM BENCHMARK: DIPOLE, 700 FREQUENCIES, FULL PATTERNS\nCE\n"
    "GW 1 11 0 0 -5.35 0 0 5.35 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
    "FR 0 700 0 0 10 0.01\nRP 0 37 73 1001 0 0 5 5\nEN\n";
const char* const kPatternDeck =
    "CM BENCHMARK: DIPOLE, ONE LARGE PATTERN\nCE\n"
    "GW 1 11 0 0 -5.35 0 0 5.35 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
    "FR 0 1 0 0 14 0\nRP 0 91 360 1001 0 0 2 1\nEN\n";

// Runs nec2c on the deck; the report is written under a temporary name and
// renamed, so an interrupted run leaves no half report in the cache.
bool makeReport(const std::string& name, const char* deck) {
    const fs::path report = g_cacheDir / (name + ".out");
    if (fs::exists(report)) return true;
    fs::create_directories(g_cacheDir);
    const std::string deckPath = (g_cacheDir / (name + ".nec")).string();
    const std::string tempPath = (g_cacheDir / (name + ".part")).string();
    std::ofstream(deckPath) << deck;
    std::fprintf(stderr, "report_bench: making %s with nec2c...\n", report.c_str());
    std::vector<std::string> args{"nec2c", "-i", deckPath, "-o", tempPath};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "nec2c", nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    fs::rename(tempPath, report);
    return true;
}

void readReportFile(benchmark::State& state, const std::string& name, int fieldPoints) {
    if (!makeReport(name, name == "loop" ? kLoopDeck : kPatternDeck)) {
        state.SkipWithError("nec2c could not make the report");
        return;
    }
    const fs::path dir = g_cacheDir / "install";
    fs::create_directories(dir / "out");
    const fs::path link = dir / "out" / (name + ".out");
    if (!fs::exists(link)) fs::create_symlink(g_cacheDir / (name + ".out"), link);
    const auto bytes = static_cast<int64_t>(fs::file_size(link));

    wavra::Model model;
    model.maxFarFieldPoints = static_cast<int16_t>(fieldPoints);
    model.allocateFieldTables(fieldPoints);
    model.installDir = dir.string() + "/";
    model.modelName = name;
    wavra::Diagnostics found;
    for (auto _ : state) {
        found.clear();
        if (!wavra::readOutput(wavra::reportTarget(model), found, ".out")) state.SkipWithError("report not readable");
        benchmark::DoNotOptimize(model.patternCount);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["freqCount"] = model.freqCount;
    state.counters["patternCount"] = model.patternCount;
}

void BM_ReadFrequencyLoopReport(benchmark::State& state) { readReportFile(state, "loop", 6000); }
void BM_ReadLargePattern(benchmark::State& state) { readReportFile(state, "pattern", 32767); }

BENCHMARK(BM_ReadFrequencyLoopReport)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ReadLargePattern)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    g_cacheDir = fs::absolute(argv[0]).parent_path() / "report_bench_cache";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
