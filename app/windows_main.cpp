// wavra-windows: the windows of wavra, handed over by wavra when a display
// can be reached and no --batch is asked for.
#include <QApplication>
#include <filesystem>

#include "app/batch_show.h"
#include "app/companion_programs.h"
#include "windows/windows_app.h"

int main(int argc, char** argv) {
    int status = 0;
    const auto options = wavra::programOptions(argc, argv, status);
    if (!options) return status;
    std::error_code ec;
    const std::string workingDir = std::filesystem::current_path(ec).string();
    const std::string programPath = wavra::companionProgramPath(argv[0]);
    // Started by hand for a batch job or without a display: the command line.
    if (options->batch || !wavra::displayAvailable())
        return wavra::runBatchShowingViews(*options, programPath, workingDir, argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(wavra::kProgramName));
    return wavra::runWindowsProgram(programPath, workingDir, options->model);
}
