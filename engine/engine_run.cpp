#include "engine/engine_run.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "core/files.h"
#include "core/text.h"
#include "deck/expression.h"
#include "engine/engine_choice.h"
#include "engine/ground_checks.h"

namespace wavra {

namespace {

constexpr int kPollMs = 250;
constexpr size_t kMaxErrorLines = 12;
constexpr size_t kMaxLineLength = 200;

ProcessOutcome waitWithProgress(Model& model, RunningProcess& process, const ProgressFn& progress) {
    const auto begin = std::chrono::steady_clock::now();
    if (progress) progress(progressPercent(0, model.expectedRunTime));
    waitInSteps(process, kPollMs, [&] {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin).count();
        if (progress) progress(progressPercent(elapsed, model.expectedRunTime));
        return true;
    });
    model.expectedRunTime = 0;
    return {true, {}, process.exitCode(), process.standardOutput(), process.standardError()};
}

bool writeControlFile(const Model& model, Ui& ui, const std::string& relative, const std::string& text) {
    if (writeFileAtomic(model.installDir + relative, text)) return true;
    ui.message("Cannot write " + model.installDir + relative + ".", "wavra", Icon::Critical);
    return false;
}

// Launcher mode and second argument; a Sommerfeld ground also gets its
// request written to exe/som2d.tmp.
bool prepareGround(const Model& model, Ui& ui, std::string& mode, std::string& second) {
    mode = "gen";
    second = model.modelName;
    if (model.groundType != 2) return true;
    second = sommerfeldGroundFile(model);
    if (pathExists(model.installDir + second)) {
        mode = "cop";
        return true;
    }
    mode = "som";
    return writeControlFile(model, ui, "exe/som2d.tmp", sommerfeldRequestLine(model) + "\n");
}

// Moves an older report out of the way so only the new run can produce the
// file. False when the old report cannot be moved or removed.
bool setAside(const std::string& report, bool& hadOld) {
    hadOld = pathExists(report);
    if (!hadOld) return true;
    if (renameFile(report, report + ".old")) return true;
    deleteFile(report);
    hadOld = false;
    return !pathExists(report);
}

bool reportPresent(const std::string& report) {
    std::error_code ec;
    return std::filesystem::is_regular_file(report, ec) && std::filesystem::file_size(report, ec) > 0 && !ec;
}

// A line of engine output as a message box can show it: control characters
// become blanks, and a long line is cut at a character boundary.
std::string shownLine(std::string_view line) {
    std::string shown;
    for (char c : line) shown += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    if (shown.size() <= kMaxLineLength) return shown;
    size_t cut = kMaxLineLength;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "...";
}

void addLines(std::vector<std::string>& lines, const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && lines.size() < kMaxErrorLines) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = trim(std::string_view(text).substr(pos, end - pos));
        if (!line.empty()) lines.push_back(shownLine(line));
        pos = end + 1;
    }
}

// The engine's own words on a failure: its console output, then the lines
// of its report that carry "ERROR" with the line after each.
std::string engineErrorText(const ProcessOutcome& r, const std::string& report) {
    std::vector<std::string> lines;
    addLines(lines, r.errors);
    addLines(lines, r.output);
    std::vector<std::string> reportLines;
    if (readLines(report, reportLines)) {
        for (size_t i = 0; i < reportLines.size() && lines.size() < kMaxErrorLines; ++i) {
            if (reportLines[i].find("ERROR") == std::string::npos) continue;
            addLines(lines, reportLines[i]);
            if (i + 1 < reportLines.size()) addLines(lines, reportLines[i + 1]);
        }
    }
    std::string text;
    for (const auto& line : lines) text += "\n" + line;
    return text;
}

std::string failureText(const ProcessOutcome& r, const std::string& engine, const std::string& report) {
    if (!r.started) return "The NEC-2 engine " + engine + " could not be started: " + shownLine(r.startError);
    if (r.exitCode != 0)
        return "The NEC-2 engine " + engine + " failed (exit status " + std::to_string(r.exitCode) + ").";
    if (!reportPresent(report)) return "The NEC-2 engine " + engine + " wrote no output file " + report + ".";
    return {};
}

EngineStatus judge(Ui& ui, const ProcessOutcome& r, const std::string& engine, const std::string& report, bool hadOld,
                   bool showConsole) {
    std::string failure = failureText(r, engine, report);
    if (!failure.empty()) {
        failure += engineErrorText(r, report);
        if (hadOld) failure += "\nThe previous output is kept as " + report + ".old.";
        ui.message(failure, "wavra", Icon::Critical);
        return EngineStatus::Failed;
    }
    if (showConsole) {
        std::vector<std::string> lines;
        addLines(lines, r.output + "\n" + r.errors);
        std::string text = engine + " finished.";
        for (const auto& line : lines) text += "\n" + line;
        ui.message(text, "wavra", Icon::Information);
    }
    deleteFile(report + ".old");
    return EngineStatus::Finished;
}

std::string stemOf(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The special engine is started on the deck alone and leaves its report as
// out/<deck stem>.n32; the launcher's "ren" mode then makes it the report.
ProcessOutcome runSpecialEngine(Model& model, Ui& ui, ProcessRunner& runner, const std::string& inputName,
                                const std::string& outputName, const ProgressFn& progress) {
    deleteFile(model.installDir + "out/" + stemOf(inputName) + ".n32");
    ProcessOutcome outcome;
    auto process = runner.start({launcherPath(model, engineOf(model)), "../out/" + inputName, "-autodma"},
                                model.installDir + "exe", outcome.startError);
    if (!process) return outcome;
    ui.message("Wait till NEC32 ready, then close window and enter OK", "wavra", Icon::Critical);
    outcome = waitWithProgress(model, *process, progress);
    if (outcome.exitCode != 0) return outcome;
    return runAndWaitWithProgress(model, runner, {launcherPath(model, "wavra.sh"), "ren", model.modelName, outputName},
                                  model.installDir, progress);
}

int16_t expectedFromSummary(const Model& model) {
    const double seconds = model.summary.hasRunTime ? model.summary.runTimeSeconds : 0;
    return seconds >= 1 ? toInt16(10 * seconds) : 0;
}

bool hasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Names and engine that the control files and the launcher can carry.
bool validRunNames(Ui& ui, const std::string& engine, const std::string& inputName, const std::string& outputName) {
    if (!isValidEngineName(engine)) {
        ui.message("Engine name '" + messageText(engine) + "' is not valid.", "wavra", Icon::Critical);
        return false;
    }
    if (hasLineBreak(inputName) || hasLineBreak(outputName)) {
        ui.message("A model name with a line break cannot be calculated.", "wavra", Icon::Critical);
        return false;
    }
    return true;
}

} // namespace

int progressPercent(long long elapsedMs, int expectedRunTime) {
    if (expectedRunTime <= 0) return -1;
    return static_cast<int>(std::min<long long>(100, std::max<long long>(0, elapsedMs / expectedRunTime)));
}

ProcessOutcome runAndWaitWithProgress(Model& model, ProcessRunner& runner, const std::vector<std::string>& argv,
                                      const std::string& workingDir, const ProgressFn& progress) {
    if (!progress) model.expectedRunTime = 0;
    ProcessOutcome outcome;
    auto process = runner.start(argv, workingDir, outcome.startError);
    if (!process) {
        model.expectedRunTime = 0;
        return outcome;
    }
    return waitWithProgress(model, *process, progress);
}

std::vector<std::string> launcherCommand(const Model& model, const std::string& mode, const std::string& second) {
    std::vector<std::string> argv = {launcherPath(model, "wavra.sh"), mode, second, engineOf(model)};
    if (model.optimizerVarCount <= 0 && waitFlagSet(model)) argv.emplace_back("pause");
    return argv;
}

EngineStatus runEngine(Model& model, Ui& ui, ProcessRunner& runner, const std::string& inputName,
                       const std::string& outputName, const ProgressFn& progress) {
    model.engineExitStatus = -1;
    if (!checkGround(model, ui)) return EngineStatus::Cancelled;
    const std::string engine = engineOf(model);
    if (!validRunNames(ui, engine, inputName, outputName)) return EngineStatus::Failed;
    std::string mode, second;
    if (!prepareGround(model, ui, mode, second)) return EngineStatus::Failed;
    if (!writeControlFile(model, ui, "exe/nec2d.tmp", "../out/" + inputName + "\n../out/" + outputName + "\n"))
        return EngineStatus::Failed;
    const std::string report = model.installDir + "out/" + outputName;
    bool hadOld = false;
    if (!setAside(report, hadOld)) {
        ui.message("Cannot remove the older output file " + report + ".", "wavra", Icon::Critical);
        return EngineStatus::Failed;
    }
    const std::vector<std::string> command = launcherCommand(model, mode, second);
    const bool special = isSpecialEngine(model);
    const TableCapacities capacities = model.releaseModelTables(); // the engine gets the memory
    model.expectedRunTime = expectedFromSummary(model);
    const ProcessOutcome outcome = special ? runSpecialEngine(model, ui, runner, inputName, outputName, progress)
                                           : runAndWaitWithProgress(model, runner, command, model.installDir, progress);
    model.engineExitStatus = outcome.started ? outcome.exitCode : -1; // for the batch summary
    model.allocateModelTables(capacities.maxSegments, capacities.maxFreqSteps, capacities.maxSources,
                              capacities.maxLoads, capacities.maxTransLines);
    model.allocateFieldTables(capacities.fieldPoints);
    const bool showConsole = !special && command.back() == "pause";
    return judge(ui, outcome, engine, report, hadOld, showConsole);
}

} // namespace wavra
