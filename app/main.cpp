// wavra: the antenna modelling front end for the NEC-2 engine.
//   wavra [MODEL]           the windows
//   wavra --batch ... MODEL the command line (see --help of the batch mode)
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
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = wavra::parseBatchOptions(args, error);
    if (!options) {
        std::cerr << "wavra: " << error << '\n' << wavra::kBatchUsage;
        return wavra::kBatchBadUsage;
    }
    if (options->help) {
        std::cout << wavra::kBatchUsage;
        return 0;
    }
    std::error_code ec;
    const std::string workingDir = std::filesystem::current_path(ec).string();
    const bool windows = !options->batch && windowsAvailable();
    if (!options->batch && !windows) {
        if (options->model.empty()) {
            std::cerr << "wavra: no display available; name a model to see its summary.\n" << wavra::kBatchUsage;
            return wavra::kBatchBadUsage;
        }
        std::cerr << "wavra: no display available; showing the batch summary.\n";
    }
#ifdef WAVRA_NO_WINDOWS
    return wavra::runBatch(*options, programPath(argv[0]), workingDir, std::cout);
#else
    if (!windows) return wavra::runBatchShowingViews(*options, programPath(argv[0]), workingDir, argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wavra"));
    return wavra::runWindowsProgram(programPath(argv[0]), workingDir, options->model);
#endif
}
