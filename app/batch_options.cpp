#include "app/batch_options.h"

#include "core/text.h"

namespace wavra {

const char* const kBatchUsage =
    "usage: wavra [MODEL]\n"
    "       wavra --batch [--input] [--json] [--answer yes|no|ok|cancel]... MODEL\n";

namespace {

std::optional<Answer> parseAnswer(const std::string& text) {
    const std::string a = toLower(text);
    if (a == "yes") return Answer::Yes;
    if (a == "no") return Answer::No;
    if (a == "ok") return Answer::Ok;
    if (a == "cancel") return Answer::Cancel;
    return std::nullopt;
}

} // namespace

std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error) {
    BatchOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--batch") {
            o.batch = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--input") {
            o.forceInput = true;
        } else if (a == "--answer") {
            if (i + 1 >= args.size()) {
                error = "--answer needs yes, no, ok or cancel";
                return std::nullopt;
            }
            auto answer = parseAnswer(args[++i]);
            if (!answer) {
                error = "--answer needs yes, no, ok or cancel, not '" + args[i] + "'";
                return std::nullopt;
            }
            o.answers.push_back(*answer);
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (o.model.empty()) {
            o.model = a;
        } else {
            error = "more than one model file: " + o.model + " and " + a;
            return std::nullopt;
        }
    }
    if (o.batch && o.model.empty()) {
        error = "--batch needs a model file";
        return std::nullopt;
    }
    return o;
}

} // namespace wavra
