// wavra-show: `wavra --batch --show VIEW ...`, handed over by wavra. The
// views are painted with Qt's graphics on the offscreen platform; nothing of
// Qt Widgets is loaded.
#include <filesystem>

#include "app/batch_show.h"
#include "app/companion_programs.h"

int main(int argc, char** argv) {
    int status = 0;
    const auto options = wavra::programOptions(argc, argv, status);
    if (!options) return status;
    std::error_code ec;
    return wavra::runBatchShowingViews(*options, wavra::companionProgramPath(argv[0]),
                                       std::filesystem::current_path(ec).string(), argc, argv);
}
