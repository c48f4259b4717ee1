#include "engine/engine_start.h"

#include <filesystem>

#include "base/environment.h"
#include "engine/engine_choice.h"
#include "engine/engine_run.h"
#include "engine/process.h"

namespace wavra {

namespace {

constexpr const char* kLapackProgram = "nec2c-lapack";
constexpr const char* kPlainProgram = "nec2c";

// True when exe/ENGINE is the launcher itself (a link to it).
bool linksToLauncher(const Model& model, const std::string& engine) {
    std::error_code error;
    return std::filesystem::equivalent(launcherPath(model, engine), launcherPath(model, "wavra.sh"), error) && !error;
}

} // namespace

std::vector<std::string> lapackEnvironment(int threads) {
    std::string solver = threads > 0 ? std::to_string(threads) : environmentValue("OPENBLAS_NUM_THREADS");
    if (solver.empty()) solver = std::to_string(allowedCores());
    std::string fill = threads > 0 ? solver : environmentValue("OMP_NUM_THREADS");
    if (fill.empty()) fill = solver;
    std::string timeout = environmentValue("OPENBLAS_THREAD_TIMEOUT");
    if (timeout.empty()) timeout = "20";
    // The fill's idle OpenMP threads sleep at once instead of spinning into
    // the factorisation, whose OpenBLAS threads need every core; the fill
    // is one parallel region per frequency, so waking them costs nothing.
    std::string wait = environmentValue("OMP_WAIT_POLICY");
    if (wait.empty()) wait = "passive";
    return {"OPENBLAS_NUM_THREADS=" + solver, "OMP_NUM_THREADS=" + fill, "OPENBLAS_THREAD_TIMEOUT=" + timeout,
            "OMP_WAIT_POLICY=" + wait};
}

std::string withoutSizeCards(const std::string& deck) {
    std::string kept;
    size_t pos = 0;
    while (pos < deck.size()) {
        size_t end = deck.find('\n', pos);
        end = end == std::string::npos ? deck.size() : end + 1;
        const bool size = end - pos >= 2 && (deck[pos] | 0x20) == 's' && (deck[pos + 1] | 0x20) == 'z';
        if (!size) kept.append(deck, pos, end - pos);
        pos = end;
    }
    return kept;
}

EngineStart engineStart(const Model& model, const RunFiles& files, const std::string& mode, const std::string& second,
                        int threads) {
    EngineStart launcher{
        launcherCommand(model, files.control(), mode, second, threads), model.workDir(), {}, {}, false};
    const std::string engine = engineOf(model);
    if (isSpecialEngine(model) || launcher.argv.back() == "pause" || !linksToLauncher(model, engine)) return launcher;
    EngineStart direct;
    direct.workingDir = files.dir();
    std::string program;
    if (engine == kLapackEngine) {
        program = launcherPath(model, kLapackProgram);
        if (isExecutableFile(program)) direct.environment = lapackEnvironment(threads);
        else {
            direct.note = engine + ": the lapack engine " + program + " is missing; running plain nec2c";
            program.clear();
        }
    }
    if (program.empty()) {
        program = findInPath(kPlainProgram);
        if (program.empty()) return launcher;
        direct.withoutSizeCards = true;
    }
    direct.argv = {program, "-i", RunFiles::deckName(), "-o", RunFiles::reportName()};
    return direct;
}

} // namespace wavra
