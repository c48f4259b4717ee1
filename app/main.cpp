// wavra: the antenna modelling front end for the NEC-2 engine.
//   wavra [MODEL]           the windows (handed to wavra-windows)
//   wavra --batch ... MODEL the command line (see wavra --help); with --show
//                           handed to wavra-show
// This program links no Qt, so a batch calculation starts as fast as the
// engine allows.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/batch.h"
#include "app/companion_programs.h"

#if defined(__SANITIZE_ADDRESS__)
#define WAVRA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WAVRA_LEAK_CHECKED 1
#endif
#endif

namespace {

// The batch job on a model that is never taken apart: once the job has
// printed its result and closed its files, the program leaves at once with
// its status, and the system takes back the tables and strings that would
// otherwise be freed one by one. A build that
// checks for leaks ends normally, so that every allocation is seen released.
int runBatchAndLeave(const wavra::BatchOptions& options, const std::string& programPath) {
    std::error_code ec;
    const std::string workingDir = std::filesystem::current_path(ec).string();
#ifdef WAVRA_LEAK_CHECKED
    return wavra::runBatch(options, programPath, workingDir, std::cout);
#else
    auto* model = new wavra::Model;
    const int status = wavra::runBatchOn(*model, options, programPath, workingDir, std::cout);
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
#endif
}

// Hands the run to the companion `name` when it is installed: returns only
// when it is not there (false) or could not be started (true, `status` set).
bool handOver(const char* name, const std::string& programPath, int argc, char** argv, int& status) {
    const std::string companion = wavra::companionProgram(programPath, name);
    if (companion.empty()) return false;
    const std::string reason = wavra::startCompanion(companion, programPath, argc, argv);
    std::cerr << wavra::programMessage(wavra::kProgramName, "cannot start " + companion + ": " + reason + ".");
    status = wavra::kBatchUnreadable;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int status = 0;
    const auto options = wavra::programOptions(argc, argv, status);
    if (!options) return status;
    const std::string programPath = wavra::runningProgramPath(argv[0]);
    if (!options->batch) {
        const bool display = wavra::displayAvailable();
        if (display && handOver(wavra::kWindowsProgram, programPath, argc, argv, status)) return status;
        const std::string why = display ? std::string("the windows (") + wavra::kWindowsProgram + ") are not installed"
                                        : std::string("no display available");
        if (options->model.empty())
            return wavra::reportUsageError(wavra::kProgramName, why + "; name a model to see its summary", std::cerr);
        std::cerr << wavra::programMessage(wavra::kProgramName, why + "; showing the batch summary.");
    }
    if (!options->show.view.empty() && handOver(wavra::kShowProgram, programPath, argc, argv, status)) return status;
    return runBatchAndLeave(*options, programPath);
}
