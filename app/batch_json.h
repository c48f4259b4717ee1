// The batch summary as JSON and as text.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/model.h"
#include "engine/engine_run.h"

namespace wavra {

struct BatchResult {
    std::string loadedFrom; // "report" or "deck"; empty when nothing could be read
    bool validationOk = true;
    std::vector<std::string> findings;
    std::vector<std::string> messages;
    nlohmann::json view;           // what a --show view computed; null without one
    nlohmann::json optimizer;      // the runs and results of --optimize; null without it
    std::optional<RunSummary> run; // how the engine ran, with --calc
};

// The version of the JSON layout (the "schema" key, docs/json.md): raised
// whenever a key changes its meaning or type or goes away.
inline constexpr int kJsonSchema = 2;

nlohmann::json summaryJson(const Model& model, const BatchResult& result);
void printSummary(const Model& model, const BatchResult& result, std::ostream& out);

} // namespace wavra
