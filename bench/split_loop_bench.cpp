// A frequency loop run as one engine process and split over two, through
// the real launcher and engine of the staged build: a 16-step sweep of a
// 1000-segment curtain and an 8-step sweep of a 2000-segment one
// (bench/curtain_deck.sh). Both configurations run in the same bench run,
// one after the other, so that the ratio compares like with like on a
// machine shared with others; the load average is printed beside it.
// Before and after, the bench measures what the machine gives a second
// process at all (two plain engine runs at once against one after the
// other). The front-end overhead is the joining of the part reports and the
// reading of the joined report, as a share of the engine time.
//
// Usage: split_loop_bench [ENGINE]   (default NEC2D_LA, the shipped engine;
//                                     NEC2D2K8 runs plain nec2c)
// Environment: WAVRA_STAGE (default <build>/stage), RUNS (best of, 1).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "base/files.h"
#include "base/text.h"
#include "core/ui.h"
#include "engine/engine_run.h"
#include "engine/process.h"
#include "report/report_reader.h"

namespace fs = std::filesystem;
using namespace wavra;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point begin) { return std::chrono::duration<double>(Clock::now() - begin).count(); }

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " " + five;
}

// A temporary install tree whose exe/ links to the staged programs.
struct BenchTree {
    std::string dir;
    explicit BenchTree(const std::string& stage) {
        dir = (fs::temp_directory_path() / ("wavra-split-bench-" + uniqueSuffix())).string() + "/";
        fs::create_directories(dir + "out");
        fs::create_directories(dir + "exe");
        for (const auto& entry : fs::directory_iterator(stage + "/exe"))
            fs::create_symlink(fs::canonical(entry.path()), dir + "exe/" + entry.path().filename().string());
    }
    ~BenchTree() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

std::string curtainDeck(ProcessRunner& runner, int segments, int steps) {
    std::string error;
    auto p = runner.start(
        {std::string(WAVRA_SOURCE_DIR) + "/bench/curtain_deck.sh", std::to_string(segments), std::to_string(steps)}, "",
        error);
    if (!p) return {};
    while (!p->waitFor(100)) {}
    return p->standardOutput();
}

struct Timing {
    double wall = 1e30; // best of RUNS
    RunSummary summary;
    double readSeconds = 0;
    int stepsRead = 0; // frequency steps the reader found in the joined report
};

Timing runLoop(BenchTree& tree, ProcessRunner& runner, const std::string& engine, const std::string& deck,
               int processes, int runs) {
    Timing best;
    for (int r = 0; r < runs; ++r) {
        Model m;
        m.installDir = tree.dir;
        m.modelDir = tree.dir;
        m.modelName = "curtain";
        m.engineName = "&" + engine;
        m.parallelRuns = static_cast<int16_t>(processes);
        m.reuseResults = 0;
        m.groundType = -1;
        m.maxSegments = 11000;
        m.maxSources = 200; // a source on every dipole of the curtain
        m.allocateModelTables(m.maxSegments, m.maxFreqSteps, m.maxSources, m.maxLoads, m.maxTransLines);
        RecordingUi ui([](const std::string& text) { std::cerr << text << '\n'; });
        RunControl control;
        RunSummary summary;
        control.summary = &summary;
        const auto begin = Clock::now();
        if (runEngine(m, ui, runner, deck, "curtain.out", control) != EngineStatus::Finished) {
            std::cerr << "split_loop_bench: the run failed: " << (ui.messages().empty() ? "" : ui.messages().back())
                      << "\n";
            std::exit(1);
        }
        const double wall = secondsSince(begin);
        const auto read = Clock::now();
        m.modelExt = ".nec";
        Diagnostics found;
        readOutput(reportTarget(m), found, ".out");
        const double readSeconds = secondsSince(read);
        if (wall < best.wall) best = {wall, summary, readSeconds, m.freqCount};
    }
    return best;
}

void measure(BenchTree& tree, ProcessRunner& runner, const std::string& engine, int segments, int steps, int runs) {
    const std::string deck = curtainDeck(runner, segments, steps);
    const std::string loadBefore = loadAverage();
    const Timing one = runLoop(tree, runner, engine, deck, 1, runs);
    const Timing two = runLoop(tree, runner, engine, deck, 2, runs);
    const double overhead = static_cast<double>(two.summary.joinMs) / 1000.0 + two.readSeconds;
    const double engineSeconds = two.wall - static_cast<double>(two.summary.joinMs) / 1000.0;
    std::cout << formatPicture(segments, "####0") << " segments " << formatPicture(steps, "#0") << " steps  "
              << "1 process " << formatPicture(one.wall, "##0.00") << " s  2 processes (" << two.summary.parts
              << " parts) " << formatPicture(two.wall, "##0.00") << " s  speed-up "
              << formatPicture(one.wall / two.wall, "0.00") << "x  overhead (join "
              << formatPicture(static_cast<double>(two.summary.joinMs) / 1000.0, "0.000") << " s + read "
              << formatPicture(two.readSeconds, "0.000") << " s of " << two.stepsRead << " steps) "
              << formatPicture(100 * overhead / engineSeconds, "0.00") << " % of the engine time  load " << loadBefore
              << " -> " << loadAverage() << "\n";
}

// What the machine gives two engines at once: the same 4-step 1000-segment
// deck run twice by plain nec2c, one run after the other and both at once.
// On a machine whose cores are busy with the work of others this ratio,
// not 2, bounds what a split can gain.
void machineParallelism(BenchTree& tree, ProcessRunner& runner) {
    const std::string deck = tree.dir + "pair.nec";
    writeFileAtomic(deck, curtainDeck(runner, 1000, 4));
    auto start = [&](int i) {
        std::string error;
        return runner.start({"nec2c", "-i", deck, "-o", tree.dir + "pair" + std::to_string(i) + ".out"}, tree.dir,
                            error);
    };
    auto finish = [](std::unique_ptr<RunningProcess>& p) {
        while (p && !p->waitFor(100)) {}
    };
    auto begin = Clock::now();
    for (int i = 0; i < 2; ++i) {
        auto p = start(i);
        finish(p);
    }
    const double sequential = secondsSince(begin);
    begin = Clock::now();
    auto a = start(0), b = start(1);
    finish(a);
    finish(b);
    const double together = secondsSince(begin);
    std::cout << "machine: two plain nec2c runs one after the other " << formatPicture(sequential, "##0.00")
              << " s, both at once " << formatPicture(together, "##0.00") << " s: at most "
              << formatPicture(sequential / together, "0.00") << "x from a second process now, load " << loadAverage()
              << "\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::string engine = argc > 1 ? argv[1] : "NEC2D_LA";
    const char* stageEnv = std::getenv("WAVRA_STAGE");
    const std::string stage = stageEnv ? stageEnv : std::string(WAVRA_SOURCE_DIR) + "/_build/stage";
    const char* runsEnv = std::getenv("RUNS");
    const int runs = runsEnv ? std::max(1, std::atoi(runsEnv)) : 1;
    BenchTree tree(stage);
    auto runner = makeNativeProcessRunner();
    std::cout << "engine " << engine << ", " << std::thread::hardware_concurrency() << " cores, best of " << runs
              << "\n";
    machineParallelism(tree, *runner);
    measure(tree, *runner, engine, 1000, 16, runs);
    measure(tree, *runner, engine, 2000, 8, runs);
    machineParallelism(tree, *runner);
    return 0;
}
