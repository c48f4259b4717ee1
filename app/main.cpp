// wavra: the antenna modelling front end for the NEC-2 engine.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/batch_options.h"

namespace {

std::string programPath(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.string();
    return std::filesystem::absolute(argv0, ec).string();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = wavra::parseBatchOptions(args, error);
    if (!options) {
        std::cerr << "wavra: " << error << '\n' << wavra::kBatchUsage;
        return wavra::kBatchBadUsage;
    }
    std::error_code ec;
    const std::string workingDir = std::filesystem::current_path(ec).string();
    if (!options->batch) {
        if (options->model.empty()) {
            std::cerr << wavra::kBatchUsage;
            return wavra::kBatchBadUsage;
        }
        std::cerr << "wavra: this build has no windows yet; showing the batch summary.\n";
    }
    return wavra::runBatch(*options, programPath(argv[0]), workingDir, std::cout);
}
