#include "engine_test_support.h"

#include <algorithm>
#include <filesystem>

#include "core/ui.h"
#include "deck/expression.h"
#include "deck/reader.h"

namespace fs = std::filesystem;

namespace wavra::test {

namespace {

class ScriptedProcess : public RunningProcess {
public:
    ScriptedProcess(int exitCode, int polls, std::string out, std::string err, int& terminated)
        : m_exit(exitCode), m_polls(polls), m_out(std::move(out)), m_err(std::move(err)), m_terminated(terminated) {}
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
    void terminate() override {
        if (m_polls == 0) return;
        m_polls = 0;
        m_exit = 128 + 15;
        ++m_terminated;
    }

private:
    int m_exit, m_polls;
    std::string m_out, m_err;
    int& m_terminated;
};

} // namespace

std::unique_ptr<RunningProcess> ScriptedRunner::startWithEnvironment(const std::vector<std::string>& argv,
                                                                     const std::string& workingDir,
                                                                     const std::vector<std::string>& environment,
                                                                     std::string& error) {
    calls.push_back({argv, workingDir, environment});
    if (refuseStart) {
        error = argv.front() + ": No such file or directory";
        return nullptr;
    }
    const int code = program ? program(calls.back()) : 0;
    return std::make_unique<ScriptedProcess>(code, pollsBeforeEnd, output, errors, terminated);
}

ControlledFiles controlledFiles(const ScriptedRunner::Call& call) {
    ControlledFiles files;
    const auto flag = std::find(call.argv.begin(), call.argv.end(), "--control");
    const bool direct = std::find(call.argv.begin(), call.argv.end(), "-i") != call.argv.end();
    if (direct) files.control = call.workingDir + "nec2d.tmp";
    else if (flag != call.argv.end() && flag + 1 != call.argv.end()) files.control = *(flag + 1);
    else return files;
    const auto lines = readLinesOf(files.control);
    const std::string controlDir = fs::path(files.control).parent_path().string() + "/";
    if (lines.size() >= 2) {
        files.deck = fs::weakly_canonical(controlDir + lines[0]).string();
        files.report = fs::weakly_canonical(controlDir + lines[1]).string();
    }
    return files;
}

std::vector<std::string> runDirectories(const std::string& installDir) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(installDir + "out"))
        if (entry.path().filename().string().rfind(".run-", 0) == 0) found.push_back(entry.path().string());
    return found;
}

EngineTree::EngineTree() {
    const std::string stage = std::string(WAVRA_STAGE_DIR) + "/exe/";
    for (const auto& entry : fs::directory_iterator(stage)) {
        if (!entry.is_symlink()) continue;
        const fs::path target = path() + "exe/" + entry.path().filename().string();
        fs::copy_symlink(entry.path(), target);
    }
    // The lapack engine, when the build made it.
    if (fs::exists(stage + kLapackProgram))
        fs::create_symlink(stage + kLapackProgram, path() + "exe/" + kLapackProgram);
}

void EngineTree::addModel(Model& model, const std::string& example, const std::string& name) const {
    fs::copy_file(sourcePath("examples/" + example), path() + name + ".nec", fs::copy_options::overwrite_existing);
    prepare(model);
    model.modelName = name;
    model.modelExt = ".nec";
}

void loadModel(Model& model, const EngineTree& tree, const std::string& example, const std::string& name) {
    RecordingUi ui;
    initConstantTable(model, model);
    showDiagnostics(ui, loadConstantsFile(model, model));
    tree.addModel(model, example, name);
    readInputFileShown(model, ui);
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
