// How a run is made: the engine decks of its processes (one per part of a
// split frequency loop, or the deck alone) and the progress of a loop read
// from the reports as they grow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"

namespace wavra {

struct RunPlan {
    std::vector<std::string> decks; // one per engine process
    std::vector<int> steps;         // the frequency steps of each; empty when the deck is no loop
    int threads = 0;                // solver threads per process (lapack engine); 0 = its own choice
    // Per process of a split loop: whether it makes the calculations before
    // the loop (the report's header); the first always does.
    std::vector<bool> headers;
    int totalSteps() const;
};

// The decks for `deck`: a frequency loop the engine runs once is split into
// as many parts as "Parallel engine runs" allows (never fewer than two steps
// a part), the calculations before the loop made by the first part alone
// where the others can do without them; any other deck runs as it is. With several parts the cores are
// shared out among them for the lapack engine's solver.
RunPlan planRun(const Model& model, const std::string& deck);

// The threads each of `engines` lapack engines running side by side gets
// (matrix fill and solver): the cores shared out among them, at least one;
// 0 (the launcher's choice: every core) for an engine running alone.
int threadsPerEngine(int engines);

// Counts the frequency sections that one engine's report has so far,
// reading only what was added since the last look.
class SectionCount {
public:
    explicit SectionCount(std::string path) : m_path(std::move(path)) {}
    // Reads the new part of the report; the number of headings seen.
    int update();

private:
    std::string m_path;
    unsigned long long m_offset = 0;
    std::string m_carry; // the end of the last read, where a heading may begin
    int m_count = 0;
};

// The frequency steps a deck's FR cards ask for together, for the progress
// of a loop that runs as one engine process; 0 when it has no FR card.
int loopStepCount(std::string_view deck);

// Steps done of a loop: a part's sections less the one it is working on,
// all of them once it has ended.
int stepsDone(const std::vector<int>& sectionsSeen, const std::vector<bool>& ended);

// Steps done of a loop, in percent: a part's sections less the one it is
// working on, all of them once it has ended.
int stepPercent(const std::vector<int>& sectionsSeen, const std::vector<bool>& ended, int totalSteps);

} // namespace wavra
