#include "engine_test_support.h"

#include <filesystem>

#include "core/ui.h"
#include "deck/expression.h"
#include "deck/reader.h"

namespace fs = std::filesystem;

namespace wavra::test {

namespace {

class ScriptedProcess : public RunningProcess {
public:
    ScriptedProcess(int exitCode, int polls, std::string out, std::string err)
        : m_exit(exitCode), m_polls(polls), m_out(std::move(out)), m_err(std::move(err)) {}
    bool waitFor(int) override {
        if (m_polls > 0) {
            --m_polls;
            return false;
        }
        return true;
    }
    bool finished() const override { return m_polls == 0; }
    int exitCode() const override { return m_exit; }
    std::string standardOutput() const override { return m_out; }
    std::string standardError() const override { return m_err; }
    void terminate() override { m_polls = 0; }

private:
    int m_exit, m_polls;
    std::string m_out, m_err;
};

} // namespace

std::unique_ptr<RunningProcess> ScriptedRunner::start(const std::vector<std::string>& argv,
                                                      const std::string& workingDir, std::string& error) {
    calls.push_back({argv, workingDir});
    if (refuseStart) {
        error = argv.front() + ": No such file or directory";
        return nullptr;
    }
    const int code = program ? program(calls.back()) : 0;
    return std::make_unique<ScriptedProcess>(code, pollsBeforeEnd, output, errors);
}

EngineTree::EngineTree() {
    const std::string stage = std::string(WAVRA_STAGE_DIR) + "/exe/";
    for (const auto& entry : fs::directory_iterator(stage)) {
        if (!entry.is_symlink()) continue;
        const fs::path target = path() + "exe/" + entry.path().filename().string();
        fs::copy_symlink(entry.path(), target);
    }
    // The lapack engine, when the build made it.
    if (fs::exists(stage + kLapackProgram)) fs::create_symlink(stage + kLapackProgram, path() + "exe/" + kLapackProgram);
}

void EngineTree::addModel(Model& model, const std::string& example, const std::string& name) const {
    fs::copy_file(sourcePath("examples/" + example), path() + name + ".nec", fs::copy_options::overwrite_existing);
    prepare(model);
    model.modelName = name;
    model.modelExt = ".nec";
}

void loadModel(Model& model, const EngineTree& tree, const std::string& example, const std::string& name) {
    RecordingUi ui;
    initConstantTable(model);
    loadConstantsFile(model, ui);
    tree.addModel(model, example, name);
    readInputFile(model, ui);
}

std::vector<std::string> deckLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

} // namespace wavra::test
