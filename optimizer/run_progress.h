// The optimizer's progress bar over its engine runs. A sweep knows how many
// runs it makes; the search does not (it ends when the goal stops
// improving), so its bar fills towards a run count that doubles whenever
// it is reached, and the bar's text counts the runs.
#pragma once

namespace wavra {

struct RunProgress {
    int value = 0, maximum = 1;
};

// `done` runs of `planned` (0: not known).
RunProgress runProgress(int done, int planned);

} // namespace wavra
