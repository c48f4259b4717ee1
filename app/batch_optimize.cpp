#include "app/batch_optimize.h"

#include "app/batch.h"
#include "base/files.h"
#include "base/json_number.h"
#include "deck/reader.h"
#include "engine/process.h"
#include "optimizer/session.h"

namespace wavra {

namespace {

nlohmann::json rowJson(const TrialRow& r, const std::vector<std::string>& names) {
    nlohmann::json vars = nlohmann::json::object();
    for (size_t i = 0; i < names.size() && i < r.variables.size(); ++i) vars[names[i]] = r.variables[i];
    return {{"run", r.run},
            {"swr", finiteOrNull(r.values[kSwr])},
            {"gain", finiteOrNull(r.values[kGain])},
            {"fb", finiteOrNull(r.values[kFrontBack])},
            {"R", finiteOrNull(r.values[kResistance])},
            {"X", finiteOrNull(r.values[kReactance])},
            {"efficiency", finiteOrNull(r.values[kEfficiency])},
            {"improvement", r.improvement},
            {"step", r.step},
            {"variables", vars}};
}

const char* endName(SessionEnd end) {
    switch (end) {
    case SessionEnd::Refused: return "refused";
    case SessionEnd::Optimized: return "optimized";
    case SessionEnd::Halted: return "halted";
    case SessionEnd::Ended: return "ended";
    }
    return "";
}

} // namespace

int optimizeModel(Model& model, Ui& ui, const OptimizeOptions& o, const std::string& savePath, bool json,
                  std::ostream& out, BatchResult& result, TerminalProgress& progress) {
    if (!readInputFileShown(model, ui)) return kBatchUnreadable;
    auto runner = makeNativeProcessRunner();
    OptimizerSession session(model, ui, *runner);
    session.open();
    nlohmann::json runs = nlohmann::json::array();
    SessionHooks hooks;
    hooks.row = [&](const TrialRow& r) {
        runs.push_back(rowJson(r, o.setup.variables));
        progress.runs(static_cast<int>(runs.size()));
    };
    hooks.progress = [&progress](int) { progress.update(); };
    progress.begin("optimize");
    const SessionEnd end = session.start(o.setup, false, hooks);
    progress.finish();
    if (session.hasResult()) result.loadedFrom = "report";
    bool saved = false;
    if (end != SessionEnd::Refused && !savePath.empty()) saved = session.saveResults(savePath);
    nlohmann::json values = nlohmann::json::object();
    for (size_t i = 0; i < session.variables().size(); ++i)
        values[session.variables()[i]] = valueText(session.finalValues()[i].number) + session.finalValues()[i].unit;
    std::vector<std::string> log;
    readLines(session.log().path(), log);
    result.optimizer = {{"end", endName(end)}, {"message", session.endMessage()}, {"runs", runs},
                        {"values", values},    {"log", session.log().path()},     {"saved", saved ? savePath : ""}};
    if (!json) {
        for (const auto& line : log) out << line << '\n';
        for (auto it = values.begin(); it != values.end(); ++it)
            out << it.key() << " = " << it.value().get<std::string>() << '\n';
    }
    session.close(o.setup);
    if (end == SessionEnd::Refused) return kBatchBadUsage;
    if (!savePath.empty() && !saved) return kBatchUnreadable;
    return end == SessionEnd::Ended && session.endMessage().empty() ? kBatchEngineFailed : kBatchDone;
}

} // namespace wavra
