#include "engine/run_plan.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <thread>

#include "base/text.h"
#include "core/config.h"
#include "engine/engine_choice.h"
#include "engine/loop_split.h"
#include "report/report_merge.h"

namespace wavra {

namespace {

// Far beyond any loop a model holds; keeps the sum of counts in range.
constexpr int kMaxLoopSteps = 1'000'000;

} // namespace

int RunPlan::totalSteps() const { return std::accumulate(steps.begin(), steps.end(), 0); }

RunPlan planRun(const Model& model, const std::string& deck) {
    RunPlan plan;
    const std::optional<FrequencyLoop> loop = splittableLoop(deck);
    if (!loop) {
        plan.decks = {deck};
        return plan;
    }
    // The lapack engine solves a header calculation at the loop's first
    // frequency once for the header and the loop.
    const bool kept = loop->headerAtLoopStart && engineOf(model) == kLapackEngine;
    const int header = loop->header.empty() ? -1 : loop->headerSolutions - (kept ? 1 : 0);
    const std::vector<LoopPart> parts = splitSteps(loop->steps, parallelRunCount(model), header);
    for (const LoopPart& part : parts) {
        std::optional<std::string> partText = parts.size() > 1 ? partDeck(*loop, part) : deck;
        if (!partText) { // a card too long for the engine: one run as it is
            plan.decks = {deck};
            plan.steps = {loop->steps};
            plan.headers = {true};
            return plan;
        }
        plan.decks.push_back(std::move(*partText));
        plan.steps.push_back(part.steps);
        plan.headers.push_back(part.header);
    }
    plan.threads = threadsPerEngine(static_cast<int>(parts.size()));
    return plan;
}

int threadsPerEngine(int engines) {
    if (engines <= 1) return 0;
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::max(1, cores / engines);
}

int SectionCount::update() {
    std::ifstream in(m_path, std::ios::binary);
    if (!in) return m_count;
    in.seekg(static_cast<std::streamoff>(m_offset));
    std::string added((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (added.empty()) return m_count;
    m_offset += added.size();
    const std::string text = m_carry + added;
    m_count += frequencySections(text);
    // Keep what could be the start of a heading cut off by the read.
    const size_t keep = std::min(text.size(), kFrequencyHeading.size() - 1);
    m_carry = text.substr(text.size() - keep);
    return m_count;
}

int loopStepCount(std::string_view deck) {
    int steps = 0;
    forEachLine(deck, [&](std::string_view line) {
        const std::optional<EngineCard> card = readEngineCard(line);
        if (card && card->mnemonic == "FR") steps += std::clamp(card->ints[1], 1, kMaxLoopSteps);
        return !card || card->mnemonic != "EN";
    });
    return steps;
}

int stepsDone(const std::vector<int>& sectionsSeen, const std::vector<bool>& ended) {
    int done = 0;
    for (size_t i = 0; i < sectionsSeen.size(); ++i)
        done += ended[i] ? sectionsSeen[i] : std::max(0, sectionsSeen[i] - 1);
    return done;
}

int stepPercent(const std::vector<int>& sectionsSeen, const std::vector<bool>& ended, int totalSteps) {
    if (totalSteps <= 0) return -1;
    return std::min(100, static_cast<int>(100LL * stepsDone(sectionsSeen, ended) / totalSteps));
}

} // namespace wavra
