// wavra: the antenna modelling front end for the NEC-2 engine.
//   wavra [MODEL]           the windows
//   wavra --batch ... MODEL the command line (see wavra --help)
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/batch_options.h"
#ifndef WAVRA_NO_WINDOWS
#include <QApplication>

#include "app/batch_show.h"
#include "windows/windows_app.h"
#endif

namespace {

std::string programPath(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.string();
    return std::filesystem::absolute(argv0, ec).string();
}

#ifdef WAVRA_NO_WINDOWS
bool windowsAvailable() { return false; }
#else
bool windowsAvailable() { return wavra::displayAvailable(); }
#endif

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const wavra::ParsedArguments parsed = wavra::parseArguments(wavra::wavraCommandLine(), args);
    if (auto status = wavra::answerStandardOptions(wavra::wavraCommandLine(), parsed, std::cout, std::cerr))
        return *status;
    std::string error;
    auto options = wavra::batchOptionsFrom(parsed, error);
    if (!options) return wavra::reportUsageError(wavra::kProgramName, error, std::cerr);
    std::error_code ec;
    const std::string workingDir = std::filesystem::current_path(ec).string();
    const bool windows = !options->batch && windowsAvailable();
    if (!options->batch && !windows) {
        if (options->model.empty())
            return wavra::reportUsageError(wavra::kProgramName, "no display available; name a model to see its summary",
                                           std::cerr);
        std::cerr << wavra::programMessage(wavra::kProgramName, "no display available; showing the batch summary.");
    }
#ifdef WAVRA_NO_WINDOWS
    return wavra::runBatch(*options, programPath(argv[0]), workingDir, std::cout);
#else
    if (!windows) return wavra::runBatchShowingViews(*options, programPath(argv[0]), workingDir, argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(wavra::kProgramName));
    return wavra::runWindowsProgram(programPath(argv[0]), workingDir, options->model);
#endif
}
