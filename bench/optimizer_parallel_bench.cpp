// Times the optimization of a Yagi (four variables, gain and F/B on a
// 5-degree pattern grid) with one engine at a time and with two at once:
// the first sensitivity pass (four independent trials) and the whole
// optimization. The engines run through the staged launcher; the machine
// may be shared, so the load average is printed beside the figures.
//
//   optimizer_parallel_bench [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/text.h"
#include "deck/expression.h"
#include "deck/reader.h"
#include "engine/process.h"
#include "optimizer/session.h"

namespace fs = std::filesystem;
using namespace wavra;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kYagi =
    "CM Three-element Yagi for 14.2 MHz, 41 segments per element\n"
    "CE\n"
    "SY rl=5.3, dl=5.05, dd=4.8, s2=280cm, s1=3\n"
    "GW 1 41 -s1 -rl 0 -s1 rl 0 0.0125\n"
    "GW 2 41 0 -dl 0 0 dl 0 0.0125\n"
    "GW 3 41 s2 -dd 0 s2 dd 0 0.0125\n"
    "GE 0\n"
    "EX 0 2 21 0 1 0\n"
    "FR 0 1 0 0 14.2 0\n"
    "EN\n";

struct Timing {
    double pass = 0, whole = 0;
    int runs = 0;
};

std::string uniqueName() {
    static int n = 0;
    return std::to_string(getpid()) + "-" + std::to_string(++n);
}

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

Timing optimizeOnce(const std::string& stage, int parallel) {
    const fs::path dir = fs::temp_directory_path() / ("wavra-bench-" + uniqueName());
    fs::create_directories(dir);
    std::ofstream(dir / "yagi.nec") << kYagi;
    Model m;
    RecordingUi ui;
    initConstantTable(m, m);
    m.installDir = stage + "/";
    m.modelDir = dir.string() + "/";
    m.modelName = "yagi";
    m.engineName = "&NEC2D    ";
    m.parallelRuns = static_cast<int16_t>(parallel);
    readInputFileShown(m, ui);
    auto runner = makeNativeProcessRunner();
    OptimizerSession session(m, ui, *runner);
    session.open();
    OptimizerSetup setup;
    setup.variables = {"rl", "dl", "dd", "s2"};
    setup.weightPercent[kGain] = 100;
    setup.weightPercent[kFrontBack] = 100;
    setup.resolution = 5;
    setup.forwardWidth = {10, 10};
    setup.backWidth = {30, 30};
    Clock::time_point base{}, pass{};
    SessionHooks hooks;
    hooks.row = [&](const TrialRow& r) {
        if (r.run == 1) base = Clock::now();
    };
    hooks.sensitivities = [&](const std::vector<double>&) {
        if (pass == Clock::time_point{}) pass = Clock::now();
    };
    const auto begin = Clock::now();
    session.start(setup, false, hooks);
    const auto end = Clock::now();
    Timing t{seconds(base, pass), seconds(begin, end), session.runs()};
    session.close(setup);
    fs::remove_all(dir);
    return t;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string stage = WAVRA_STAGE_DIR;
    std::cout << "load average before: " << loadAverage() << "\n";
    std::vector<double> pass[2], whole[2];
    int runs[2] = {0, 0};
    for (int r = 0; r < repeats; ++r) {
        for (int p = 0; p < 2; ++p) {
            const Timing t = optimizeOnce(stage, p + 1);
            pass[p].push_back(t.pass);
            whole[p].push_back(t.whole);
            runs[p] = t.runs;
        }
    }
    for (int p = 0; p < 2; ++p)
        std::cout << p + 1 << " engine(s) at once: first sensitivity pass " << formatPicture(median(pass[p]), "0.000")
                  << " s, whole optimization " << formatPicture(median(whole[p]), "0.000") << " s (" << runs[p]
                  << " runs; median of " << repeats << ")\n";
    std::cout << "speed-up with 2: sensitivity pass " << formatPicture(median(pass[0]) / median(pass[1]), "0.00")
              << "x, whole optimization " << formatPicture(median(whole[0]) / median(whole[1]), "0.00") << "x\n";
    std::cout << "load average after: " << loadAverage() << "\n";
    return runs[0] == runs[1] ? 0 : 1;
}
