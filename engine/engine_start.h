// How an engine run starts. The engine names in exe/ are links to the
// launcher exe/wavra.sh, which picks the engine program, gives it its
// threads and runs it on the files of the run's control file. wavra does
// the same itself and starts the engine program directly, without a shell
// in between: nec2c-lapack of exe/ for NEC2D_LA (plain nec2c, with the
// launcher's note, when it is missing), Debian's nec2c for every other
// name, in the run's folder on the short names of the control file. The
// launcher still runs what wavra does not start itself: the special
// engine's report take-over, a run whose window flag asks to show the
// exit status ("pause"), an engine name in exe/ that is a program of its
// own rather than a link to the launcher, a missing engine name or a
// missing nec2c (the launcher's exit status 127 and its words say which).
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "engine/run_files.h"

namespace wavra {

struct EngineStart {
    std::vector<std::string> argv;
    std::string workingDir;
    std::vector<std::string> environment; // "NAME=value", over wavra's own
    // The line the launcher writes on stderr when it runs plain nec2c for a
    // missing lapack engine; empty otherwise.
    std::string note;
    // Plain nec2c reads the deck: its SZ cards (the lapack engine's segment
    // capacity, a geometry card error to nec2c) are left out.
    bool withoutSizeCards = false;
};

// The start of one engine run on `files`: the engine program directly, or
// the launcher call launcherCommand gives (mode and second argument as for
// it; `threads` > 0 the lapack engine's share of the cores).
EngineStart engineStart(const Model& model, const RunFiles& files, const std::string& mode, const std::string& second,
                        int threads);

// The lapack engine's threads, as the launcher sets them: `threads` > 0
// for both the solver (OpenBLAS) and the fill (OpenMP); otherwise the
// caller's OPENBLAS_NUM_THREADS or every allowed core for the solver and
// the caller's OMP_NUM_THREADS or the solver's count for the fill. Idle
// solver threads sleep after 2^20 cycles (OPENBLAS_THREAD_TIMEOUT=20,
// unless the caller set it) instead of spinning through the fill.
std::vector<std::string> lapackEnvironment(int threads);

// A deck without its SZ lines (a line starting with "SZ" in any case), as
// plain nec2c reads it.
std::string withoutSizeCards(const std::string& deck);

} // namespace wavra
