// A fresh install tree with the real wavra program and the example models.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/test_support.h"

namespace wavra::test {

struct Batch : ::testing::Test {
    InstallTree tree;
    Batch() {
        // The staged exe/ holds the engine launchers as well as the programs.
        namespace fs = std::filesystem;
        for (const auto& entry : fs::directory_iterator(std::string(WAVRA_STAGE_DIR) + "/exe"))
            fs::copy(entry.path(), tree.file("exe/" + entry.path().filename().string()),
                     fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing);
        fs::copy_file(WAVRA_BINARY, tree.file("exe/wavra"), fs::copy_options::overwrite_existing);
        std::filesystem::create_directories(tree.file("models"));
        for (const char* name : {"dipole", "yagi", "vertical", "phased", "nearfield"})
            std::filesystem::copy_file(sourcePath(std::string("examples/") + name + ".nec"),
                                       tree.file(std::string("models/") + name + ".nec"));
    }
    RunResult run(std::vector<std::string> args, const std::string& cwd = "") {
        args.insert(args.begin(), tree.file("exe/wavra"));
        return runProgram(args, cwd.empty() ? tree.path() : cwd);
    }
    nlohmann::json runJson(const std::string& model) {
        auto r = run({"--batch", "--input", "--json", model});
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }
};

} // namespace wavra::test
