// Options of `wavra --batch`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui.h"

namespace wavra {

struct BatchOptions {
    bool batch = false;
    bool json = false;
    bool forceInput = false;        // --input: read the model deck, not a report
    std::vector<Answer> answers;    // --answer yes|no|ok|cancel, in order
    std::string model;              // the model file argument
};

// Parses the arguments after the program name. nullopt with `error` set on
// bad usage.
std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kBatchUsage;

} // namespace wavra
